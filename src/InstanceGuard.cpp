#include "InstanceGuard.h"

#include <iostream>
#include <sstream>

#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"

namespace {

const char* comparison(predicate_t pred) {
  switch (pred) {
    case LESS: return " < ";
    case LESS_EQ: return " <= ";
    case GREATER: return " > ";
    case GREATER_EQ: return " >= ";
    case EQ: return " == ";
  }
  return " ? ";
}

[[noreturn]] void no_c_form(const Expression* e) {
  std::ostringstream text;
  text << *e;
  stop(std::cerr, "InstanceGuard: no C form for the constraint term " + text.str());
}

}  // namespace

InstanceGuard::InstanceGuard(Polyhedron* domain, const std::map<int, Expression*>& counters, Polyhedron* cell)
    : domain_(domain->clone()), cell_(cell->clone()) {
  for (const auto& counter : counters) counters_[counter.first] = counter.second->clone();
}

InstanceGuard::~InstanceGuard() {
  delete domain_;
  delete cell_;
  for (auto& counter : counters_) delete counter.second;
}

void InstanceGuard::print_condition(std::ostream& out) const {
  if (!domain_->is_domain()) {
    print_conjunction(out, domain_);
    return;
  }
  const std::vector<Polyhedron*>& members = static_cast<Domain*>(domain_)->domain;
  if (members.empty()) out << "0";
  for (size_t k = 0; k < members.size(); k++) {
    out << (k ? " || (" : "(");
    print_conjunction(out, members[k]);
    out << ")";
  }
}

void InstanceGuard::print_counter(std::ostream& out, int rank) const {
  auto tiled = counters_.find(rank);
  if (tiled != counters_.end()) print(out, tiled->second);
  else out << "((long long)(" << get_counter_string(rank) << "))";
}

void InstanceGuard::print_conjunction(std::ostream& out, Polyhedron* p) const {
  if (p->constraints.empty()) out << "1";
  const char* separator = "";
  for (const Inequation* c : p->constraints) {
    out << separator;
    print(out, c->lhs);
    out << comparison(c->pred);
    print(out, c->rhs);
    separator = " && ";
  }
}

// Integer divisions are floors by a constant divisor, as the code generator
// reads them: the prelude's floord and ceild divide by a positive one.
void InstanceGuard::print(std::ostream& out, const Expression* e) const {
  if (e->is_val) {
    out << e->val << "LL";
  } else if (e->is_counter) {
    print_counter(out, e->counter_rank);
  } else if (e->is_parameter) {
    out << "((long long)" << get_parameter_string(e->parameter_rank) << ")";
  } else if (e->is_leaf) {
    no_c_form(e);
  } else if (e->op == PLUS || e->op == MINUS || e->op == TIMES) {
    out << "(";
    print(out, e->fg);
    out << (e->op == PLUS ? " + " : e->op == MINUS ? " - " : " * ");
    print(out, e->fd);
    out << ")";
  } else if (e->op == DIV || e->op == FLOOR || e->op == CEIL) {
    if (!e->fd->is_constant() || e->fd->val == 0) no_c_form(e);
    bool negative = e->fd->val < 0;
    out << (e->op == CEIL ? "ceild(" : "floord(") << (negative ? "-(" : "(");
    print(out, e->fg);
    out << "), " << (negative ? -static_cast<long long>(e->fd->val) : e->fd->val) << "LL)";
  } else if (e->op == MAX) {
    out << "(";
    print(out, e->fg);
    out << " > ";
    print(out, e->fd);
    out << " ? ";
    print(out, e->fg);
    out << " : ";
    print(out, e->fd);
    out << ")";
  } else {
    no_c_form(e);
  }
}
