#include "Preprocessor.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <vector>

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

// Line k of the carrier declarations stands for no line of the input.
std::vector<int> carrier_lines() {
  std::string carriers = carrier_declarations;
  return std::vector<int>(std::count(carriers.begin(), carriers.end(), '\n'), 0);
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
  // The rewrite keeps every line, so the map from the unparsed text to the
  // input's lines holds for the rewritten text too: messages of the parse
  // and positions in the new tree name the input file and its lines.
  std::vector<int> lines = carrier_lines(), program_lines;
  std::string program = unparse_with_lines(project, program_lines);
  lines.insert(lines.end(), program_lines.begin(), program_lines.end());
  std::string text = rewrite_directives(carrier_declarations + program + "\n");
  const std::vector<std::string>& names = project->getFileNames();
  SgProject* rewritten = frontend_text(names.empty() ? "" : names.front(), text, lines);
  if (rewritten->numberOfFiles() == 0)
    stop(std::cout, "Preprocessor::preprocess_extended_tiling: the rewritten directives do not parse");
  return rewritten;
}
