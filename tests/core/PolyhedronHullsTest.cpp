// Hulls, envelopes, convex unions, partitions, vertices, point membership
// and the simplifications of a union of tiled domains.

#include <gtest/gtest.h>

#include <algorithm>

#include "CoreTest.h"
#include "Domain.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronOracles.h"
#include "PolyhedronTestSupport.h"
#include "Quast.h"
#include "Sampling.h"

namespace {

const std::set<int> IJ{0, 1};

std::set<Vertex> integral(const std::set<Vertex>& v) {
  std::set<Vertex> r;
  for (const Vertex& x : v)
    if (x.first.second == 1 && x.second.second == 1) r.insert(x);
  return r;
}

// Counters i and j, no parameter: generators are [i | j].
class Hulls : public IJLeavesTest {
 protected:
  Polyhedron* random_polygon(std::mt19937& g) { return new Polyhedron(random_ij_rows(g), IJ, std::set<int>()); }
  static Rows rows(Polyhedron* p) { return p->to_matrix(IJ, std::set<int>()); }
  static std::set<Point> pts(Polyhedron* p) { return points(rows(p), 2, 6); }
  static std::set<Point> pts(const Union& v) {
    std::vector<Rows> members;
    for (Polyhedron* p : v) members.push_back(rows(p));
    return points(members, 2, 6);
  }
  static bool includes(const std::set<Point>& big, const std::set<Point>& small) {
    return std::includes(big.begin(), big.end(), small.begin(), small.end());
  }
};

class ParametricHulls : public IJNTest {};
class IntervalHulls : public CoreTest {};

}  // namespace

TEST_F(Hulls, HullsOfRandomPairsAndTriples) {
  std::mt19937 g(2116);
  for (int t = 0; t < 24; t++) {
    Union v;
    for (int k = 0; k < 2 + t % 2; k++) v.push_back(random_polygon(g));
    Polyhedron* hull = t % 2 ? Polyhedron::convex_hull(v) : v[0]->convex_hull(v[1]);
    EXPECT_TRUE(includes(pts(hull), pts(v)));
    std::set<Vertex> member_vertices;
    for (Polyhedron* p : v) {
      std::set<Vertex> mine = brute_vertices(rows(p));
      member_vertices.insert(mine.begin(), mine.end());
    }
    for (const Vertex& x : brute_vertices(rows(hull))) EXPECT_TRUE(member_vertices.count(x)) << box(hull);
    del(v);
    delete hull;
  }
}

TEST_F(Hulls, EnvelopesHoldEveryMember) {
  std::mt19937 g(1160);
  for (int t = 0; t < 6; t++) {
    Union v{random_polygon(g), random_polygon(g), random_polygon(g)};
    Polyhedron* two = Polyhedron::envelope(v[0], v[1]);
    EXPECT_TRUE(includes(pts(two), pts(Union{v[0], v[1]}))) << box(two);
    Polyhedron* all = Polyhedron::envelope(v);
    EXPECT_TRUE(includes(pts(all), pts(v))) << box(all);
    // Inside another polyhedron, or alone: the envelope is that polyhedron.
    Polyhedron* smaller = *v[0] + *v[1];
    Polyhedron* of_inner = Polyhedron::envelope(smaller, v[0]);
    EXPECT_EQ(pts(of_inner), pts(v[0])) << box(smaller) << box(of_inner);
    Polyhedron* of_itself = Polyhedron::envelope(v[2], v[2]);
    EXPECT_EQ(pts(of_itself), pts(v[2]));
    del(Union{two, all, smaller, of_inner, of_itself});
    del(v);
  }
  Polyhedron* none = Polyhedron::envelope(Union());
  EXPECT_TRUE(none->constraints.empty());
  delete none;
}

