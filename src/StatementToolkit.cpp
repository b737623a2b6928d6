// Statement and right-hand side operations beyond code generation: building
// a statement piece by piece, instances, renamings, storage mappings and
// the debug dumps.
//
// A read with an empty name is a loop counter used as a value: renamings
// map its counter like any other, but it is no array access, so the array
// operations and the instances' read lists leave it alone.

#include <algorithm>
#include <iostream>

#include "Array.h"
#include "Domain.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "MatrixPrinter.h"
#include "ModularMapping.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"
#include "SyntaxTree.h"

int Rhs::current_input = 0;

namespace {

const std::string kStatementFrame = "[STATEMENT]" + std::string(66, '-');

// The sign of the five arithmetic node kinds; empty for the others.
std::string sign_of(int op_id) {
  switch (op_id) {
    case V_SgAddOp: return "+";
    case V_SgSubtractOp: return "-";
    case V_SgMultiplyOp: return "*";
    case V_SgDivideOp: return "/";
    case V_SgModOp: return "%";
    default: return "";
  }
}

// The domain rewritten by `rewrite` (a new polyhedron owned by the caller).
// A union is rewritten member by member: the rewritings of a single
// polyhedron read its constraint list, where a union holds nothing.
template <class Rewrite>
Polyhedron* rewritten(Polyhedron* d, Rewrite rewrite) {
  if (!d->is_domain()) return rewrite(d);
  Domain* result = new Domain();
  for (Polyhedron* member : static_cast<Domain*>(d)->domain) result->domain.push_back(rewritten(member, rewrite));
  return result;
}

Polyhedron* renamed(Polyhedron* d, const std::map<int, int>& m) {
  return rewritten(d, [&m](Polyhedron* p) { return p->counters_to_counters(m); });
}

// A dense point (new, owned by the caller): entry c is the counter leaf of
// m[c] for each surrounding counter c, 0 elsewhere. Points cover the true
// counters and every surrounding rank, extra counters included.
IndexFunction* dense_point(const std::vector<int>& counters, const std::map<int, int>& m) {
  int size = get_nb_true_counters();
  for (int c : counters) size = std::max(size, c + 1);
  std::vector<Expression*> entries;
  for (int c = 0; c < size; c++) entries.push_back(new Expression(0));
  for (int c : counters) {
    delete entries[c];
    entries[c] = Expression::from_counter_rank(m.at(c));
  }
  IndexFunction* point = new IndexFunction(std::vector<int>(), entries);
  del(entries);
  return point;
}

// The rank of counter "new_counter_<c>_<k>", registered when new.
int fresh_counter(int c, int k) {
  std::string name = get_new_counter(c, k);
  create_extra_counter_rank(name);
  return get_counter_rank(name);
}

void rename_array(std::string& name, const std::map<std::string, std::string>& m) {
  auto found = m.find(name);
  if (!name.empty() && found != m.end()) name = found->second;
}

void rename_leaves(Rhs* node, const std::map<std::string, std::string>& m) {
  if (node->is_an_array) rename_array(node->array_id, m);
  for (Rhs* operand : node->successor) rename_leaves(operand, m);
}

// Each member's constraint matrix, members of a union separated by "U".
void print_domain_matrices(Polyhedron* d) {
  if (!d->is_domain()) {
    MatrixPrinter::print_vec_vec(d->to_matrix());
    return;
  }
  std::vector<Polyhedron*>& members = static_cast<Domain*>(d)->domain;
  for (size_t k = 0; k < members.size(); k++) {
    if (k) std::cout << "U" << std::endl;
    print_domain_matrices(members[k]);
  }
}

}  // namespace

// ------------------------------------------------------------------ Rhs

void Rhs::backend_dpn(std::ostream* out, const Statement* s) const {
  current_input = 0;
  write(out, s, true);
}

int Rhs::nb_operators() const {
  if (is_value || is_an_array) return 0;
  if (!is_op) stop(std::cout, "Statement::Rhs::nb_operators(): Bad rhs");
  int n = 1;
  for (Rhs* operand : successor) n += operand->nb_operators();
  return n;
}

