// The earlier or later of the statement instances that two quasts give:
// in the sequential order of the source program (iterations of the common
// loops, then statement numbers) or in the order of given schedules.

#include <iostream>

#include "Condition.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Schedule.h"
#include "Stop.h"

namespace {

const char* name_of(int earlier) { return earlier ? "min" : "max"; }

// Both leaves must carry a statement identity and values.
void expect_comparable(Quast* q1, Quast* q2, const std::string& operation) {
  if (!q1->is_tagged || !q2->is_tagged) stop(std::cout, "Quast::" + operation + ": untagged Quasts");
  if (q1->is_unbounded || q2->is_unbounded) stop(std::cout, "Quast::" + operation + ": unbounded leaf");
}

Expression* entry(Quast* leaf, int counter, const std::string& operation) {
  if (counter < 0 || counter >= leaf->point->size())
    stop(std::cout, "Quast::" + operation + ": counter out of range");
  return leaf->point->index_mapping[counter];
}

// start AND a_j = b_j for every j < n; start is freed.
Condition* with_equalities(Condition* start, const std::vector<Expression*>& a, const std::vector<Expression*>& b,
                           size_t n) {
  for (size_t j = 0; j < n; j++) {
    Inequation same(EQ, a[j], b[j]);
    Condition* next = new Condition(AND, start, &same);
    delete start;
    start = next;
  }
  return start;
}

// OR(l, r); both are freed.
Condition* either(Condition* l, Condition* r) {
  Condition* node = new Condition(OR, l, r);
  delete l;
  delete r;
  return node;
}

}  // namespace

// The condition under which q1's instance runs before q2's: some common
// loop k has a_k < b_k with the outer ones equal, or all common loops are
// equal and q1's statement comes first.
Condition* Quast::runs_before(Quast* q1, Quast* q2, const std::string& operation) {
  std::vector<int> common;
  int shorter = min(static_cast<int>(q1->surrounding_counters.size()),
                    static_cast<int>(q2->surrounding_counters.size()));
  for (int k = 0; k < shorter && q1->surrounding_counters[k] == q2->surrounding_counters[k]; k++)
    common.push_back(q1->surrounding_counters[k]);
  std::vector<Expression*> a, b;
  for (int c : common) {
    a.push_back(entry(q1, c, operation));
    b.push_back(entry(q2, c, operation));
  }
  Condition* before = new Condition(0);
  for (size_t k = 0; k < common.size(); k++) {
    Inequation less(LESS, a[k], b[k]);
    before = either(before, with_equalities(new Condition(&less), a, b, k));
  }
  if (q1->stmt < q2->stmt) before = either(before, with_equalities(new Condition(1), a, b, common.size()));
  return before;
}

Quast* Quast::sequential(Quast* q1, Quast* q2, int earlier) {
  std::string operation = name_of(earlier);
  if (q1->is_empty) return q2->clone();
  if (q2->is_empty) return q1->clone();
  if (q1->is_leaf && q2->is_leaf) {
    expect_comparable(q1, q2, operation);
    Condition* before = runs_before(q1, q2, operation);
    return earlier ? from_condition(before, q1, q2) : from_condition(before, q2, q1);
  }
  Quast* tested = q1->is_if ? q1 : q2;
  if (tested->has_extended_condition) stop(std::cout, "Quast::" + operation + ": extended condition unhandled");
  if (tested == q1)
    return q1->with_subtrees(sequential(q1->then_quast, q2, earlier), sequential(q1->else_quast, q2, earlier));
  return q2->with_subtrees(sequential(q1, q2->then_quast, earlier), sequential(q1, q2->else_quast, earlier));
}

Quast* Quast::min(Quast* q1, Quast* q2) { return sequential(q1, q2, 1); }

Quast* Quast::max(Quast* q1, Quast* q2) { return sequential(q1, q2, 0); }

// ---------------------------------------------------------------------------
// Schedule order

namespace {

Schedule* schedule_of(const std::vector<Schedule*>& S, Quast* leaf, const std::string& operation) {
  if (leaf->stmt < 0 || leaf->stmt >= static_cast<int>(S.size()) || S[leaf->stmt] == nullptr)
    stop(std::cout, "Quast::" + operation + ": no schedule for statement " + std::to_string(leaf->stmt));
  return S[leaf->stmt];
}

int implies(const std::vector<Polyhedron*>& x, Inequation* c) { return Polyhedron::implies(x, c); }

int implies(Inequation* x, Inequation* c) { return x->implies(c); }

// Whether the test x implies the negation of c (an equality c stops).
template <class Test>
int implies_not(Test x, Inequation* c) {
  Inequation* negated = c->negate();
  int answer = implies(x, negated);
  delete negated;
  return answer;
}

}  // namespace

