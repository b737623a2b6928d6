#include "DeclarationTable.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "Stop.h"
#include "SyntaxTree.h"
#include "TypeNames.h"

namespace {

bool is_comparison_or_logical(VariantT v) {
  switch (v) {
    case V_SgEqualityOp: case V_SgNotEqualOp: case V_SgLessThanOp: case V_SgGreaterThanOp:
    case V_SgLessOrEqualOp: case V_SgGreaterOrEqualOp: case V_SgAndOp: case V_SgOrOp: case V_SgNotOp:
      return true;
    default:
      return false;
  }
}

bool is_arithmetic(VariantT v) {
  switch (v) {
    case V_SgAddOp: case V_SgSubtractOp: case V_SgMultiplyOp: case V_SgDivideOp: case V_SgModOp:
    case V_SgBitAndOp: case V_SgBitOrOp: case V_SgBitXorOp: case V_SgLshiftOp: case V_SgRshiftOp:
    case V_SgMinusOp: case V_SgUnaryAddOp: case V_SgBitComplementOp: case V_SgConditionalExp:
      return true;
    default:
      return false;
  }
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

size_t pointer_levels(const std::string& pointer) {
  return static_cast<size_t>(std::count(pointer.begin(), pointer.end(), '*'));
}

size_t declarator_levels(const SgInitializedName* v) {
  return v->get_array_bounds().size() + pointer_levels(v->get_pointer());
}

}  // namespace

void DeclarationTable::add_file_scope(const std::string& name, const std::string& text,
                                      SgInitializedName* variable) {
  auto known = entries.find(name);
  if (known == entries.end()) {
    entries[name] = {text, true, variable};
  } else if (!known->second.file_scope) {
    stop(std::cout, "Program::from_Sage: the local declaration " + quoted(known->second.text) +
                        " shadows the file-scope declaration " + quoted(text));
  }
}

void DeclarationTable::add_local(const std::string& name, const std::string& text, SgInitializedName* variable) {
  auto known = entries.find(name);
  if (known == entries.end()) {
    entries[name] = {text, false, variable};
  } else if (known->second.file_scope) {
    stop(std::cout, "Program::from_Sage: the local declaration " + quoted(text) +
                        " shadows the file-scope declaration " + quoted(known->second.text));
  } else if (known->second.text != text) {
    stop(std::cout, "Program::from_Sage: two local declarations of " + name + " differ: " +
                        quoted(known->second.text) + " and " + quoted(text));
  }
}

void DeclarationTable::add_type_name(const std::string& name, const SgInitializedName* declarator) {
  size_t levels = declarator_levels(declarator);
  std::string specifiers = resolved_specifiers(declarator->get_specifiers(), levels);
  type_names[name] = {specifiers, levels};
}

void DeclarationTable::add_function(const SgFunctionDeclaration* f) { functions[f->get_name().getString()] = f; }

// One look-up is enough: what the table holds names no typedef.
std::string DeclarationTable::resolved_specifiers(const std::string& specifiers, size_t& levels) const {
  auto named = type_names.find(type_words(specifiers));
  if (named == type_names.end()) return specifiers;
  levels += named->second.levels;
  return named->second.specifiers;
}

bool DeclarationTable::names_int_scalar(const std::string& specifiers, size_t levels) const {
  return names_int(resolved_specifiers(specifiers, levels)) && levels == 0;
}

// An int, or an array or pointer of ints with exactly `subscripts` levels.
bool DeclarationTable::declared_int(const std::string& name, size_t subscripts) const {
  auto known = entries.find(name);
  if (known == entries.end() || !known->second.variable) return false;
  const SgInitializedName* v = known->second.variable;
  size_t levels = declarator_levels(v);
  return names_int(resolved_specifiers(v->get_specifiers(), levels)) && levels == subscripts;
}

std::string DeclarationTable::counter_value_type(const std::string& name) const {
  auto known = entries.find(name);
  if (known == entries.end() || !known->second.variable || declared_int(name, 0)) return "";
  const SgInitializedName* v = known->second.variable;
  size_t levels = declarator_levels(v);
  std::string type = resolved_specifiers(v->get_specifiers(), levels);
  if (levels == 0 && names_signed_integer(type)) return type_words(v->get_specifiers());
  stop(std::cout, "Program::from_Sage: the loop counter " + name + " is declared " + quoted(known->second.text) +
                      "; a loop counter must have a signed integer type, as its bounds and conditions are "
                      "read in integer arithmetic");
}

bool DeclarationTable::is_variable(const std::string& name) const {
  auto known = entries.find(name);
  return known != entries.end() && known->second.variable;
}

std::string DeclarationTable::non_int_declaration(const std::string& name) const {
  auto known = entries.find(name);
  if (known == entries.end() || !known->second.variable || declared_int(name, 0)) return "";
  return known->second.text;
}

bool DeclarationTable::is_int(SgExpression* e) const {
  VariantT v = e->variantT();
  if (v == V_SgIntVal || is_comparison_or_logical(v)) return true;
  if (SgCastExp* cast = isSgCastExp(e)) {
    if (!cast->get_type()) return false;
    // The type's text is its specifiers followed by its pointer part.
    const std::string& type = cast->get_type()->get_text();
    return names_int_scalar(type.substr(0, type.find('*')), pointer_levels(type));
  }
  if (SgVarRefExp* ref = isSgVarRefExp(e)) return declared_int(ref->get_symbol()->get_name().getString(), 0);
  if (isSgPntrArrRefExp(e)) {
    size_t subscripts = 0;
    while (SgPntrArrRefExp* element = isSgPntrArrRefExp(e)) {
      subscripts++;
      e = element->get_lhs_operand();
    }
    SgVarRefExp* base = isSgVarRefExp(e);
    return base && declared_int(base->get_symbol()->get_name().getString(), subscripts);
  }
  if (SgFunctionCallExp* call = isSgFunctionCallExp(e)) {
    std::string callee = call->get_callee_name();
    if (callee == "min" || callee == "max") {
      for (SgExpression* argument : call->get_args()->get_expressions())
        if (!is_int(argument)) return false;
      return true;
    }
    // A function the file does not declare ahead of the call has no known
    // return type.
    auto function = functions.find(callee);
    return function != functions.end() &&
           names_int_scalar(function->second->get_specifiers(), pointer_levels(function->second->get_pointer()));
  }
  if (!is_arithmetic(v)) return false;
  // The operands of an operator (the branches of ?:, not its condition).
  std::vector<SgNode*> operands = e->get_traversalSuccessorContainer();
  if (isSgConditionalExp(e)) operands.erase(operands.begin());
  for (SgNode* operand : operands)
    if (!isSgExpression(operand) || !is_int(isSgExpression(operand))) return false;
  return true;
}
