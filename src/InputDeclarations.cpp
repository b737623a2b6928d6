#include "InputDeclarations.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "HoistedDeclaration.h"
#include "Preprocessor.h"
#include "Program.h"
#include "SourceLocation.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// The carriers of the directives lead the file, one declaration a line.
const size_t carrier_count = static_cast<size_t>(
    std::count(carrier_declarations, carrier_declarations + std::strlen(carrier_declarations), '\n'));

}  // namespace

// A directive is read as an assignment to its carrier, and a statement
// writing an array of that name would be read as a directive (and dropped).
void InputDeclarations::check_carrier_name(const std::string& name, const std::string& text) const {
  if (carrier_names.count(name))
    stop(std::cout, "Program::from_Sage: " + name + " is the name of a directive, which the input may not declare: " +
                        text);
}

void InputDeclarations::hoist(const std::string& name, const std::string& text, SgNode* where) {
  check_hoisted_name(name, text);
  check_tile_size_declaration(name, cxx_text(text), where);
  var_declaration.push_back(cxx_text(text));
  var_declared_names.push_back({name});
}

void InputDeclarations::function(SgFunctionDeclaration* f, bool kernel) {
  check_generated_family(f->get_name().getString(), f);
  check_tile_size_declaration(f->get_name().getString(), function_head(f), f);
  prelude_functions.add(f);
  meaning.function(f, kernel);
  functions.add(f, kernel);
  names.add_file_scope(f->get_name().getString(), function_head(f), nullptr);
  names.add_function(f);
  if (kernel) local_names.walk_function(f);
  if (!kernel || !f->get_definition() || !f->get_parameterList()) return;
  for (SgInitializedName* v : f->get_parameterList()->get_args()) {
    std::string name = v->get_name().getString();
    if (name.empty()) continue;
    std::string text = parameter_declaration(v);
    check_generated_family(name, v);
    check_carrier_name(name, text);
    if (has_variable_length(v, true))
      stop(std::cout, "Program::from_Sage: variable-length array parameter: " + v->unparseToString());
    check_variable_name(name, text);
    names.add_local(name, text, v);
    hoist(name, text, v);
  }
}

// The hoisted declarations may name the type, so it is declared with them,
// in file order.
void InputDeclarations::type_name(SgTypedefDeclaration* t, bool local) {
  meaning.declaration(t);
  std::string name = t->get_name().getString(), text = t->unparseToString();
  check_generated_family(name, t);
  check_carrier_name(name, text);
  if (local) names.add_local(name, text, nullptr);
  else names.add_file_scope(name, text, nullptr);
  names.add_type_name(name, t->get_declarator());
  hoist(name, text, t);
}

void InputDeclarations::variable(SgVariableDeclaration* d, SgFunctionDeclaration* function, bool kernel,
                                 bool ahead_of_part) {
  meaning.declaration(d);
  for (SgInitializedName* v : d->get_variables()) {
    std::string name = v->get_name().getString();
    std::string text = d->unparseToCompleteString();
    // A local renamed apart is checked under the name it was written with,
    // as the earlier local of that name.
    if (!local_names.renamed(v)) check_generated_family(name, v);
    check_variable_name(name, text);
    bool carrier = !function && file_scope_variables++ < carrier_count;
    if (carrier && is_dropped_carrier(name)) carrier_names.insert(name);
    if (!carrier) check_carrier_name(name, text);
    if (function) {
      text = local_text(d, v, kernel, ahead_of_part);
      names.add_local(name, text, v);
    } else if (!carrier) {
      names.add_file_scope(name, text, v);
    }
    if (is_uninitialised_const(v)) text = declaration_without_initialiser(v);
    if (!function && !carrier && merged_definition(v, d->unparseToCompleteString())) continue;
    hoist(name, text, v);
  }
}

