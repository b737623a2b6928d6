// Rectangular and parallelepipedic tilings of a domain named after its
// variables: names, the doubled matrices, the printers, the stops, and the
// bijection between the tiled points and the iterations.

#include <algorithm>
#include <random>
#include <sstream>

#include "CommandTest.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ZILTestSupport.h"
#include "ZILWrapper.h"

namespace {

typedef std::pair<ZILWrapper::tiling_t, std::vector<Polyhedron*>> Tiled;

using ZILDomainsTest = CommandTest;

std::vector<Expression*> leaves(const std::vector<std::string>& names) {
  std::vector<Expression*> result;
  for (const std::string& name : names) result.push_back(new Expression(name));
  return result;
}

std::vector<Expression*> joined(std::vector<Expression*> a, const std::vector<Expression*>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The hyperplanes H = [A | B | f] over the counters x0.. and the parameters
// P of a tiled domain with ratios s: each counter as its expression of the
// tiled variables, x = H^-1(y, N) with y_k = s_k·block_size·(A_k·outer +
// B_k·outer_N) + (A_k·inner + B_k·inner_N + f_k). New expressions.
std::map<int, Expression*> map_back(const Rows& h, const Rows& h_inverse, const std::vector<int>& s,
                                    const std::vector<std::string>& counters, const std::vector<std::string>& parameters) {
  std::vector<std::string> outer, inner, outer_p, inner_p;
  for (const std::string& c : counters) outer.push_back("outer_" + c), inner.push_back("inner_" + c);
  for (const std::string& p : parameters) outer_p.push_back("outer_" + p), inner_p.push_back("inner_" + p);
  std::vector<Expression*> one = {new Expression(1)};
  std::vector<Expression*> block_vars = joined(joined(leaves(outer), leaves(outer_p)), {new Expression(0)});
  std::vector<Expression*> local_vars = joined(joined(leaves(inner), leaves(inner_p)), one);
  std::vector<Expression*> block = h * block_vars, local = h * local_vars;
  Expression b("block_size");
  std::vector<Expression*> y;
  for (size_t k = 0; k < h.size(); k++) {
    Expression ratio(s[k]);
    Expression side(TIMES, &ratio, &b);
    Expression scaled(TIMES, &side, block[k]);
    y.push_back(new Expression(PLUS, &scaled, local[k]));
  }
  std::vector<Expression*> x_vars = joined(joined(y, leaves(parameters)), {new Expression(1)});
  std::vector<Expression*> x = h_inverse * x_vars;
  std::map<int, Expression*> result;
  for (size_t c = 0; c < counters.size(); c++) result[get_counter_rank(counters[c])] = x[c];
  for (auto* v : {&block_vars, &local_vars, &block, &local, &x_vars}) del(*v);
  return result;
}

// Each bound [low, high] of `points` widened by one.
std::pair<Point, Point> box_around(const std::set<Point>& points, size_t dim) {
  Point low(dim, -2), high(dim, 2);
  if (!points.empty()) low = high = *points.begin();
  for (const Point& x : points)
    for (size_t k = 0; k < dim; k++) low[k] = std::min(low[k], x[k]), high[k] = std::max(high[k], x[k]);
  for (size_t k = 0; k < dim; k++) low[k]--, high[k]++;
  return {low, high};
}

// A tiling of a domain over counters x0.. and parameters P by hyperplanes
// H with ratios s, checked against the iterations for N in 0..9 with block
// sizes 4 to 6.
struct DomainCase {
  Rows domain;  // [flag | counters | parameters | constant]
  int n;
  int p;
  Rows h;  // [counters | parameters | constant]; identity: rectangular
  std::vector<int> s;
};

// Returns the number of iterations met.
size_t check_bijection(const DomainCase& c, const Tiled& r) {
  size_t met = 0;
  std::vector<std::string> counters = numbered("x", c.n), parameters = numbered("N", c.p);
  IndexFunction hyperplanes(c.h, counter_ranks(counters), parameter_ranks(parameters));
  Rows h_inverse = hyperplanes.invert(counter_ranks(counters), parameter_ranks(parameters));
  std::map<int, Expression*> back = map_back(c.h, h_inverse, c.s, counters, parameters);
  std::vector<std::string> tiled_names;
  for (const std::string& x : counters) tiled_names.push_back("outer_" + x);
  for (const std::string& x : counters) tiled_names.push_back("inner_" + x);
  std::vector<int> tiled = counter_ranks(tiled_names), original = counter_ranks(counters);
  Polyhedron* domain = rows_over(c.domain, counters, parameters);
  for (int n = 0; n <= 9; n++) {
    int b = 4 + n % 3;
    std::map<std::string, int> sizes;
    if (c.p) sizes["N0"] = n;
    Values values = split_values(sizes, b);
    std::set<Point> iterations = union_points({domain}, original, values, Point(c.n, -3), Point(c.n, 10));
    // The tiled point of each iteration: its hyperplane values split by
    // s·b, then carried back by the doubled inverse.
    std::set<Point> images;
    met += iterations.size();
    for (const Point& x : iterations) {
      std::vector<long> block, local;
      for (size_t k = 0; k < c.h.size(); k++) {
        long y = c.h[k].back() + (c.p ? c.h[k][c.n] * n : 0);
        for (int q = 0; q < c.n; q++) y += c.h[k][q] * x[q];
        long side = static_cast<long>(c.s[k]) * b;
        block.push_back(floor_div(y, side));
        local.push_back(y - side * block.back());
      }
      Point image(2 * c.n);
      for (int q = 0; q < c.n; q++) {
        long o = c.p ? h_inverse[q][c.n] * (n / b) : 0, l = h_inverse[q].back() + (c.p ? h_inverse[q][c.n] * (n % b) : 0);
        for (size_t k = 0; k < block.size(); k++) o += h_inverse[q][k] * block[k], l += h_inverse[q][k] * local[k];
        image[q] = static_cast<int>(o);
        image[c.n + q] = static_cast<int>(l);
      }
      images.insert(image);
    }
    std::pair<Point, Point> box = box_around(images, 2 * c.n);
    std::set<Point> points = union_points(r.second, tiled, values, box.first, box.second);
    EXPECT_EQ(bijection_failure(points, tiled, values, back, original, iterations), "") << "N " << n << " b " << b;
  }
  delete domain;
  del(back);
  return met;
}

// Bounds -2 <= x_k <= N (or 4 without parameter), two random constraints
// with coefficients in [-2, 2], and now and then an equality through a point.
Rows random_domain(std::mt19937& g, int n, int p) {
  std::uniform_int_distribution<int> coefficient(-2, 2), constant(-3, 3), coin(0, 2);
  int width = n + p + 2;
  Rows rows;
  for (int k = 0; k < n; k++) {
    std::vector<int> low(width, 0), high(width, 0);
    low[0] = high[0] = 1;
    low[1 + k] = 1;
    low.back() = 2;
    high[1 + k] = -1;
    if (p) high[1 + n] = 1;
    else high.back() = 4;
    rows.push_back(low);
    rows.push_back(high);
  }
  for (int r = 0; r < 2; r++) {
    std::vector<int> row(width, 1);
    for (int k = 1; k < width - 1; k++) row[k] = coefficient(g);
    row.back() = constant(g);
    rows.push_back(row);
  }
  if (coin(g) == 0) {
    // Through x = (1, 0, ...) at N = 5.
    std::vector<int> row(width, 0);
    for (int k = 1; k < width - 1; k++) row[k] = coefficient(g);
    row.back() = -(row[1] + (p ? 5 * row[1 + n] : 0));
    rows.push_back(row);
  }
  return rows;
}

Rows identity_rows(int n, int p) {
  Rows h(n, std::vector<int>(n + p + 1, 0));
  for (int k = 0; k < n; k++) h[k][k] = 1;
  return h;
}

TEST_F(ZILDomainsTest, NamesOfTheTilingVariables) {
  Polyhedron* domain = rows_over({{1, 1, 0, 0, 0}, {1, -1, 1, 1, -1}}, {"i", "j"}, {"N"});
  ZILWrapper::active_counters.clear();
  ZILWrapper::active_parameters.clear();
  ZILWrapper::tiling_t names = ZILWrapper::make_tiling_variables(domain);
  int i = get_counter_rank("i"), j = get_counter_rank("j"), n = get_parameter_rank("N");
  std::pair<int, int> in = {get_counter_rank("outer_i"), get_counter_rank("inner_i")};
  std::pair<int, int> jn = {get_counter_rank("outer_j"), get_counter_rank("inner_j")};
  EXPECT_EQ(names.first, (std::map<int, std::pair<int, int>>{{i, in}, {j, jn}}));
  EXPECT_EQ(names.second.at(n), std::make_pair(get_parameter_rank("outer_N"), get_parameter_rank("inner_N")));
  EXPECT_EQ(ZILWrapper::active_counters, (std::vector<int>{in.first, jn.first, in.second, jn.second}));
  EXPECT_EQ(ZILWrapper::active_parameters,
            (std::vector<int>{get_parameter_rank("outer_N"), get_parameter_rank("inner_N")}));
  int counters = get_nb_counters();
  ZILWrapper::make_tiling_variables(domain);
  EXPECT_EQ(get_nb_counters(), counters) << "names are registered once";
  EXPECT_EQ(ZILWrapper::active_counters.size(), 8u) << "appended";
  std::string lines = stdout_of([&] { ZILWrapper::print_tiling(names); });
  EXPECT_EQ(lines, "Tiled counters\ni --> (outer_i,inner_i)\nj --> (outer_j,inner_j)\nTiled parameters\n"
                   "N --> (outer_N,inner_N)\n");
  EXPECT_EQ(stdout_of([&] { ZILWrapper::print_tiled_domain({names, {}}); }),
            "i --> (outer_i,inner_i)\nj --> (outer_j,inner_j)\nN --> (outer_N,inner_N)\n(empty domain)\n");
  std::ostringstream pieces;
  pieces << *domain << "U\n" << *domain;
  EXPECT_EQ(stdout_of([&] { ZILWrapper::print_tiled_domain({names, {domain, domain}}); }),
            "i --> (outer_i,inner_i)\nj --> (outer_j,inner_j)\nN --> (outer_N,inner_N)\n" + pieces.str() + "\n");
  delete domain;
}

TEST_F(ZILDomainsTest, DoubleMatrixPutsTheConstantInTheInnerRowsOnly) {
  EXPECT_EQ(ZILWrapper::double_matrix({{2, 3, 5, 7}}, 2, 1),
            (Rows{{2, 3, 0, 0, 5, 0, 0, 0}, {0, 0, 2, 3, 0, 5, 0, 7}}));
  EXPECT_EQ(ZILWrapper::double_matrix({{1, 4}, {2, -1}}, 1, 0), (Rows{{1, 0, 0, 0}, {2, 0, 0, 0}, {0, 1, 0, 4}, {0, 2, 0, -1}}));
  EXPECT_TRUE(ZILWrapper::double_matrix({}, 2, 1).empty());
}

TEST_F(ZILDomainsTest, RectangularTilingOfRandomDomainsIsABijection) {
  std::mt19937 g(24);
  std::uniform_int_distribution<int> ratio(1, 3);
  int with_points = 0;
  for (int trial = 0; trial < 14; trial++) {
    clear_registries();
    int n = trial < 5 ? 1 : trial < 12 ? 2 : 3, p = trial % 2;
    DomainCase c = {random_domain(g, n, p), n, p, identity_rows(n, p), {}};
    std::vector<std::string> counters = numbered("x", n);
    Polyhedron* domain = rows_over(c.domain, counters, numbered("N", p));
    std::map<int, int> scale;
    for (int k = 0; k < n; k++) {
      c.s.push_back(n == 3 ? 1 : ratio(g));
      scale[get_counter_rank(counters[k])] = c.s[k];
    }
    Tiled r = ZILWrapper::get_rectangular_tiled_domain(domain, scale);
    SCOPED_TRACE("trial " + std::to_string(trial));
    with_points += check_bijection(c, r) > 0;
    del(r.second);
    delete domain;
  }
  EXPECT_GE(with_points, 10);
}

TEST_F(ZILDomainsTest, ParallelepipedicTilingOfRandomDomainsIsABijection) {
  std::mt19937 g(2424);
  std::uniform_int_distribution<int> ratio(1, 2);
  std::vector<DomainCase> cases;
  // The hyperplane i + 1 with ratio 1: a constant in the outer rows would
  // shift every block by one.
  cases.push_back({{{1, 1, 0, 0}, {1, -1, 1, -1}}, 1, 1, {{1, 0, 1}}, {1}});
  for (int trial = 0; trial < 12; trial++) {
    int n = trial < 4 ? 1 : trial < 11 ? 2 : 3, p = trial % 2;
    std::vector<int> s;
    for (int k = 0; k < n; k++) s.push_back(n == 3 ? 1 : ratio(g));
    cases.push_back({random_domain(g, n, p), n, p, random_unimodular(g, n, p), s});
  }
  int with_points = 0;
  for (const DomainCase& c : cases) {
    clear_registries();
    Polyhedron* domain = rows_over(c.domain, numbered("x", c.n), numbered("N", c.p));
    IndexFunction hyperplanes(c.h, counter_ranks(numbered("x", c.n)), parameter_ranks(numbered("N", c.p)));
    Tiled r = ZILWrapper::get_parallelepipedic_tiled_domain(domain, &hyperplanes, c.s);
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    with_points += check_bijection(c, r) > 0;
    del(r.second);
    delete domain;
  }
  EXPECT_GE(with_points, 10);
}

TEST_F(ZILDomainsTest, DomainsWithoutConstraintsOrCountersTileAsTheRectangularTiling) {
  Polyhedron universe;
  IndexFunction none;
  Tiled rectangular = ZILWrapper::get_rectangular_tiled_domain(&universe, {});
  Tiled parallelepipedic = ZILWrapper::get_parallelepipedic_tiled_domain(&universe, &none, {});
  EXPECT_EQ(rectangular.first, parallelepipedic.first);
  ASSERT_EQ(parallelepipedic.second.size(), 1u);
  EXPECT_EQ(parallelepipedic.second[0]->is_universe(), 1);
  del(rectangular.second);
  del(parallelepipedic.second);
  // N - 1 >= 0: a domain over a parameter only.
  Polyhedron* positive = rows_over({{1, 1, -1}}, {}, {"N"});
  rectangular = ZILWrapper::get_rectangular_tiled_domain(positive, {});
  parallelepipedic = ZILWrapper::get_parallelepipedic_tiled_domain(positive, &none, {});
  EXPECT_EQ(rectangular.first, parallelepipedic.first);
  EXPECT_EQ(rectangular.first.second.size(), 1u);
  ASSERT_EQ(rectangular.second.size(), parallelepipedic.second.size());
  for (size_t k = 0; k < rectangular.second.size(); k++)
    EXPECT_EQ(*rectangular.second[k] == *parallelepipedic.second[k], 1);
  del(rectangular.second);
  del(parallelepipedic.second);
  delete positive;
}

TEST_F(ZILDomainsTest, StopsBeforeTheLibrary) {
  const std::string rectangular = "ZILWrapper::get_rectangular_tiled_domain: ";
  const std::string parallelepipedic = "ZILWrapper::get_parallelepipedic_tiled_domain: ";
  // 0 <= i < N, 0 <= j < N.
  Polyhedron* domain =
      rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {"i", "j"}, {"N"});
  int i = get_counter_rank("i"), j = get_counter_rank("j");
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_domain(domain, {{i, 1}, {j, 0}}); },
                     rectangular + "tile ratio 0 is below 1");
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_domain(domain, {{i, 1}}); },
                     rectangular + "no tile ratio for counter j");
  IndexFunction identity(std::vector<int>{i, j});
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(domain, &identity, {1}); },
                     parallelepipedic + "1 tile ratios for 2 hyperplanes");
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(domain, &identity, {1, 0}); },
                     parallelepipedic + "tile ratio 0 is below 1");
  declare_parameter("M");
  IndexFunction doubled({{2, 0, 0}, {0, 1, 0}}, std::vector<int>{i, j}, {});
  IndexFunction one({{1, 1, 0}}, std::vector<int>{i, j}, {});
  IndexFunction shifted({{1, 0, 1, 0}, {0, 1, 0, 0}}, std::vector<int>{i, j}, {get_parameter_rank("M")});
  const std::string basis = "the hyperplanes must form a unimodular change of basis";
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(domain, &doubled, {1, 1}); }, parallelepipedic + basis);
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(domain, &one, {1}); }, parallelepipedic + basis);
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(domain, &shifted, {1, 1}); },
                     parallelepipedic + "a hyperplane uses M, which is not among the tiled variables");
  // Without counters, no hyperplane.
  Polyhedron* positive = rows_over({{1, 1, -1}}, {}, {"N"});
  IndexFunction constant({{5}}, std::vector<int>(), {});
  expect_silent_stop([&] { ZILWrapper::get_parallelepipedic_tiled_domain(positive, &constant, {1}); },
                     parallelepipedic + basis);
  delete positive;
  delete domain;
}

}  // namespace
