#include "HoistedDeclaration.h"

#include <sstream>
#include <vector>

#include "SyntaxTree.h"

bool is_constant_expression(SgExpression* e) {
  if (!e) return true;
  switch (e->variantT()) {
    case V_SgVarRefExp: case V_SgFunctionCallExp: case V_SgAssignOp: case V_SgPlusAssignOp:
    case V_SgMinusAssignOp: case V_SgMultAssignOp: case V_SgDivAssignOp: case V_SgModAssignOp:
    case V_SgAndAssignOp: case V_SgIorAssignOp: case V_SgXorAssignOp: case V_SgLshiftAssignOp:
    case V_SgRshiftAssignOp: case V_SgPlusPlusOp: case V_SgMinusMinusOp:
      return false;
    default:
      break;
  }
  for (SgNode* child : e->get_traversalSuccessorContainer())
    if (child && (!isSgExpression(child) || !is_constant_expression(isSgExpression(child)))) return false;
  return true;
}

bool has_variable_length(const SgInitializedName* v, bool parameter) {
  const std::vector<SgExpression*>& bounds = v->get_array_bounds();
  for (size_t k = parameter ? 1 : 0; k < bounds.size(); k++)
    if (!is_constant_expression(bounds[k])) return true;
  return false;
}

std::string declaration_without_initialiser(SgInitializedName* v) {
  SgInitializedName* bare = new SgInitializedName(v->get_file_info(), v->get_specifiers(), v->get_pointer(),
                                                  v->get_name(), v->get_array_bounds(), nullptr);
  return bare->unparseToString() + ";";
}

namespace {

std::string without_const(const std::string& specifiers) {
  std::istringstream words(specifiers);
  std::string kept;
  for (std::string w; words >> w;)
    if (w != "const") kept += (kept.empty() ? "" : " ") + w;
  return kept;
}

}  // namespace

std::string parameter_declaration(SgInitializedName* v) {
  const std::vector<SgExpression*>& bounds = v->get_array_bounds();
  std::string name = v->get_name().getString();
  if (bounds.empty()) {
    std::string specifiers = v->get_pointer().empty() ? without_const(v->get_specifiers()) : v->get_specifiers();
    return specifiers + " " + v->get_pointer() + name + ";";
  }
  std::string rows;
  for (size_t k = 1; k < bounds.size(); k++) rows += "[" + bounds[k]->unparseToString() + "]";
  std::string pointer = rows.empty() ? "*" + name : "(*" + name + ")";
  return v->get_specifiers() + " " + v->get_pointer() + pointer + rows + ";";
}

std::string function_head(SgFunctionDeclaration* f) {
  std::string parameters = f->get_parameterList() ? f->get_parameterList()->unparseToString() : "";
  return f->get_specifiers() + " " + f->get_pointer() + f->get_name().getString() + "(" + parameters + ")";
}
