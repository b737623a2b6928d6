#include "CMeaning.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include "HoistedDeclaration.h"
#include "Literals.h"
#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "TypeNames.h"

namespace {

using Locals = std::map<std::string, SgInitializedName*>;

SgCastExp* cast_to(const std::string& type, SgExpression* e) {
  return new SgCastExp(e->get_file_info(), e, new SgType(type));
}

// The C library's functions that C++ overloads (<math.h> for float and
// long double, <stdlib.h> abs for long, long long and the floating types),
// with the parameter types of their C prototypes; "" for a pointer, which
// the argument's own type chooses in C++ as in C.
const std::map<std::string, std::vector<std::string>>& library_parameters() {
  static const std::map<std::string, std::vector<std::string>> table = [] {
    std::map<std::string, std::vector<std::string>> t;
    for (const char* name : {"acos", "asin", "atan", "ceil", "cos", "cosh", "exp", "fabs", "floor", "log", "log10",
                             "sin", "sinh", "sqrt", "tan", "tanh", "acosh", "asinh", "atanh", "cbrt", "erf", "erfc",
                             "exp2", "expm1", "lgamma", "log1p", "log2", "logb", "nearbyint", "rint", "round",
                             "tgamma", "trunc", "ilogb", "lrint", "llrint", "lround", "llround"})
      t[name] = {"double"};
    for (const char* name : {"atan2", "fmod", "pow", "copysign", "fdim", "fmax", "fmin", "hypot", "nextafter",
                             "remainder"})
      t[name] = {"double", "double"};
    t["fma"] = {"double", "double", "double"};
    t["ldexp"] = t["scalbn"] = {"double", "int"};
    t["scalbln"] = {"double", "long"};
    t["frexp"] = {"double", ""};
    t["modf"] = {"double", ""};
    t["remquo"] = {"double", "double", ""};
    t["nexttoward"] = {"double", "long double"};
    t["abs"] = {"int"};
    t["labs"] = {"long"};
    t["llabs"] = {"long long"};
    return t;
  }();
  return table;
}

bool is_integer_abs(const std::string& name) { return name == "abs" || name == "labs" || name == "llabs"; }

// The C library's functions that return void *.
bool library_returns_void_pointer(const std::string& name) {
  static const std::set<std::string> names = {"malloc", "calloc", "realloc", "aligned_alloc",
                                              "memcpy", "memmove", "memset",  "bsearch"};
  return names.count(name) > 0;
}

bool names_void_pointer(const std::string& specifiers, const std::string& pointer) {
  return type_words(specifiers) == "void" && std::count(pointer.begin(), pointer.end(), '*') == 1;
}

// A cast's type text: "void *", "void*", "const void *".
bool names_void_pointer(const std::string& type) {
  size_t star = type.find('*');
  return star != std::string::npos && names_void_pointer(type.substr(0, star), type.substr(star));
}

bool declares_void_pointer(const SgInitializedName* v) {
  return v->get_array_bounds().empty() && names_void_pointer(v->get_specifiers(), v->get_pointer());
}

// `(void)`: no parameter at all.
bool takes_void(const SgFunctionParameterList* list) {
  std::vector<SgInitializedName*> args = list->get_args();
  return args.size() == 1 && args[0]->get_name().getString().empty() && args[0]->get_pointer().empty() &&
         args[0]->get_array_bounds().empty() && type_words(args[0]->get_specifiers()) == "void";
}

bool has_parameter_list(const SgFunctionDeclaration* f) {
  const SgFunctionParameterList* list = f->get_parameterList();
  return list && (!list->get_args().empty() || list->has_ellipsis());
}

bool is_old_style(const SgFunctionDeclaration* f) { return !f->get_definition() && !has_parameter_list(f); }

// The type a parameter converts its argument to: an array parameter is the
// pointer it stands for (double A[][10] is double (*)[10]). "" for a
// typedef of an array type or an array of a run-time length, which no cast
// may name.
std::string parameter_type(const SgInitializedName* p, const std::set<std::string>& array_types) {
  if (array_types.count(type_words(p->get_specifiers())) || has_variable_length(p, true)) return "";
  std::string type = p->get_specifiers() + " " + p->get_pointer();
  const std::vector<SgExpression*>& bounds = p->get_array_bounds();
  if (!bounds.empty()) {
    std::string rows;
    for (size_t k = 1; k < bounds.size(); k++) rows += "[" + bounds[k]->unparseToString() + "]";
    type += rows.empty() ? "*" : "(*)" + rows;
  }
  return cxx_text(type);
}

// Whether C gives `e` the type int where C++ gives another: a character
// literal (char), a comparison or logical operator (bool), and a bool
// literal (the macros of <stdbool.h> are ints in C).
bool int_in_c_only(const SgNode* e) {
  switch (e->variantT()) {
    case V_SgCharVal: case V_SgBoolValExp: case V_SgEqualityOp: case V_SgNotEqualOp: case V_SgLessThanOp:
    case V_SgGreaterThanOp: case V_SgLessOrEqualOp: case V_SgGreaterOrEqualOp: case V_SgAndOp: case V_SgOrOp:
    case V_SgNotOp:
      return true;
    default:
      return false;
  }
}

// Child i of `parent`, and everything under it, with each node C types int
// and C++ otherwise cast to int.
void cast_int_typed(SgNode* parent, size_t i) {
  SgNode* child = parent->get_traversalSuccessorByIndex(i);
  if (!child) return;
  for (size_t k = 0; k < child->get_numberOfTraversalSuccessors(); k++) cast_int_typed(child, k);
  if (int_in_c_only(child)) parent->set_traversalSuccessorByIndex(i, cast_to("int", isSgExpression(child)));
}

// The characters of one string literal token's text (between its quotes)
// as character literals, escapes kept as written; a byte beyond ASCII in
// octal.
void add_characters(const std::string& text, std::vector<std::string>& out) {
  for (size_t k = 0; k < text.size();) {
    size_t end = k + 1;
    if (text[k] == '\\' && k + 1 < text.size()) {
      char c = text[k + 1];
      end = k + 2;
      auto digits = [&](auto is_digit, size_t most) {
        while (end < text.size() && end - k - 1 < most && is_digit(static_cast<unsigned char>(text[end]))) end++;
      };
      if (c == 'x') digits(::isxdigit, text.size());
      else if (c >= '0' && c <= '7') digits([](int d) { return d >= '0' && d <= '7'; }, 3);
      else if (c == 'u' || c == 'U') end = std::min(text.size(), k + (c == 'u' ? 6 : 10));
    }
    std::string unit = text.substr(k, end - k);
    if (unit == "'") unit = "\\'";
    if (static_cast<unsigned char>(unit[0]) >= 0x80) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(unit[0]));
      unit = octal;
    }
    out.push_back("'" + unit + "'");
    k = end;
  }
}

