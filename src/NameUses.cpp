#include "NameUses.h"

#include <iostream>
#include <vector>

#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// What each predefined identifier stands for, and whether a function
// carried with its name keeps that value in the tiled file (in C++ as in C).
struct Predefined {
  const char* meaning;
  bool kept_by_carried_function;
};

const std::map<std::string, Predefined> predefined = {
    {"__func__", {"the name of the function it stands in", true}},
    {"__FUNCTION__", {"the name of the function it stands in", true}},
    {"__PRETTY_FUNCTION__", {"the name of the function it stands in (in C++, its whole signature)", false}},
    {"__LINE__", {"the line it stands on", false}},
    {"__FILE__", {"the name of the file it stands in", false}},
};

// The operand that an assignment, ++ or -- stores to; null for another node.
SgExpression* stored_operand(SgNode* node) {
  switch (node->variantT()) {
    case V_SgAssignOp: case V_SgPlusAssignOp: case V_SgMinusAssignOp: case V_SgMultAssignOp:
    case V_SgDivAssignOp: case V_SgModAssignOp: case V_SgAndAssignOp: case V_SgIorAssignOp:
    case V_SgXorAssignOp: case V_SgLshiftAssignOp: case V_SgRshiftAssignOp:
      return isSgBinaryOp(node)->get_lhs_operand();
    case V_SgPlusPlusOp: case V_SgMinusMinusOp:
      return isSgUnaryOp(node)->get_operand();
    default:
      return nullptr;
  }
}

// The variable an lvalue stores to, or null behind a pointer: `x`,
// `A[i][j]` and `s.m` store to x, A and s.
SgVarRefExp* stored_variable(SgExpression* lvalue) {
  for (;;) {
    if (SgPntrArrRefExp* element = isSgPntrArrRefExp(lvalue)) lvalue = element->get_lhs_operand();
    else if (SgDotExp* member = isSgDotExp(lvalue)) lvalue = member->get_lhs_operand();
    else return isSgVarRefExp(lvalue);
  }
}

// Walks code in document order, keeping the names that the enclosing
// function (one that holds no part) declares in each open scope.
class UseWalk {
public:
  NameUses uses;

  void walk(SgNode* node) {
    if (!node) return;
    if (SgFunctionDeclaration* f = isSgFunctionDeclaration(node)) return function(f);
    if (SgInitializedName* v = isSgInitializedName(node)) declare(v->get_name().getString());
    if (SgVarRefExp* ref = isSgVarRefExp(node)) record(uses.reads, ref);
    if (SgExpression* stored = stored_operand(node))
      if (SgVarRefExp* target = stored_variable(stored)) record(uses.writes, target);
    if (SgAddressOfOp* address = isSgAddressOfOp(node))
      if (SgVarRefExp* target = stored_variable(address->get_operand())) record(uses.addresses, target);
    // A member is no variable: only the object of `s.m` and `p->m` is read.
    if (isSgDotExp(node) || isSgArrowExp(node)) return walk(isSgBinaryOp(node)->get_lhs_operand());
    bool scope = isSgBasicBlock(node) || isSgForStatement(node);
    if (scope) scopes.emplace_back();
    for (SgNode* child : node->get_traversalSuccessorContainer()) walk(child);
    if (scope) scopes.pop_back();
  }

private:
  std::vector<std::set<std::string>> scopes;  // innermost last
  bool own_names = false;  // whether the function being walked keeps its names to itself

  // Its parameters open the function's outermost scope.
  void function(SgFunctionDeclaration* f) {
    bool outer = own_names;
    own_names = !holds_part(f);
    scopes.emplace_back();
    for (SgNode* child : f->get_traversalSuccessorContainer()) walk(child);
    scopes.pop_back();
    own_names = outer;
  }

  void declare(const std::string& name) {
    if (own_names && !scopes.empty()) scopes.back().insert(name);
  }

  void record(std::map<std::string, SgNode*>& names, SgVarRefExp* ref) const {
    std::string name = ref->get_symbol()->get_name().getString();
    for (const std::set<std::string>& scope : scopes)
      if (scope.count(name)) return;
    names.emplace(name, ref);
  }
};

}  // namespace

NameUses outer_name_uses(SgNode* code) {
  UseWalk walk;
  walk.walk(code);
  return walk.uses;
}

bool holds_part(SgNode* node) {
  if (!node) return false;
  if (SgPragma* pragma = isSgPragma(node)) return pragma->get_pragma() == "begin_scop";
  for (SgNode* child : node->get_traversalSuccessorContainer())
    if (holds_part(child)) return true;
  return false;
}

void check_predefined_names(SgNode* code, bool carried_function) {
  if (!code) return;
  if (SgVarRefExp* ref = isSgVarRefExp(code)) {
    auto name = predefined.find(ref->get_symbol()->get_name().getString());
    if (name != predefined.end() && !(carried_function && name->second.kept_by_carried_function)) {
      stop(std::cerr, location_of(ref) + ": error: '" + name->first + "' is " + name->second.meaning + ", which changes where the tiled code " +
                          (carried_function ? "carries this function (into a file of its own)"
                                            : "puts this code (in tiled_kernel() or at file scope of a file of "
                                              "its own)"));
    }
  }
  for (SgNode* child : code->get_traversalSuccessorContainer()) check_predefined_names(child, carried_function);
}
