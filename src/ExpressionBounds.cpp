// Comparison of expressions over a polyhedron, extreme elements of a list,
// a filter on affine vectors, and the constant upper bound of a maximum of
// affine terms.

#include <algorithm>
#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Matrix.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Schedule.h"
#include "Stop.h"

int Expression::less(Expression* e, Polyhedron* P) const {
  Inequation exceeds(GREATER, this, e);
  Polyhedron* q = P->clone();
  q->add_constraint(&exceeds);
  int answer = q->is_empty();
  delete q;
  return answer;
}

namespace {

// The common walk of minimum and maximum: `before(a, b, P)` says a is at
// most b for the order sought (the least element: a <= b; the greatest:
// a >= b).
template <class Before>
Expression* extreme(const std::vector<Expression*>& v, Polyhedron* P, const std::string& who,
                    Before before) {
  if (v.empty()) stop(std::cerr, "Expression::" + who + ": empty vector");
  Expression* candidate = v[0]->clone();
  for (size_t i = 1; i < v.size(); ++i) {
    if (!before(v[i], candidate, P)) continue;
    delete candidate;
    candidate = v[i]->clone();
  }
  for (Expression* w : v) {
    if (before(candidate, w, P)) continue;
    if (!Options::option["silent-ld-failure"]) {
      delete candidate;
      return nullptr;
    }
    std::cerr << "Expression::" << who << ": not found!" << std::endl;
  }
  return candidate;
}

int at_most(Expression* a, Expression* b, Polyhedron* P) { return a->less(b, P); }
int at_least(Expression* a, Expression* b, Polyhedron* P) { return b->less(a, P); }

}  // namespace

Expression* Expression::minimum(const std::vector<Expression*>& v, Polyhedron* P) {
  return extreme(v, P, "minimum", at_most);
}

Expression* Expression::maximum(const std::vector<Expression*>& v, Polyhedron* P) {
  return extreme(v, P, "maximum", at_least);
}

Expression* Expression::minimum(const std::set<Expression*>& s, Polyhedron* P) {
  return minimum(std::vector<Expression*>(s.begin(), s.end()), P);
}

Expression* Expression::maximum(const std::set<Expression*>& s, Polyhedron* P) {
  return maximum(std::vector<Expression*>(s.begin(), s.end()), P);
}

std::set<Expression*> Expression::filter(const std::set<Expression*>& s, Expression* e) {
  std::vector<int> pattern = e->to_vector();
  std::set<Expression*> kept;
  for (Expression* x : s)
    if (sub_vec(pattern, x->to_vector())) kept.insert(x->clone());
  return kept;
}

// ---------------------------------------------------------------------------
// Upper bound

namespace {

[[noreturn]] void name_clash(int counter) {
  stop(std::cerr, "Expression::upper_bound: counter name clash: " + get_counter_string(counter));
}

// Stops when a counter about to stand for something new already occurs.
void check_fresh(int counter, const std::set<int>& used) {
  if (used.count(counter)) name_clash(counter);
}

// The maximum of the bound counter c over `problem` (parameter-free): a
// constant >= 0, or the codes of upper_bound.
int maximum_of(Polyhedron* problem, int c, Schedule* theta) {
  Quast* q = problem->max_lex(theta);
  if (q->is_if) stop(std::cerr, "Expression::upper_bound: conditional max, should be a leaf");
  // An unbounded maximum has no values to read: no constant bound.
  int local = q->is_leaf && q->is_unbounded ? -3 : q->get_max_positive_constant_dim(c);
  delete q;
  return local;
}

// The maximum of `term` (over companion counters) on P', read at the bound
// counter c.
int term_maximum(Expression* term, Polyhedron* renamed, int c, Expression* c_leaf,
                 Schedule* theta) {
  Polyhedron* with_term = renamed->clone();
  Inequation defines(EQ, c_leaf, term);
  with_term->add_constraint(&defines);
  // Division elimination reuses its quotient names on every call: one
  // already in the problem would be tied to a new quotient.
  std::set<int> used = with_term->get_counters();
  std::pair<std::set<int>, Polyhedron*> flat = with_term->eliminate_divs();
  delete with_term;
  for (int q : flat.first) check_fresh(q, used);
  int local = maximum_of(flat.second, c, theta);
  // The solver calls the whole optimum unbounded as soon as any counter is
  // (a free parameter's companion, say), c's own maximum lost with it. The
  // rational shadow of the problem on c has c's maximum alone: at least
  // the integer one, and unbounded only when c is.
  if (local == -3) {
    Polyhedron* shadow = flat.second->project(c);
    local = maximum_of(shadow, c, theta);
    delete shadow;
  }
  delete flat.second;
  return local;
}

// -3 wins over everything, then the largest non-negative constant, then
// -2 over -1.
int combined(int result, int local) {
  if (result == -3 || local == -3) return -3;
  return std::max(result, local);
}

}  // namespace

int Expression::upper_bound(Polyhedron* P) const {
  std::vector<Expression*> terms = get_max_terms();
  std::set<int> used = P->get_counters();
  std::set<int> mine = get_counters();
  used.insert(mine.begin(), mine.end());
  std::map<int, int> to_all_counter = turn_parameters_to_counters();
  for (const auto& companion : to_all_counter) check_fresh(companion.second, used);
  std::pair<int, Expression*> c = create_counter("upper_bound_var");
  check_fresh(c.first, used);
  IndexFunction date(std::vector<Expression*>{c.second});
  Schedule theta(&date);
  Polyhedron* renamed = P->parameters_to_counters(to_all_counter);
  int result = -1;
  for (size_t k = 0; k < terms.size(); ++k) {
    Expression* term = terms[k]->parameters_to_counters(to_all_counter);
    int local = term_maximum(term, renamed, c.first, c.second, &theta);
    delete term;
    result = k == 0 ? local : combined(result, local);
  }
  delete renamed;
  delete c.second;
  del(terms);
  return result;
}
