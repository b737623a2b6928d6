// Yes/no questions asked of a polyhedron, its dimension, and the
// bounded-counters self-test.

#include <cstdlib>
#include <iostream>

#include "CodeGeneration.h"
#include "Expression.h"
#include "ISLWrapper.h"
#include "Inequation.h"
#include "Options.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"

int fail_on_unbounded = 0;

void (*exact_emptiness_observer)(Polyhedron* p, int empty) = nullptr;

namespace {

typedef std::vector<std::vector<int>> Rows;

// The rows of m (full width, nb_counters counter columns) over the columns
// some row uses, then one row p >= 0 per parameter used: the answers stay
// those of the parametric maximum, which leaves counters free and takes
// parameters >= 0.
Rows feasibility_rows(const Rows& m, int nb_counters) {
  int last = static_cast<int>(m[0].size()) - 1;
  std::vector<int> used;
  for (int j = 1; j < last; j++)
    for (const std::vector<int>& row : m)
      if (row[j] != 0) {
        used.push_back(j);
        break;
      }
  Rows result;
  for (const std::vector<int>& row : m) {
    std::vector<int> r(1, row[0]);
    for (int j : used) r.push_back(row[j]);
    r.push_back(row[last]);
    result.push_back(r);
  }
  for (size_t k = 0; k < used.size(); k++) {
    if (used[k] <= nb_counters) continue;
    std::vector<int> sign(used.size() + 2, 0);
    sign[0] = 1;
    sign[k + 1] = 1;
    result.push_back(sign);
  }
  return result;
}

}  // namespace

int Polyhedron::is_empty() {
  if (has_divs) {
    // Only syntactic: errs towards "not empty".
    for (Inequation* c : constraints)
      if (c->is_empty()) return 1;
    return 0;
  }
  // One exact integer test: no parameter value admits a point.
  Rows m = to_matrix();
  int answer = 0;
  if (!m.empty()) {
    Rows rows = feasibility_rows(m, nb_counters);
    answer = ISLWrapper::is_empty(rows, static_cast<int>(rows[0].size()) - 2);
  }
  if (exact_emptiness_observer) exact_emptiness_observer(this, answer);
  return answer;
}

int Polyhedron::weak_is_empty() {
  for (Inequation* c : constraints)
    if (c->pred == EQ && c->lhs->is_value(1) && c->rhs->is_value(0)) return 1;
  return 0;
}

int Polyhedron::is_universe() {
  if (constraints.empty()) return 1;
  if (has_divs) return 0;
  for (Inequation* c : constraints)
    if (!c->is_true()) return 0;
  return 1;
}

namespace {

// 1 when p with c added has no integer point.
int empty_with(Polyhedron* p, Inequation* c) {
  Polyhedron* copy = p->clone();
  copy->add_constraint(c);
  int answer = copy->is_empty();
  delete copy;
  return answer;
}

}  // namespace

int Polyhedron::is_saturated_by(Inequation* c) {
  if (c->pred == EQ) {
    // An equality has no single negation: l == r holds everywhere when
    // neither l < r nor l > r has a point.
    Inequation below(LESS, c->lhs, c->rhs);
    Inequation above(GREATER, c->lhs, c->rhs);
    return empty_with(this, &below) && empty_with(this, &above);
  }
  Inequation* negation = c->negate();
  int answer = empty_with(this, negation);
  delete negation;
  return answer;
}

int Polyhedron::contains(Polyhedron* q) {
  for (Inequation* c : constraints)
    if (!q->is_saturated_by(c)) return 0;
  return 1;
}

int Polyhedron::weak_equals(Polyhedron* q) { return to_matrix() == q->to_matrix(); }

int Polyhedron::has_parameters() {
  for (Inequation* c : constraints)
    if (c->has_parameters()) return 1;
  return 0;
}

int Polyhedron::has_div() {
  for (Inequation* c : constraints)
    if (c->has_div()) return 1;
  return 0;
}

int Polyhedron::has_eq() {
  for (Inequation* c : constraints)
    if (c->pred == EQ) return 1;
  return 0;
}

int Polyhedron::dim() {
  if (is_empty()) return -1;
  return PolylibWrapper::dim(to_matrix());
}

int dim(std::vector<Polyhedron*> v) {
  int largest = -1;
  for (Polyhedron* p : v) largest = std::max(largest, p->dim());
  return largest;
}

void Polyhedron::check(std::string name) {
  if (!Options::option["check"]) return;
  const std::string stars(46, '*');
  if (!name.empty()) std::cout << std::endl << stars << std::endl << "** CHECK " << name << std::endl << std::endl;
  fail_on_unbounded = 1;
  // The intervals stop the run on an unbounded upper end; an end at the
  // lower sentinel is just as unbounded.
  for (const auto& named : get_counter_intervals(this)) {
    if (named.second.first == unbounded_below) {
      report_unbounded(this);
      std::exit(1);
    }
  }
  if (!name.empty()) std::cout << std::endl << "** PASSED" << std::endl << stars << std::endl;
}
