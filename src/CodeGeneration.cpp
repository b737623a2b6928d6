#include "CodeGeneration.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <set>

#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"

namespace {

const std::string kIntervals = "CodeGeneration::get_counter_intervals";

void write_all(std::ostream& os, const std::vector<Expression*>& v) {
  for (Expression* e : v) os << *e << std::endl;
}

// Several bounds on one side are left after the projection: no constant
// interval can be read. Writes the whole context and stops.
[[noreturn]] void report_min_max(const std::vector<int>& counters, int c, const Bounds& b,
                                 Polyhedron* d, Polyhedron* q) {
  std::string name = get_counter_string(c);
  for (int r : counters) std::cerr << r << " " << get_counter_string(r) << std::endl;
  std::cerr.flush();
  print_counters();
  std::cout.flush();
  std::cerr << c << std::endl << get_counter_rank(name) << std::endl;
  std::cerr << kIntervals << "(" << name << "): Bounds with min and max" << std::endl;
  std::cerr << "Lower bound = max(" << std::endl;
  write_all(std::cerr, b.first);
  std::cerr << ")" << std::endl << std::endl << "Upper bound = min(" << std::endl;
  write_all(std::cerr, b.second);
  std::cerr << ")" << std::endl << "Domain: " << std::endl << *d << std::endl << *q << std::endl;
  std::exit(1);
}

// A bound op(a, b) of two constants becomes the quotient a / b rounded
// toward zero, not up or down as op says: the interval can only widen, by
// at most one. The bound is taken over.
Expression* folded(Expression* bound, operator_t op) {
  if (!bound->is_op(op) || !bound->fg->is_constant() || !bound->fd->is_constant()) return bound;
  Expression* quotient = new Expression(bound->fg->val / bound->fd->val);
  delete bound;
  return quotient;
}

// The projection of an empty domain is a list of equalities closed by a
// false one (1 = 0): it bounds nothing.
bool is_false(Polyhedron* q) {
  for (Inequation* c : q->constraints)
    if (c->is_false()) return true;
  return false;
}

// The interval of counter c over the single polyhedron `domain`.
std::pair<int, int> interval(Polyhedron* domain, int c, const std::vector<int>& counters) {
  Polyhedron* d = domain->clone();
  Expression* x = Expression::from_counter_rank(c);
  Expression below(unbounded_below);
  Expression above(unbounded_above);
  Inequation lower_end(GREATER_EQ, x, &below);
  Inequation upper_end(LESS_EQ, x, &above);
  delete x;
  d->add_constraint(&lower_end);
  d->add_constraint(&upper_end);
  Polyhedron* q = d->project_no_parameters(c);
  Bounds b = is_false(q) ? Bounds() : get_bounds(q, c);
  if (b.first.size() != 1 || b.second.size() != 1) report_min_max(counters, c, b, d, q);
  delete q;
  delete d;

  Expression* lower = folded(b.first[0], CEIL);
  Expression* upper = folded(b.second[0], FLOOR);
  if (!lower->is_constant() || !upper->is_constant()) {
    std::cerr << kIntervals << ": Non-constant interval" << std::endl;
    std::cout << *lower << std::endl << *upper << std::endl;
    std::exit(1);
  }
  std::pair<int, int> ends(lower->val, upper->val);
  delete lower;
  delete upper;
  if (ends.second == unbounded_above) {
    report_unbounded(domain);
    if (fail_on_unbounded) std::exit(1);
  }
  return ends;
}

}  // namespace

Intervals get_counter_intervals(Polyhedron* domain, std::vector<int> counters) {
  if (domain->is_domain()) return get_counter_intervals(static_cast<Domain*>(domain)->domain, counters);
  Intervals result;
  for (int c : counters) result[get_counter_string(c)] = interval(domain, c, counters);
  return result;
}

Intervals get_counter_intervals(Polyhedron* domain) {
  std::set<int> counters = domain->get_counters();
  return get_counter_intervals(domain, std::vector<int>(counters.begin(), counters.end()));
}

Intervals get_counter_intervals(std::vector<Polyhedron*> domains, std::vector<int> counters) {
  if (domains.empty()) {
    std::cerr << kIntervals << ": empty domain" << std::endl;
    std::exit(1);
  }
  Intervals result = get_counter_intervals(domains[0], counters);
  for (size_t k = 1; k < domains.size(); k++)
    result = max_intervals(result, get_counter_intervals(domains[k], counters));
  return result;
}

Intervals max_intervals(Intervals I1, Intervals I2) {
  Intervals result;
  for (const auto& named : I1) {
    auto other = I2.find(named.first);
    if (other == I2.end()) {
      std::cerr << "CodeGeneration::max_intervals: " << named.first << " not found" << std::endl;
      std::exit(1);
    }
    result[named.first] = {std::min(named.second.first, other->second.first),
                           std::max(named.second.second, other->second.second)};
  }
  return result;
}

Bounds get_bounds(Polyhedron* p, int counter) {
  Bounds b;
  for (Inequation* c : p->constraints) {
    for (Inequation* bound : c->separate(counter)) {
      (bound->pred == GREATER_EQ ? b.first : b.second).push_back(bound->rhs);
      bound->rhs = nullptr;  // handed to the caller
      delete bound;
    }
  }
  return b;
}

std::vector<Bounds> scan(Polyhedron* p, std::vector<int> surrounding_counters, std::vector<int> counters) {
  std::vector<int> kept = surrounding_counters;
  std::vector<Bounds> result;
  for (int c : counters) {
    kept.push_back(c);
    Polyhedron* q = p->project(kept);
    result.push_back(get_bounds(q, c));
    delete q;
  }
  return result;
}

void report_unbounded(Polyhedron* domain) {
  std::cerr << std::endl << "Unbounded iteration domain:" << std::endl << *domain << std::endl;
}
