// Measuring polyhedra: bounding boxes and their volume, counting, ranks
// and symbolic bounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "CoreTest.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronOracles.h"
#include "PolyhedronTestSupport.h"
#include "QuastTestSupport.h"
#include "Sampling.h"

namespace {

const std::set<int> IJ{0, 1};

class Boxes : public IJLeavesTest {
 protected:
  static Rows rows(Polyhedron* p) { return p->to_matrix(IJ, std::set<int>()); }
};

// The volume of the box of the rational vertices: the product of the
// non-zero extents, truncated toward zero.
long long box_volume(const std::set<Vertex>& vertices) {
  Rational low[2], high[2];
  bool first = true;
  auto less = [](Rational a, Rational b) { return a.first * b.second < b.first * a.second; };
  for (const Vertex& v : vertices) {
    Rational x[2] = {v.first, v.second};
    for (int k = 0; k < 2; k++) {
      if (first || less(x[k], low[k])) low[k] = x[k];
      if (first || less(high[k], x[k])) high[k] = x[k];
    }
    first = false;
  }
  Rational volume(1, 1);
  for (int k = 0; k < 2; k++) {
    Rational extent = rational(high[k].first * low[k].second - low[k].first * high[k].second,
                               high[k].second * low[k].second);
    if (extent.first != 0) volume = rational(volume.first * extent.first, volume.second * extent.second);
  }
  return volume.first / volume.second;
}

}  // namespace

TEST_F(Boxes, BoundingBoxesOfRandomPolygons) {
  std::mt19937 g(2117);
  for (int t = 0; t < 30; t++) {
    Polyhedron* p = new Polyhedron(random_ij_rows(g), IJ, std::set<int>());
    Polyhedron* b = t % 2 ? p->bounding_box() : p->bounding_box(std::vector<int>{0, 1});
    std::set<Point> inside = points(rows(p), 2, 6);
    std::set<Point> in_box = points(rows(b), 2, 6);
    EXPECT_TRUE(std::includes(in_box.begin(), in_box.end(), inside.begin(), inside.end()));
    std::set<Vertex> vertices = brute_vertices(rows(p));
    bool integral = true;
    for (const Vertex& v : vertices) integral = integral && v.first.second == 1 && v.second.second == 1;
    if (integral && !inside.empty()) {
      // The box of the integer points, exactly.
      std::set<Point> rectangle;
      int lo[2] = {99, 99}, hi[2] = {-99, -99};
      for (const Point& x : inside)
        for (int k = 0; k < 2; k++) {
          lo[k] = std::min(lo[k], x[k]);
          hi[k] = std::max(hi[k], x[k]);
        }
      for (int a = lo[0]; a <= hi[0]; a++)
        for (int c = lo[1]; c <= hi[1]; c++) rectangle.insert({a, c});
      EXPECT_EQ(in_box, rectangle) << box(p) << box(b);
    }
    EXPECT_EQ(p->bounding_box_volume(), inside.empty() ? 0 : box_volume(vertices)) << box(p);
    del(std::vector<Polyhedron*>{p, b});
  }
}