// The characters of a string literal, adjacent tokens joined, as character
// literals.
std::vector<std::string> characters(const SgStringVal* s) {
  const std::string& spelling = s->get_valueString();
  std::vector<std::string> out;
  for (size_t open = spelling.find('"'); open != std::string::npos;) {
    size_t close = open + 1;
    while (close < spelling.size() && spelling[close] != '"') close += spelling[close] == '\\' ? 2 : 1;
    add_characters(spelling.substr(open + 1, close - open - 1), out);
    open = spelling.find('"', close + 1);
  }
  return out;
}

// The brace list of the characters of `s`, without its null character, in
// place of `s` when a char array of `length` elements leaves no room for
// that null character, or may leave none (a length that is no literal);
// `s` itself otherwise. In an unsigned char array each character is cast
// to unsigned char, as C stores it: a byte beyond ASCII is a negative char
// literal, which a brace list may not narrow.
SgExpression* without_null(SgStringVal* s, const SgExpression* length, const std::string& element) {
  std::vector<std::string> texts = characters(s);
  const SgIntVal* stated = isSgIntVal(length);
  if (stated && static_cast<size_t>(stated->get_value()) > texts.size()) return s;
  SgExprListExp* list = new SgExprListExp(s->get_file_info());
  for (const std::string& text : texts) {
    Token t;
    t.text = text;
    SgExpression* c = make_char_literal(t, s->get_file_info());
    list->append_expression(element == "unsigned char" ? cast_to(element, c) : c);
  }
  return new SgAggregateInitializer(s->get_file_info(), list);
}