TEST_F(Hulls, BoundedEnvelopesAndTheirStops) {
  std::mt19937 g(2161);
  for (int t = 0; t < 4; t++) {
    Union v{random_polygon(g), random_polygon(g)};
    Polyhedron* two = Polyhedron::bounded_envelope(v[0], v[1]);
    EXPECT_TRUE(includes(pts(two), pts(v)));
    Polyhedron* list = Polyhedron::bounded_envelope(v);
    EXPECT_TRUE(includes(pts(list), pts(v)));
    testing::internal::CaptureStderr();
    std::pair<Polyhedron*, int> simplified = Polyhedron::simplify(v, {}, {}, {});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "        Domains simplification (2)... |envelope| = " +
                                                          std::to_string(simplified.first->size()) +
                                                          " default: *no* simplification.\n");
    EXPECT_EQ(simplified.second, 0);
    EXPECT_TRUE(includes(pts(simplified.first), pts(v)));
    del(Union{two, list, simplified.first});
    del(v);
  }
  Polyhedron* left = poly({*i <= -1});
  Polyhedron* right = poly({*i >= 1});
  Polyhedron* box_left = left->bounding_box();
  Polyhedron* box_right = right->bounding_box();
  Polyhedron* e = Polyhedron::envelope(box_left, box_right);
  ChildRun run = run_in_child([&] { Polyhedron::bounded_envelope(left, right); });
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Polyhedron::bounded_envelope: universe result.\nP:\n" + box(left) + "\n" + box(box_left) +
                         "\nQ:\n" + box(right) + "\n" + box(box_right) + "\n" + box(e) + "\n");
  Polyhedron* everything = new Polyhedron();
  testing::internal::CaptureStderr();
  std::pair<Polyhedron*, int> direct = Polyhedron::simplify_direct(Union{left, everything});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(direct.second, 1);
  EXPECT_TRUE(direct.first->constraints.empty());
  run = run_in_child([&] { Polyhedron::simplify(Union(), {}, {}, {}); });
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "        Domains simplification (0)... Polyhedron::bounded_envelope: empty list of polyhedra\n");
  EXPECT_STOP_ON_STDOUT(Polyhedron::convex_hull(Union()), "Polyhedron::convex_hull: empty list of polyhedra");
  del(Union{left, right, box_left, box_right, e, everything, direct.first});
}

TEST_F(Hulls, ConvexUnionsAgainstEnumeration) {
  std::mt19937 g(1163);
  int convex = 0;
  for (int t = 0; t < 30; t++) {
    Polyhedron* p = random_polygon(g);
    Polyhedron* q = t % 3 ? random_polygon(g) : p->bounding_box();
    std::pair<int, Polyhedron*> answer = p->is_convex_union(q);
    Polyhedron* hull = p->convex_hull(q);
    bool expected = pts(hull) == pts(Union{p, q});
    EXPECT_EQ(answer.first, expected ? 1 : 0) << box(p) << box(q);
    if (answer.first) {
      EXPECT_EQ(pts(answer.second), pts(hull));
    }
    convex += answer.first;
    del(Union{p, q, hull, answer.second});
  }
  EXPECT_GT(convex, 0);
}

TEST_F(IntervalHulls, ConvexUnionsOfIntervals) {
  register_names({"i"}, {});
  Expression i(std::string("i"));
  auto interval = [&](int low, int high) { return poly({i >= low, i <= high}); };
  Polyhedron *a = interval(0, 5), *b = interval(3, 9), *c = interval(0, 2), *d = interval(5, 9);
  Polyhedron *e = interval(0, 3), *f = interval(4, 7);
  std::pair<int, Polyhedron*> overlapping = a->is_convex_union(b);
  EXPECT_EQ(overlapping.first, 1);
  Polyhedron* whole = interval(0, 9);
  EXPECT_EQ(*overlapping.second == *whole, 1);
  EXPECT_EQ(c->is_convex_union(d), std::make_pair(0, static_cast<Polyhedron*>(nullptr)));
  std::pair<int, Polyhedron*> adjacent = e->is_convex_union(f);
  EXPECT_EQ(adjacent.first, 1);
  // By vertex midpoints: 3.5 lies in neither [0, 3] nor [4, 7].
  EXPECT_EQ(Polyhedron::is_convex_union_non_parametrized(e, f), 0);
  EXPECT_EQ(Polyhedron::is_convex_union_non_parametrized(a, b), 1);
  EXPECT_EQ(Polyhedron::is_convex_union_non_parametrized(whole, a), 1);
  del(Union{a, b, c, d, e, f, whole, overlapping.second, adjacent.second});
}

TEST_F(ParametricHulls, PartitionsAreDisjointAndCoverTheUnion) {
  std::mt19937 g(1164);
  for (int t = 0; t < sampled(16); t++) {
    Union v = random_union(g, 2 + t % 3, t % 4 != 0);
    Union two = Polyhedron::partition(v[0], v[1]);
    EXPECT_EQ(point_set(two, -3), point_set(Union{v[0], v[1]}, -3));
    EXPECT_TRUE(pairwise_disjoint(two, -3));
    Union all = Polyhedron::partition(v);
    EXPECT_EQ(point_set(all, -3), point_set(v, -3));
    EXPECT_TRUE(pairwise_disjoint(all, -3));
    del(two);
    del(all);
    del(v);
  }
  EXPECT_TRUE(Polyhedron::partition(Union()).empty());
}

