#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "PolyhedronTestSupport.h"
#include "PointSets.h"
#include "Rank.h"
#include "ValueOutOfRange.h"
// Last: PolyLib's macros must not reach the headers above.
#include "PolylibWrapperPrivate.h"

// PolyLib 5.22.5 leaks matrices of its own inside Polyhedron_Enumerate
// (Find_m_faces). Sanitizer builds of the tests skip exactly those leaks; the
// slow unwinder gives the full stacks the suppression needs to match, so
// leaks of the adapter itself still show.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:Find_m_faces\n"; }

// PolyLib's exceptions jump out of its functions and leak what they held:
// while one of these lives, the sanitizer build reports no leak of what is
// allocated, so that the tests of overflows can throw.
struct PolylibThrowsLeaks {
#if defined(__SANITIZE_ADDRESS__)
  PolylibThrowsLeaks() { __lsan_disable(); }
  ~PolylibThrowsLeaks() { __lsan_enable(); }
#endif
};

// The registry reset of CoreTest.h, whose expression headers name the
// system's Polyhedron, a name PolyLib's headers take as well.
void clear_registries();

namespace {

// The adapter reads the registry's counts for its full-width matrices: each
// case starts from a registry of exactly the width it needs.
void use_registry(int nb_counters, int nb_parameters) {
  clear_registries();
  for (int k = 0; k < nb_counters; ++k) create_counter_rank("i" + std::to_string(k));
  for (int k = 0; k < nb_parameters; ++k) create_parameter_rank("N" + std::to_string(k));
}

typedef PolylibWrapper PW;

Rows product(const Rows& a, const Rows& b) {
  Rows c(a.size(), std::vector<int>(b[0].size(), 0));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b[0].size(); ++j)
      for (size_t k = 0; k < b.size(); ++k) c[i][j] += a[i][k] * b[k][j];
  return c;
}

Rows identity(int n) {
  Rows m(n, std::vector<int>(n, 0));
  for (int i = 0; i < n; ++i) m[i][i] = 1;
  return m;
}

// Exact determinant by fraction-free elimination.
long determinant(Rows m) {
  int n = m.size();
  std::vector<std::vector<long>> a(n, std::vector<long>(n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) a[i][j] = m[i][j];
  long sign = 1, previous = 1;
  for (int k = 0; k < n - 1; ++k) {
    if (a[k][k] == 0) {
      int s = k + 1;
      while (s < n && a[s][k] == 0) ++s;
      if (s == n) return 0;
      std::swap(a[k], a[s]);
      sign = -sign;
    }
    for (int i = k + 1; i < n; ++i)
      for (int j = k + 1; j < n; ++j) a[i][j] = (a[i][j] * a[k][k] - a[i][k] * a[k][j]) / previous;
    previous = a[k][k];
  }
  return sign * a[n - 1][n - 1];
}

// Rank over the rationals, by elimination on doubles of small integers.
int rank_of(Rows m, size_t first_col, size_t last_col) {
  int rank = 0;
  std::vector<std::vector<double>> a;
  for (auto& row : m) a.emplace_back(row.begin() + first_col, row.begin() + last_col);
  size_t cols = last_col - first_col;
  for (size_t c = 0; c < cols && rank < static_cast<int>(a.size()); ++c) {
    size_t p = rank;
    while (p < a.size() && std::abs(a[p][c]) < 1e-9) ++p;
    if (p == a.size()) continue;
    std::swap(a[p], a[rank]);
    for (size_t i = 0; i < a.size(); ++i)
      if (i != static_cast<size_t>(rank)) {
        double f = a[i][c] / a[rank][c];
        for (size_t j = 0; j < cols; ++j) a[i][j] -= f * a[rank][j];
      }
    ++rank;
  }
  return rank;
}

// Value of an Ehrhart quasi-polynomial at the given parameter values.
double evaluate(const YEB_evalue* e, const std::vector<int>& params) {
  if (e->d != 0) return static_cast<double>(e->x.n) / e->d;
  const YEB_enode* n = e->x.p;
  // PolyLib numbers parameters from 1; a node of a parameter-free count has
  // position 0 and a single entry.
  long x = n->pos >= 1 ? params.at(n->pos - 1) : 0;
  if (n->type == YEB_periodic) return evaluate(n->arr[((x % n->size) + n->size) % n->size], params);
  double sum = 0, power = 1;
  for (int i = 0; i < n->size; ++i, power *= x) sum += evaluate(n->arr[i], params) * power;
  return sum;
}

long count_at(const YEB_Enumeration* e, const std::vector<int>& params) {
  for (; e; e = e->next) {
    Rows domain;
    for (int i = 0; i < e->nb_row; ++i) domain.emplace_back(e->ValidityDomain[i], e->ValidityDomain[i] + e->nb_col);
    if (satisfies(domain, params)) return std::lround(evaluate(e->EP, params));
  }
  return 0;
}

}  // namespace