// Child i of `parent`, the initialiser of a char array of `dimensions`
// dimensions whose last one has `length` elements, with each string that
// fills a row written by without_null.
void fill_rows(SgNode* parent, size_t i, size_t dimensions, const SgExpression* length, const std::string& element) {
  SgNode* value = parent->get_traversalSuccessorByIndex(i);
  if (SgAssignInitializer* assign = isSgAssignInitializer(value)) value = assign->get_operand();
  SgAggregateInitializer* braces = isSgAggregateInitializer(value);
  SgExprListExp* list = braces ? braces->get_initializers() : nullptr;
  // char s[3] = {"abc"} is the string of one row.
  if (dimensions == 1 && list && list->get_numberOfTraversalSuccessors() == 1)
    value = list->get_traversalSuccessorByIndex(0);
  if (dimensions == 1) {
    if (SgStringVal* s = isSgStringVal(value)) parent->set_traversalSuccessorByIndex(i, without_null(s, length, element));
    return;
  }
  if (list)
    for (size_t k = 0; k < list->get_numberOfTraversalSuccessors(); k++) fill_rows(list, k, dimensions - 1, length, element);
}

void fill_char_rows(SgInitializedName* v) {
  std::string type = type_words(v->get_specifiers());
  const std::vector<SgExpression*>& bounds = v->get_array_bounds();
  if (bounds.empty() || !bounds.back() || !v->get_pointer().empty() || !v->get_initializer()) return;
  if (type == "char" || type == "signed char" || type == "unsigned char") fill_rows(v, 0, bounds.size(), bounds.back(), type);
}

// The variables a function body may name: its parameters and its locals.
void collect_locals(SgNode* node, Locals& locals) {
  if (!node) return;
  if (SgInitializedName* v = isSgInitializedName(node)) locals[v->get_name().getString()] = v;
  for (SgNode* child : node->get_traversalSuccessorContainer()) collect_locals(child, locals);
}

}  // namespace

void CMeaning::include(const std::string& line) {
  if (line.find("tgmath.h") != std::string::npos) type_generic_math = true;
}

void CMeaning::function(SgFunctionDeclaration* f, bool kernel) {
  std::string name = f->get_name().getString();
  functions[name].push_back(f);
  // A definition without parameters is no prototype in C: its calls are
  // not converted.
  if (has_parameter_list(f)) prototypes[name] = f;
  if (kernel || !f->get_definition()) return;
  Locals locals;
  collect_locals(f, locals);
  rewrite(f->get_definition(), f, locals);
}

void CMeaning::declaration(SgNode* d) {
  rewrite(d, nullptr, {});
  if (SgTypedefDeclaration* t = isSgTypedefDeclaration(d)) {
    const SgInitializedName* declarator = t->get_declarator();
    if (!declarator->get_array_bounds().empty() || array_types.count(type_words(declarator->get_specifiers())))
      array_types.insert(t->get_name().getString());
  }
  if (SgVariableDeclaration* v = isSgVariableDeclaration(d))
    for (SgInitializedName* variable : v->get_variables()) variables[variable->get_name().getString()] = variable;
}

void CMeaning::run_by_tiled_code(SgNode* code) { rewrite(code, nullptr, {}); }

// Only the names of the C library's that C++ overloads may stand for
// another function than C's: the argument of another function converts to
// its parameter's arithmetic type in C++ as in C. Under <tgmath.h> C's
// math functions are type-generic, as C++'s overloads are; abs is not
// among them.
std::vector<CMeaning::Conversion> CMeaning::conversions(const std::string& callee) const {
  std::vector<Conversion> result;
  auto library = library_parameters().find(callee);
  bool overloaded = library != library_parameters().end() && (!type_generic_math || is_integer_abs(callee));
  auto own = prototypes.find(callee);
  if (own == prototypes.end()) {
    if (overloaded)
      for (const std::string& type : library->second) result.push_back({type, false});
    return result;
  }
  const SgFunctionParameterList* list = own->second->get_parameterList();
  if (takes_void(list)) return result;
  for (const SgInitializedName* p : list->get_args()) {
    bool pointer = !p->get_pointer().empty() || !p->get_array_bounds().empty();
    result.push_back({pointer || overloaded ? parameter_type(p, array_types) : "", pointer});
  }
  return result;
}

bool CMeaning::returns_void_pointer(const std::string& callee) const {
  auto declared = functions.find(callee);
  if (declared == functions.end()) return library_returns_void_pointer(callee);
  const SgFunctionDeclaration* f = declared->second.back();
  return names_void_pointer(f->get_specifiers(), f->get_pointer());
}