TEST_F(Hulls, SimplifyingTiledDomains) {
  // Counters t, x, u after i, j: tiles of size 4 along x.
  create_counter_rank("t");
  create_counter_rank("x");
  create_counter_rank("u");
  Expression t(std::string("t")), x(std::string("x")), u(std::string("u"));
  Expression four(4), three(3), ft(TIMES, &four, &t), offset(MINUS, &x, &ft), fu(TIMES, &three, &u),
      offset_u(MINUS, &x, &fu);
  Polyhedron* first = poly({offset >= 0, offset <= 3, t >= 0, t <= 2});
  Polyhedron* second = poly({offset >= 1, offset <= 2, t >= 3, t <= 4});
  Union members{first, second};
  testing::internal::CaptureStderr();
  Polyhedron* one = Polyhedron::_simplify(Union{first}, {2}, {4}, {3});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "project (1)*\nconvex hull (1)\n");
  testing::internal::CaptureStderr();
  Polyhedron* both = Polyhedron::_simplify(members, {2}, {4}, {3});
  // Two tile counters of sizes 4 and 3 for the inner counter x.
  Polyhedron* with_u = poly({offset >= 0, offset <= 3, offset_u >= 0, offset_u <= 2, t >= 0, t <= 2});
  Polyhedron* two_tiles = Polyhedron::_simplify(Union{with_u}, {2, 4}, {4, 3}, {3});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "project (2)**\nconvex hull (2)\nproject (1)*\nconvex hull (1)\n");
  std::set<int> txu{2, 3, 4};
  auto inside = [&](Polyhedron* small, Polyhedron* big) {
    Rows s = small->to_matrix(txu, std::set<int>()), b = big->to_matrix(txu, std::set<int>());
    for (const Point& p : points(s, 3, 20))
      if (!satisfies(b, p)) return false;
    return !points(s, 3, 20).empty();
  };
  EXPECT_TRUE(inside(first, one));
  EXPECT_TRUE(inside(first, both));
  EXPECT_TRUE(inside(second, both));
  EXPECT_TRUE(inside(with_u, two_tiles));
  EXPECT_EQ(get_counter_string(5), "delta__0");
  del(Union{first, second, one, both, with_u, two_tiles});
}

TEST_F(Hulls, VerticesAndRaysAgainstBruteForce) {
  std::mt19937 g(2117);
  for (int t = 0; t < 40; t++) {
    Polyhedron* p = random_polygon(g);
    std::set<Vertex> found;
    for (const std::vector<int>& v : p->get_vertices_non_parametrized())
      found.insert(Vertex(rational(v[0], 1), rational(v[1], 1)));
    EXPECT_EQ(found, integral(brute_vertices(rows(p)))) << box(p);
    EXPECT_TRUE(p->get_rays_non_parametrized().empty());
    delete p;
  }
  Polyhedron* quadrant = poly({*i >= 0, *j >= 2});
  EXPECT_EQ(row_set(quadrant->get_rays_non_parametrized()), row_set({{1, 0}, {0, 1}}));
  EXPECT_EQ(row_set(quadrant->get_rays_non_parametrized(std::set<int>{1})), row_set({{1}}));
  EXPECT_EQ(row_set(quadrant->get_rays_non_parametrized(std::vector<int>{0})), row_set({{1}}));
  EXPECT_EQ(row_set(quadrant->get_vertices_non_parametrized()), row_set({{0, 2}}));
  delete quadrant;
}

TEST_F(ParametricHulls, ParametricVerticesAgainstBruteForce) {
  std::mt19937 g(1165);
  Expression leaf(0);
  for (int t = 0; t < 20; t++) {
    Polyhedron* p = random_ijn(g, true, 0);
    std::map<Polyhedron*, IndexFunction*> vertices = p->get_vertices();
    Rows full = p->to_matrix(std::set<int>{0, 1}, std::set<int>{0});
    for (int N = 0; N <= 6; N++) {
      Rows at;
      for (const auto& row : full) at.push_back({row[0], row[1], row[2], row[3] * N + row[4]});
      std::set<Vertex> expected = brute_vertices(at);
      if (points(at, 2, 5).empty()) continue;
      std::set<Vertex> found;
      Expression value(N);
      for (const auto& entry : vertices) {
        if (!entry.first->has(std::map<int, double>{{0, double(N)}})) continue;
        Rational coordinate[2];
        for (int c = 0; c < 2; c++) {
          Expression* e = entry.second->index_mapping[c]->evaluate(std::map<int, Expression*>{{0, &value}});
          coordinate[c] = e->is_constant() ? rational(e->val, 1) : rational(e->fg->val, e->fd->val);
          delete e;
        }
        found.insert(Vertex(coordinate[0], coordinate[1]));
      }
      EXPECT_EQ(found, expected) << box(p) << "N = " << N;
    }
    for (const auto& entry : vertices) EXPECT_EQ(p->has(entry), 1);
    del(vertices);
    delete p;
  }
}

