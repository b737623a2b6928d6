// The earlier or later of the statement instances that two quasts give:
// in the sequential order of the source program (iterations of the common
// loops, then statement numbers) or in the order of given schedules.

#include <iostream>

#include "Condition.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Quast.h"
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

// op(current, leaf of c), freeing current.
Condition* extend(Condition* current, boolean_operator_t op, Inequation* c) {
  Condition* next = new Condition(op, current, c);
  delete current;
  return next;
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
    Condition* piece = new Condition(&less);
    for (size_t j = 0; j < k; j++) {
      Inequation same(EQ, a[j], b[j]);
      piece = extend(piece, AND, &same);
    }
    Condition* next = new Condition(OR, before, piece);
    delete before;
    delete piece;
    before = next;
  }
  if (q1->stmt < q2->stmt) {
    Condition* ties = new Condition(1);
    for (size_t k = 0; k < common.size(); k++) {
      Inequation same(EQ, a[k], b[k]);
      ties = extend(ties, AND, &same);
    }
    Condition* next = new Condition(OR, before, ties);
    delete before;
    delete ties;
    before = next;
  }
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
  Quast* split = q1->is_if ? q1 : q2;
  if (split->has_extended_condition) stop(std::cout, "Quast::" + operation + ": extended condition unhandled");
  if (split == q1)
    return q1->with_subtrees(sequential(q1->then_quast, q2, earlier), sequential(q1->else_quast, q2, earlier));
  return q2->with_subtrees(sequential(q1, q2->then_quast, earlier), sequential(q1, q2->else_quast, earlier));
}

Quast* Quast::min(Quast* q1, Quast* q2) { return sequential(q1, q2, 1); }

Quast* Quast::max(Quast* q1, Quast* q2) { return sequential(q1, q2, 0); }
