#include "XmlTestSupport.h"

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

Xml document_of(const std::string& text) {
  std::string file = scratch_file(text);
  Xml root(file);
  std::remove(file.c_str());
  return root;
}
