// Shared helpers of the front-end tests: parsing text through frontend()
// with the streams captured, and walking trees.
#ifndef TARVEX_TESTS_FRONTEND_SUPPORT_H
#define TARVEX_TESTS_FRONTEND_SUPPORT_H

#include <string>
#include <vector>

#include "SyntaxTree.h"

// What one frontend() call left behind.
struct ParseResult {
  SgProject* project = nullptr;
  std::string out;  // standard output during the call
  std::string err;  // standard error during the call
  bool ok() const { return project && project->numberOfFiles() == 1; }
};

// Writes `text` to a file called `name` in a fresh temporary folder and
// runs frontend() on ("tarvex", path). The diagnostic names the file by
// that path, so tests compare against `name_of(result)`.
ParseResult parse_text(const std::string& text, const std::string& name = "p.c");
// The path that parse_text() gave the file of its last call.
const std::string& last_path();

// Runs frontend() on the given command line with the streams captured.
ParseResult run_frontend(std::vector<std::string> args);

// The whole contents of a file of the test corpus.
std::string corpus_file(const std::string& name);
std::vector<std::string> corpus_names();

// The first node of a kind in pre-order, or null.
SgNode* find_first(SgNode* root, VariantT kind);
// All nodes of a kind in pre-order.
std::vector<SgNode*> find_all(SgNode* root, VariantT kind);
// The expression of the first expression statement of the first function.
SgExpression* first_expression(SgProject* project);
// Parses `int main() { <body> }` and returns the project; fails the test on
// a parse error.
SgProject* parse_body(const std::string& body);
// The S-expression dump of the global scope of a parsed project.
std::string dump_global(SgProject* project);

#endif