TEST_F(Boxes, PinnedBoundingBoxesAndVolumes) {
  Expression two(2), two_i(TIMES, &two, i);
  Polyhedron* rectangle = poly({*i >= 0, *i <= 3, *j >= 0, *j <= 5});
  Polyhedron* never = poly({*i >= 1, *i <= 0});
  Polyhedron* half = poly({two_i >= 1, two_i <= 1});
  Polyhedron* wide = poly({two_i >= 0, two_i <= 3, *j >= 0, *j <= 1});
  EXPECT_EQ(rectangle->bounding_box_volume(), 15);
  EXPECT_EQ(never->bounding_box_volume(), 0);
  EXPECT_EQ(half->bounding_box_volume(), 0);
  EXPECT_EQ(wide->bounding_box_volume(), 1);
  EXPECT_EQ(rectangle->bounding_box_volume(std::set<int>{1}), 5);
  // A counter of no constraint is not measured.
  create_counter_rank("k");
  EXPECT_EQ(rectangle->bounding_box_volume(), 15);
  Polyhedron* copy = never->bounding_box();
  EXPECT_EQ(box(copy), box(never));
  std::vector<Polyhedron*> boxes = Polyhedron::boxify({rectangle, wide}, {1});
  EXPECT_EQ(points(rows(boxes[0]), 2, 6), points(Rows{{1, 0, 1, 0}, {1, 0, -1, 5}}, 2, 6));
  EXPECT_EQ(points(rows(boxes[1]), 2, 6), points(Rows{{1, 0, 1, 0}, {1, 0, -1, 1}}, 2, 6));
  std::vector<Polyhedron*> all = Polyhedron::boxify({wide});
  EXPECT_EQ(points(rows(all[0]), 2, 6), points(Rows{{1, 1, 0, 0}, {1, -1, 0, 1}, {1, 0, 1, 0}, {1, 0, -1, 1}}, 2, 6));
  del(boxes);
  del(all);
  del(std::vector<Polyhedron*>{rectangle, never, half, wide, copy});
}

TEST_F(Boxes, BoundingBoxVolumeStops) {
  create_parameter_rank("N");
  Expression n(std::string("N"));
  Polyhedron* p = poly({*i >= 0, *i <= n});
  EXPECT_STOP_ON_STDOUT(p->bounding_box_volume(), "Polyhedron::bounding_box_volume(): parametrized polyhedron");
  Polyhedron* ray = poly({*i >= 0, *j >= 0, *j <= 1});
  EXPECT_STOP_ON_STDERR(ray->bounding_box_volume(), "PolylibWrapper::bounding_box_volume: unbounded polyhedron");
  delete p;
  delete ray;
}

