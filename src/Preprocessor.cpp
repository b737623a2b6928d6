#include "Preprocessor.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <sstream>
#include <vector>

#include "PreprocessorInternal.h"
#include "Stop.h"
#include "SyntaxTree.h"

// The carriers of the directives both tiling front ends read, in the order
// both declare them first.
#define TILING_CARRIERS                        \
  "int******************** tile_group;\n"      \
  "int******************** tile_size;\n"       \
  "int******************** tile_hyperplans;\n" \
  "int******************** parallelize;\n"     \
  "int******************** schedule;\n"        \
  "int******************** bound;\n"           \
  "int output__;\n"                            \
  "int __T;\n"

const char* const carrier_declarations = TILING_CARRIERS
    "int******************** tile_ratio;\n"
    "int******************** tile_lattice;\n"
    "int******************** tile_shape;\n";

namespace {

using Preprocessor::DirectiveRewrite;
using Preprocessor::Rule;

// The first rules of both tiling front ends, then `more`.
std::vector<Rule> tiling_rules(const std::vector<Rule>& more) {
  std::vector<Rule> rules = {
      {"#pragma tile", "tile", " = 0;"},
      {"#pragma schedule", "schedule ", " = 0;"},
      {"#pragma bound", "bound ", " = 0;"},
      {"#pragma parallelize", "parallelize ", " = 0;"},
      {"#pragma output", "output__ = 0; ", " = 0;"},
  };
  rules.insert(rules.end(), more.begin(), more.end());
  return rules;
}

}  // namespace

namespace Preprocessor {

// Rules 6 to 8 never fire once rule 1 has rewritten every keyword starting
// with "tile".
const DirectiveRewrite extended_tiling_rewrite = {"preprocess_extended_tiling", carrier_declarations,
                                                  tiling_rules({
                                                      {"#pragma tile_ratio", "tile_ratio", " = 0;"},
                                                      {"#pragma tile_lattice", "tile_lattice", " = 0;"},
                                                      {"#pragma tile_shape", "tile_shape", " = 0;"},
                                                  })};

const DirectiveRewrite schedule_rewrite = {
    "preprocess_schedule",
    "int******************** schedule;\n",
    {{"#pragma schedule", "schedule ", " = 0;"}}};

const DirectiveRewrite depth_rewrite = {
    "preprocess_depth", "int* depth__;\n", {{"#pragma depth", "depth__ ", " = 0;"}}};

const DirectiveRewrite tile_size_rewrite = {
    "preprocess_tile_size", "int* tile_size__;\n", {{"#pragma tile_size", "tile_size__ ", " = 0;"}}};

// The directive's text reaches the program whole, as a string literal.
const DirectiveRewrite output_rewrite = {
    "preprocess_output", "int* output__;\n", {{"#pragma output", "output__ = \"", "\";", true}}};

const DirectiveRewrite tiling_rewrite = {"preprocess_tiling",
                                         TILING_CARRIERS
                                         "int******************** vector_size;\n"
                                         "int******************** vectorize;\n",
                                         tiling_rules({
                                             {"#pragma vector_size", "vector_size", " = 0;"},
                                             {"#pragma vectorize", "vectorize ", " = 0;"},
                                         })};

}  // namespace Preprocessor

#undef TILING_CARRIERS

namespace {

// Only directive lines are touched: the front end writes each pragma on a
// line of its own, and "#pragma" elsewhere can only be inside a string.
bool is_directive_line(const std::string& line) {
  size_t start = line.find_first_not_of(" \t");
  return start != std::string::npos && line.compare(start, 7, "#pragma") == 0;
}

// The content of a C string literal holding `text`.
std::string quoted(const std::string& text) {
  std::string content;
  for (char c : text) {
    if (c == '\\' || c == '"') content += '\\';
    content += c;
  }
  return content;
}

// The text of a directive line after its bracketed arguments (and after the
// rest of its keyword), blanks dropped; empty when nothing follows them or
// when a bracket is left open, which the parse of the rewritten line reports.
std::string after_arguments(const std::string& rest) {
  size_t k = 0;
  while (k < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[k])) || rest[k] == '_')) k++;
  for (;;) {
    k = rest.find_first_not_of(" \t\r", k);
    if (k == std::string::npos) return "";
    if (rest[k] != '[') return rest.substr(k);
    int depth = 0;
    for (; k < rest.size(); k++) {
      if (rest[k] == '[') depth++;
      if (rest[k] == ']' && --depth == 0) break;
    }
    if (k == rest.size()) return "";
    k++;
  }
}

