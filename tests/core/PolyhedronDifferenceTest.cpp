// Set difference of polyhedra and unions on the PolyLib and isl roads.

#include <gtest/gtest.h>

#include "CoreTest.h"
#include "Domain.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronOracles.h"
#include "PolyhedronTestSupport.h"
#include "Sampling.h"

namespace {

class Difference : public IJNTest {};
class PinnedDifference : public CoreTest {};

const std::set<int> IJ{0, 1};

// Checks that `pieces` cover exactly `expected` in the box (every integer N
// in -3..8) and releases them.
void expect_cover(const Union& pieces, const std::set<Point>& expected, const std::string& road) {
  EXPECT_EQ(point_set(pieces, -3), expected) << road;
  del(pieces);
}

// The point sets of the pieces, each over i in -12..12 (registry {i}).
std::set<std::set<int>> interval_sets(const Union& pieces) {
  std::set<std::set<int>> r;
  for (Polyhedron* p : pieces) {
    std::set<int> xs;
    Rows rows = p->to_matrix(std::set<int>{0}, std::set<int>{});
    for (int x = -12; x <= 12; x++)
      if (satisfies(rows, {x})) xs.insert(x);
    r.insert(xs);
  }
  return r;
}

std::set<int> range(int low, int high) {
  std::set<int> r;
  for (int x = low; x <= high; x++) r.insert(x);
  return r;
}

}  // namespace

TEST_F(Difference, DifferencesOfRandomPairsAreExactOnBothRoads) {
  std::mt19937 g(21);
  for (int t = 0; t < sampled(30); t++) {
    Polyhedron* p1 = random_ijn(g, t % 3 != 0);
    Polyhedron* p2 = random_ijn(g, t % 2 == 0);
    std::set<Point> expected = minus(point_set(p1, -3), point_set(p2, -3));
    expect_cover(Polyhedron::isl_subtract(p1, p2), expected, "isl");
    expect_cover(Polyhedron::polylib_subtract(p1, p2), expected, "polylib");
    Union both{p1, p2};
    expect_cover(Polyhedron::subtract(p1, p2, Polyhedron::get_counters(both)), expected, "occurring");
    expect_cover(*p1 - *p2, expected, "operator-");
    del(both);
  }
}

TEST_F(Difference, DifferencesOfRandomUnionsAreExactOnBothRoads) {
  std::mt19937 g(2113);
  testing::internal::CaptureStderr();
  for (int t = 0; t < sampled(16); t++) {
    Union a = random_union(g, 1 + t % 3, t % 2 == 0);
    Union b = random_union(g, 1 + (t / 3) % 3, t % 4 != 1);
    std::set<Point> expected = minus(point_set(a, -3), point_set(b, -3));
    std::set<Point> minus_first = minus(point_set(a, -3), point_set(b[0], -3));
    expect_cover(Polyhedron::subtract(a, b[0]), minus_first, "isl union - polyhedron");
    expect_cover(a - *b[0], minus_first, "operator-");
    expect_cover(Polyhedron::subtract(a, b[0], IJ), minus_first, "polylib union - polyhedron");
    expect_cover(Polyhedron::subtract(a, b), expected, "isl union - union");
    expect_cover(Polyhedron::subtract(a, b, IJ), expected, "polylib union - union");
    del(a);
    del(b);
  }
  testing::internal::GetCapturedStderr();
}

TEST_F(PinnedDifference, PinnedDifferences) {
  register_names({"i"}, {});
  Expression i(std::string("i"));
  Polyhedron* wide = poly({i >= 0, i <= 9});
  Polyhedron* middle = poly({i >= 3, i <= 5});
  std::set<std::set<int>> expected{range(0, 2), range(6, 9)};
  for (Union pieces : {Polyhedron::isl_subtract(wide, middle), Polyhedron::polylib_subtract(wide, middle),
                       Polyhedron::subtract(wide, middle, std::set<int>{0})}) {
    EXPECT_EQ(pieces.size(), 2u);
    EXPECT_EQ(interval_sets(pieces), expected);
    del(pieces);
  }
  // Identical matrices, then equal sets written differently: PolyLib's
  // "empty polyhedron" piece does not survive the coalescing.
  Polyhedron* same = wide->clone();
  Polyhedron* redundant = poly({i <= 12, i <= 9, i >= 0});
  for (Polyhedron* q : {same, redundant}) {
    EXPECT_TRUE(Polyhedron::polylib_subtract(wide, q).empty());
    EXPECT_TRUE(Polyhedron::isl_subtract(wide, q).empty());
  }
  EXPECT_TRUE(Polyhedron::subtract(Union{wide}, Union{same, middle}, std::set<int>{0}).size() == 0);
  delete same;
  delete redundant;

  // A union minus nothing: clones, and no progress text.
  testing::internal::CaptureStderr();
  Union copies = Polyhedron::subtract(Union{wide}, Union{});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_NE(copies[0], wide);
  EXPECT_EQ(box(copies[0]), box(wide));
  del(copies);
  EXPECT_TRUE(Polyhedron::subtract(Union{}, Union{wide}, std::set<int>{0}).empty());
  delete wide;
  delete middle;
}

TEST_F(PinnedDifference, UnionDifferenceWritesItsProgress) {
  register_names({"i"}, {});
  Expression i(std::string("i"));
  Union a{poly({i >= 0, i <= 9}), poly({i >= 20, i <= 29})};
  Union b{poly({i >= 100, i <= 101}), poly({i >= 200}), poly({i >= 300})};
  testing::internal::CaptureStderr();
  Union r = Polyhedron::subtract(a, b);
  const std::string erase = "\r" + std::string(16, ' ') + "\r";
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "1/3 --> 2 polyhedra" + erase + "2/3 --> 2 polyhedra" + erase + "3/3 --> 2 polyhedra" + erase);
  EXPECT_EQ(r.size(), 2u);
  del(r);
  testing::internal::CaptureStderr();
  r = Polyhedron::subtract(Union{}, b);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "1/3 --> 0 polyhedra" + erase + "2/3 --> 0 polyhedra" + erase +
                                                        "3/3 --> 0 polyhedra" + erase);
  EXPECT_TRUE(r.empty());
  del(a);
  del(b);
}

TEST(CounterSets, DifferenceAndAscendingVector) {
  EXPECT_EQ(std::set<int>({1, 2, 3}) - std::set<int>({2}), std::set<int>({1, 3}));
  EXPECT_EQ(set_to_vec({3, 1}), std::vector<int>({1, 3}));
}

TEST_F(Difference, StopsOnACounterOutsideTheSetAndOnADomain) {
  Expression i(std::string("i")), j(std::string("j")), three(3);
  Expression sum(PLUS, &i, &j);
  Polyhedron* p = poly({new Inequation(LESS_EQ, &sum, &three)});
  Polyhedron* q = poly({i >= 1});
  EXPECT_STOP_ON_STDERR(Polyhedron::subtract(q, p, std::set<int>{0}),
                        "Polyhedron::subtract: counter j not in the counter set");
  Domain d(Union{q});
  EXPECT_STOP_ON_STDERR(Polyhedron::subtract(&d, q), "Polyhedron::subtract: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::subtract(Union{q}, Union{&d}), "Polyhedron::subtract: expect single polyhedra");
  delete p;
  delete q;
}
