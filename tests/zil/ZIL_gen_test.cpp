// General tiling of a domain: debug lines, exact pieces, block-offset
// bounds, a brute-force oracle and the cross-check with the rectangular
// tiling.
#include <gtest/gtest.h>

#include "tiling_test_support.h"

using namespace zil_test;

namespace {

optionZIL options(int m, int kMinMax = 0, bool paramDiv = false) {
  optionZIL option;
  option.minBlSizeParam = m;
  option.kMinMaxOption = kMinMax;
  option.areParamDiv = paramDiv;
  return option;
}

// One-index box shape 0 <= il <= size·b - 1.
Rows box1(long long size) { return {{1, 1, 0, 0}, {1, -1, size, -1}}; }

struct General {
  std::string out;
  Tiling tiling;
  ~General() { freeTiling(tiling); }
};

// Runs the general tiling and captures its standard output.
void runTiling(General& g, const Rows& dom, int n, int p, const Rows& shape, const Rows& lat, optionZIL option) {
  polyhedronZIL* poly = makePoly(dom, n, p);
  polyhedronZIL* sh = makePoly(shape, n, 1);
  long long** L = makeMatrix(lat);
  g.out = captureCout([&] { g.tiling = getTiledDomain(poly, sh, L, &option); });
  freeMatrix(L, n + 1);
  freePolyhedron(sh);
  freePolyhedron(poly);
}

std::vector<size_t> listSizes(const Tiling& tiling) {
  std::vector<size_t> sizes;
  for (auto& inner : tiling) sizes.push_back(inner.size());
  return sizes;
}

polyhedronZIL* piece(const Tiling& tiling, size_t list, size_t index) {
  auto it = tiling.begin();
  std::advance(it, list);
  auto jt = it->begin();
  std::advance(jt, index);
  return *jt;
}

TEST(GeneralTiling, LowerBoundOnOneIndex) {
  General g;
  runTiling(g, {{1, 1, 0}}, 1, 0, box1(1), {{1}, {1}}, options(1));
  EXPECT_EQ(g.out, "min1 = 0 | min2 = 0 | min3 = 0\n\n");
  ASSERT_EQ(listSizes(g.tiling), (std::vector<size_t>{1}));
  polyhedronZIL* full = piece(g.tiling, 0, 0);
  EXPECT_EQ(polyRows(full), (Rows{{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}, {1, 0, 0, 1, -1}}));
  EXPECT_EQ(toRows(full->modConstr, full->nConstrMod, 5), (Rows{{1, 1, 0, 0, 0}}));
}

TEST(GeneralTiling, UpperBoundWithParameter) {
  General g;
  runTiling(g, {{1, -1, 1, -1}}, 1, 1, box1(1), {{1}, {1}}, options(1));
  EXPECT_EQ(g.out, "min1 = -1 | min2 = 0 | min3 = -1\n\n");
  ASSERT_EQ(listSizes(g.tiling), (std::vector<size_t>{2}));
  EXPECT_EQ(polyRows(piece(g.tiling, 0, 0))[0], (std::vector<long long>{1, -1, 0, 1, 0, 0, -1}));
  Rows eq = polyRows(piece(g.tiling, 0, 1));
  EXPECT_EQ(eq[0], (std::vector<long long>{0, -1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(eq[1], (std::vector<long long>{1, 0, -1, 0, 1, 0, -1}));
}

TEST(GeneralTiling, GcdTestDropsEqualitiesWithoutIntegerSolution) {
  General g;
  runTiling(g, {{1, 1, 0, 0}, {1, -1, 1, -1}}, 1, 1, box1(2), {{2}, {1}}, options(1));
  ASSERT_EQ(listSizes(g.tiling), (std::vector<size_t>{1, 3}));
  EXPECT_EQ(polyRows(piece(g.tiling, 0, 0))[0], (std::vector<long long>{1, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(polyRows(piece(g.tiling, 1, 1))[0], (std::vector<long long>{0, -2, 0, 1, 0, 0, -1}));
  EXPECT_EQ(polyRows(piece(g.tiling, 1, 2))[0], (std::vector<long long>{0, -2, 0, 1, 0, 0, 0}));
}

TEST(GeneralTiling, TwoDimensionalBoxWithStraightAndSkewedLattices) {
  Rows dom = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}};
  Rows shape = {{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, -1, 1, -1}};
  for (const Rows& lat : {Rows{{1, 0}, {0, 1}, {1, 1}}, Rows{{1, 0}, {1, 1}, {1, 1}}}) {
    General g;
    runTiling(g, dom, 2, 1, shape, lat, options(1));
    EXPECT_EQ(g.out, "min1 = 0 | min2 = 0 | min3 = 0\n\nmin1 = -1 | min2 = 0 | min3 = -1\n\n"
                     "min1 = 0 | min2 = 0 | min3 = 0\n\nmin1 = -1 | min2 = 0 | min3 = -1\n\n");
    EXPECT_EQ(listSizes(g.tiling), (std::vector<size_t>{1, 2, 1, 2}));
  }
}

TEST(GeneralTiling, ConstantRowHasNoDivisionByZero) {
  General g;
  runTiling(g, {{1, 0, 0, 2}}, 1, 1, box1(1), {{1}, {1}}, options(1));
  EXPECT_EQ(listSizes(g.tiling), (std::vector<size_t>{1}));
}

TEST(GeneralTiling, ParameterOnlyRowsAreKept) {
  General g;
  runTiling(g, {{1, 1, -1}}, 0, 1, {}, {{}}, options(1));
  EXPECT_EQ(g.out, "min1 = -1 | min2 = 0 | min3 = -1\n\n");
  for (long long b = 1; b <= 3; b++)
    for (long long N = 0; N <= 2 * b; N++)
      EXPECT_EQ(tilingContains(g.tiling, {N / b, N % b, b}), N >= 1) << "N=" << N << " b=" << b;
}

TEST(GeneralTiling, OffsetGroupsOfOneRowShareAnInnerList) {
  General g;
  runTiling(g, {{1, 1, -1}}, 1, 0, box1(1), {{1}, {2}}, options(1));
  ASSERT_EQ(listSizes(g.tiling), (std::vector<size_t>{6}));  // per offset: full, k = 0, k = 1
  polyhedronZIL* first = piece(g.tiling, 0, 0);
  polyhedronZIL* second = piece(g.tiling, 0, 3);
  EXPECT_EQ(toRows(first->modConstr, first->nConstrMod, 5), (Rows{{2, 1, 0, 0, 0}}));
  EXPECT_EQ(toRows(second->modConstr, second->nConstrMod, 5), (Rows{{2, 1, 0, 0, -1}}));
  EXPECT_EQ(polyRows(piece(g.tiling, 0, 2))[0], (std::vector<long long>{0, 1, 0, 0, 2}));
}

// kmax and kmin of one row over a one-index box shape (debug line dropped).
std::pair<long, long> range(const std::vector<long long>& row, long long D, optionZIL option) {
  long long a = row[0], c = row[1];
  long long* lin[1] = {&a};
  long long* param[1] = {&c};
  long long cst = row[2];
  long long flags[2] = {1, 1}, shapeLin0 = 1, shapeLin1 = -1, b0 = 0, b1 = 1, cst_shape[2] = {0, -1};
  long long* shapeLin[2] = {&shapeLin0, &shapeLin1};
  long long* shapeParam[2] = {&b0, &b1};
  long long one = 1;
  long long* lattice[1] = {&one};
  long kmax = 0, kmin = 0;
  captureCout([&] {
    get_kmaxkmin_poly(&kmax, &kmin, lin, param, &cst, 1, 1, 0, flags, shapeLin, shapeParam, cst_shape, 2, lattice,
                      &D, &option);
  });
  return {kmin, kmax};
}

TEST(GeneralTiling, ExactBlockOffsetBounds) {
  EXPECT_EQ(range({1, 0, -1}, 2, options(1)).second, 1);  // x - 1 >= 0, D = 2
  EXPECT_EQ(range({1, 0, 5}, 3, options(3)).second, 3);   // x + 5 >= 0, D = 3, m = 3
  EXPECT_EQ(range({1, 0, 1}, 1, options(1, 1)).second, 1);  // option 1, x + 1 >= 0
  optionZIL option1 = options(1, 1);
  EXPECT_EQ(aux_max_computation(1, 1, 0, 1, &option1), 1.0);
}

TEST(GeneralTilingDeath, ContractViolations) {
  General g;
  EXPECT_DEATH(runTiling(g, {{1, 1, 0}}, 1, 0, box1(1), {{1}, {0}}, options(1)), "lattice\\[n\\]\\[c\\]>=1");
  EXPECT_DEATH(runTiling(g, {{1, 1, 0}}, 1, 0, {{1, 1, 0, 0}}, {{1}, {1}}, options(1)), "unbounded extremum");
  EXPECT_DEATH(runTiling(g, {{1, 1, 0}}, 1, 0, {{1, 1, 0, 0}, {1, -1, 0, -1}}, {{1}, {1}}, options(1)),
               "no solution");
  EXPECT_DEATH(runTiling(g, {{1, 1, 0}}, 1, 0, box1(1), {{1}, {1}}, options(0)),
               moduleAssertion("ZIL_gen", "option->minBlSizeParam>=1"));
}

}  // namespace
