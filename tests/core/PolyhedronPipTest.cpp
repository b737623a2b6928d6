#include <random>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronTestSupport.h"
#include "Quast.h"
#include "QuastTestSupport.h"
#include "Sampling.h"
#include "Schedule.h"

namespace {

// Counters i (0), j (1); parameter N (0). Full rows [flag | i | j | N | 1].
using PolyhedronPipTest = IJNTest;

// The point of a dense leaf over counters i and j at the parameter value n.
Point leaf_point(Quast* leaf, int n) {
  return {floor_value(leaf->point->index_mapping[0], {{0, n}}),
          floor_value(leaf->point->index_mapping[1], {{0, n}})};
}

// Points (i, j) of the enumeration of rows over (i, j, N) with N = n.
std::set<Point> points_at(const std::set<Point>& all, int n) {
  std::set<Point> at;
  for (const Point& x : all)
    if (x[2] == n) at.insert({x[0], x[1]});
  return at;
}

// Random polyhedra in the box |i|, |j|, |N| <= 4, some pushed to negative
// counters: emptiness and both optima agree with enumeration for N >= 0.
TEST_F(PolyhedronPipTest, EmptinessAndOptimaAgreeWithEnumeration) {
  std::mt19937 g(11);
  for (int round = 0; round < sampled(40); round++) {
    Rows rows = random_polyhedron(g, 3, 4);
    if (round % 3 == 0) rows.push_back({1, -1, 0, 0, -1});  // i <= -1
    std::set<Point> all = points(rows, 3, 4);
    int expected_empty = 1;
    for (const Point& x : all)
      if (x[2] >= 0) expected_empty = 0;
    Polyhedron p(rows);
    EXPECT_EQ(p.is_empty(), expected_empty) << "round " << round;
    Quast* lo = p.min_lex();
    Quast* hi = p.max_lex();
    for (int n = 0; n <= 4; n++) {
      std::set<Point> at = points_at(all, n);
      Quast* lo_leaf = leaf_at(lo, {{0, n}});
      Quast* hi_leaf = leaf_at(hi, {{0, n}});
      if (at.empty()) {
        EXPECT_EQ(lo_leaf, nullptr) << "round " << round << " N=" << n;
        EXPECT_EQ(hi_leaf, nullptr) << "round " << round << " N=" << n;
        continue;
      }
      ASSERT_NE(lo_leaf, nullptr) << "round " << round << " N=" << n;
      ASSERT_NE(hi_leaf, nullptr) << "round " << round << " N=" << n;
      EXPECT_EQ(leaf_point(lo_leaf, n), *at.begin()) << "round " << round << " N=" << n;
      EXPECT_EQ(leaf_point(hi_leaf, n), *at.rbegin()) << "round " << round << " N=" << n;
    }
    delete lo;
    delete hi;
  }
}

// The emptiness test answers as the parametric maximum does on random
// polyhedra, bounded or not, with equalities, points only at negative
// counters, no admissible parameter, or points only off the integer
// lattice.
TEST_F(PolyhedronPipTest, EmptinessIsTheMaximumsAnswer) {
  std::mt19937 g(23);
  std::uniform_int_distribution<int> coin(0, 2), scale(1, 4);
  int empties = 0;
  const int rounds = sampled(400);
  for (int round = 0; round < rounds; round++) {
    Rows rows = random_polyhedron(g, 3, 4);
    for (int k = 5; k >= 0; k--)
      if (coin(g) == 0) rows.erase(rows.begin() + k);
    if (round % 4 == 1) rows.push_back({1, -1, 0, 0, -1});  // i <= -1
    if (round % 4 == 2) rows.push_back({1, 0, 0, -1, -1});  // N <= -1
    if (round % 4 == 3) {
      int s = scale(g) + 1;
      rows.push_back({0, s, -s, 0, round % 8 == 3 ? 1 : 0});  // s (i - j) == 0 or -1
    }
    Polyhedron p(rows);
    Quast* q = p.max_lex();
    EXPECT_EQ(p.is_empty(), q->empty()) << "round " << round;
    empties += q->empty();
    delete q;
  }
  EXPECT_GT(empties, rounds / 10);
  EXPECT_LT(empties, rounds - rounds / 10);
}

// Equalities with no integer solution are empty though rational points
// exist; columns that no constraint uses change nothing.
TEST_F(PolyhedronPipTest, EmptinessIsIntegerAndIgnoresUnusedColumns) {
  Polyhedron off_lattice(Rows{{0, 2, -2, 0, -1}});  // 2i == 2j + 1
  EXPECT_EQ(off_lattice.is_empty(), 1);
  Polyhedron third(Rows{{0, 3, 0, -1, 0}, {1, 0, 0, -1, 2}, {1, 0, 0, 1, -1}});  // 3i == N, 1 <= N <= 2
  EXPECT_EQ(third.is_empty(), 1);
  Polyhedron below(Rows{{1, 1, 0, 1, 1}, {1, -1, 0, 0, -2}});  // i <= -2, i + N >= -1
  EXPECT_EQ(below.is_empty(), 0);
  register_names({"k"}, {"M"});
  EXPECT_EQ(off_lattice.is_empty(), 1);
  EXPECT_EQ(below.is_empty(), 0);
  EXPECT_EQ(off_lattice.to_matrix()[0].size(), 7u);
}

TEST_F(PolyhedronPipTest, MaximumLeavesCountersFree) {
  Polyhedron negative(Rows{{1, 1, 0, 0, 5}, {1, -1, 0, 0, -1}});  // -5 <= i <= -1
  EXPECT_EQ(negative.is_empty(), 0);
  Quast* q = negative.max_lex();
  ASSERT_TRUE(q->is_leaf);
  EXPECT_EQ(floor_value(q->point->index_mapping[0], {}), -1);
  delete q;
  Polyhedron no_parameter(Rows{{1, 0, 0, -1, -1}});  // N <= -1
  EXPECT_EQ(no_parameter.is_empty(), 1);
}

TEST_F(PolyhedronPipTest, UnboundedMaximumIsAMarkedLeaf) {
  Polyhedron p(Rows{{1, 1, 0, 0, 0}});  // i >= 0
  Quast* q = p.max_lex();
  ASSERT_TRUE(q->is_leaf);
  EXPECT_EQ(q->is_unbounded, 1);
  EXPECT_EQ(q->empty(), 0);
  EXPECT_EQ(p.is_empty(), 0);
  delete q;
}

TEST_F(PolyhedronPipTest, WithoutConstraintsNothingIsEmpty) {
  Polyhedron universe_set;
  EXPECT_EQ(universe_set.is_empty(), 0);
  Polyhedron* zero = universe();
  EXPECT_EQ(zero->is_empty(), 0);
  delete zero;
  Expression z(0);
  Inequation never(GREATER, &z, &z);
  Polyhedron never_set(&never);
  EXPECT_EQ(never_set.is_empty(), 1);
}

// Counters c0, c1, c2 and parameters p0, p1.
class CompactionTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    for (const char* c : {"c0", "c1", "c2"}) create_counter_rank(c);
    for (const char* p : {"p0", "p1"}) create_parameter_rank(p);
  }
};

