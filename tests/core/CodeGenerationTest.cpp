#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
#include <set>

#include "CodeGeneration.h"
#include "CoreTest.h"
#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Options.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"

namespace {

// Counters i, j (ranks 0, 1), parameter N; no option set, nothing failing
// on unbounded counters.
class CodeGenerationTest : public IJNLeavesTest {
 protected:
  void SetUp() override {
    IJNLeavesTest::SetUp();
    Options::option.clear();
    fail_on_unbounded = 0;
  }
  void TearDown() override {
    fail_on_unbounded = 0;
    Options::option.clear();
    IJNLeavesTest::TearDown();
  }
  // lo <= i <= hi.
  Polyhedron* range(int lo, int hi) { return poly({*i >= lo, *i <= hi}); }
};

const std::string kStars(46, '*');

TEST_F(CodeGenerationTest, IntervalsOfOneDomain) {
  Polyhedron* p = range(0, 9);
  EXPECT_EQ(get_counter_intervals(p), (Intervals{{"i", {0, 9}}}));
  delete p;
  // 2i >= 7: the quotient rounded toward zero, 3, not the ceiling 4.
  Expression& twice = 2 * *i;
  p = poly({twice >= 7, *i <= 9});
  delete &twice;
  EXPECT_EQ(get_counter_intervals(p, {0}), (Intervals{{"i", {3, 9}}}));
  delete p;
  // No lower bound: the sentinel, silently.
  p = poly({*i <= 5});
  testing::internal::CaptureStderr();
  EXPECT_EQ(get_counter_intervals(p, {0}), (Intervals{{"i", {unbounded_below, 5}}}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  delete p;
  // Bounded by a parameter only: the sentinel and a report; the run goes on.
  p = poly({*i >= 0, *i <= *n});
  testing::internal::CaptureStderr();
  EXPECT_EQ(get_counter_intervals(p, {0}), (Intervals{{"i", {0, unbounded_above}}}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nUnbounded iteration domain:\n" + box(p) + "\n");
  delete p;
}

TEST_F(CodeGenerationTest, IntervalsAreKeyedByNameInByteOrder) {
  create_counter_rank("B");  // rank 2, named before i and j
  Expression b("B");
  Polyhedron* p = poly({*j >= 1, *j <= 2, b >= -4, b <= 0, *i >= *j, *i <= 3});
  Intervals got = get_counter_intervals(p);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got.begin()->first, "B");
  EXPECT_EQ(got, (Intervals{{"B", {-4, 0}}, {"i", {1, 3}}, {"j", {1, 2}}}));
  delete p;
}

TEST_F(CodeGenerationTest, BoundingBoxOfUnions) {
  Polyhedron* low = range(0, 9);
  Polyhedron* high = poly({*i >= 5, *i <= 20, *j >= 0, *j <= 1});
  EXPECT_EQ(get_counter_intervals({low, high}, {0}), (Intervals{{"i", {0, 20}}}));
  // A union domain is the box of its members, not the universe.
  Domain d({low, high});
  EXPECT_EQ(get_counter_intervals(&d, {0}), (Intervals{{"i", {0, 20}}}));
  EXPECT_STOP_ON_STDERR(get_counter_intervals(std::vector<Polyhedron*>{}, {0}),
                        "CodeGeneration::get_counter_intervals: empty domain");
  // j is not bounded by low: its interval reaches the sentinels.
  testing::internal::CaptureStderr();
  Intervals both = get_counter_intervals(&d);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(both.at("j"), std::make_pair(unbounded_below, unbounded_above));
  delete low;
  delete high;

  // Names of the second map only are dropped; a name missing from it stops.
  Intervals a{{"i", {0, 3}}, {"j", {2, 2}}};
  Intervals b{{"i", {-1, 1}}, {"j", {0, 5}}, {"k", {0, 0}}};
  EXPECT_EQ(max_intervals(a, b), (Intervals{{"i", {-1, 3}}, {"j", {0, 5}}}));
  EXPECT_STOP_ON_STDERR(max_intervals(b, a), "CodeGeneration::max_intervals: k not found");
}

TEST_F(CodeGenerationTest, ReportsThatStop) {
  // Unbounded while failing on it: the report, then exit 1.
  fail_on_unbounded = 1;
  Polyhedron* p = poly({*i >= 0, *i <= *n});
  ChildRun unbounded = run_in_child([&] { get_counter_intervals(p, {0}); });
  EXPECT_EQ(unbounded.status, 1);
  EXPECT_EQ(unbounded.err, "\nUnbounded iteration domain:\n" + box(p) + "\n");
  delete p;
  // An empty domain leaves no bound: the report of step 3, all on standard
  // error but the counter registry.
  p = range(5, 3);
  ChildRun empty = run_in_child([&] { get_counter_intervals(p, {0}); });
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.out.find("counters = {"), std::string::npos);
  EXPECT_NE(empty.out.find(" i -> 0"), std::string::npos);
  // The domain as confined to the sentinels, then its projection.
  EXPECT_EQ(empty.err.rfind("0 i\n0\n0\nCodeGeneration::get_counter_intervals(i): Bounds with min and max\n"
                            "Lower bound = max(\n)\n\nUpper bound = min(\n)\nDomain: \n/\n| i >= 5\n| i <= 3\n"
                            "| i >= -2147483644\n| i <= 2147483643\n\\\n\n/\n",
                            0),
            0u);
  delete p;
}

TEST_F(CodeGenerationTest, SelfTestOfBoundedCounters) {
  Polyhedron* p = range(0, 9);
  testing::internal::CaptureStdout();
  p->check("dom");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(fail_on_unbounded, 0);

  Options::option["check"] = 1;
  testing::internal::CaptureStdout();
  p->check("dom");
  p->check("");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n" + kStars + "\n** CHECK dom\n\n\n** PASSED\n" + kStars + "\n");
  EXPECT_EQ(fail_on_unbounded, 1);
  delete p;

  // Unbounded above, and (mended) unbounded below: both stop.
  for (Polyhedron* bad : {poly({*i >= 0, *i <= *n}), poly({*i <= 5})}) {
    fail_on_unbounded = 0;
    ChildRun run = run_in_child([&] { bad->check(""); });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "\nUnbounded iteration domain:\n" + box(bad) + "\n");
    EXPECT_EQ(run.out, "");
    delete bad;
  }
}

TEST_F(CodeGenerationTest, BoundsAndScans) {
  Expression& twice = 2 * *i;
  Polyhedron* p = poly({*i >= 0, twice <= *n, *j >= *i, *j < *n});
  delete &twice;
  Bounds b = get_bounds(p, 0);
  ASSERT_EQ(b.first.size(), 1u);
  ASSERT_EQ(b.second.size(), 2u);
  EXPECT_EQ(text(b.first[0]), "0");
  EXPECT_TRUE(b.second[0]->is_op(FLOOR));
  del(b.first);
  del(b.second);
  std::vector<Bounds> nest = scan(p, {}, {0, 1});
  ASSERT_EQ(nest.size(), 2u);
  // The loop of i no longer sees j; the loop of j sees i.
  for (Expression* e : nest[0].first) EXPECT_EQ(e->get_counters().count(1), 0u);
  for (Expression* e : nest[0].second) EXPECT_EQ(e->get_counters().count(1), 0u);
  for (const Bounds& loop : nest) {
    del(loop.first);
    del(loop.second);
  }
  delete p;
}

// A vertex (x / d, y / d) of a 2-D polygon, d > 0.
struct Vertex {
  long long x, y, d;
};

// The vertices of the rational polygon of rows [flag | i j | constant]:
// the feasible crossings of two constraint lines.
std::vector<Vertex> vertices(const Rows& m) {
  std::vector<Vertex> result;
  for (size_t r = 0; r < m.size(); r++)
    for (size_t s = r + 1; s < m.size(); s++) {
      long long a1 = m[r][1], b1 = m[r][2], c1 = m[r][3], a2 = m[s][1], b2 = m[s][2], c2 = m[s][3];
      long long d = a1 * b2 - a2 * b1;
      if (d == 0) continue;
      Vertex v{-c1 * b2 + c2 * b1, -a1 * c2 + a2 * c1, d};
      if (d < 0) v = {-v.x, -v.y, -d};
      bool feasible = true;
      for (const std::vector<int>& row : m) {
        long long value = row[1] * v.x + row[2] * v.y + row[3] * v.d;
        feasible = feasible && (row[0] == 0 ? value == 0 : value >= 0);
      }
      if (feasible) result.push_back(v);
    }
  return result;
}

// Calls check(round, rows, polyhedron) on `rounds` random rationally
// non-empty polygons over i, j in [-4, 4], each in a fresh registry.
template <class Check>
void for_random_polygons(unsigned seed, int rounds, Check check) {
  std::mt19937 g(seed);
  for (int round = 0; round < rounds; round++) {
    clear_registries();
    register_names({"i", "j"}, {});
    Rows m = random_polyhedron(g, 2, 4);
    if (vertices(m).empty()) continue;
    Polyhedron p(m);
    check(round, m, &p);
  }
}

TEST(CodeGenerationOracle, IntervalsEncloseThePointsWithinOneOfTheRationalBounds) {
  for_random_polygons(23, 40, [](int round, const Rows& m, Polyhedron* p) {
    std::vector<Vertex> corners = vertices(m);
    Intervals got = get_counter_intervals(p, {0, 1});
    for (int k = 0; k < 2; k++) {
      std::pair<int, int> ends = got.at(k ? "j" : "i");
      for (const Point& x : points(m, 2, 4)) {
        EXPECT_LE(ends.first, x[k]);
        EXPECT_GE(ends.second, x[k]);
      }
      // Each end within 1 of the rational extremum, reached at a vertex.
      auto coordinate = [k](const Vertex& v) { return k ? v.y : v.x; };
      const Vertex* low = &corners[0];
      const Vertex* high = &corners[0];
      for (const Vertex& v : corners) {
        if (coordinate(v) * low->d < coordinate(*low) * v.d) low = &v;
        if (coordinate(v) * high->d > coordinate(*high) * v.d) high = &v;
      }
      EXPECT_LE(std::abs(ends.first * low->d - coordinate(*low)), low->d) << "round " << round;
      EXPECT_LE(std::abs(ends.second * high->d - coordinate(*high)), high->d) << "round " << round;
    }
  });
}

// The largest lower and the smallest upper bound at the counter values.
std::pair<int, int> tightest(const Bounds& b, const std::map<int, int>& counters) {
  std::pair<int, int> ends(INT_MIN, INT_MAX);
  for (Expression* e : b.first) ends.first = std::max(ends.first, e->evaluate_int(counters, {}));
  for (Expression* e : b.second) ends.second = std::min(ends.second, e->evaluate_int(counters, {}));
  return ends;
}

TEST(CodeGenerationOracle, ScanBoundsGiveExactlyTheInnerRanges) {
  for_random_polygons(2323, 30, [](int round, const Rows& m, Polyhedron* p) {
    std::vector<Bounds> nest = scan(p, {}, {0, 1});
    std::set<Point> inside = points(m, 2, 4);
    // Every point's i is in the outer loop's range; there, the inner bounds
    // give exactly the j of the points.
    std::pair<int, int> outer = tightest(nest[0], {});
    for (const Point& x : inside) EXPECT_TRUE(outer.first <= x[0] && x[0] <= outer.second) << "round " << round;
    for (int i = std::max(-4, outer.first); i <= std::min(4, outer.second); i++) {
      std::pair<int, int> ends = tightest(nest[1], {{0, i}});
      std::set<Point> expected;
      for (int j = ends.first; j <= ends.second; j++) expected.insert({i, j});
      std::set<Point> found;
      for (const Point& x : inside)
        if (x[0] == i) found.insert(x);
      EXPECT_EQ(found, expected) << "round " << round << " i = " << i;
    }
    for (const Bounds& loop : nest) {
      del(loop.first);
      del(loop.second);
    }
  });
}

}  // namespace
