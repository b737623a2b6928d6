#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string folder_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool write_all(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// The permissions a newly created file gets under the current umask, as
// if it had been opened for writing by name (the temporary is made 0600).
mode_t default_mode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::string failure(const std::string& temporary, const std::string& what, int error) {
  unlink(temporary.c_str());
  return what + ": " + std::strerror(error);
}

}  // namespace

std::string replace_file(const std::string& path, const std::string& text) {
  std::string temporary = folder_of(path) + "/." + base_of(path) + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return "cannot create a temporary file in " + folder_of(path) + ": " + std::strerror(errno);
  bool written = fchmod(fd, default_mode()) == 0 && write_all(fd, text);
  int error = errno;
  // A full disk may show only when the file is closed.
  if (close(fd) != 0 && written) written = false, error = errno;
  if (!written) return failure(temporary, "cannot write " + path, error);
  if (rename(temporary.c_str(), path.c_str()) != 0) return failure(temporary, "cannot write " + path, errno);
  return "";
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