TEST_F(CompactionTest, PlainForm) {
  Rows m = Polyhedron::remove_null_columns(Rows{{1, 1, 0, 0, 0, 0, 0}, {1, -1, 0, 1, 0, 1, 5}});
  EXPECT_EQ(m, (Rows{{1, 1, 0, 0, 0}, {1, -1, 1, 1, 5}}));
  EXPECT_EQ(actual_counter, (std::map<int, int>{{0, 0}, {1, 2}}));
  EXPECT_EQ(actual_parameter, (std::map<int, int>{{0, 1}}));
  // Equalities keep their flag column; a constant-only row keeps two columns.
  EXPECT_EQ(Polyhedron::remove_null_columns(Rows{{0, 1, 0, 0, 0, 0, 0}}), (Rows{{0, 1, 0}}));
  EXPECT_EQ(Polyhedron::remove_null_columns(Rows{{1, 0, 0, 0, 0, 0, 3}}), (Rows{{1, 3}}));
  EXPECT_TRUE(actual_counter.empty());
  EXPECT_TRUE(actual_parameter.empty());
  EXPECT_TRUE(Polyhedron::remove_null_columns(Rows()).empty());
}

TEST_F(CompactionTest, PairAndOffsetForms) {
  auto cd = Polyhedron::remove_null_columns(std::make_pair(Rows{{1, 0, 1, -1}}, Rows{{1, 1, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(cd.first, (Rows{{1, 1, -1}}));
  EXPECT_EQ(cd.second, (Rows{{1, 1, 0, 0}}));
  EXPECT_EQ(actual_counter, (std::map<int, int>{{0, 0}}));
  EXPECT_EQ(actual_parameter, (std::map<int, int>{{0, 1}}));
  // One date ahead of the counters: kept, never mapped.
  Rows dated = Polyhedron::remove_null_columns(Rows{{1, -1, 0, 0, 1, 0, 2, 0}}, 1);
  EXPECT_EQ(dated, (Rows{{1, -1, 1, 2, 0}}));
  EXPECT_EQ(actual_counter, (std::map<int, int>{{0, 2}}));
  EXPECT_EQ(actual_parameter, (std::map<int, int>{{0, 1}}));
}

TEST_F(CompactionTest, CompactAndDeflatAreInverse) {
  Rows full{{1, 1, 0, 2, 0, 3, 4}, {0, 0, 0, -1, 0, 0, 7}};
  Rows small = Polyhedron::compact(full, 3, 2, {0, 2}, {1});
  EXPECT_EQ(small, (Rows{{1, 1, 2, 3, 4}, {0, 0, -1, 0, 7}}));
  EXPECT_EQ(Polyhedron::deflat(small, 3, 2, {0, 2}, {1}), full);
}

// A context-only polyhedron is solved under its context with no unknown.
TEST_F(PolyhedronPipTest, ContextOnlyMinimum) {
  Polyhedron positive_n(Rows{{1, 0, 0, 1, -1}});  // N >= 1
  Quast* q = positive_n.min_lex();
  ASSERT_TRUE(q->is_leaf);
  ASSERT_EQ(q->point->size(), 2);
  EXPECT_TRUE(q->point->is_null_index());
  delete q;
  Polyhedron negative_n(Rows{{1, 0, 0, -1, -1}});  // N <= -1
  ChildRun run = run_in_child([&] {
    Quast* bottom = negative_n.min_lex();
    std::exit(bottom->is_empty ? 0 : 2);
  });
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Quast::Quast(pipquast)-1: null pipquast (empty context)\n");
}

TEST_F(PolyhedronPipTest, TaggedOptimaCarryTheStatement) {
  Polyhedron p(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 0, 2}});
  Quast* lo = p.min_lex({0, 1}, 3);
  Quast* hi = p.max_lex({0, 1}, 3);
  for (Quast* q : {lo, hi}) {
    Quast* leaf = leaf_at(q, {{0, 5}});
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->is_tagged, 1);
    EXPECT_EQ(leaf->stmt, 3);
    EXPECT_EQ(leaf->surrounding_counters, (std::vector<int>{0, 1}));
  }
  EXPECT_EQ(leaf_point(leaf_at(lo, {{0, 5}}), 5), (Point{0, 0}));
  EXPECT_EQ(leaf_point(leaf_at(hi, {{0, 5}}), 5), (Point{5, 2}));
  delete lo;
  delete hi;
}

// Counter i, parameter N: the domain 0 <= i <= N under the date (i).
class ScheduledTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_counter_rank("i");
    create_parameter_rank("N");
  }
};

