#include "InputFunctions.h"

#include <iostream>

#include "HoistedDeclaration.h"
#include "NameUses.h"
#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// The names of the functions called inside `node`.
void collect_calls(const SgNode* node, std::set<std::string>& names) {
  if (!node) return;
  if (const SgFunctionCallExp* call = isSgFunctionCallExp(node)) names.insert(call->get_callee_name());
  for (SgNode* child : node->get_traversalSuccessorContainer()) collect_calls(child, names);
}

// The first name of `uses` that `refused` holds, or "".
std::string first_refused(const std::map<std::string, SgNode*>& uses, const std::map<std::string, std::string>& refused) {
  for (const auto& use : uses)
    if (refused.count(use.first)) return use.first;
  return "";
}

[[noreturn]] void refuse_call(const SgNode* call, const std::string& callee, const std::string& owner,
                              const std::string& verb, const std::string& name, const std::string& reason) {
  std::string who = callee == owner ? callee + ", called here," : callee + ", called here, runs " + owner + ", which";
  stop(std::cerr, location_of(call) + ": error: " + who + " " + verb + " " + name + ": " + reason);
}

}  // namespace

void InputFunctions::add(SgFunctionDeclaration* f, bool kernel) {
  Declaration d{f->get_name().getString(), cxx_text(f->unparseToString()), function_head(f), {}, kernel, f, {}};
  collect_calls(f->get_definition(), d.calls);
  if (!kernel) d.uses = outer_name_uses(f);
  declarations.push_back(d);
}

void InputFunctions::run_by_tiled_code(SgNode* code) { runs.push_back(code); }

// The names of the carried functions: those the tiled code calls (the
// input's min and max in its loops among them), then those their bodies
// call, until none is added.
std::set<std::string> InputFunctions::closure() const {
  std::set<std::string> names = {"min", "max"};
  for (SgNode* code : runs) collect_calls(code, names);
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

// The functions a call of `callee` runs: `callee` first, then those these
// call, each once, recursion included.
std::vector<std::string> InputFunctions::reached_from(const std::string& callee) const {
  std::vector<std::string> order = {callee};
  std::set<std::string> seen = {callee};
  for (size_t k = 0; k < order.size(); k++)
    for (const Declaration& d : declarations)
      if (d.name == order[k])
        for (const std::string& next : d.calls)
          if (seen.insert(next).second) order.push_back(next);
  return order;
}

void InputFunctions::check_calls(const std::map<std::string, std::string>& unread,
                                 const std::map<std::string, std::string>& unwritten) const {
  for (SgNode* code : runs) check_calls_in(code, unread, unwritten);
}

void InputFunctions::check_calls_in(SgNode* code, const std::map<std::string, std::string>& unread,
                                    const std::map<std::string, std::string>& unwritten) const {
  if (!code) return;
  if (SgFunctionCallExp* call = isSgFunctionCallExp(code)) {
    std::string callee = call->get_callee_name();
    for (const std::string& owner : reached_from(callee))
      for (const Declaration& d : declarations) {
        if (d.name != owner) continue;
        std::string name = first_refused(d.uses.writes, unwritten);
        if (!name.empty()) refuse_call(call, callee, owner, "writes", name, unwritten.at(name));
        name = first_refused(d.uses.reads, unread);
        if (!name.empty()) refuse_call(call, callee, owner, "reads", name, unread.at(name));
      }
  }
  for (SgNode* child : code->get_traversalSuccessorContainer()) check_calls_in(child, unread, unwritten);
}
