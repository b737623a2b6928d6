// XML forms of right-hand side trees, statements and programs.

#include <iostream>

#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Statement.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "Xml.h"
#include "XmlChecks.h"

namespace {

// The operands the C writer of an operator node reaches by position: its
// arity in the front end's table; a call takes any number.
size_t operands_needed(int op_id) {
  const SgOperatorInfo* info = sg_operator_info(op_id);
  if (!info || op_id == V_SgFunctionCallExp) return 0;
  return static_cast<size_t>(info->arity);
}

void check_rhs(const Rhs& r) {
  bool flags = (r.is_value == 0 || r.is_value == 1) && (r.is_an_array == 0 || r.is_an_array == 1) &&
               (r.is_op == 0 || r.is_op == 1);
  if (!flags || r.is_value + r.is_an_array + r.is_op != 1)
    xml_refuse("Rhs", "exactly one of is_value, is_an_array, is_op must be set");
  for (Rhs* operand : r.successor) check_not_null("Rhs", operand, "successor");
  if (r.is_op && r.successor.size() < operands_needed(r.op_id))
    xml_refuse("Rhs", "too few operands for op_id " + int_to_str(r.op_id));
}

}  // namespace

void Rhs::print_xml(std::ostream& os, std::string tag) const {
  open_tag(os, tag);
  ::print_xml(os, "is_value", is_value);
  ::print_xml(os, "value", value);
  ::print_xml(os, "is_an_array", is_an_array);
  ::print_xml(os, "array_rank", array_rank);
  ::print_xml(os, "array_id", array_id);
  ::print_xml(os, "is_op", is_op);
  ::print_xml(os, "op_id", op_id);
  ::print_xml(os, "op_name", op_name);
  ::print_xml(os, "successor", successor);
  close_tag(os, tag);
}

Rhs::Rhs(const Xml& node) {
  from_xml(is_value, node["is_value"]);
  from_xml(value, node["value"]);
  from_xml(is_an_array, node["is_an_array"]);
  from_xml(array_rank, node["array_rank"]);
  from_xml(array_id, node["array_id"]);
  from_xml(is_op, node["is_op"]);
  from_xml(op_id, node["op_id"]);
  from_xml(op_name, node["op_name"]);
  from_xml(successor, node["successor"]);
  check_rhs(*this);
}

void Statement::print_xml(std::ostream& os, std::string tag) const {
  if (!iteration_domain || !lhs_index)
    stop(std::cerr, "Statement::print_xml: a statement without iteration domain or write has no XML form");
  open_tag(os, tag);
  ::print_xml(os, "stmt_rank", stmt_rank);
  ::print_xml(os, "surrounding_counters", surrounding_counters);
  ::print_xml(os, "iteration_domain", iteration_domain);
  ::print_xml(os, "lhs_id", lhs_id);
  ::print_xml(os, "lhs_index", lhs_index);
  ::print_xml(os, "rhs_index", rhs_index);
  ::print_xml(os, "rhs", rhs);
  close_tag(os, tag);
}

Statement::Statement(const Xml& node) {
  from_xml(stmt_rank, node["stmt_rank"]);
  from_xml(surrounding_counters, node["surrounding_counters"]);
  for (int c : surrounding_counters) check_counter_rank("Statement", c);
  from_xml(iteration_domain, node["iteration_domain"]);
  check_not_null("Statement", iteration_domain, "iteration_domain");
  from_xml(lhs_id, node["lhs_id"]);
  from_xml(lhs_index, node["lhs_index"]);
  check_not_null("Statement", lhs_index, "lhs_index");
  from_xml(rhs_index, node["rhs_index"]);
  for (const Read& read : rhs_index) check_not_null("Statement", read.second, "rhs_index");
  from_xml(rhs, node["rhs"]);
}

void Program::print_xml(std::ostream& os, std::string tag) const {
  open_tag(os, tag);
  ::print_xml(os, "nb_counters", nb_counters);
  ::print_xml(os, "nb_parameters", nb_parameters);
  ::print_xml(os, "statement", statement);
  ::print_xml(os, "variable_declaration", variable_declaration);
  ::print_xml(os, "declared_names", declared_names);
  ::print_xml(os, "kernel_entry", kernel_entry);
  ::print_xml(os, "functions", functions);
  ::print_xml(os, "tile", tile);
  close_tag(os, tag);
}

Program::Program(const Xml& node) {
  from_xml(nb_counters, node["nb_counters"]);
  from_xml(nb_parameters, node["nb_parameters"]);
  from_xml(statement, node["statement"]);
  for (Statement* s : statement) check_not_null("Program", s, "statement");
  from_xml(variable_declaration, node["variable_declaration"]);
  from_xml(declared_names, node["declared_names"]);
  from_xml(kernel_entry, node["kernel_entry"]);
  from_xml(functions, node["functions"]);
  from_xml(tile, node["tile"]);
}