TEST_F(ScheduledTest, ProblemRowsAndOptima) {
  Polyhedron p(Rows{{1, 1, 0, 0}, {1, -1, 1, 0}});
  Rows t{{1, 0, 0}};
  EXPECT_EQ(Polyhedron::scheduled_rows(p.to_matrix(), t),
            (Rows{{1, -1, 1, 0, 0}, {1, 1, -1, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, 0}}));
  IndexFunction f(std::vector<int>{0});
  Schedule theta(&f);
  Quast* lo = p.min_lex(&theta);
  Quast* hi = p.max_lex(&theta);
  for (int n = 0; n <= 3; n++) {
    ASSERT_NE(leaf_at(lo, {{0, n}}), nullptr);
    ASSERT_NE(leaf_at(hi, {{0, n}}), nullptr);
    EXPECT_EQ(floor_value(leaf_at(lo, {{0, n}})->point->index_mapping[0], {{0, n}}), 0);
    EXPECT_EQ(floor_value(leaf_at(hi, {{0, n}})->point->index_mapping[0], {{0, n}}), n);
  }
  delete lo;
  delete hi;
  // The vector forms with the statement's schedule, cut or not.
  std::vector<Schedule*> all{&theta};
  Quast* tagged = p.min_lex(all, {0}, 0, 7);
  Quast* cut = p.min_lex(all, 0, {0}, 0, 7);
  EXPECT_EQ(leaf_at(tagged, {{0, 2}})->read_rank, 7);
  EXPECT_EQ(floor_value(leaf_at(cut, {{0, 2}})->point->index_mapping[0], {{0, 2}}), 0);
  delete tagged;
  delete cut;
}

TEST_F(ScheduledTest, RawSolveAndItsStop) {
  // i >= 0 and i <= N, solved as passed: the minimum i = 0.
  PipQuast* answer = Polyhedron::raw_pip(Rows{{1, 1, 0, 0}, {1, -1, 1, 0}}, 1);
  ASSERT_NE(answer, nullptr);
  ASSERT_NE(answer->list, nullptr);
  EXPECT_EQ(answer->list->vector->the_vector[answer->list->vector->nb_elements - 1], 0);
  pip_quast_free(answer);
  EXPECT_STOP_ON_STDOUT(Polyhedron::raw_pip(Rows(), 1), "Polyhedron::raw_pip: empty matrix");
}

}  // namespace