void Rhs::print(std::string indent) const {
  if (is_value) {
    std::cout << indent << "value " << value << std::endl;
  } else if (is_an_array) {
    std::cout << indent << (array_id.empty() ? std::string("counter") : array_id + "[.]") << std::endl;
  } else if (is_op) {
    std::string sign = sign_of(op_id);
    std::cout << indent << (sign.empty() ? "Operator #" + std::to_string(op_id) : sign) << std::endl;
    std::cout << indent << "(" << std::endl;
    for (Rhs* operand : successor) {
      operand->print(indent + "  ");
      std::cout << indent << "," << std::endl;
    }
    std::cout << indent << ")" << std::endl;
  } else {
    stop(std::cout, "Statement::Rhs::print(): Bad rhs");
  }
}

void Rhs::print() const { print(""); }

// ------------------------------------------------------------ Statement

void Statement::add_counter(std::string name) { surrounding_counters.push_back(get_counter_rank(name)); }

void Statement::set_iteration_domain(Polyhedron& d) {
  Polyhedron* copy = d.clone();
  delete iteration_domain;
  iteration_domain = copy;
}

void Statement::set_lhs(std::string name, IndexFunction& f) {
  IndexFunction* copy = f.clone();
  delete lhs_index;
  lhs_index = copy;
  lhs_id = name;
  surrounding_counters = copy->surrounding_counters;
  if (name != "schedule") add_array(name, copy->dimension());
}

void Statement::add_rhs_reference(std::string name, IndexFunction& f) {
  IndexFunction* copy = f.clone();
  surrounding_counters = copy->surrounding_counters;
  rhs_index.push_back(Read(name, copy));
  // A counter read names no array.
  if (!name.empty()) add_array(name, copy->dimension());
}

IndexFunction* Statement::get_read(std::string name, int k) {
  int seen = 0;
  for (Read& read : rhs_index)
    if (!name.empty() && read.first == name && seen++ == k) return read.second;
  stop(std::cout, "Statement::get_read: no read with given rank");
}

int Statement::nb_operators() { return rhs ? rhs->nb_operators() : 0; }

Operation* Statement::instance() {
  std::map<int, int> same;
  for (int c : surrounding_counters) same[c] = c;
  IndexFunction* point = dense_point(surrounding_counters, same);
  Operation* op = new Operation(stmt_rank, surrounding_counters, point);
  delete point;
  return op;
}

std::pair<Operation*, std::map<int, int>> Statement::instance(int k) {
  std::map<int, int> m;
  for (int c : surrounding_counters) m[c] = k ? fresh_counter(c, k) : c;
  IndexFunction* point = dense_point(surrounding_counters, m);
  Operation* op = new Operation(stmt_rank, surrounding_counters, point);
  delete point;
  for (const auto& pair : m) op->mapping[pair.first] = Expression::from_counter_rank(pair.second);
  op->is_full_operation = 1;
  op->iteration_domain = renamed(iteration_domain, m);
  op->lhs_id = lhs_id;
  op->lhs_index = lhs_index->counters_to_counters(m);
  for (const Read& read : rhs_index)
    if (!read.first.empty()) op->rhs_index.push_back(Read(read.first, read.second->counters_to_counters(m)));
  return {op, m};
}

std::pair<Polyhedron*, Operation*> Statement::parametrized_instance() {
  std::map<int, Expression*> m;
  for (int c : surrounding_counters) m[c] = par(get_new_counter_parameter(c));
  Polyhedron* domain = rewritten(iteration_domain, [&m](Polyhedron* p) { return p->substitute_counters(m); });
  Operation* own = instance();
  Operation* op = own->substitute_counters(m);
  delete own;
  op->is_parametrized = 1;
  op->mapping = m;
  return {domain, op};
}

void Statement::apply(std::string array, ModularMapping* m) {
  if (array.empty()) return;
  if (lhs_id == array) {
    IndexFunction* mapped = m->apply(lhs_index);
    delete lhs_index;
    lhs_index = mapped;
  }
  for (Read& read : rhs_index) {
    if (read.first != array) continue;
    IndexFunction* mapped = m->apply(read.second);
    delete read.second;
    read.second = mapped;
  }
}

