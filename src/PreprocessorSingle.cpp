// The extractions of the front ends that read one kind of directive each,
// and the traversal that splits if statements.

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Array.h"
#include "IndexFunction.h"
#include "Preprocessor.h"
#include "PreprocessorInternal.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// The statements of `program` that do not write `carrier`.
std::vector<bool> all_but(const Program* program, const std::string& carrier) {
  std::vector<bool> kept;
  for (const Statement* s : program->statement) kept.push_back(s->lhs_id != carrier);
  return kept;
}

// The value of the one directive writing `carrier`: one integer subscript.
// `function` and the nouns name the extraction in its messages.
int single_value(Program* program, const std::string& carrier, const std::string& function,
                 const std::string& noun, const std::string& nouns) {
  std::string prefix = "Preprocessor::" + function + ": ";
  int value = -1, count = 0;
  for (const Statement* s : program->statement) {
    if (s->lhs_id != carrier) continue;
    if (++count > 1) stop(std::cout, prefix + "several " + nouns);
    const std::vector<Expression*>& entries = s->lhs_index->index_mapping;
    if (entries.size() != 1 || !Preprocessor::integer_value(entries[0], value))
      stop(std::cout, prefix + "non-constant " + noun);
  }
  Preprocessor::keep_statements(program, all_but(program, carrier));
  if (value == -1) stop(std::cout, prefix + "no " + noun);
  return value;
}

// The text of a string literal as written (adjacent pieces joined), with
// the escapes the output rewrite writes, "\\" and "\"", undone; false for
// any other value.
bool literal_text(const std::string& spelling, std::string& text) {
  bool inside = false;
  for (size_t k = 0; k < spelling.size(); k++) {
    char c = spelling[k];
    if (!inside) {
      if (c != '"' && c != ' ') return false;
      inside = c == '"';
    } else if (c == '"') {
      inside = false;
    } else {
      bool escape =
          c == '\\' && k + 1 < spelling.size() && (spelling[k + 1] == '\\' || spelling[k + 1] == '"');
      text += escape ? spelling[++k] : c;
    }
  }
  return !spelling.empty() && spelling[0] == '"' && !inside;
}

// Adds the maximal runs of characters other than blank, tab and comma.
void add_names(const std::string& text, std::set<std::string>& names) {
  std::string name;
  for (char c : text + ",") {
    if (c != ' ' && c != '\t' && c != ',') {
      name += c;
    } else if (!name.empty()) {
      names.insert(name);
      name.clear();
    }
  }
}

// The attribute of the if-splitting traversal: it carries nothing. Local
// to this file, apart from the model builder's class of the same name.
class ASTInfo {};

// For each if statement, builds one if statement per branch and a block
// holding both, over the statement's own position, condition and bodies.
// The block is attached nowhere, so the tree stays as it is: putting it in
// place of the statement would evaluate the condition twice.
class PreprocessorTraversal : public AstTopDownProcessing<ASTInfo> {
public:
  ~PreprocessorTraversal() override = default;

protected:
  ASTInfo evaluateInheritedAttribute(SgNode* n, ASTInfo) override {
    if (n->variantT() == V_SgIfStmt) split(isSgIfStmt(n));
    return ASTInfo();
  }

private:
  // The new nodes share the statement's operands and, like every node,
  // live until the process ends.
  static void split(SgIfStmt* s) {
    Sg_File_Info* info = s->get_file_info();
    SgIfStmt* true_part = new SgIfStmt(info, s->get_conditional(), s->get_true_body(), nullptr);
    SgBasicBlock* block = new SgBasicBlock(info, true_part);
    block->append_statement(new SgIfStmt(info, s->get_conditional(), nullptr, s->get_false_body()));
  }
};

}  // namespace

std::vector<Schedule*> Preprocessor::extract_schedule(Program* program) {
  std::vector<Schedule*> schedules;
  int assignments = 0;
  for (Statement* s : program->statement) {
    int seen = static_cast<int>(schedules.size());
    if (s->lhs_id == "schedule") {
      if (seen != assignments)
        stop(std::cout, "Preprocessor::extract_schedules: several schedules for assignment #" +
                            std::to_string(assignments + 1));
      schedules.push_back(new Schedule(s->lhs_index));
    } else if (++assignments != seen) {
      stop(std::cout, "Preprocessor::extract_schedules: missing schedule for assignment #" +
                          std::to_string(assignments));
    }
  }
  keep_statements(program, all_but(program, "schedule"));
  remove_reserved_arrays();
  return schedules;
}

int Preprocessor::extract_depth(Program* program) {
  return single_value(program, "depth__", "extract_depth", "depth", "depths");
}

int Preprocessor::extract_tile_size(Program* program) {
  return single_value(program, "tile_size__", "extract_tile_size", "tile size", "tile sizes");
}

std::set<std::string> Preprocessor::extract_output(Program* program) {
  std::set<std::string> names;
  for (const Statement* s : program->statement) {
    if (s->lhs_id != "output__" || !s->rhs) continue;
    s->rhs->print();
    std::string text;
    if (s->rhs->is_value && literal_text(s->rhs->value, text)) add_names(text, names);
  }
  keep_statements(program, all_but(program, "output__"));
  return names;
}

SgNode* Preprocessor::preprocess(SgProject* project) {
  PreprocessorTraversal traversal;
  traversal.traverseInputFiles(project, ASTInfo());
  return project;
}
