#include "LocalNames.h"

#include <algorithm>

#include "GeneratedName.h"
#include "HoistedDeclaration.h"
#include "Options.h"
#include "SyntaxTree.h"

void LocalNames::walk_function(SgFunctionDeclaration* f) {
  if (!f->get_definition()) return;
  in_part = !Options::pragma_scop;
  scopes.assign(1, Scope());
  if (SgFunctionParameterList* list = f->get_parameterList())
    for (SgInitializedName* v : list->get_args())
      if (!v->get_name().getString().empty()) declare(v, true);
  // The parameters and the locals of the body's own block share one scope.
  for (SgNode* statement : f->get_definition()->get_body()->get_traversalSuccessorContainer()) walk(statement);
  scopes.clear();
}

void LocalNames::walk(SgNode* node) {
  // The parameters of a prototype inside the body are no locals.
  if (!node || isSgFunctionDeclaration(node)) return;
  if (SgPragma* pragma = isSgPragma(node)) {
    if (Options::pragma_scop && pragma->get_pragma() == "begin_scop") in_part = true;
    if (Options::pragma_scop && pragma->get_pragma() == "end_scop") in_part = false;
    return;
  }
  if (SgVarRefExp* reference = isSgVarRefExp(node)) return refer(reference);
  // A member's name is no variable.
  if (isSgDotExp(node) || isSgArrowExp(node)) return walk(isSgBinaryOp(node)->get_lhs_operand());
  if (isSgBasicBlock(node) || isSgForStatement(node)) return walk_scope(node);
  // A local's scope begins at its declarator: its initialiser names it.
  if (SgInitializedName* v = isSgInitializedName(node)) declare(v, false);
  for (SgNode* child : node->get_traversalSuccessorContainer()) walk(child);
}

void LocalNames::walk_scope(SgNode* node) {
  scopes.emplace_back();
  for (SgNode* child : node->get_traversalSuccessorContainer()) walk(child);
  scopes.pop_back();
}

void LocalNames::declare(SgInitializedName* v, bool parameter) {
  std::string name = v->get_name().getString(), own = name;
  if (!parameter && needs_own_name(v)) {
    own = own_local_name(++own_names, name);
    v->set_name(own);
    renamed_locals.insert(v);
  }
  scopes.back()[name] = own;
  taken.insert(own);
  if (is_static(v)) taken_by_static.insert(own);
}

bool LocalNames::needs_own_name(const SgInitializedName* v) const {
  // An extern local names a variable of file scope.
  if (is_extern(v)) return false;
  const std::string& name = v->get_name().getString();
  bool hides = std::any_of(scopes.begin(), scopes.end() - 1, [&](const Scope& s) { return s.count(name) > 0; });
  bool shares_static = (is_static(v) && taken.count(name)) || taken_by_static.count(name);
  SgInitializer* initializer = v->get_initializer();
  bool assigned_after_part = initializer && is_constant_expression(initializer) && is_reassignable(v) &&
                             read_or_written.count(name);
  return hides || shares_static || assigned_after_part;
}

void LocalNames::refer(SgVarRefExp* reference) {
  std::string name = reference->get_symbol()->get_name().getString();
  for (auto scope = scopes.rbegin(); scope != scopes.rend(); ++scope) {
    auto local = scope->find(name);
    if (local == scope->end()) continue;
    reference->get_symbol()->set_name(local->second);
    if (in_part) read_or_written.insert(local->second);
    return;
  }
}