TEST_F(ParametricHulls, PinnedVerticesAndSymbolicPoints) {
  Expression i(std::string("i")), j(std::string("j")), n(std::string("N"));
  Polyhedron* square = poly({i >= 0, i <= 3, j >= 0, j <= 3});
  std::map<Polyhedron*, IndexFunction*> corners = square->get_vertices();
  std::set<std::pair<std::string, std::string>> found;
  for (const auto& entry : corners) {
    EXPECT_TRUE(entry.first->is_universe() || entry.first->constraints.empty()) << box(entry.first);
    found.insert({text(entry.second->index_mapping[0]), text(entry.second->index_mapping[1])});
  }
  EXPECT_EQ(found, (std::set<std::pair<std::string, std::string>>{{"0", "0"}, {"0", "3"}, {"3", "0"}, {"3", "3"}}));
  del(corners);
  Polyhedron* segment = poly({i >= 0, i <= n});
  std::map<Polyhedron*, IndexFunction*> ends = segment->get_vertices();
  EXPECT_EQ(ends.size(), 2u);
  del(ends);
  // A symbolic point: the vertices of the triangle lie in it, not all in
  // the smaller one.
  Expression one(1), n_minus_one(MINUS, &n, &one);
  Polyhedron* triangle = poly({j >= 0, j <= i, i <= n});
  Polyhedron* smaller = poly({j >= 0, j <= i, new Inequation(LESS_EQ, &i, &n_minus_one)});
  std::map<Polyhedron*, IndexFunction*> tips = triangle->get_vertices();
  int outside = 0;
  for (const auto& entry : tips) {
    EXPECT_EQ(triangle->has(entry), 1);
    outside += !smaller->has(entry);
  }
  EXPECT_EQ(outside, 2);
  del(tips);
  Polyhedron* never = poly({i >= 1, i <= 0});
  EXPECT_TRUE(never->get_vertices().empty());
  del(Union{square, segment, triangle, smaller, never});
}

TEST_F(ParametricHulls, PointsOnTheBoundaryAndEqualityRows) {
  Expression i(std::string("i")), n(std::string("N"));
  Polyhedron* p = poly({i >= 0, n <= 2, n >= -2});
  EXPECT_EQ(p->has_non_parametrized(std::vector<int>{0, 0, 0}), 1);
  EXPECT_EQ(p->has_non_parametrized(std::vector<float>{-0.5f, 0, 0}), 0);
  EXPECT_EQ(p->has(std::map<int, double>{{0, 2.9}}), 1);
  EXPECT_EQ(p->has(std::map<int, double>{{0, 3.0}}), 0);
  EXPECT_EQ(p->has(std::map<int, double>{{0, -2.9}}), 1);
  EXPECT_EQ(p->has(std::map<int, double>{{0, -3.0}}), 0);
  EXPECT_STOP_ON_STDERR(p->has_non_parametrized(std::vector<int>{1, 2}),
                        "Polyhedron::has_non_parametrized: point of size 2, expected 3");
  EXPECT_STOP_ON_STDERR(p->has(std::map<int, double>{{0, 3e9}}), "Polyhedron::has: parameter value out of range");
  delete p;
}

TEST_F(Hulls, HullEqualitiesAreTestedAsEqualities) {
  Expression zero(0), three(3);
  Polyhedron* origin = poly({new Inequation(EQ, i, &zero), new Inequation(EQ, j, &zero)});
  Polyhedron* corner = poly({new Inequation(EQ, i, &three), new Inequation(EQ, j, &three)});
  Polyhedron* hull = origin->convex_hull(corner);
  EXPECT_EQ(row_set(hull->to_matrix()), row_set({{0, 1, -1, 0}, {1, 0, 1, 0}, {1, 0, -1, 3}}));
  EXPECT_EQ(hull->has_non_parametrized(std::vector<int>{2, 1}), 0);
  EXPECT_EQ(hull->has_non_parametrized(std::vector<int>{2, 2}), 1);
  del(Union{origin, corner, hull});
}

TEST_F(Hulls, DomainsStop) {
  Polyhedron* p = poly({*i >= 0});
  Domain d(Union{p});
  EXPECT_STOP_ON_STDERR(Polyhedron::convex_hull(Union{p, &d}), "Polyhedron::convex_hull: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::envelope(&d, p), "Polyhedron::envelope: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::partition(Union{&d}), "Polyhedron::partition: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(d.get_vertices(), "Polyhedron::get_vertices: expect single polyhedra");
  delete p;
}