namespace {

typedef std::map<Polyhedron*, Expression*> Volume;

class Counting : public IJNLeavesTest {};
class Ranks : public CoreTest {};

// The value of the piece of m holding the parameter values, exactly, or
// -1 when no piece holds them.
int count_at(const Volume& m, const std::map<int, double>& parameters) {
  for (const auto& piece : m)
    if (piece.first->has(parameters)) return evaluate(Volume{piece}, parameters);
  return -1;
}

std::string captured_volume(Polyhedron* p, Volume& m) {
  testing::internal::CaptureStdout();
  m = p->volume();
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST_F(Counting, VolumesOfRandomPolyhedraAgainstEnumeration) {
  std::mt19937 g(2117);
  for (int t = 0; t < 12; t++) {
    Polyhedron* p = random_ijn(g, true, 0);
    Volume m;
    // One class-name line per piece, in the order of the cells, which the
    // map does not keep.
    std::istringstream written(captured_volume(p, m));
    std::multiset<std::string> classes, expected_classes;
    for (std::string line; std::getline(written, line);) classes.insert(line);
    for (const auto& piece : m) expected_classes.insert(piece.second->get_class());
    EXPECT_EQ(classes, expected_classes);
    Rows rows = p->to_matrix(IJ, std::set<int>{0});
    for (int N = 0; N <= 8; N++) {
      int count = 0;
      for (int a = -5; a <= 5; a++)
        for (int b = -5; b <= 5; b++) count += satisfies(rows, {a, b, N});
      int found = count_at(m, {{0, double(N)}});
      EXPECT_EQ(found, found == -1 && count == 0 ? -1 : count) << box(p) << "N = " << N;
      for (const auto& piece : m) {
        if (piece.first->has(std::map<int, double>{{0, double(N)}})) {
          EXPECT_EQ(evaluate(Volume{piece}, {{0, double(N)}}), count);
        }
      }
    }
    del(m);
    delete p;
  }
}

TEST_F(Counting, PinnedVolumes) {
  Polyhedron* square = poly({*i >= 0, *i <= 3, *j >= 0, *j <= 3});
  testing::internal::CaptureStdout();
  EXPECT_EQ(square->volume_int(), 16);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Expression\n");
  Polyhedron* segment = poly({*i >= 0, *i <= *n});
  Volume m;
  EXPECT_EQ(captured_volume(segment, m), "polynomial\n");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(box(m.begin()->first), "/\n| N >= 0\n| 1 >= 0\n\\\n");
  for (int N = 0; N <= 5; N++) EXPECT_EQ(evaluate(m, {{0, double(N)}}), N + 1);
  del(m);
  testing::internal::CaptureStdout();
  std::string thrown;
  try {
    segment->volume_int();
  } catch (const char* message) {
    thrown = message;
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(thrown, "Polyhedron::int_volume: non constant volume");
  Expression two(2), two_i(TIMES, &two, i);
  Polyhedron* half = poly({new Inequation(EQ, &two_i, n)});
  EXPECT_EQ(captured_volume(half, m), "periodic number\n");
  for (int N = 0; N <= 5; N++) EXPECT_EQ(count_at(m, {{0, double(N)}}), N % 2 == 0 ? 1 : 0);
  del(m);
  // Points for negative values of N only: counted there as well.
  Expression three(3), n_plus_three(PLUS, n, &three);
  Polyhedron* below = poly({*i >= *n, new Inequation(LESS_EQ, i, &n_plus_three), *n <= -1});
  captured_volume(below, m);
  EXPECT_EQ(count_at(m, {{0, -2.0}}), 4);
  del(m);
  Polyhedron* never = poly({*i >= 1, *i <= 0});
  EXPECT_EQ(captured_volume(never, m), "");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m.begin()->first->constraints.empty());
  EXPECT_TRUE(m.begin()->second->is_value(0));
  del(m);
  Polyhedron* ray = poly({*i >= 0});
  Polyhedron* strip = poly({*i >= 0, *i <= *n, *j >= 0});
  EXPECT_STOP_ON_STDERR(ray->volume_int(), "Polyhedron::volume: unbounded polyhedron");
  EXPECT_STOP_ON_STDERR(strip->volume(), "Polyhedron::volume: unbounded polyhedron");
  EXPECT_STOP_ON_STDERR(square->volume(std::set<int>{0}), "Polyhedron::volume: counter j not in the counter set");
  IndexFunction f(std::vector<Expression*>{i, n});
  EXPECT_STOP_ON_STDERR(square->volume(f), "Polyhedron::volume: counter expected: N");
  del(std::vector<Polyhedron*>{square, segment, half, below, never, ray, strip});
}

TEST_F(Counting, PrintedVolume) {
  Polyhedron* square = poly({*i >= 0, *i <= 3, *j >= 0, *j <= 3});
  Volume m;
  captured_volume(square, m);
  std::string expected = "Expression\n/---\n" + box(m.begin()->first) + "\n16\n\n\\---\n";
  del(m);
  for (auto print : std::vector<std::function<void()>>{
           [&] { square->print_volume(); }, [&] { square->print_volume(std::set<int>{0, 1}); },
           [&] { square->print_volume(std::set<Expression*>{i, j}); },
           [&] {
             IndexFunction f(std::vector<Expression*>{i, j});
             square->print_volume(f);
           }}) {
    testing::internal::CaptureStdout();
    print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
  }
  delete square;
}

TEST_F(Counting, TetrahedronCountIsExact) {
  create_counter_rank("k");
  Expression k(std::string("k")), ij(PLUS, i, j), ijk(PLUS, &ij, &k);
  Polyhedron* p = poly({*i >= 0, *j >= 0, k >= 0, new Inequation(LESS_EQ, &ijk, n)});
  Volume m;
  captured_volume(p, m);
  for (int N = 0; N <= 40; N++) EXPECT_EQ(evaluate(m, {{0, double(N)}}), (N + 1) * (N + 2) * (N + 3) / 6) << N;
  EXPECT_EQ(evaluate(m, {{0, 1.0}}), 4);
  del(m);
  delete p;
}

namespace {

// Counters i, j and parameters M, N; rows [flag | i | j | M | N | constant].
class CountingMN : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    register_names({"i", "j"}, {"M", "N"});
  }

  static Polyhedron* polytope(const Rows& rows) { return new Polyhedron(rows, IJ, std::set<int>{0, 1}); }

  // -4 <= i, j <= 4 and one to three constraints in which the first
  // nb_parameters parameters take part (now and then an equality).
  static Rows random_rows(std::mt19937& g, int nb_parameters) {
    std::uniform_int_distribution<int> counter(-2, 2), parameter(-1, 1), cst(-6, 6), count(1, 3), eq(0, 5);
    Rows r;
    for (int k = 0; k < 2; k++)
      for (int sign : {1, -1}) {
        r.push_back({1, 0, 0, 0, 0, 4});
        r.back()[1 + k] = sign;
      }
    for (int n = count(g); n > 0; n--) {
      std::vector<int> row{eq(g) == 0 ? 0 : 1, counter(g), counter(g), parameter(g), 0, cst(g)};
      if (nb_parameters == 2) row[4] = parameter(g);
      r.push_back(row);
    }
    return r;
  }

  // The count of the piece holding (M, N), -1 for no piece; more than one
  // piece holding the point fails the test.
  static long counted(const Volume& m, int M, int N) {
    long found = -1;
    for (const auto& piece : m) {
      if (!satisfies(piece.first->to_matrix(std::set<int>(), std::set<int>{0, 1}), {M, N})) continue;
      EXPECT_EQ(found, -1) << "two pieces hold " << M << ", " << N;
      std::map<int, Expression*> at{{0, new Expression(M)}, {1, new Expression(N)}};
      Expression* value = piece.second->evaluate(at);
      del(at);
      EXPECT_TRUE(value->is_constant()) << text(value);
      found = value->val;
      delete value;
    }
    return found;
  }

  // Every point (M, N) of the window: a piece holding it counts the points
  // of rows (with i and j within `bound`) there. Parameters are >= 0
  // throughout the system: only there must a point with a count be held by
  // a piece.
  static void expect_counts(const Rows& rows, const Volume& m, int nb_parameters, int bound = 4) {
    for (int M = -4; M <= 10; M++)
      for (int N = nb_parameters == 2 ? -4 : 0; N <= (nb_parameters == 2 ? 10 : 0); N++) {
        long brute = 0;
        for (int a = -bound; a <= bound; a++)
          for (int b = -bound; b <= bound; b++) brute += satisfies(rows, {a, b, M, N});
        long found = counted(m, M, N);
        if (found != -1 || (M >= 0 && N >= 0)) {
          EXPECT_EQ(found == -1 ? 0 : found, brute) << "at " << M << ", " << N;
        }
      }
  }

  static Volume quiet_volume(Polyhedron* p) {
    testing::internal::CaptureStdout();
    Volume m = p->volume();
    testing::internal::GetCapturedStdout();
    return m;
  }
};

}  // namespace