// C takes the file-scope definitions of one variable for one: tentative
// ones (without initialiser, not extern) and at most one with an
// initialiser, while C++ refuses a second definition. A tentative
// definition after the first definition adds nothing. A definition with an
// initialiser after a tentative one turns that one into an extern
// declaration, or, for a static variable (which C++ cannot declare without
// defining it), takes its place. Returns whether `v` is so merged into an
// earlier definition, and is not declared again itself.
bool InputDeclarations::merged_definition(SgInitializedName* v, const std::string& text) {
  if (is_extern(v)) return false;
  std::string name = v->get_name().getString();
  auto earlier = definitions.find(name);
  if (earlier == definitions.end()) {
    definitions[name] = {var_declaration.size(), text, v->get_initializer() != nullptr};
    return false;
  }
  if (!v->get_initializer()) return true;
  if (earlier->second.initialised) return false;
  earlier->second.initialised = true;
  var_declaration[earlier->second.at] = cxx_text(is_static(v) ? text : "extern " + earlier->second.text);
  return is_static(v);
}

// A local keeps its text unless its initialiser is a run-time value: a
// local of another function, which no part can see, is then declared
// without it; a scalar of the kernel's function ahead of the part gets it
// as an assignment on entry to the kernel. A constant initialiser stays at
// file scope, and is assigned on entry too when the scalar can be written
// (not static, not const): the original starts from it on every call,
// wherever the local stands, and no part ahead of it names it (LocalNames).
// A static local keeps its initialiser, which C runs once. Arrays of a
// run-time length have no file-scope form.
std::string InputDeclarations::local_text(SgVariableDeclaration* d, SgInitializedName* v, bool kernel,
                                          bool ahead_of_part) {
  std::string text = d->unparseToCompleteString();
  if (has_variable_length(v, false)) stop(std::cout, "Program::from_Sage: variable-length array: " + text);
  SgInitializer* initializer = v->get_initializer();
  SgAssignInitializer* value = isSgAssignInitializer(initializer);
  if (is_constant_expression(initializer)) {
    bool again = kernel && initializer && is_reassignable(v);
    if (again && value && v->get_array_bounds().empty()) initialise_on_entry(v, value);
    else if (again) initialised_arrays[v->get_name().getString()] = {text, location_of(v)};
    return text;
  }
  if (!kernel) return declaration_without_initialiser(v);
  if (is_static(v)) {
    check_static_initialiser(v, text);
    return text;
  }
  if (!ahead_of_part || !value || !v->get_array_bounds().empty())
    stop(std::cout, "Program::from_Sage: tiled_kernel() initialises only scalars declared ahead of the static "
                    "control part from run-time values: " + text);
  initialise_on_entry(v, value);
  return declaration_without_initialiser(v);
}

void InputDeclarations::initialise_on_entry(SgInitializedName* v, SgAssignInitializer* value) {
  // C converts a void* (malloc's) to any pointer on assignment, C++ only
  // with a cast.
  std::string name = v->get_name().getString(), value_text = cxx_text(value->get_operand()->unparseToString());
  if (!v->get_pointer().empty()) value_text = "(decltype(" + name + "))(" + value_text + ")";
  entry.push_back("  " + name + " = " + value_text + ";");
  functions.run_by_tiled_code(value);
}

// C's initialiser of a static local is a constant expression, which may
// take the address or the size of a variable declared ahead of it: at file
// scope, after the same declarations, it gives the same value once, at
// program start. A function's name has no such place: the tiled code
// declares the functions after the variables.
void InputDeclarations::check_static_initialiser(SgInitializedName* v, const std::string& text) const {
  auto variable = [this](const std::string& name) { return names.is_variable(name); };
  if (!is_constant_expression(v->get_initializer(), variable))
    stop(std::cerr, location_of(v) + ": error: the tiled code initialises the static local " +
                        v->get_name().getString() +
                        " once, at file scope, where its initialiser may name only variables declared ahead of it: " +
                        text);
}

void InputDeclarations::directives(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    size_t word = line.find_first_not_of(" \t", line.find('#') + 1);
    if (word == std::string::npos || line.compare(word, 7, "include") != 0) continue;
    include_lines.push_back(line);
    meaning.include(line);
  }
}

void InputDeclarations::statement(SgNode* assignment) {
  meaning.run_by_tiled_code(assignment);
  functions.run_by_tiled_code(assignment);
}

void InputDeclarations::finish() const { prelude_functions.check_defined(); }