TEST(PolylibAdapter, PinnedAnswersKeepPositivityRowAndEqualitiesFirst) {
  use_registry(1, 1);
  EXPECT_EQ(PW::simplify({{1, 1, 0, 0}, {1, -1, 1, -1}}), (Rows{{1, 1, 0, 0}, {1, -1, 1, -1}, {1, 0, 0, 1}}));
  use_registry(1, 0);
  EXPECT_EQ(PW::simplify({{1, 1, -2}, {1, -1, 2}}), (Rows{{0, 1, -2}, {1, 0, 1}}));
  EXPECT_EQ(PW::simplify({{1, 1, -2}, {1, 1, -2}, {1, -1, 5}}), (Rows{{1, 1, -2}, {1, -1, 5}}));
  // An empty set: equalities only, the last one "1 = 0".
  EXPECT_EQ(PW::simplify({{1, 1, -1}, {1, -1, 0}}), (Rows{{0, 1, 0}, {0, 0, 1}}));
}

TEST(PolylibAdapter, SimplifyHullAndDifferenceAgainstEnumeration) {
  std::mt19937 g(3);
  for (int t = 0; t < 40; ++t) {
    int c = 1 + t % 3, p = t % 2, dim = c + p;
    use_registry(c, p);
    Rows m1 = random_polyhedron(g, dim, 3), m2 = random_polyhedron(g, dim, 3);
    std::set<Point> s1 = points(m1, dim, 4), s2 = points(m2, dim, 4);
    EXPECT_EQ(points(PW::simplify(m1), dim, 4), s1);

    Rows hull = PW::convex_hull({m1, m2});
    for (const auto& x : s1) EXPECT_TRUE(satisfies(hull, x));
    for (const auto& x : s2) EXPECT_TRUE(satisfies(hull, x));

    std::set<Point> difference;
    for (const auto& x : s1)
      if (!s2.count(x)) difference.insert(x);
    EXPECT_EQ(points(PW::subtract(m1, m2, c), dim, 4), difference);

    Rows equalities;
    for (const auto& row : PW::simplify(m1))
      if (row[0] == 0) equalities.push_back(row);
    if (!s1.empty()) {
      EXPECT_EQ(PW::dim(m1), c - rank_of(equalities, 1, dim + 1));
    }
  }
}

