// Text forms of a polyhedron: box, iscc set, C, VHDL and pavu conditions.

#include <iostream>
#include <sstream>

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"

void Polyhedron::print() {
  std::cerr << "/" << std::endl;
  for (Inequation* c : constraints) {
    std::cerr << "| ";
    c->print();
    std::cerr << std::endl;
  }
  std::cerr << "\\" << std::endl;
}

void Polyhedron::print(std::ostream& os) { print(os, ""); }

void Polyhedron::print(std::ostream& os, std::string prefix) {
  os << prefix << "/" << std::endl;
  for (Inequation* c : constraints) os << prefix << "| " << *c << std::endl;
  os << prefix << "\\" << std::endl;
}

std::ostream& operator<<(std::ostream& os, Polyhedron& p) {
  p.print(os);
  return os;
}

// Constraints go through Inequation::print_iscc: the plain text form writes
// a/b, which isl reads as a rational quotient, and floor(a,b), which it
// rejects.
void Polyhedron::print_iscc_constraints(std::ostream& os) {
  const char* separator = "";
  for (Inequation* c : constraints) {
    os << separator;
    c->print_iscc(os);
    separator = " and ";
  }
}

// "[" P "] -> { " with the parameter names in rank order.
static void print_iscc_parameters(std::ostream& os, const std::set<int>& parameters) {
  os << "[";
  print_iscc_variable_list(os, parameters, 0);
  os << "] -> { ";
}

static void print_iscc_tuple(std::ostream& os, const std::set<int>& counters) {
  os << "[";
  print_iscc_variable_list(os, counters, 1);
  os << "] : ";
}

void Polyhedron::print_iscc(std::string name, std::ostream& os) {
  print_iscc_parameters(os, get_parameters());
  os << name;
  print_iscc_tuple(os, get_counters());
  print_iscc_constraints(os);
  os << "}";
}

void Polyhedron::print_iscc(std::ostream& os) { print_iscc("", os); }

void print_iscc(std::ostream& os, const std::vector<Polyhedron*>& v) {
  std::set<int> counters = Polyhedron::get_counters(v);
  print_iscc_parameters(os, Polyhedron::get_parameters(v));
  for (size_t k = 0; k < v.size(); k++) {
    if (k > 0) os << "; ";
    print_iscc_tuple(os, counters);
    v[k]->print_iscc_constraints(os);
  }
  os << "}";
}

void Polyhedron::print_code(std::ostream& os) {
  if (constraints.empty()) {
    os << "true";
    return;
  }
  const char* separator = "(";
  for (Inequation* c : constraints) {
    os << separator;
    c->print_code(os);
    separator = ") && (";
  }
  os << ")";
}

std::string Polyhedron::print_code() {
  std::ostringstream text;
  print_code(text);
  return text.str();
}

void Polyhedron::print_code(std::ostream& os, const std::vector<Polyhedron*>& v) {
  if (v.empty()) {
    os << "false";
    return;
  }
  const char* separator = "(";
  for (Polyhedron* p : v) {
    os << separator;
    p->print_code(os);
    separator = ") || (";
  }
  os << ")";
}

void Polyhedron::print_vhdl(std::ostream& os) {
  if (constraints.empty()) {
    os << "true";
    return;
  }
  const char* separator = "(";
  for (Inequation* c : constraints) {
    os << separator << *c;
    separator = ") and (";
  }
  os << ")";
}

void Polyhedron::print_pavu(std::ostream& os) {
  os << "Polyhedron& p = (" << std::endl;
  size_t k = 0;
  for (Inequation* c : constraints) {
    c->print_pavu(os);
    if (++k < constraints.size()) os << " &&" << std::endl;
  }
  os << ");" << std::endl;
}

void Polyhedron::print_list(const std::list<Polyhedron*>& l) {
  for (Polyhedron* p : l) p->print();
}

void print_volume(const std::map<Polyhedron*, Expression*>& m) {
  for (const auto& entry : m)
    std::cout << *entry.first << "\n" << *entry.second << "\n" << std::endl;
}