void CMeaning::rewrite(SgNode* node, SgFunctionDeclaration* body, const Locals& locals) {
  if (!node) return;
  std::vector<SgNode*> children = node->get_traversalSuccessorContainer();
  for (SgNode* child : children) rewrite(child, body, locals);
  if (SgInitializedName* v = isSgInitializedName(node)) {
    for (SgExpression* bound : v->get_array_bounds()) rewrite(bound, body, locals);
    fill_char_rows(v);
  }
  if (SgTypedefDeclaration* t = isSgTypedefDeclaration(node)) rewrite(t->get_declarator(), body, locals);
  if (isSgFunctionCallExp(node)) convert_arguments(node, locals);
  if (isSgSizeOfOp(node)) cast_int_operands(node);
  cast_void_pointers(node, body, locals);
}

void CMeaning::convert_arguments(SgNode* node, const Locals& locals) {
  if (!done.insert(node).second) return;
  SgFunctionCallExp* call = isSgFunctionCallExp(node);
  std::string callee = call->get_callee_name();
  SgExprListExp* list = call->get_args();
  std::vector<SgExpression*> arguments = list ? list->get_expressions() : std::vector<SgExpression*>{};
  if (!arguments.empty()) called_with_arguments.insert(callee);
  // min and max take ints only (PreludeNames.h), which they pass on as
  // they are.
  if (callee == "min" || callee == "max") return;
  std::vector<Conversion> parameters = conversions(callee);
  for (size_t k = 0; k < arguments.size() && k < parameters.size(); k++) {
    const Conversion& p = parameters[k];
    // C++ converts a pointer as C does, but for a void * (malloc's).
    if (p.type.empty() || (p.pointer && !is_void_pointer(arguments[k], locals))) continue;
    if (!p.pointer && plain_type(arguments[k], locals) == type_words(p.type)) continue;
    list->set_traversalSuccessorByIndex(k, cast_to(p.type, arguments[k]));
  }
}

void CMeaning::cast_int_operands(SgNode* size_of) {
  if (!done.insert(size_of).second) return;
  for (size_t k = 0; k < size_of->get_numberOfTraversalSuccessors(); k++) cast_int_typed(size_of, k);
}

bool CMeaning::is_void_pointer(SgExpression* e, const Locals& locals) const {
  if (SgFunctionCallExp* call = isSgFunctionCallExp(e)) return returns_void_pointer(call->get_callee_name());
  if (SgCastExp* cast = isSgCastExp(e)) return cast->get_type() && names_void_pointer(cast->get_type()->get_text());
  if (SgConditionalExp* choice = isSgConditionalExp(e))
    return is_void_pointer(choice->get_true_exp(), locals) || is_void_pointer(choice->get_false_exp(), locals);
  if (SgCommaOpExp* comma = isSgCommaOpExp(e)) return is_void_pointer(comma->get_rhs_operand(), locals);
  SgVarRefExp* ref = isSgVarRefExp(e);
  const SgInitializedName* v = ref ? declaration_of(ref, locals) : nullptr;
  return v && declares_void_pointer(v);
}

const SgInitializedName* CMeaning::declaration_of(SgVarRefExp* ref, const Locals& locals) const {
  std::string name = ref->get_symbol()->get_name().getString();
  auto local = locals.find(name);
  if (local != locals.end()) return local->second;
  auto variable = variables.find(name);
  return variable != variables.end() ? variable->second : nullptr;
}

std::string CMeaning::plain_type(SgExpression* e, const Locals& locals) const {
  switch (e->variantT()) {
    case V_SgIntVal: return "int";
    case V_SgDoubleVal: return "double";
    case V_SgFloatVal: return "float";
    case V_SgLongIntVal: return "long";
    case V_SgLongLongIntVal: return "long long";
    default: break;
  }
  if (SgCastExp* cast = isSgCastExp(e))
    return cast->get_type() && cast->get_type()->get_text().find('*') == std::string::npos
               ? type_words(cast->get_type()->get_text())
               : "";
  size_t subscripts = 0;
  for (; isSgPntrArrRefExp(e); subscripts++) e = isSgPntrArrRefExp(e)->get_lhs_operand();
  SgVarRefExp* ref = isSgVarRefExp(e);
  const SgInitializedName* v = ref ? declaration_of(ref, locals) : nullptr;
  bool scalar = v && v->get_pointer().empty() && v->get_array_bounds().size() == subscripts;
  return scalar ? type_words(v->get_specifiers()) : "";
}

