#include "XmlTestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

std::string scratch_file(const std::string& text) {
  char name[] = "/tmp/tarvex-xml-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) std::abort();
  close(fd);
  std::ofstream(name, std::ios::binary) << text;
  return name;
}

// The file is read through a descriptor and unlinked first, so that a
// reader stopping the run leaves no file behind.
Xml document_of(const std::string& text) {
  std::string file = scratch_file(text);
  int fd = open(file.c_str(), O_RDONLY);
  std::remove(file.c_str());
  Xml root("/proc/self/fd/" + std::to_string(fd));
  close(fd);
  return root;
}
