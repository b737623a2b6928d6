#include "Program.h"

#include "Domain.h"
#include "InstanceGuard.h"
#include "Polyhedron.h"
#include "Statement.h"

Program::Program(int nb_counters, int nb_parameters, std::vector<Statement*> statements)
    : nb_counters(nb_counters), nb_parameters(nb_parameters), statement(std::move(statements)) {}

Program::~Program() {
  for (Statement* s : statement) delete s;
  for (Polyhedron* t : tile) delete t;
  for (InstanceGuard* g : guard) delete g;
  for (const std::vector<Domain*>& factors : domain_factors)
    for (Domain* factor : factors) delete factor;
}

std::set<int> Program::get_parameters() const {
  std::set<int> parameters;
  for (Statement* s : statement) {
    std::set<int> own = s->iteration_domain->get_parameters();
    parameters.insert(own.begin(), own.end());
  }
  return parameters;
}

std::set<int> Program::get_counters() const {
  std::set<int> counters;
  for (Statement* s : statement) {
    std::set<int> own = s->iteration_domain->get_counters();
    counters.insert(own.begin(), own.end());
  }
  return counters;
}

std::vector<std::string> Program::get_variable_declaration() const { return variable_declaration; }

void Program::set_variable_declaration(const std::vector<std::string>& declarations) {
  variable_declaration = declarations;
}

void Program::set_variable_declaration(const std::set<std::string>& declarations) {
  variable_declaration.assign(declarations.begin(), declarations.end());
}

void Program::print_iscc(std::ostream& out) const {
  for (Statement* s : statement) s->print_iscc(out);
  out << "D := ";
  for (size_t i = 0; i < statement.size(); i++) out << (i ? "+" : "") << "D" << statement[i]->stmt_rank;
  out << ";\n";
}
