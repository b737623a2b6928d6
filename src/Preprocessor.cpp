#include "Preprocessor.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Stop.h"
#include "SyntaxTree.h"

const char* const carrier_declarations =
    "int******************** tile_group;\n"
    "int******************** tile_size;\n"
    "int******************** tile_hyperplans;\n"
    "int******************** parallelize;\n"
    "int******************** schedule;\n"
    "int******************** bound;\n"
    "int output__;\n"
    "int __T;\n"
    "int******************** tile_ratio;\n"
    "int******************** tile_lattice;\n"
    "int******************** tile_shape;\n";

namespace {

// One rewrite rule: "#pragma <keyword>" and the rest of the line R become
// <before> R <after>.
struct Rule {
  const char* directive;
  const char* before;
  const char* after;
};

// Applied in this order to each line; rules 6 to 8 never fire once rule 1
// has rewritten every keyword starting with "tile".
const Rule rules[] = {
    {"#pragma tile", "tile", " = 0;"},
    {"#pragma schedule", "schedule ", " = 0;"},
    {"#pragma bound", "bound ", " = 0;"},
    {"#pragma parallelize", "parallelize ", " = 0;"},
    {"#pragma output", "output__ = 0; ", " = 0;"},
    {"#pragma tile_ratio", "tile_ratio", " = 0;"},
    {"#pragma tile_lattice", "tile_lattice", " = 0;"},
    {"#pragma tile_shape", "tile_shape", " = 0;"},
};

// Only directive lines are touched: the front end writes each pragma on a
// line of its own, and "#pragma" elsewhere can only be inside a string.
bool is_directive_line(const std::string& line) {
  size_t start = line.find_first_not_of(" \t");
  return start != std::string::npos && line.compare(start, 7, "#pragma") == 0;
}

std::string rewrite_line(std::string line) {
  if (!is_directive_line(line)) return line;
  for (const Rule& rule : rules) {
    size_t at = line.find(rule.directive);
    if (at == std::string::npos) continue;
    std::string rest = line.substr(at + std::strlen(rule.directive));
    line = line.substr(0, at) + rule.before + rest + rule.after;
  }
  return line;
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

std::string temporary_directory() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

}  // namespace

std::string rewrite_directives(const std::string& text) {
  std::string result;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    bool has_end = end != std::string::npos;
    result += rewrite_line(text.substr(start, (has_end ? end : text.size()) - start));
    if (has_end) result += "\n";
    start = has_end ? end + 1 : text.size();
  }
  return result;
}

SgNode* import(const std::string& file_name) {
  std::string program = "dummy";
  std::string file = file_name;
  char* argv[] = {program.data(), file.data(), nullptr};
  return frontend(2, argv);
}

SgProject* preprocess_extended_tiling(SgProject* project) {
  std::string text = rewrite_directives(carrier_declarations + project->unparseToCompleteString() + "\n");
  std::string name = temporary_directory() + "/tarvex-XXXXXX.c";
  int fd = mkstemps(name.data(), 2);
  if (fd < 0) stop(std::cout, "Preprocessor::preprocess_extended_tiling: cannot create a temporary file");
  bool written = write_all(fd, text);
  close(fd);
  SgProject* rewritten = written ? isSgProject(import(name)) : nullptr;
  unlink(name.c_str());
  if (!written) stop(std::cout, "Preprocessor::preprocess_extended_tiling: cannot write " + name);
  if (!rewritten || rewritten->numberOfFiles() == 0)
    stop(std::cout, "Preprocessor::preprocess_extended_tiling: the rewritten directives do not parse");
  return rewritten;
}