TEST(PolylibAdapter, ProjectionContainsTheShadow) {
  std::mt19937 g(5);
  for (int t = 0; t < 30; ++t) {
    int c = 2 + t % 2, p = t % 2, dim = c + p;
    use_registry(c, p);
    Rows m = random_polyhedron(g, dim, 3);
    std::set<int> kept{t % c};
    Rows projected = PW::project(m, kept);
    for (auto x : points(m, dim, 3)) {
      for (int k = 0; k < c; ++k)
        if (!kept.count(k)) x[k] = 0;
      EXPECT_TRUE(satisfies(projected, x));
    }
    for (const auto& row : projected) {
      for (int k = 0; k < c; ++k) {
        if (!kept.count(k)) {
          EXPECT_EQ(row[1 + k], 0);
        }
      }
    }
  }
  // The triangle 0 <= j <= i <= 4 projects onto 0 <= i <= 4 and onto
  // 0 <= j <= 4 (the dropped counter's column is 0: the row does not bind it).
  use_registry(2, 0);
  Rows triangle{{1, 0, 1, 0}, {1, 1, -1, 0}, {1, -1, 0, 4}};
  Rows on_i = PW::project(triangle, {0}), on_j = PW::project(triangle, {1});
  on_i.push_back({0, 0, 1, 0});
  on_j.push_back({0, 1, 0, 0});
  EXPECT_EQ(points(on_i, 2, 6), points(Rows{{1, 1, 0, 0}, {1, -1, 0, 4}, {0, 0, 1, 0}}, 2, 6));
  EXPECT_EQ(points(on_j, 2, 6), points(Rows{{1, 0, 1, 0}, {1, 0, -1, 4}, {0, 1, 0, 0}}, 2, 6));
  EXPECT_EQ(points(PW::project(triangle, {0, 1}), 2, 6), points(triangle, 2, 6));
}

TEST(PolylibAdapter, VolumeCountsIntegerPoints) {
  std::mt19937 g(9);
  for (int t = 0; t < 20; ++t) {
    int c = 1 + t % 2;
    use_registry(c, 0);
    Rows m = random_polyhedron(g, c, 3);
    YEB_Enumeration* e = PW::volume(m, c);
    EXPECT_EQ(count_at(e, {}), static_cast<long>(points(m, c, 4).size()));
    free_enumeration(e);
  }
  // 0 <= j <= i <= N - 1: N(N+1)/2 points; 0 <= 2i <= N: floor(N/2) + 1.
  use_registry(2, 1);
  Rows triangle{{1, 0, 1, 0, 0}, {1, 1, -1, 0, 0}, {1, -1, 0, 1, -1}};
  YEB_Enumeration* e = PW::volume(triangle, 2);
  for (int n = 0; n <= 6; ++n) EXPECT_EQ(count_at(e, {n}), n * (n + 1) / 2) << n;
  free_enumeration(e);
  use_registry(1, 1);
  e = PW::volume({{1, 2, 0, 0}, {1, -2, 1, 0}}, 1);
  for (int n = 0; n <= 6; ++n) EXPECT_EQ(count_at(e, {n}), n / 2 + 1) << n;
  free_enumeration(e);
}

TEST(PolylibAdapter, NormalFormsAndInverses) {
  std::mt19937 g(13);
  std::uniform_int_distribution<int> d(-4, 4);
  for (int t = 0; t < 30; ++t) {
    int r = 1 + t % 3, c = 1 + (t / 3) % 3;
    Rows a(r, std::vector<int>(c));
    for (auto& row : a)
      for (int& x : row) x = d(g);
    std::vector<Rows> s = PW::snf(a);
    EXPECT_EQ(product(product(s[0], s[1]), s[2]), a);
    for (int i = 0; i < r; ++i)
      for (int j = 0; j < c; ++j) EXPECT_TRUE(i == j ? s[1][i][j] >= 0 : s[1][i][j] == 0);
    EXPECT_EQ(std::abs(determinant(s[0])), 1);
    EXPECT_EQ(std::abs(determinant(s[2])), 1);
    std::vector<Rows> h = PW::hnf(a);
    EXPECT_EQ(product(a, h[1]), h[0]);
    EXPECT_EQ(product(h[0], h[2]), a);
    // A unimodular matrix: the unimodular factor of a Smith form.
    Rows u = s[0];
    Rows u_inverse = PW::inv(u);
    EXPECT_EQ(product(u, u_inverse), identity(r));
    EXPECT_EQ(product(u_inverse, u), identity(r));
  }
  EXPECT_EQ(PW::inv({{2, 0}, {0, 1}}), (Rows{{1, 0}, {0, 2}}));
  EXPECT_EQ(PW::inv({{2, 1}, {0, 3}}), (Rows{{3, -1}, {0, 2}}));
}

