#include "InputFunctions.h"

#include <iostream>

#include "HoistedDeclaration.h"
#include "NameUses.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// The names of the functions called inside `node`.
void collect_calls(const SgNode* node, std::set<std::string>& names) {
  if (!node) return;
  if (const SgFunctionCallExp* call = isSgFunctionCallExp(node)) names.insert(call->get_callee_name());
  for (SgNode* child : node->get_traversalSuccessorContainer()) collect_calls(child, names);
}

}  // namespace

void InputFunctions::add(SgFunctionDeclaration* f, bool kernel) {
  Declaration d{f->get_name().getString(), cxx_text(f->unparseToString()), function_head(f), {}, kernel, f};
  collect_calls(f->get_definition(), d.calls);
  declarations.push_back(d);
}

void InputFunctions::run_by_tiled_code(SgNode* code) { collect_calls(code, called); }

// The names of the carried functions: those the tiled code calls (the
// input's min and max in its loops among them), then those their bodies
// call, until none is added.
std::set<std::string> InputFunctions::closure() const {
  std::set<std::string> names = called;
  names.insert({"min", "max"});
  for (size_t before = 0; before != names.size();) {
    before = names.size();
    for (const Declaration& d : declarations)
      if (names.count(d.name)) names.insert(d.calls.begin(), d.calls.end());
  }
  return names;
}

std::vector<std::pair<std::string, std::string>> InputFunctions::carried() const {
  std::set<std::string> names = closure();
  std::vector<std::pair<std::string, std::string>> texts;
  for (const Declaration& d : declarations) {
    if (!names.count(d.name)) continue;
    if (d.kernel)
      stop(std::cout, "Program::from_Sage: the tiled code would call " + d.name +
                          ", which holds a static control part: tiled_kernel() keeps only the parts of such a "
                          "function: " + d.head);
    check_hoisted_name(d.name, d.head);
    check_predefined_names(d.node->get_definition(), true);
    texts.push_back({d.name, d.text});
  }
  return texts;
}
