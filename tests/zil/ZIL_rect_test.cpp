// Rectangular tiling of a domain: exact pieces and a brute-force oracle.
#include <gtest/gtest.h>

#include "tiling_test_support.h"

using namespace zil_test;

namespace {

optionZIL options(int m, bool paramDiv = false) {
  optionZIL option;
  option.minBlSizeParam = m;
  option.areParamDiv = paramDiv;
  return option;
}

// Rows of every piece, inner list by inner list.
std::vector<std::vector<Rows>> tile(const Rows& rows, int n, int p, std::vector<long long> scale,
                                    optionZIL option) {
  polyhedronZIL* poly = makePoly(rows, n, p);
  Tiling tiling = getRectangularTiledDomain(poly, scale.data(), &option);
  std::vector<std::vector<Rows>> out;
  for (auto& inner : tiling) {
    out.emplace_back();
    for (polyhedronZIL* piece : inner) out.back().push_back(polyRows(piece));
  }
  freeTiling(tiling);
  freePolyhedron(poly);
  return out;
}

TEST(RectangularTiling, PartEdgeCases) {
  auto lower = tile({{1, 1, 0}}, 1, 0, {1}, options(1));
  ASSERT_EQ(lower.size(), 1u);
  EXPECT_EQ(lower[0], (std::vector<Rows>{{{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}, {1, 0, 0, 1, -1}}}));

  auto upper = tile({{1, -1, 1, -1}}, 1, 1, {1}, options(1));
  ASSERT_EQ(upper[0].size(), 2u);
  EXPECT_EQ(upper[0][0], (Rows{{0, -1, 0, 1, 0, 0, 0},
                               {1, 0, -1, 0, 1, 0, -1},
                               {1, 0, 1, 0, 0, 0, 0},
                               {1, 0, -1, 0, 0, 1, -1},
                               {1, 0, 0, 0, 0, 1, -1}}));
  EXPECT_EQ(upper[0][1][0], (std::vector<long long>{1, -1, 0, 1, 0, 0, -1}));
}

TEST(RectangularTiling, ParamDivRowsStandBeforeTheBlockSizeRowOnlyInEqualityPieces) {
  auto pieces = tile({{1, -1, 1, -1}}, 1, 1, {1}, options(4, true))[0];
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].size(), 6u);
  EXPECT_EQ(pieces[0][4], (std::vector<long long>{0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(pieces[0][5], (std::vector<long long>{1, 0, 0, 0, 0, 1, -4}));
  EXPECT_EQ(pieces[1].size(), 5u);
  EXPECT_EQ(pieces[1][3], (std::vector<long long>{1, 0, 0, 0, 0, 1, -4}));
  EXPECT_EQ(pieces[1][4], (std::vector<long long>{0, 0, 0, 0, 1, 0, 0}));
}

TEST(RectangularTiling, EqualityGivesTwoListsTheNegatedOneLast) {
  auto lists = tile({{1, 1, 0}, {0, 1, -3}}, 1, 0, {1}, options(1));
  ASSERT_EQ(lists.size(), 3u);
  EXPECT_EQ(lists[0].size(), 1u);
  ASSERT_EQ(lists[1].size(), 4u);  // x - 3 >= 0: k = -2 .. 0, then the inequality piece
  EXPECT_EQ(lists[1][0][0], (std::vector<long long>{0, 1, 0, 0, -2}));
  EXPECT_EQ(lists[1][3][0], (std::vector<long long>{1, 1, 0, 0, -3}));
  ASSERT_EQ(lists[2].size(), 5u);  // -x + 3 >= 0: k = 0 .. 3, then the inequality piece
  EXPECT_EQ(lists[2][0][0], (std::vector<long long>{0, -1, 0, 0, 0}));
  EXPECT_EQ(lists[2][4][0], (std::vector<long long>{1, -1, 0, 0, -1}));
}

TEST(RectangularTiling, DegenerateDomains) {
  long long scale[2] = {1, 1};
  optionZIL option = options(1);
  polyhedronZIL* noRow = makePoly({}, 2, 1);
  Tiling tiling = getRectangularTiledDomain(noRow, scale, &option);
  ASSERT_EQ(tiling.size(), 1u);
  ASSERT_EQ(tiling.front().size(), 1u);
  EXPECT_EQ(tiling.front().front()->nConstr, 0);
  EXPECT_EQ(tiling.front().front()->nInd, 2);
  EXPECT_EQ(tiling.front().front()->nParam, 3);
  freeTiling(tiling);
  freePolyhedron(noRow);

  EXPECT_EQ(tile({}, 0, 1, {}, option), (std::vector<std::vector<Rows>>{{{{0, 0, 0, 0, 0}}}}));
}

TEST(RectangularTiling, ScaledBoundsUseUnweightedLocalSums) {
  auto lower = tile({{1, 1, 1}}, 1, 0, {2}, options(1))[0];
  ASSERT_EQ(lower.size(), 3u);  // k = 1, 2 and the inequality piece
  EXPECT_EQ(lower[1], (Rows{{0, 2, 0, 0, 2}, {1, 0, 1, -2, 1}, {1, 0, 1, 0, 0}, {1, 0, -1, 2, -1}, {1, 0, 0, 1, -1}}));

  auto upper = tile({{1, -1, 1, -2}}, 1, 1, {2}, options(1))[0];
  EXPECT_EQ(upper.back()[0], (std::vector<long long>{1, -2, 0, 1, 0, 0, -3}));
}

TEST(RectangularTiling, ParameterOnlyRowsAreKept) {
  auto lists = tile({{1, 1, -1}}, 0, 1, {}, options(1));
  EXPECT_EQ(lists, (std::vector<std::vector<Rows>>{
                       {{{0, 1, 0, 0, 0}, {1, 0, 1, 0, -1}, {1, 0, 0, 1, -1}}, {{1, 1, 0, 0, -1}, {1, 0, 0, 1, -1}}}}));
}

TEST(RectangularTilingDeath, ContractViolations) {
  polyhedronZIL* poly = makePoly({{1, 1, 0}}, 1, 0);
  long long zero = 0, one = 1;
  optionZIL option = options(1);
  EXPECT_DEATH(getRectangularTiledDomain(poly, &zero, &option), moduleAssertion("ZIL_rect", "scale\\[k\\]>=1"));
  option.minBlSizeParam = 0;
  EXPECT_DEATH(getRectangularTiledDomain(poly, &one, &option),
               moduleAssertion("ZIL_rect", "option->minBlSizeParam>=1"));
  freePolyhedron(poly);
}

// x in P(N) exactly when its tiled image lies in the tiling.
void checkAgainstDomain(polyhedronZIL* poly, const std::vector<long long>& scale, optionZIL option) {
  int n = poly->nInd, p = poly->nParam;
  Tiling tiling = getRectangularTiledDomain(poly, const_cast<long long*>(scale.data()), &option);
  std::mt19937 rng(n * 7 + p);
  for (long long b = option.minBlSizeParam; b <= (n == 3 ? 3 : 4); b++) {
    Point xlo(n), xhi(n);
    for (int k = 0; k < n; k++) xlo[k] = -(2 * scale[k] * b + 4), xhi[k] = -xlo[k];
    Point nlo(p, -2), nhi(p, 8);
    forEachPoint(nlo, nhi, [&](const Point& N) {
      Point Nb(p), Nl(p);
      for (int j = 0; j < p; j++) {
        if (option.areParamDiv && N[j] % b != 0) return;
        Nb[j] = floorDiv(N[j], b), Nl[j] = N[j] - b * Nb[j];
      }
      if (p > 1 && rng() % 6 != 0) return;  // sample the parameter plane
      forEachPoint(xlo, xhi, [&](const Point& x) {
        Point ii(n), il(n);
        for (int k = 0; k < n; k++) ii[k] = floorDiv(x[k], scale[k] * b), il[k] = x[k] - scale[k] * b * ii[k];
        bool expected = domainContainsScaled(poly, x, N, 1);
        ASSERT_EQ(tilingContains(tiling, tiledPoint(ii, il, Nb, Nl, b)), expected)
            << "b=" << b << " x0=" << x[0] << " N0=" << (p ? N[0] : 0);
      });
    });
  }
  freeTiling(tiling);
}

TEST(RectangularTiling, BruteForceOracle) {
  std::mt19937 rng(6);
  std::uniform_int_distribution<int> scaleDist(1, 3);
  for (int iter = 0; iter < 60; iter++) {
    int n = 1 + iter % 3, p = (iter / 3) % 3;
    polyhedronZIL* poly = randomDomain(rng, n, p, 4);
    std::vector<long long> scale(n);
    for (auto& s : scale) s = n == 3 ? 1 : scaleDist(rng);
    SCOPED_TRACE(testing::Message() << "case " << iter);
    checkAgainstDomain(poly, scale, options(1 + iter % 2, (iter / 2) % 2 == 1));
    freePolyhedron(poly);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
