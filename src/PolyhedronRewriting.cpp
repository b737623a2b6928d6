// Rewritings of a polyhedron's constraint list: simplification, equalities,
// integer divisions, renamings, substitutions and constraint removal.

#include <cstdlib>
#include <iterator>
#include <iostream>
#include <sstream>

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"

typedef std::vector<std::vector<int>> Rows;

// ---------------------------------------------------------------------------
// Simplification and equalities

// A constraint that cannot be converted to a row (floor, ceil, max) is not
// trivially true: it is kept instead of ending the run in an uncaught throw.
static int is_trivially_true(Inequation* c) {
  try {
    return c->is_true();
  } catch (const char*) {
    return 0;
  }
}

Polyhedron* Polyhedron::simplify() {
  Polyhedron* result = new Polyhedron();
  for (auto it = constraints.cbegin(); it != constraints.cend(); ++it) {
    auto next = std::next(it);
    if (!belong(*it, next, constraints.cend()) && !is_trivially_true(*it))
      result->add_constraint(*it);
  }
  return result;
}

int Polyhedron::belong(Inequation* c, std::list<Inequation*>::const_iterator first,
                       std::list<Inequation*>::const_iterator last) {
  for (auto it = first; it != last; ++it)
    if (**it == *c) return 1;
  return 0;
}

Polyhedron* Polyhedron::simplify_matrix() { return new Polyhedron(to_matrix()); }

Polyhedron* Polyhedron::normalize_no_eq() {
  Polyhedron* result = new Polyhedron();
  for (Inequation* c : constraints) {
    if (c->pred != EQ) {
      result->add_constraint(c);
      continue;
    }
    Inequation below(LESS_EQ, c->lhs, c->rhs);
    Inequation above(GREATER_EQ, c->lhs, c->rhs);
    result->add_constraint(&below);
    result->add_constraint(&above);
  }
  return result;
}

static std::vector<int> negated(std::vector<int> row) {
  for (int& x : row) x = -x;
  return row;
}

Polyhedron* Polyhedron::recover_eq() {
  Polyhedron* result = new Polyhedron();
  std::set<std::vector<int>> rows;
  for (Inequation* c : constraints) {
    if (c->has_div()) {
      result->add_constraint(c);
    } else if (c->pred == EQ) {
      // The first row of an equality is lhs - rhs.
      Expression e(constraint_rows(c).front());
      Expression zero(0);
      Inequation equality(EQ, &e, &zero);
      result->add_constraint(&equality);
    } else {
      Rows own = constraint_rows(c);
      if (own.size() != 1)
        stop(std::cerr, "Polyhedron::remove_eq: normalized constraint expected");
      std::vector<int> opposite = negated(own[0]);
      if (rows.erase(add_one(opposite)))
        rows.insert(add_zero(opposite));
      else
        rows.insert(add_one(own[0]));
    }
  }
  Polyhedron found(Rows(rows.begin(), rows.end()));
  result->add_constraints(&found);
  return result;
}

std::vector<int> Polyhedron::first_instance(std::vector<int> sizes) {
  return std::vector<int>(sizes.size(), 0);
}

std::vector<int> Polyhedron::next_instance(std::vector<int> sizes, std::vector<int> current) {
  for (size_t k = current.size(); k-- > 0;) {
    if (current[k] < sizes[k] - 1) {
      current[k]++;
      for (size_t after = k + 1; after < current.size(); after++) current[after] = 0;
      return current;
    }
  }
  return std::vector<int>();
}

// ---------------------------------------------------------------------------
// Integer divisions

// Turns every division a / b (b a constant) into a fresh quotient counter q
// with a == b*q + r, 0 <= r < |b| appended; a negative divisor is handled as
// floor(a / b) == floor(-a / -b). Divisions come inner first, so the
// numerator a read here already holds the quotients of the inner ones.
std::set<int> Polyhedron::rewrite_divs() {
  std::set<int> ranks;
  std::vector<Expression*> divs = get_divs();
  for (size_t k = 0; k < divs.size(); k++) {
    Expression* node = divs[k];
    std::ostringstream text;
    text << *node;
    if (!node->fd->is_constant())
      stop(std::cout, "Polyhedron::eliminate_divs: not a division by a constant: " + text.str());
    int b = node->fd->val;
    if (b == 0) stop(std::cout, "Polyhedron::eliminate_divs: division by zero: " + text.str());
    std::pair<int, Expression*> q = create_counter("q_", (int)k);
    std::pair<int, Expression*> r = create_counter("r_", (int)k);
    ranks.insert(q.first);
    ranks.insert(r.first);
    Expression divisor(std::abs(b));
    Expression minus_one(-1);
    Expression zero(0);
    Expression numerator(TIMES, &minus_one, node->fg);
    Expression product(TIMES, &divisor, q.second);
    Expression sum(PLUS, &product, r.second);
    constraints.push_back(new Inequation(EQ, b > 0 ? node->fg : &numerator, &sum));
    constraints.push_back(new Inequation(GREATER_EQ, r.second, &zero));
    constraints.push_back(new Inequation(LESS, r.second, &divisor));
    *node = *q.second;
    delete q.second;
    delete r.second;
  }
  return ranks;
}

std::pair<std::set<int>, Polyhedron*> Polyhedron::eliminate_divs() {
  Polyhedron* copy = clone();
  std::set<int> ranks = copy->rewrite_divs();
  Polyhedron* result = new Polyhedron(copy->constraints);
  delete copy;
  return std::make_pair(ranks, result);
}

