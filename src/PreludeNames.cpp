#include "PreludeNames.h"

#include <cctype>
#include <iostream>
#include <sstream>

#include "DeclarationTable.h"
#include "GeneratedName.h"
#include "HoistedDeclaration.h"
#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

const std::set<std::string> prelude_names = {"min", "max", "ceild", "floord"};

[[noreturn]] void refuse(const std::string& name, const std::string& what, const std::string& text) {
  stop(std::cout, "Program::from_Sage: the tiled code defines a function " + name + "; " + what + ": " + text);
}

bool is_plain_int(const SgInitializedName* v) {
  return v->get_specifiers() == "int" && v->get_pointer().empty() && v->get_array_bounds().empty();
}

// The specifiers of the function, `static` and `inline` left out.
std::string return_type(SgFunctionDeclaration* f) {
  std::istringstream words(f->get_specifiers());
  std::string type;
  for (std::string w; words >> w;)
    if (w != "static" && w != "inline") type += (type.empty() ? "" : " ") + w;
  return type;
}

// int name(int x, int y), storage class and inline set aside.
bool has_min_max_signature(SgFunctionDeclaration* f) {
  SgFunctionParameterList* list = f->get_parameterList();
  if (return_type(f) != "int" || !f->get_pointer().empty() || !list || list->has_ellipsis()) return false;
  std::vector<SgInitializedName*> parameters = list->get_args();
  return parameters.size() == 2 && is_plain_int(parameters[0]) && is_plain_int(parameters[1]);
}

std::string name_of(SgExpression* e) {
  SgVarRefExp* ref = isSgVarRefExp(e);
  return ref ? ref->get_symbol()->get_name().getString() : "";
}

// The body is "return l OP r ? t : f;" over the two parameters, with OP a
// comparison, returning the smaller (or larger) one.
bool returns_extremum(SgFunctionDeclaration* f, bool minimum) {
  std::vector<SgStatement*> body = f->get_definition()->get_body()->get_statements();
  SgReturnStmt* ret = body.size() == 1 ? isSgReturnStmt(body[0]) : nullptr;
  SgConditionalExp* choice = ret ? isSgConditionalExp(ret->get_expression()) : nullptr;
  if (!choice) return false;
  SgExpression* test = choice->get_conditional_exp();
  VariantT op = test->variantT();
  bool less = op == V_SgLessThanOp || op == V_SgLessOrEqualOp;
  if (!less && op != V_SgGreaterThanOp && op != V_SgGreaterOrEqualOp) return false;
  SgBinaryOp* comparison = isSgBinaryOp(test);
  std::string l = name_of(comparison->get_lhs_operand()), r = name_of(comparison->get_rhs_operand());
  std::vector<SgInitializedName*> parameters = f->get_parameterList()->get_args();
  std::set<std::string> names = {parameters[0]->get_name().getString(), parameters[1]->get_name().getString()};
  if (names.size() != 2 || names != std::set<std::string>{l, r}) return false;
  // When the test holds, l is the smaller one for < and <=, the larger one
  // for > and >=.
  bool l_when_true = less == minimum;
  return name_of(choice->get_true_exp()) == (l_when_true ? l : r) &&
         name_of(choice->get_false_exp()) == (l_when_true ? r : l);
}

std::string defined_macro(const std::string& line) {
  size_t at = line.find_first_not_of(" \t", line.find('#') + 1);
  if (at == std::string::npos || line.compare(at, 6, "define") != 0) return "";
  at = line.find_first_not_of(" \t", at + 6);
  if (at == std::string::npos) return "";
  size_t end = at;
  while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) end++;
  return line.substr(at, end - at);
}

}  // namespace

namespace {

[[noreturn]] void refuse_reserved(const std::string& name, SgNode* where, const std::string& reason) {
  stop(std::cerr, location_of(where) + ": error: '" + name +
                      "' is reserved: " + reason);
}

}  // namespace

void check_generated_family(const std::string& name, SgNode* where) {
  std::string reason = reserved_name_reason(name);
  if (!reason.empty()) refuse_reserved(name, where, reason);
}

void check_written_name(const std::string& name, SgNode* where) {
  if (name == "block_size")
    refuse_reserved(name, where, "the tiled code's tile size, set by its caller, which the static control part "
                                 "may not write");
}

void check_tile_size_declaration(const std::string& name, const std::string& text, SgNode* where) {
  if (name == "block_size" && text != "int block_size;")
    refuse_reserved(name, where, "the tiled code's tile size, an int its caller provides, which the input may "
                                 "declare only as `int block_size;`, not as `" + text + "`");
}

void check_variable_name(const std::string& name, const std::string& text) {
  if (prelude_names.count(name)) refuse(name, "the input may not declare a variable of that name", text);
}

void check_directives(const std::vector<std::string>& directives) {
  for (const std::string& line : directives) {
    std::string name = defined_macro(line);
    if (prelude_names.count(name)) refuse(name, "the input may not define a macro of that name", line);
  }
}

void check_min_max_calls(SgNode* node, const DeclarationTable& table) {
  if (!node) return;
  if (SgFunctionCallExp* call = isSgFunctionCallExp(node)) {
    std::string callee = call->get_callee_name();
    if (callee == "min" || callee == "max")
      for (SgExpression* argument : call->get_args()->get_expressions())
        if (!table.is_int(argument))
          stop(std::cout, "Program::from_Sage: " + callee +
                              " with an argument that is not an int, which the tiled code's function would "
                              "not convert: " + call->unparseToString());
  }
  for (SgNode* child : node->get_traversalSuccessorContainer()) check_min_max_calls(child, table);
}


void PreludeFunctions::add(SgFunctionDeclaration* f) {
  std::string name = f->get_name().getString();
  if (!prelude_names.count(name)) return;
  bool minimum = name == "min";
  if (!minimum && name != "max") refuse(name, "the input may not declare a function of that name", function_head(f));
  bool exact = has_min_max_signature(f) && (!f->get_definition() || returns_extremum(f, minimum));
  if (!exact)
    refuse(name, std::string("an input function of that name must return the ") +
                     (minimum ? "minimum" : "maximum") + " of its two int parameters",
           function_head(f));
  if (f->get_definition()) defined.insert(name);
  else declared[name] = function_head(f);
}

void PreludeFunctions::check_defined() const {
  for (const auto& prototype : declared)
    if (!defined.count(prototype.first))
      refuse(prototype.first, "an input function of that name must be defined in the file", prototype.second);
}
