#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"

namespace {

class QuastOrderTest : public MNTest {
 protected:
  void TearDown() override { EXPECT_EQ(Quast::shared_objects(), 0); }
  Quast bottom;
};

// The leaf of a or b (either may be null) whose instance runs first in the
// sequential order at p, or last; on a full tie the earlier is b, the
// later a.
Quast* sequential_choice(Quast* a, Quast* b, const Values& p, bool earlier) {
  if (a == nullptr) return b;
  if (b == nullptr) return a;
  int a_first = a->stmt < b->stmt;
  const std::vector<int>& ca = a->surrounding_counters;
  const std::vector<int>& cb = b->surrounding_counters;
  for (size_t k = 0; k < ca.size() && k < cb.size() && ca[k] == cb[k]; k++) {
    int x = floor_value(a->point->index_mapping[ca[k]], p);
    int y = floor_value(b->point->index_mapping[cb[k]], p);
    if (x != y) {
      a_first = x < y;
      break;
    }
  }
  return a_first == earlier ? a : b;
}

std::string leaf_value(Quast* leaf, const Values& p) { return leaf == nullptr ? "_|_" : value_at(leaf, p); }

TEST_F(QuastOrderTest, SequentialOrderAgainstBruteForce) {
  RandomQuasts random(23);
  for (int round = 0; round < 30; round++) {
    Quast* q1 = random.tree(2);
    Quast* q2 = random.tree(2);
    Quast* q3 = random.tree(1);
    Quast* lo = Quast::min(q1, q2);
    Quast* hi = Quast::max(q1, q2);
    Quast* nested = Quast::min(lo, q3);
    for (const Values& p : parameter_box()) {
      Quast* a = leaf_at(q1, p);
      Quast* b = leaf_at(q2, p);
      Quast* first = sequential_choice(a, b, p, true);
      EXPECT_EQ(value_at(lo, p), leaf_value(first, p)) << round;
      EXPECT_EQ(value_at(hi, p), leaf_value(sequential_choice(a, b, p, false), p)) << round;
      EXPECT_EQ(value_at(nested, p), leaf_value(sequential_choice(first, leaf_at(q3, p), p, true), p)) << round;
    }
    for (Quast* q : {q1, q2, q3, lo, hi, nested}) delete q;
  }
}

TEST_F(QuastOrderTest, SequentialEdgeCases) {
  Quast* a = constant_leaf(1, 1, 2);
  Quast* b = constant_leaf(1, 1, 2);
  b->read_rank = 1;
  Quast* lo = Quast::min(&bottom, a);
  EXPECT_TRUE(*lo == *a);
  delete lo;
  Quast* hi = Quast::max(a, &bottom);
  EXPECT_TRUE(*hi == *a);
  delete hi;
  // Full tie: min keeps q2, max keeps q1.
  lo = Quast::min(a, b);
  EXPECT_TRUE(*lo == *b);
  hi = Quast::max(a, b);
  EXPECT_TRUE(*hi == *a);
  delete lo;
  delete hi;
  // No common loop: the smaller statement number runs first.
  IndexFunction point(std::vector<int>(), std::vector<int>{7, 7});
  Quast other({1}, 0, &point);
  lo = Quast::min(a, &other);
  EXPECT_TRUE(*lo == other);
  hi = Quast::max(a, &other);
  EXPECT_TRUE(*hi == *a);
  delete lo;
  delete hi;
  // A leaf against a test node: the test stays on top.
  Inequation* c = row_constraint(GREATER_EQ, {0, 0, 1, 0, -2});
  Quast test(c, b, &bottom);
  lo = Quast::min(a, &test);
  ASSERT_EQ(lo->is_if, 1);
  EXPECT_TRUE(*lo->condition == *c);
  EXPECT_TRUE(*lo->then_quast == *b);
  EXPECT_TRUE(*lo->else_quast == *a);
  delete lo;
  delete c;
  delete a;
  delete b;
}

TEST_F(QuastOrderTest, SequentialStops) {
  Quast* a = constant_leaf(0, 1, 2);
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Quast untagged(&point);
  EXPECT_STOP_ON_STDOUT(Quast::min(a, &untagged), "Quast::min: untagged Quasts");
  EXPECT_STOP_ON_STDOUT(Quast::max(&untagged, a), "Quast::max: untagged Quasts");
  Quast far({0, 5}, 1, &point);
  EXPECT_STOP_ON_STDOUT(Quast::min(&far, &far), "Quast::min: counter out of range");
  Polyhedron universe_member;
  Quast extended(std::vector<Polyhedron*>{&universe_member}, a, &bottom);
  EXPECT_STOP_ON_STDOUT(Quast::max(&extended, a), "Quast::max: extended condition unhandled");
  // The optimum of {i >= 0} has no largest i: its leaf holds no values.
  Inequation* positive = row_constraint(GREATER_EQ, {1, 0, 0, 0, 0});
  Polyhedron p(positive);
  Quast* unbounded = p.max_lex({0}, 0);
  ASSERT_EQ(unbounded->is_unbounded, 1);
  EXPECT_STOP_ON_STDOUT(Quast::min(unbounded, unbounded), "Quast::min: unbounded leaf");
  EXPECT_STOP_ON_STDOUT(Quast::min(unbounded, &untagged), "Quast::min: untagged Quasts");
  delete unbounded;
  delete positive;
  delete a;
}

}  // namespace
