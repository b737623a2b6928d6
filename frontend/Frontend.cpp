// frontend(): the command line, the one input file, and its diagnostics.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "Parser.h"
#include "SyntaxTree.h"

namespace {

bool is_input_file(const std::string& a) {
  return a.size() > 2 && a[0] != '-' && a.compare(a.size() - 2, 2, ".c") == 0;
}

std::string base_name(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Inputs larger than this are refused rather than read: a kernel is far
// smaller, and a link to an endless device must not exhaust memory.
const off_t kMaxInputBytes = 64 << 20;

bool fail_with(int fd, std::string& error, const std::string& why) {
  close(fd);
  error = why;
  return false;
}

// Reads the whole file; false (with the reason in `error`) when it cannot
// be opened or read, is not a regular file, or is larger than the limit.
// It is opened without blocking, so that a FIFO without writer cannot hang
// the open.
bool read_file(const std::string& name, std::string& bytes, std::string& error) {
  int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0) return fail_with(fd, error, std::string("cannot open: ") + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return fail_with(fd, error, std::string("cannot open: ") + std::strerror(EISDIR));
  if (!S_ISREG(st.st_mode)) return fail_with(fd, error, "not a regular file");
  const std::string too_large = "larger than the limit of " + std::to_string(kMaxInputBytes >> 20) + " MB";
  if (st.st_size > kMaxInputBytes) return fail_with(fd, error, too_large);
  char buf[65536];
  while (true) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail_with(fd, error, std::string("cannot read: ") + std::strerror(errno));
    bytes.append(buf, static_cast<std::size_t>(n));
    // The file may grow while it is read.
    if (static_cast<off_t>(bytes.size()) > kMaxInputBytes) return fail_with(fd, error, too_large);
  }
  close(fd);
  return true;
}

void report(const std::string& name, const SyntaxError& e) {
  std::cerr << name << ":" << e.line;
  if (e.col) std::cerr << ":" << e.col;
  std::cerr << ": error: " << e.message << std::endl;
}

// Parses one file into the project, or writes one diagnostic line.
void parse_into(SgProject* project, const std::string& name) {
  std::string bytes, error;
  if (!read_file(name, bytes, error)) {
    std::cerr << name << ": error: " << error << std::endl;
    return;
  }
  try {
    project->append_file(parse_c_file(name, bytes));
  } catch (const SyntaxError& e) {
    report(name, e);
  }
}

}  // namespace

SgProject* frontend(int argc, char** argv) {
  std::vector<std::string> arguments, files;
  for (int i = 0; i < argc; ++i) {
    arguments.emplace_back(argv[i] ? argv[i] : "");
    if (i > 0 && is_input_file(arguments.back())) files.push_back(arguments.back());
  }
  SgProject* project = new SgProject(arguments, files);
  if (files.size() > 1) {
    std::string program = arguments.empty() ? "tarvex" : base_name(arguments[0]);
    std::cerr << program << ": error: more than one input file:";
    for (const std::string& f : files) std::cerr << " " << f;
    std::cerr << std::endl;
  } else if (files.size() == 1) {
    parse_into(project, files[0]);
  }
  return project;
}

SgProject* frontend_text(const std::string& file_name, const std::string& text, const std::vector<int>& lines) {
  SgProject* project = new SgProject({"dummy", file_name}, {file_name});
  try {
    project->append_file(parse_c_file(file_name, text, &lines));
  } catch (const SyntaxError& e) {
    report(file_name, e);
  }
  return project;
}
