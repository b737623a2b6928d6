#include "Domain.h"

#include <iostream>

#include "Rank.h"
#include "Stop.h"

Domain::Domain() {}

Domain::Domain(const std::vector<Polyhedron*>& v) {
  for (Polyhedron* p : v) add_domain(p);
}

Domain::~Domain() { del(domain); }

void Domain::add_domain(Polyhedron* p) { domain.push_back(p->clone()); }

Polyhedron* Domain::clone() { return new Domain(domain); }

void Domain::add_constraint(Inequation* c) {
  for (Polyhedron* p : domain) p->add_constraint(c);
}

void Domain::add_constraints(Polyhedron* q) {
  for (Polyhedron* p : domain) p->add_constraints(q);
}

std::set<int> Domain::get_counters() {
  std::set<int> result;
  for (Polyhedron* p : domain) {
    if (!p->is_single_polyhedron())
      stop(std::cerr, "Domain::get_counters: domains must be union of single polyhedra");
    std::set<int> mine = p->get_counters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

std::set<int> Domain::get_parameters() {
  std::set<int> result;
  for (Polyhedron* p : domain) {
    if (!p->is_single_polyhedron())
      stop(std::cerr, "Domain::get_parameters: domains must be union of single polyhedra");
    std::set<int> mine = p->get_parameters();
    result.insert(mine.begin(), mine.end());
  }
  return result;
}

int Domain::is_single_polyhedron() { return 0; }

int Domain::is_domain() { return 1; }

void Domain::print() { print(std::cout); }

void Domain::print(std::ostream& os) { os << domain; }

void Domain::print_iscc(std::string name, std::ostream& os) {
  print_iscc(name, get_counters(), get_parameters(), os);
}

void Domain::print_iscc(std::string name, const std::set<int>& counters, const std::set<int>& parameters,
                        std::ostream& os) {
  os << "[";
  print_iscc_variable_list(os, parameters, 0);
  os << "] -> { ";
  for (size_t k = 0; k < domain.size(); k++) {
    os << name << "[";
    print_iscc_variable_list(os, counters, 1);
    os << "]";
    if (!domain[k]->is_single_polyhedron())
      stop(std::cerr, "Domain::print_iscc: expect union of single polyhedra");
    // isl reads "S[i] : ;" as a syntax error: a member without constraints
    // is the whole tuple.
    if (!domain[k]->constraints.empty()) os << " : ";
    domain[k]->print_iscc_constraints(os);
    if (k + 1 < domain.size()) os << "; ";
  }
  os << "}";
}