// has_divs is recomputed: no division is left, and a stale 1 would make
// later emptiness tests merely syntactic on an affine polyhedron.
std::set<int> Polyhedron::eliminate_divs_local() {
  std::set<int> ranks = rewrite_divs();
  if (ranks.empty()) return ranks;
  has_matrix = 0;
  has_divs = 0;
  for (Inequation* c : constraints)
    if (c->has_div()) has_divs = 1;
  return ranks;
}

// ---------------------------------------------------------------------------
// Renamings and substitutions

// Applies `rename` to every constraint; the result holds copies of the
// renamed constraints and no cache.
template <typename Rename>
static Polyhedron* rebuild(const std::list<Inequation*>& constraints, Rename rename) {
  Polyhedron* result = new Polyhedron();
  for (Inequation* c : constraints) {
    Inequation* renamed = rename(c);
    result->add_constraint(renamed);
    delete renamed;
  }
  return result;
}

Polyhedron* Polyhedron::parameters_to_parameters(std::map<int, int> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->parameters_to_parameters(m); });
}

Polyhedron* Polyhedron::parameters_to_counters(std::map<int, int> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->parameters_to_counters(m); });
}

Polyhedron* Polyhedron::counters_to_parameters(std::map<int, int> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->counters_to_parameters(m); });
}

Polyhedron* Polyhedron::counters_to_counters(std::map<int, int> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->counters_to_counters(m); });
}

Polyhedron* Polyhedron::substitute_counters(std::map<int, Expression*> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->substitute_counters(m); });
}

Polyhedron* Polyhedron::substitute_parameters(std::map<int, Expression*> m) {
  return rebuild(constraints, [&](Inequation* c) { return c->substitute_parameters(m); });
}

// The list forms read each element's own constraint list, which a Domain
// leaves empty: the callers pass v through expect_single first.
template <typename Apply>
static std::vector<Polyhedron*> apply_to_each(const std::vector<Polyhedron*>& v, Apply apply) {
  std::vector<Polyhedron*> result;
  for (Polyhedron* p : v) result.push_back(apply(p));
  return result;
}

std::vector<Polyhedron*> Polyhedron::parameters_to_parameters(
    const std::vector<Polyhedron*>& v, std::map<int, int> m) {
  return apply_to_each(expect_single(v, "parameters_to_parameters"),
                       [&](Polyhedron* p) { return p->parameters_to_parameters(m); });
}

std::vector<Polyhedron*> Polyhedron::parameters_to_counters(const std::vector<Polyhedron*>& v,
                                                            std::map<int, int> m) {
  return apply_to_each(expect_single(v, "parameters_to_counters"),
                       [&](Polyhedron* p) { return p->parameters_to_counters(m); });
}

std::vector<Polyhedron*> Polyhedron::counters_to_parameters(const std::vector<Polyhedron*>& v,
                                                            std::map<int, int> m) {
  return apply_to_each(expect_single(v, "counters_to_parameters"),
                       [&](Polyhedron* p) { return p->counters_to_parameters(m); });
}

std::vector<Polyhedron*> Polyhedron::counters_to_counters(const std::vector<Polyhedron*>& v,
                                                          std::map<int, int> m) {
  return apply_to_each(expect_single(v, "counters_to_counters"),
                       [&](Polyhedron* p) { return p->counters_to_counters(m); });
}

std::vector<Polyhedron*> Polyhedron::substitute_counters(const std::vector<Polyhedron*>& v,
                                                         std::map<int, Expression*> m) {
  return apply_to_each(expect_single(v, "substitute_counters"),
                       [&](Polyhedron* p) { return p->substitute_counters(m); });
}

std::vector<Polyhedron*> Polyhedron::substitute_parameters(const std::vector<Polyhedron*>& v,
                                                           std::map<int, Expression*> m) {
  return apply_to_each(expect_single(v, "substitute_parameters"),
                       [&](Polyhedron* p) { return p->substitute_parameters(m); });
}

// ---------------------------------------------------------------------------
// In-place rewriting and removal

void Polyhedron::eliminate_floor_and_ceil() {
  for (Inequation* c : constraints) c->eliminate_floor_and_ceil();
}

Polyhedron* Polyhedron::remove_context() { return new Polyhedron(to_matrix_context().second); }

// A row is a single-counter bound on `counters` when its only non-zero
// counter coefficient belongs to a counter of the set.
static int is_bound_on(const std::vector<int>& row, int nb_counters,
                       const std::set<int>& counters) {
  int found = 0;
  for (int r = 0; r < nb_counters; r++) {
    if (row[r + 1] == 0) continue;
    if (!counters.count(r) || found) return 0;
    found = 1;
  }
  return found;
}

Polyhedron* Polyhedron::remove_constraints(const std::set<int>& counters) {
  int nbC = get_nb_counters();
  Rows kept;
  for (Inequation* c : constraints) {
    if (c->pred == EQ) continue;
    std::vector<int> row = add_one(constraint_rows(c)[0]);
    if (!is_bound_on(row, nbC, counters)) kept.push_back(row);
  }
  return new Polyhedron(kept);
}

Polyhedron* Polyhedron::remove_constraints(const std::vector<int>& counters) {
  return remove_constraints(std::set<int>(counters.begin(), counters.end()));
}

std::vector<Polyhedron*> Polyhedron::remove_constraints(const std::vector<Polyhedron*>& v,
                                                        const std::set<int>& counters) {
  return apply_to_each(expect_single(v, "remove_constraints"),
                       [&](Polyhedron* p) { return p->remove_constraints(counters); });
}

std::vector<Polyhedron*> Polyhedron::remove_constraints(const std::vector<Polyhedron*>& v,
                                                        const std::vector<int>& counters) {
  return apply_to_each(expect_single(v, "remove_constraints"),
                       [&](Polyhedron* p) { return p->remove_constraints(counters); });
}
