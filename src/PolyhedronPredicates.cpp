// Yes/no questions asked of a polyhedron, its dimension, and the
// bounded-counters self-test.

#include <cstdlib>
#include <iostream>

#include "CodeGeneration.h"
#include "Expression.h"
#include "Inequation.h"
#include "Options.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Quast.h"

int fail_on_unbounded = 0;

int Polyhedron::is_empty() {
  if (has_divs) {
    // Only syntactic: errs towards "not empty".
    for (Inequation* c : constraints)
      if (c->is_empty()) return 1;
    return 0;
  }
  // The maximum leaves the counters free, so points with negative counters
  // count; a bottom everywhere means no parameter value admits a point.
  Quast* q = max_lex();
  int answer = q->empty();
  delete q;
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