TEST(PolylibAdapter, VerticesRaysAndBoundingBox) {
  use_registry(1, 0);
  EXPECT_TRUE(PW::get_vertices_non_parametrized({{1, 2, 0}, {1, -2, 1}}).size() == 1);
  EXPECT_EQ(PW::get_vertices_non_parametrized({{1, 1, 0}, {1, -1, 3}}), (Rows{{0}, {3}}));
  EXPECT_EQ(PW::get_rays_non_parametrized({{1, 1, 0}}), (Rows{{1}}));
  EXPECT_EQ(PW::bounding_box_volume({{1, 1, 0, 0}, {1, -1, 0, 3}, {1, 0, 1, 0}, {1, 0, -1, 5}}), 15);
  EXPECT_EQ(PW::bounding_box_volume({}), 0);
  EXPECT_EQ(PW::bounding_box_volume({{1, 1, -1}, {1, -1, 0}}), 0);
  ChildRun r = run_in_child([] { PW::bounding_box_volume({{1, 1, 0}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "PolylibWrapper::bounding_box_volume: unbounded polyhedron\n");
  // 0 <= i <= N: vertices 0 and N, each valid for N >= 0.
  auto vertices = PW::get_vertices({{1, 1, 0, 0}, {1, -1, 1, 0}}, 1);
  EXPECT_EQ(vertices.size(), 2u);
}

TEST(PolylibAdapter, ConversionsCheckEveryRowAndTheIntRange) {
  use_registry(1, 0);
  Matrix* m = from_vec_vec({}, 2, 1);
  EXPECT_EQ(m->NbRows, 0u);
  EXPECT_EQ(m->NbColumns, 5u);
  Matrix_Free(m);
  ChildRun r = run_in_child([] { PW::simplify({{1, 1, 0}, {1, 1, 0, 7}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "PolylibWrapper::matrix lines are not consistent\n");
  r = run_in_child([] { from_vec_vec_raw({}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "PolylibWrapper: from_vec_vec_raw: empty polyhedron\n");
  try {
    get_int(1L << 40);
    ADD_FAILURE() << "no ValueOutOfRange";
  } catch (const ValueOutOfRange& e) {
    EXPECT_EQ(e.value, "1099511627776");
  }
  EXPECT_EQ(get_int(-7), -7);
  EXPECT_EQ(out_of_range_message("p.c:12", ValueOutOfRange("4294967294")),
            "p.c:12: error: the value 4294967294 is too large for the bounds and conditions on this line: the "
            "constraint rows hold int values only");
}

// Constraints whose coefficients are close to INT_MAX: the generators that
// PolyLib's Chernikova computes from them combine products beyond 2^63.
const int kBig = 2147483647;
const Rows kHuge = {{1, kBig, kBig - 1, kBig - 2, -kBig},
                    {1, -(kBig - 1), kBig - 2, kBig, kBig - 1},
                    {1, kBig - 2, -kBig, kBig - 1, kBig - 2},
                    {1, -kBig, -(kBig - 2), -(kBig - 1), kBig}};

TEST(PolylibAdapter, OverflowsOfPolyLibAreThrownNotAborted) {
  PolylibThrowsLeaks throws_leaks;
  use_registry(3, 0);
  EXPECT_THROW(PW::simplify(kHuge), PolylibOverflow);
  EXPECT_THROW(PW::dim(kHuge), PolylibOverflow);
  EXPECT_THROW(PW::subtract(kHuge, kHuge, 3), PolylibOverflow);
  EXPECT_THROW(PW::get_vertices(kHuge, 0), PolylibOverflow);
  EXPECT_THROW(PW::get_rays_non_parametrized(kHuge), PolylibOverflow);
  EXPECT_THROW(PW::bounding_box_volume(kHuge), PolylibOverflow);
  EXPECT_THROW(PW::convex_hull({kHuge}), PolylibOverflow);
  EXPECT_THROW(PW::project(kHuge, {0}), PolylibOverflow);
}

// Rows near INT_MAX that PolyLib turns into generators, but whose
// generators overflow when turned back into constraints or hulled.
const Rows kWide = {{1, 2, -1, 0, kBig},     {1, -2, 1, 0, kBig - 1},  {1, 1, 3, -1, kBig - 2},
                    {1, -3, -1, 1, kBig - 3}, {1, 1, 1, 1, kBig - 4},   {1, -1, -1, -2, kBig - 5}};

TEST(PolylibAdapter, OverflowsOfGeneratorsAreThrownNotAborted) {
  PolylibThrowsLeaks throws_leaks;
  use_registry(3, 0);
  EXPECT_THROW(PW::project(kWide, {0, 1}), PolylibOverflow);
  EXPECT_THROW(PW::symetrize(kWide, 3, 0), PolylibOverflow);
  EXPECT_THROW(PW::project_and_symetrize(kWide, {0, 1}, 3, 0), PolylibOverflow);
  Rows shifted = kWide;
  for (auto& row : shifted) row[1] += 1;
  EXPECT_THROW(PW::convex_hull({kWide, shifted}), PolylibOverflow);
}

TEST(PolylibAdapter, OverflowsOfNormalFormsAreThrownNotAborted) {
  PolylibThrowsLeaks throws_leaks;
  const Rows a = {{kBig, kBig - 1, kBig - 2, kBig - 13},
                  {kBig - 3, -kBig, kBig - 5, -(kBig - 17)},
                  {kBig - 7, kBig - 11, -kBig, kBig - 19},
                  {-(kBig - 23), kBig - 29, kBig - 31, kBig}};
  // Smith's transforms hold values beyond an int: refused as such.
  EXPECT_THROW(PW::snf(a), ValueOutOfRange);
  EXPECT_THROW(PW::hnf(a), PolylibOverflow);
  EXPECT_THROW(PW::inv(a), PolylibOverflow);
}

TEST(PolylibAdapter, StopsOfTheNormalFormsAndInverse) {
  ChildRun r = run_in_child([] { PW::snf({}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "PolylibWrapper: snf:  empty matrix\n");
  r = run_in_child([] { PW::hnf({}); });
  EXPECT_EQ(r.out, "PolylibWrapper: hnf:  empty matrix\n");
  r = run_in_child([] { PW::inv({}); });
  EXPECT_EQ(r.err, "PolylibWrapper::inv: empty matrix\n");
  r = run_in_child([] { PW::inv({{1, 2, 3}, {4, 5, 6}}); });
  EXPECT_EQ(r.err, "PolylibWrapper::inv: expect square matrices\n");
  r = run_in_child([] { PW::inv({{1, 2}, {2, 4}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("PolylibWrapper::inv: non-invertible matrix\n"), std::string::npos);
}

TEST(PolylibAdapter, PrintsEnumerations) {
  use_registry(1, 1);
  ChildRun r = run_in_child([] {
    Matrix* m = from_vec_vec({{1, 1, 0, 0}, {1, -1, 1, 0}});
    Polyhedron* p = Constraints2Polyhedron(m, 200);
    Polyhedron* context = Universe_Polyhedron(1);
    const char* names[] = {"N"};
    Enumeration* e = Polyhedron_Enumerate(p, context, 200, names);
    std::fflush(stdout);
    std::printf("@@");
    print_enumeration(e, names);
  });
  std::string printed = r.out.substr(r.out.find("@@") + 2);
  EXPECT_EQ(printed.rfind("Domain:\n", 0), 0u);
  EXPECT_NE(printed.find("\nErhart Polynomial:\n"), std::string::npos);
  EXPECT_NE(printed.find("N + 1"), std::string::npos);
  EXPECT_EQ(printed.substr(printed.size() - 27), "\n------------------------\n\n");
}
