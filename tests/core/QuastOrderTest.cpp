#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"
#include "Schedule.h"

namespace {

using QuastOrderTest = MNTest;

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
  Quast test(c, b, &bottom);
  lo = Quast::min(a, &test);
  ASSERT_EQ(lo->is_if, 1);
  EXPECT_TRUE(*lo->condition == *c);
  EXPECT_TRUE(*lo->then_quast == *b);
  EXPECT_TRUE(*lo->else_quast == *a);
  delete lo;
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

// Schedules of two dates: S0 (i, 0), S1 (i, j + 1), S2 (j, 2); rows over
// (i, j, M, N, 1).
class ScheduleOrderTest : public QuastOrderTest {
 protected:
  void SetUp() override {
    QuastOrderTest::SetUp();
    S = {schedule({0}, {{1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}), schedule({0, 1}, {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 1}}),
         schedule({1}, {{0, 1, 0, 0, 0}, {0, 0, 0, 0, 2}})};
  }
  void TearDown() override {
    del(S);
    MNTest::TearDown();
  }
  static Schedule* schedule(std::vector<int> counters, std::vector<std::vector<int>> rows) {
    IndexFunction f(counters, rows);
    return new Schedule(&f);
  }
  // The dates of a leaf at p, from the first `from` on.
  std::vector<int> date(Quast* leaf, const Values& p, int from = 0) {
    Values counters{{0, floor_value(leaf->point->index_mapping[0], p)},
                    {1, floor_value(leaf->point->index_mapping[1], p)}};
    std::vector<int> d;
    for (size_t k = from; k < S[leaf->stmt]->schedule->index_mapping.size(); k++)
      d.push_back(floor_value(S[leaf->stmt]->schedule->index_mapping[k], p, counters));
    return d;
  }
  // The values of the leaves (of those that exist) with the earliest, or
  // the latest, date: any of them is a right answer.
  std::set<std::string> extreme(std::vector<Quast*> trees, const Values& p, bool earlier, int from = 0) {
    std::map<std::vector<int>, std::set<std::string>> by_date;
    for (Quast* q : trees) {
      Quast* leaf = leaf_at(q, p);
      if (leaf != nullptr) by_date[date(leaf, p, from)].insert(value_at(leaf, p));
    }
    if (by_date.empty()) return {"_|_"};
    return earlier ? by_date.begin()->second : by_date.rbegin()->second;
  }
  std::vector<Schedule*> S;
};

// The earlier (later) leaf where the dates differ, either operand's leaf on
// a tie; nested calls meet extended tests on both sides.
TEST_F(ScheduleOrderTest, ScheduleOrderAgainstBruteForce) {
  RandomQuasts random(61);
  for (int round = 0; round < 12; round++) {
    Quast* q1 = random.tree(2);
    Quast* q2 = random.tree(2);
    Quast* q3 = random.tree(1, true);
    Quast* lo = Quast::min(S, q1, q2);
    Quast* hi = Quast::max(S, q1, q2);
    Quast* inner = Quast::min(S, lo, q3);
    Quast* outer = Quast::max(S, q3, hi);
    Quast* cut = Quast::max(S, 1, q1, q2);
    for (const Values& p : parameter_box()) {
      EXPECT_EQ(extreme({q1, q2}, p, true).count(value_at(lo, p)), 1u) << round;
      EXPECT_EQ(extreme({q1, q2}, p, false).count(value_at(hi, p)), 1u) << round;
      EXPECT_EQ(extreme({q1, q2, q3}, p, true).count(value_at(inner, p)), 1u) << round;
      EXPECT_EQ(extreme({q1, q2, q3}, p, false).count(value_at(outer, p)), 1u) << round;
      EXPECT_EQ(extreme({q1, q2}, p, false, 1).count(value_at(cut, p)), 1u) << round;
    }
    for (Quast* q : {q1, q2, q3, lo, hi, inner, outer, cut}) delete q;
  }
}

TEST_F(ScheduleOrderTest, EdgeCasesAndStops) {
  Quast* a = constant_leaf(0, 1, 2);
  Quast* b = constant_leaf(0, 3, 4);
  Quast* same = constant_leaf(0, 1, 7);
  // Always before: a clone of one of them, no test.
  Quast* lo = Quast::min(S, a, b);
  EXPECT_TRUE(*lo == *a);
  Quast* hi = Quast::max(S, a, b);
  EXPECT_TRUE(*hi == *b);
  delete lo;
  delete hi;
  // Equal dates everywhere: min keeps q2, max q1.
  lo = Quast::min(S, a, same);
  EXPECT_TRUE(*lo == *same);
  hi = Quast::max(S, a, same);
  EXPECT_TRUE(*hi == *a);
  delete lo;
  delete hi;
  lo = Quast::min(S, &bottom, a);
  EXPECT_TRUE(*lo == *a);
  delete lo;
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Quast untagged(&point);
  EXPECT_STOP_ON_STDOUT(Quast::min(S, a, &untagged), "Quast::min: untagged Quasts");
  EXPECT_STOP_ON_STDOUT(Quast::max(S, &untagged, a), "Quast::max: untagged Quasts");
  Quast* late = constant_leaf(3, 1, 2);
  EXPECT_STOP_ON_STDOUT(Quast::min(S, a, late), "Quast::min: no schedule for statement 3");
  std::vector<Schedule*> holes{S[0], nullptr};
  Quast other({0}, 1, &point);
  EXPECT_STOP_ON_STDOUT(Quast::max(holes, a, &other), "Quast::max: no schedule for statement 1");
  EXPECT_STOP_ON_STDERR(Quast::max(S, 3, a, b), "IndexFunction::keep_last: bigger than the dimension");
  // An equality test cannot be negated when the table needs its negation.
  Inequation* e = row_constraint(EQ, {0, 0, 0, 1, -1});
  Quast t1(c, a, b), t2(e, b, a);
  EXPECT_STOP_ON_STDOUT(Quast::min(S, &t1, &t2), "Inequation::negate: unhandled predicate\n-1+N = 0");
  delete e;
  delete late;
  delete a;
  delete b;
  delete same;
}

}  // namespace