TEST_F(CountingMN, RandomPolytopesAgainstEnumeration) {
  std::mt19937 g(3117);
  // Every count runs isl many thousand times, and under the sanitizers
  // each of its allocations is unwound: there a sixteenth of the cases
  // looks for memory faults.
  for (int t = 0; t < sampled(sampled(64)); t++) {
    int nb_parameters = t % 4 == 0 ? 1 : 2;
    Rows rows = random_rows(g, nb_parameters);
    Polyhedron* p = polytope(rows);
    if (!p->is_empty()) {
      SCOPED_TRACE("case " + std::to_string(t) + "\n" + box(p));
      Volume m = quiet_volume(p);
      expect_counts(rows, m, nb_parameters);
      del(m);
    }
    delete p;
  }
}

// Polytopes on which PolyLib's own count fails.
TEST_F(CountingMN, PolyLibFailuresAreMended) {
  struct Case {
    int bound;  // -bound <= i, j <= bound
    Rows rows;
  };
  // Within -5 <= i, j <= 5, PolyLib overflows 64 bits and aborts its
  // process. Within -4 <= i, j <= 4, two chambers meet on N = 4, where the
  // count of one of them is wrong (3 points at M = N = 4, not 4).
  for (const Case& c : {Case{5, {{1, 3, -3, 0, -1, -1}, {1, 2, 3, 0, -1, -5}}},
                        Case{4, {{1, 2, 1, -1, 0, -6}, {1, 0, -2, 0, 1, 4}, {1, 2, 2, -1, 1, 5}}}}) {
    Rows rows;
    for (int k = 0; k < 2; k++)
      for (int sign : {1, -1}) {
        rows.push_back({1, 0, 0, 0, 0, c.bound});
        rows.back()[1 + k] = sign;
      }
    rows.insert(rows.end(), c.rows.begin(), c.rows.end());
    Polyhedron* p = polytope(rows);
    SCOPED_TRACE(box(p));
    Volume m = quiet_volume(p);
    expect_counts(rows, m, 2, c.bound);
    del(m);
    delete p;
  }
  // With M the only parameter, PolyLib counts 0 points at M = 5, where
  // (-5, 5) is one: its chamber 3 <= M <= 5 holds too few points for the
  // polynomial of degree 2 it interpolates there.
  clear_registries();
  register_names({"i", "j"}, {"M"});
  Rows one_parameter{{1, 1, 0, 0, 5}, {1, -1, 0, 0, 5}, {1, 0, 1, 0, 5}, {1, 0, -1, 0, 5},
                     {1, -3, -1, 2, -6}, {0, 1, -1, 1, 5}};
  Polyhedron* p = new Polyhedron(one_parameter, IJ, std::set<int>{0});
  Volume m = quiet_volume(p);
  for (int M = 0; M <= 10; M++) {
    long brute = 0;
    for (int a = -5; a <= 5; a++)
      for (int b = -5; b <= 5; b++) brute += satisfies(one_parameter, {a, b, M});
    if (brute > 0) {
      EXPECT_EQ(evaluate(m, {{0, double(M)}}), brute) << "M = " << M;
    }
  }
  del(m);
  delete p;
}