void CMeaning::cast_void_pointers(SgNode* node, SgFunctionDeclaration* body, const Locals& locals) {
  if (SgInitializedName* v = isSgInitializedName(node)) {
    SgAssignInitializer* value = isSgAssignInitializer(v->get_initializer());
    if (value && is_void_pointer(value->get_operand(), locals) && !declares_void_pointer(v))
      value->set_traversalSuccessorByIndex(0, cast_to("decltype(" + v->get_name().getString() + ")",
                                                      value->get_operand()));
  } else if (SgAssignOp* assign = isSgAssignOp(node)) {
    if (is_void_pointer(assign->get_rhs_operand(), locals) && !is_void_pointer(assign->get_lhs_operand(), locals))
      cast_assigned(assign, body ? body->get_name().getString() : "");
  } else if (SgReturnStmt* ret = body ? isSgReturnStmt(node) : nullptr) {
    SgExpression* value = isSgExpression(ret->get_traversalSuccessorByIndex(0));
    if (value && is_void_pointer(value, locals) && !names_void_pointer(body->get_specifiers(), body->get_pointer()))
      ret->set_traversalSuccessorByIndex(
          0, cast_to(cxx_text(type_words(body->get_specifiers()) + " " + body->get_pointer()), value));
  }
}

// A variable's type is decltype's; an element's or a pointee's has no name
// here, and its function no C++ form. `function` is "" for a statement of
// a part, which the tiled code always runs.
void CMeaning::cast_assigned(SgAssignOp* assign, const std::string& function) {
  SgExpression* target = assign->get_lhs_operand();
  if (SgVarRefExp* variable = isSgVarRefExp(target)) {
    std::string type = "decltype(" + variable->get_symbol()->get_name().getString() + ")";
    assign->set_traversalSuccessorByIndex(1, cast_to(type, assign->get_rhs_operand()));
  } else if (function.empty()) {
    stop(std::cerr, location_of(assign) + ": error: the statement assigns a void * to " + target->unparseToString() +
                        ", which C converts implicitly and the tiled code, in C++, cannot name the type of; assign "
                        "it to a pointer variable");
  } else if (!refusals.count(function)) {
    refusals[function] = location_of(assign) + ": error: " + function + " assigns a void * to " +
                         target->unparseToString() +
                         ", which C converts implicitly and the tiled code, in C++, cannot name the type of; assign "
                         "it to a pointer variable first";
  }
}

void CMeaning::check_parameters(const std::string& name) const {
  for (const SgFunctionDeclaration* f : functions.at(name)) {
    if (!f->get_parameterList()) continue;
    for (const SgInitializedName* p : f->get_parameterList()->get_args()) {
      std::string why = cxx_keyword_reason(p->get_name().getString());
      if (!why.empty())
        stop(std::cerr, location_of(p) + ": error: the tiled code, in C++, cannot carry " + name + ", whose parameter " +
                            p->get_name().getString() + " is " + why);
    }
  }
}

std::string CMeaning::with_parameters(const std::string& name, const std::string& text) const {
  const std::vector<SgFunctionDeclaration*>& declarations = functions.at(name);
  auto defined = std::find_if(declarations.begin(), declarations.end(),
                              [](const SgFunctionDeclaration* f) { return f->get_definition() != nullptr; });
  for (SgFunctionDeclaration* f : declarations) {
    if (!is_old_style(f) || cxx_text(f->unparseToString()) != text) continue;
    if (defined != declarations.end()) {
      SgFunctionDeclaration* prototype = new SgFunctionDeclaration(
          f->get_file_info(), f->get_specifiers(), f->get_pointer(), f->get_name(), (*defined)->get_parameterList(),
          nullptr);
      return cxx_text(prototype->unparseToString());
    }
    if (called_with_arguments.count(name))
      stop(std::cerr, location_of(f) + ": error: " + name +
                          " is declared without its parameters and not defined in the file, and a call passes it "
                          "arguments: C++ reads `" + cxx_text(function_head(f)) +
                          "` as taking none; declare its parameters");
  }
  return text;
}

std::vector<std::pair<std::string, std::string>> CMeaning::carried(
    const std::vector<std::pair<std::string, std::string>>& texts) const {
  std::vector<std::pair<std::string, std::string>> result;
  for (const auto& text : texts) {
    auto refusal = refusals.find(text.first);
    if (refusal != refusals.end()) stop(std::cerr, refusal->second);
    check_parameters(text.first);
    result.push_back({text.first, with_parameters(text.first, text.second)});
  }
  return result;
}