void Statement::substitute_arrays(std::map<std::string, std::string> m) {
  rename_array(lhs_id, m);
  for (Read& read : rhs_index) rename_array(read.first, m);
  if (rhs) rename_leaves(rhs, m);
}

Statement* Statement::counters_to_counters(std::map<int, int> m) {
  Statement* copy = new Statement(stmt_rank);
  for (int c : surrounding_counters) copy->surrounding_counters.push_back(m.count(c) ? m[c] : c);
  copy->iteration_domain = renamed(iteration_domain, m);
  copy->lhs_id = lhs_id;
  copy->lhs_index = lhs_index->counters_to_counters(m);
  for (const Read& read : rhs_index) copy->rhs_index.push_back(Read(read.first, read.second->counters_to_counters(m)));
  if (rhs) copy->rhs = rhs->clone();
  copy->part = part;
  return copy;
}

std::vector<int> Statement::common_nest(int s1, int s2, Program* p) {
  for (int s : {s1, s2})
    if (s < 0 || s >= static_cast<int>(p->statement.size()))
      stop(std::cout, "Statement::common_nest: no statement " + std::to_string(s));
  const std::vector<int>& a = p->statement[s1]->surrounding_counters;
  int last = ::common_nest(a, p->statement[s2]->surrounding_counters);
  return std::vector<int>(a.begin(), a.begin() + last + 1);
}

Program* Statement::to_program() {
  Statement* copy = clone();
  copy->stmt_rank = 0;
  return new Program(get_nb_counters(), get_nb_parameters(), {copy});
}

// ---------------------------------------------------------- debug dumps

void Statement::print() const {
  std::cerr << kStatementFrame << std::endl << std::endl << "#" << stmt_rank << std::endl << std::endl;
  std::cerr << "* SURROUNDING COUNTERS" << std::endl;
  for (int c : surrounding_counters) std::cerr << get_counter_string(c) << "{" << c << "} ";
  std::cerr << std::endl << std::endl << "* ITERATION DOMAIN" << std::endl;
  // A union writes its box on standard output.
  if (iteration_domain) iteration_domain->print();
  std::cout.flush();
  std::cerr << std::endl << "* LHS" << std::endl << "<" << lhs_id << ">" << std::endl;
  if (lhs_index) lhs_index->print();
  std::cerr << std::endl << "* RHS" << std::endl;
  for (const Read& read : rhs_index) {
    std::cerr << "<" << read.first << ">" << std::endl;
    read.second->print();
    std::cerr << std::endl;
  }
  std::cerr << std::endl << "* BACK-END: ";
  print(std::cerr);
  std::cerr << std::endl << std::endl;
}

void Statement::print_matrices() const {
  std::cout << kStatementFrame << std::endl << std::endl << "* SURROUNDING COUNTERS" << std::endl;
  for (int c : surrounding_counters) std::cout << c << " ";
  std::cout << std::endl << std::endl << "* ITERATION DOMAIN" << std::endl;
  if (iteration_domain) print_domain_matrices(iteration_domain);
  std::cout << std::endl << std::endl << "* LHS" << std::endl << "<" << lhs_id << ">" << std::endl;
  if (lhs_index) MatrixPrinter::print_vec_vec(lhs_index->to_matrix());
  std::cout << std::endl << "* RHS" << std::endl;
  for (const Read& read : rhs_index) {
    std::cout << "<" << read.first << ">" << std::endl;
    MatrixPrinter::print_vec_vec(read.second->to_matrix());
    std::cout << std::endl;
  }
  std::cout << std::endl;
}

void Statement::print_dpn(std::ostream& out) const {
  if (!rhs && rhs_index.size() != 1) stop(std::cout, "Statement::<<: incorrect rhs");
  out << "output = ";
  if (rhs)
    rhs->backend_dpn(&out, this);
  else
    out << "input0";
}

void del(std::vector<Statement*> v) {
  for (Statement* s : v) delete s;
}