TEST_F(Ranks, RanksOnATriangle) {
  register_names({"i", "j"}, {"N"});
  Expression i(std::string("i")), j(std::string("j")), n(std::string("N"));
  Polyhedron* triangle = poly({j >= 0, new Inequation(LESS_EQ, &j, &i), new Inequation(LESS_EQ, &i, &n)});
  testing::internal::CaptureStdout();
  std::pair<Volume, std::map<int, int>> first = triangle->rank(0);
  std::pair<Volume, std::map<int, int>> second = triangle->rank(1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(first.second, (std::map<int, int>{{0, 1}, {1, 2}}));
  EXPECT_EQ(get_parameter_string(1), "ii");
  EXPECT_EQ(get_parameter_string(2), "jj");
  for (int N = 0; N <= 5; N++)
    for (int ii = 0; ii <= N; ii++)
      for (int jj = 0; jj <= ii; jj++) {
        std::map<int, double> at{{0, double(N)}, {1, double(ii)}, {2, double(jj)}};
        int before = count_at(first.first, at), beside = count_at(second.first, at);
        EXPECT_EQ(before == -1 ? 0 : before, ii * (ii + 1) / 2) << N << " " << ii << " " << jj;
        EXPECT_EQ(beside == -1 ? 0 : beside, jj) << N << " " << ii << " " << jj;
      }
  del(first.first);
  del(second.first);
  EXPECT_STOP_ON_STDERR(triangle->rank(-1), "Polyhedron::rank: incorrect depth: -1");
  EXPECT_STOP_ON_STDERR(triangle->rank(2), "Polyhedron::rank: incorrect depth: 2");
  delete triangle;
}

namespace {

// The pieces of a count over the parameters N, ii, jj (ranks 0, 1, 2): the
// rows of each domain, to find the piece of a point without a solve, and
// its value, which stays m's.
typedef std::vector<std::pair<Rows, Expression*>> Pieces;

Pieces pieces_with_rows(const Volume& m) {
  Pieces r;
  for (const auto& piece : m) r.push_back({piece.first->to_matrix(std::set<int>(), {0, 1, 2}), piece.second});
  return r;
}

// The count at (N, ii, jj), 0 where no piece holds the point.
int count_at(const Pieces& pieces, const Point& x) {
  for (const auto& piece : pieces)
    if (satisfies(piece.first, x)) return piece.second->evaluate_int({{0, x[0]}, {1, x[1]}, {2, x[2]}});
  return 0;
}

}  // namespace

// The points of random polygons before a symbolic point (a, b), against
// brute force, at points of either sign: at depth 0 those with i < a, at
// depth 1 those with i = a and j < b; none when (a, b) is not in the
// polygon.
TEST_F(Ranks, RanksAtPointsOfEitherSignAgainstBruteForce) {
  register_names({"i", "j"}, {"N"});
  std::mt19937 g(4217);
  for (int t = 0; t < sampled(8); t++) {
    Polyhedron* p = random_ijn(g, true, -3);
    testing::internal::CaptureStdout();
    std::pair<Volume, std::map<int, int>> ranks[2] = {p->rank(0), p->rank(1)};
    testing::internal::GetCapturedStdout();
    Pieces pieces[2] = {pieces_with_rows(ranks[0].first), pieces_with_rows(ranks[1].first)};
    Rows rows = p->to_matrix(IJ, std::set<int>{0});
    for (int N = -3; N <= 8; N++)
      for (int a = -4; a <= 4; a++)
        for (int b = -4; b <= 4; b++) {
          int before[2] = {0, 0};
          if (satisfies(rows, {a, b, N}))
            for (int x = -4; x <= 4; x++)
              for (int y = -4; y <= 4; y++)
                if (satisfies(rows, {x, y, N})) before[x < a ? 0 : 1] += x < a || (x == a && y < b);
          for (int depth = 0; depth < 2; depth++)
            EXPECT_EQ(count_at(pieces[depth], {N, a, b}), before[depth]) << box(p) << depth << ": " << N << " " << a
                                                                           << " " << b;
        }
    del(ranks[0].first);
    del(ranks[1].first);
    delete p;
  }
}

namespace {

class SymbolicBounds : public IJNLeavesTest {};

// Every constraint of p holds at counters (i, j) and parameter N.
bool holds_at(Polyhedron* p, int i, int j, int N) { return contains_at(p, {{0, N}}, {{0, i}, {1, j}}); }

// The points (i, N), i in -12..12 and N in 0..8, where p holds.
std::set<std::pair<int, int>> pairs_in(Polyhedron* p) {
  std::set<std::pair<int, int>> r;
  for (int i = -12; i <= 12; i++)
    for (int N = 0; N <= 8; N++)
      if (holds_at(p, i, 0, N)) r.insert({i, N});
  return r;
}

}  // namespace

TEST_F(SymbolicBounds, BoundsHoldOnEveryPoint) {
  std::mt19937 g(1117);
  for (int t = 0; t < 12; t++) {
    Polyhedron* p = random_ijn(g, true, 0);
    // Now and then a counter always negative, or with a minimum above 0.
    if (t % 3 == 1) p->add(*std::unique_ptr<Inequation>(*i <= -1));
    if (t % 3 == 2) p->add(*std::unique_ptr<Inequation>(*i >= 1));
    if (p->is_empty()) {
      delete p;
      continue;
    }
    Polyhedron* upper = p->upper_bound(0);
    Polyhedron* lower = p->lower_bound(0);
    Rows rows = p->to_matrix(IJ, std::set<int>{0});
    for (int N = 0; N <= 8; N++)
      for (int a = -5; a <= 5; a++)
        for (int b = -5; b <= 5; b++)
          if (satisfies(rows, {a, b, N})) {
            EXPECT_TRUE(holds_at(upper, a, b, N)) << box(p) << box(upper) << a << " " << N;
            EXPECT_TRUE(holds_at(lower, a, b, N)) << box(p) << box(lower) << a << " " << N;
          }
    del(std::vector<Polyhedron*>{p, upper, lower});
  }
}

namespace {

// Random rows [flag | i | j | N | M | 1]: -4 <= i, j <= 4, -3 <= N, M <= 6
// and one to three further constraints (now and then an equality).
Rows random_ijnm_rows(std::mt19937& g) {
  std::uniform_int_distribution<int> coef(-2, 2), par(-1, 1), cst(-3, 3), count(1, 3), eq(0, 6);
  Rows r = box_rows(4, 4, 4);
  r[4].back() = r[6].back() = 3;
  r[5].back() = r[7].back() = 6;
  for (int k = count(g); k > 0; --k) r.push_back({eq(g) == 0 ? 0 : 1, coef(g), coef(g), par(g), par(g), cst(g)});
  return r;
}

}  // namespace

// Two parameters of either sign against brute force: at every parameter
// point of the box, every point of p satisfies both bounds, and the bounds
// keep i below 5 and above -5, where p never reaches: a universe is no
// bound.
TEST_F(SymbolicBounds, TwoParameterBoundsHoldOnEveryPoint) {
  create_parameter_rank("M");
  std::mt19937 g(3617);
  for (int t = 0; t < sampled(60); t++) {
    Rows rows = random_ijnm_rows(g);
    std::vector<Point> inside;
    for (int N = -3; N <= 6; N++)
      for (int M = -3; M <= 6; M++)
        for (int a = -4; a <= 4; a++)
          for (int b = -4; b <= 4; b++)
            if (satisfies(rows, {a, b, N, M})) inside.push_back({a, b, N, M});
    if (inside.empty()) continue;
    Polyhedron* p = new Polyhedron(rows, IJ, std::set<int>{0, 1});
    Polyhedron* upper = p->upper_bound(0);
    Polyhedron* lower = p->lower_bound(0);
    auto holds = [](Polyhedron* q, int a, int N, int M) { return contains_at(q, {{0, N}, {1, M}}, {{0, a}}); };
    for (const Point& x : inside) {
      EXPECT_TRUE(holds(upper, x[0], x[2], x[3])) << box(p) << box(upper) << x[0] << " " << x[2] << " " << x[3];
      EXPECT_TRUE(holds(lower, x[0], x[2], x[3])) << box(p) << box(lower) << x[0] << " " << x[2] << " " << x[3];
    }
    for (int N = -3; N <= 6; N++)
      for (int M = -3; M <= 6; M++) {
        EXPECT_FALSE(holds(upper, 5, N, M)) << box(p) << box(upper) << N << " " << M;
        EXPECT_FALSE(holds(lower, -5, N, M)) << box(p) << box(lower) << N << " " << M;
      }
    del(std::vector<Polyhedron*>{p, upper, lower});
  }
}

TEST_F(SymbolicBounds, OneConstraintBoundsAreTight) {
  std::mt19937 g(1118);
  std::uniform_int_distribution<int> coef(1, 2), slope(-1, 1), cst(-6, 6);
  for (int t = 0; t < 16; t++) {
    // a * i >= l0 + l1 * N and c * i <= u0 + u1 * N, with 0 <= N <= 8.
    int a = coef(g), l1 = slope(g), l0 = cst(g), c = coef(g), u1 = slope(g), u0 = cst(g) + 6;
    Polyhedron* p = new Polyhedron(Rows{{1, a, 0, -l1, -l0}, {1, -c, 0, u1, u0}, {1, 0, 0, 1, 0}, {1, 0, 0, -1, 8}}, IJ,
                                   std::set<int>{0});
    if (p->is_empty()) {
      delete p;
      continue;
    }
    Polyhedron* upper = p->upper_bound(0);
    Polyhedron* lower = p->lower_bound(0);
    for (int N = 0; N <= 8; N++) {
      int low = -floor_div(-(l0 + l1 * N), a), high = floor_div(u0 + u1 * N, c);
      if (low > high) continue;
      EXPECT_TRUE(holds_at(upper, high, 0, N)) << box(p) << box(upper) << N;
      EXPECT_TRUE(holds_at(lower, low, 0, N)) << box(p) << box(lower) << N;
      EXPECT_FALSE(holds_at(upper, high + 1, 0, N)) << box(p) << box(upper) << N;
      EXPECT_FALSE(holds_at(lower, low - 1, 0, N)) << box(p) << box(lower) << N;
    }
    del(std::vector<Polyhedron*>{p, upper, lower});
  }
}

TEST_F(SymbolicBounds, PinnedBounds) {
  Expression three(3), n_minus_three(MINUS, n, &three);
  auto interval = [&](Expression& low, Expression& high) {
    return poly({new Inequation(GREATER_EQ, i, &low), new Inequation(LESS_EQ, i, &high)});
  };
  Expression zero(0), five(5), minus_five(-5), minus_one(-1), minus_two(-2), nine(9);
  Polyhedron* up_to_n = interval(zero, *n);
  Polyhedron* negative = interval(minus_five, minus_one);
  Polyhedron* around = interval(minus_two, five);
  Polyhedron* above = interval(three, nine);
  Polyhedron* sliding = interval(n_minus_three, *n);
  auto same = [&](Polyhedron* bound, Inequation* expected) {
    Polyhedron* reference = poly({expected});
    bool equal = pairs_in(bound) == pairs_in(reference);
    del(std::vector<Polyhedron*>{bound, reference});
    return equal;
  };
  EXPECT_TRUE(same(up_to_n->upper_bound(0), new Inequation(LESS_EQ, i, n)));
  EXPECT_TRUE(same(negative->upper_bound(0), *i <= -1));
  EXPECT_TRUE(same(up_to_n->lower_bound(0), *i >= 0));
  EXPECT_TRUE(same(around->lower_bound(0), *i >= -2));
  EXPECT_TRUE(same(above->lower_bound(0), *i >= 3));
  EXPECT_TRUE(same(sliding->lower_bound(0), new Inequation(GREATER_EQ, i, &n_minus_three)));
  EXPECT_EQ(get_parameter_string(1), "upper_bound");
  EXPECT_EQ(get_parameter_string(2), "lower_bound");
  Polyhedron* never = poly({*i >= 1, *i <= 0});
  EXPECT_STOP_ON_STDERR(never->upper_bound(0), "Polyhedron::bounding_box: empty polyhedron");
  EXPECT_STOP_ON_STDERR(never->lower_bound(0), "Polyhedron::lower_bound: empty polyhedron");
  // No bound at all: refused, not answered by a polyhedron that bounds
  // nothing. A counter that no constraint names is bounded neither way.
  Polyhedron* from_n = poly({*i >= *n, *j >= 0, *j <= 3});
  EXPECT_STOP_ON_STDERR(from_n->upper_bound(0), "Polyhedron::upper_bound: the counter i has no upper bound");
  create_counter_rank("k");
  EXPECT_STOP_ON_STDERR(from_n->upper_bound(2), "Polyhedron::upper_bound: the counter k has no upper bound");
  EXPECT_STOP_ON_STDERR(sliding->lower_bound(1), "Polyhedron::lower_bound: the counter j has no lower bound");
  del(std::vector<Polyhedron*>{up_to_n, negative, around, above, sliding, never, from_n});
}
