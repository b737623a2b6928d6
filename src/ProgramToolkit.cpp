// Program operations beyond code generation: empty programs and copies,
// cuts down to some statements, whole-program rewritings, and the debug
// dumps.

#include <iostream>
#include <string>

#include "Domain.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"
#include "Stop.h"

namespace {

void write_head(std::ostream& os, const Program& p) {
  os << "[PROGRAM]" << std::string(68, '=') << std::endl << std::endl;
  os << p.nb_counters << " counter(s)" << std::endl << p.nb_parameters << " parameter(s)" << std::endl << std::endl;
}

void write_tail(std::ostream& os) { os << std::string(77, '=') << std::endl << std::endl; }

// Rewrites the floor and ceil bounds of every member of a union.
void eliminate_floor_and_ceil_in(Polyhedron* d) {
  if (!d->is_domain()) {
    d->eliminate_floor_and_ceil();
    return;
  }
  for (Polyhedron* member : static_cast<Domain*>(d)->domain) eliminate_floor_and_ceil_in(member);
}

}  // namespace

Program::Program(int n) : nb_counters(get_nb_counters()), nb_parameters(get_nb_parameters()) {
  for (int k = 0; k < n; k++) statement.push_back(new Statement(k));
}

Program* Program::clone() const {
  std::vector<Statement*> copies;
  for (Statement* s : statement) copies.push_back(s->clone());
  return new Program(nb_counters, nb_parameters, copies);
}

Program* Program::restrict_to_statement(int i) const { return restrict_to_statements({i}); }

Program* Program::restrict_to_statements(const std::vector<int>& v) const {
  std::vector<Statement*> kept;
  for (int i : v) {
    if (i < 0 || i >= static_cast<int>(statement.size()))
      stop(std::cout, "Program::restrict_to_statements: no statement " + std::to_string(i));
    Statement* copy = statement[i]->clone();
    copy->stmt_rank = static_cast<int>(kept.size());
    kept.push_back(copy);
  }
  return new Program(nb_counters, nb_parameters, kept);
}

void Program::apply(std::string array, ModularMapping* m) {
  for (Statement* s : statement) s->apply(array, m);
}

void Program::apply(const std::map<std::string, ModularMapping*>& m) {
  for (const auto& named : m) apply(named.first, named.second);
}

void Program::add_context(Polyhedron* c) {
  for (Statement* s : statement) s->iteration_domain->add_constraints(c);
}

void Program::eliminate_floor_and_ceil() {
  for (Statement* s : statement) eliminate_floor_and_ceil_in(s->iteration_domain);
}

void Program::substitute_arrays(const std::map<std::string, std::string>& m) {
  for (Statement* s : statement) s->substitute_arrays(m);
}

void Program::print() const {
  write_head(std::cerr, *this);
  for (Statement* s : statement) s->print();
  write_tail(std::cerr);
}

void Program::print_matrices() const {
  write_head(std::cout, *this);
  for (Statement* s : statement) s->print_matrices();
  write_tail(std::cout);
}

std::ostream& operator<<(std::ostream& os, const Program& p) {
  write_head(os, p);
  for (Statement* s : p.statement) {
    // A statement still being built may have no domain yet.
    if (s->iteration_domain) os << *s->iteration_domain;
    os << std::endl << *s;
  }
  write_tail(os);
  return os;
}

void Program::print_variable_declaration(std::ostream& out) const {
  for (const std::string& declaration : variable_declaration) out << declaration << std::endl;
}

void Program::backend() const {
  for (Statement* s : statement) std::cout << *s << std::endl;
}