Quast* Quast::scheduled_leaves(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier) {
  expect_comparable(q1, q2, name_of(earlier));
  IndexFunction* d1 = schedule_of(S, q1, name_of(earlier))->apply(q1->point);
  IndexFunction* d2 = schedule_of(S, q2, name_of(earlier))->apply(q2->point);
  std::list<Polyhedron*> before = *d1 < *d2;
  delete d1;
  delete d2;
  Quast* first = earlier ? q1 : q2;
  Quast* last = earlier ? q2 : q1;
  Quast* result;
  if (Polyhedron::is_universe(before))
    result = first->clone();
  else if (Polyhedron::is_empty(before))
    result = last->clone();
  else
    result = new Quast(before, first, last);
  del(before);
  return result;
}

// Two test nodes: the first rule whose relation between the tests holds,
// or null when the tests are unrelated plain ones. Where one test decides
// the other, the decided operand enters by its branch. The operand order
// of each combination is part of its rule: it decides ties.
Quast* Quast::scheduled_tests(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier) {
  auto op = [&](Quast* a, Quast* b) { return scheduled(S, a, b, earlier); };
  Quast* t1 = q1->then_quast;
  Quast* e1 = q1->else_quast;
  Quast* t2 = q2->then_quast;
  Quast* e2 = q2->else_quast;
  if (!q1->has_extended_condition && q2->has_extended_condition) {
    const std::vector<Polyhedron*>& x2 = q2->extended_condition;
    if (implies(x2, q1->condition)) return q1->with_subtrees(op(t1, q2), op(e1, e2));
    if (implies_not(x2, q1->condition)) return q1->with_subtrees(op(t1, e2), op(e1, q2));
    return q1->with_subtrees(op(t1, q2), op(e1, q2));
  }
  if (q1->has_extended_condition && !q2->has_extended_condition) {
    const std::vector<Polyhedron*>& x1 = q1->extended_condition;
    if (implies(x1, q2->condition)) return q2->with_subtrees(op(t2, q1), op(e2, e1));
    if (implies_not(x1, q2->condition)) return q2->with_subtrees(op(t2, e1), op(e2, q1));
    return q2->with_subtrees(op(t2, q1), op(e2, q1));
  }
  if (q1->has_extended_condition) {
    if (equals(q1->extended_condition, q2->extended_condition)) return q1->with_subtrees(op(t1, t2), op(e1, e2));
    return q1->with_subtrees(op(t1, q2), op(e1, q2));
  }
  Inequation* c1 = q1->condition;
  Inequation* c2 = q2->condition;
  if (c1->equals(c2)) return q1->with_subtrees(op(t1, t2), op(e1, e2));
  if (c1->implies(c2)) return q2->with_subtrees(op(t2, q1), op(e2, e1));
  if (implies_not(c1, c2)) return q2->with_subtrees(op(t2, e1), op(e2, q1));
  if (c2->implies(c1)) return q1->with_subtrees(op(t1, q2), op(e1, e2));
  if (implies_not(c2, c1)) return q1->with_subtrees(op(t1, e2), op(e1, q2));
  return nullptr;
}

Quast* Quast::scheduled(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier) {
  if (q1->is_empty) return q2->clone();
  if (q2->is_empty) return q1->clone();
  if (q1->is_leaf && q2->is_leaf) return scheduled_leaves(S, q1, q2, earlier);
  if (q1->is_if && q2->is_if) {
    Quast* related = scheduled_tests(S, q1, q2, earlier);
    if (related != nullptr) return related;
  }
  if (q1->is_if)
    return q1->with_subtrees(scheduled(S, q1->then_quast, q2, earlier), scheduled(S, q1->else_quast, q2, earlier));
  return q2->with_subtrees(scheduled(S, q1, q2->then_quast, earlier), scheduled(S, q1, q2->else_quast, earlier));
}

Quast* Quast::min(std::vector<Schedule*> S, Quast* q1, Quast* q2) { return scheduled(S, q1, q2, 1); }

Quast* Quast::max(std::vector<Schedule*> S, Quast* q1, Quast* q2) { return scheduled(S, q1, q2, 0); }

Quast* Quast::max(std::vector<Schedule*> S, int n, Quast* q1, Quast* q2) {
  std::vector<Schedule*> cut;
  for (Schedule* s : S) cut.push_back(s == nullptr ? nullptr : s->keep_last(s->dimension() - n));
  Quast* result = max(cut, q1, q2);
  del(cut);
  return result;
}