// A rewritten directive becomes `<before> R <after>`: text after its
// arguments would become statements of the part of its own, which the
// original program, for which a pragma is no code, never runs. A rule whose
// argument is a statement of its own (`output`) and a quoted one are left
// out.
void check_arguments_only(const std::string& line, const std::vector<Rule>& rules, const std::string& file,
                          int input_line) {
  if (!is_directive_line(line)) return;
  for (const Rule& rule : rules) {
    size_t at = line.find(rule.directive);
    if (at == std::string::npos) continue;
    if (rule.quoted || std::strchr(rule.before, ';')) return;
    std::string extra = after_arguments(line.substr(at + std::strlen(rule.directive)));
    if (!extra.empty())
      stop(std::cerr, file + ":" + std::to_string(input_line) + ": error: text after the arguments of a directive: " +
                          extra);
    return;
  }
}

std::string rewrite_line(std::string line, const std::vector<Rule>& rules) {
  if (!is_directive_line(line)) return line;
  for (const Rule& rule : rules) {
    size_t at = line.find(rule.directive);
    if (at == std::string::npos) continue;
    std::string rest = line.substr(at + std::strlen(rule.directive));
    line = line.substr(0, at) + rule.before + (rule.quoted ? quoted(rest) : rest) + rule.after;
  }
  return line;
}

// The project parsed from the carriers of `rewrite` and the unparse of
// `project` with its directive lines rewritten. The rewrite keeps every
// line, so the map from the unparsed text to the input's lines holds for
// the rewritten text too: messages of the parse and positions in the new
// tree name the input file and its lines (the carriers are on line 0).
SgProject* rewrite_and_parse(SgProject* project, const DirectiveRewrite& rewrite) {
  std::string carriers = rewrite.carriers;
  std::vector<int> lines(std::count(carriers.begin(), carriers.end(), '\n'), 0), program_lines;
  std::string program = unparse_with_lines(project, program_lines);
  lines.insert(lines.end(), program_lines.begin(), program_lines.end());
  std::string text = Preprocessor::rewrite_lines(carriers + program + "\n", rewrite.rules);
  const std::vector<std::string>& names = project->getFileNames();
  std::string file = names.empty() ? "" : names.front();
  SgProject* rewritten = frontend_text(file, text, lines);
  if (rewritten->numberOfFiles() == 0)
    stop(std::cout,
         std::string("Preprocessor::") + rewrite.function + ": the rewritten directives do not parse");
  std::istringstream input(carriers + program);
  size_t k = 0;
  for (std::string line; std::getline(input, line); k++)
    check_arguments_only(line, rewrite.rules, file, k < lines.size() ? lines[k] : 0);
  return rewritten;
}

}  // namespace

std::string Preprocessor::rewrite_lines(const std::string& text, const std::vector<Rule>& rules) {
  std::string result;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    bool has_end = end != std::string::npos;
    result += rewrite_line(text.substr(start, (has_end ? end : text.size()) - start), rules);
    if (has_end) result += "\n";
    start = has_end ? end + 1 : text.size();
  }
  return result;
}

std::string rewrite_directives(const std::string& text) {
  return Preprocessor::rewrite_lines(text, Preprocessor::extended_tiling_rewrite.rules);
}

SgNode* import(const std::string& file_name) {
  std::string program = "dummy";
  std::string file = file_name;
  char* argv[] = {program.data(), file.data(), nullptr};
  return frontend(2, argv);
}

SgProject* preprocess_extended_tiling(SgProject* project) {
  return rewrite_and_parse(project, Preprocessor::extended_tiling_rewrite);
}

SgProject* Preprocessor::preprocess_schedule(SgProject* project) {
  return rewrite_and_parse(project, schedule_rewrite);
}

SgProject* Preprocessor::preprocess_depth(SgProject* project) {
  return rewrite_and_parse(project, depth_rewrite);
}

SgProject* Preprocessor::preprocess_tile_size(SgProject* project) {
  return rewrite_and_parse(project, tile_size_rewrite);
}

SgProject* Preprocessor::preprocess_output(SgProject* project) {
  return rewrite_and_parse(project, output_rewrite);
}

SgProject* Preprocessor::preprocess_tiling(SgProject* project) {
  return rewrite_and_parse(project, tiling_rewrite);
}
