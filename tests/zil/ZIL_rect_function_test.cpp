// Rectangular tiling of an affine function and along unimodular hyperplanes:
// exact entries, the stops, and brute-force oracles.
#include <gtest/gtest.h>

#include <numeric>

#include "function_tiling_test_support.h"

using namespace zil_test;

namespace {

optionZIL options(int m, bool paramDiv = false, bool errorIfModulo = false) {
  optionZIL option;
  option.minBlSizeParam = m;
  option.areParamDiv = paramDiv;
  option.errorIfModulo = errorIfModulo;
  return option;
}

// The canonical entries of the tiling of the integral function rows.
std::vector<EntryRows> tileFunction(const Rows& f, int n, int p, std::vector<long long> s, std::vector<long long> t,
                                    optionZIL option) {
  affFuncZIL* func = makeFunc(f, std::vector<long long>(f.size(), 1), n, p);
  TiledFunction tiled = getRectangularTiledFunction(func, s.data(), t.data(), &option);
  std::vector<EntryRows> entries = canonicalEntries(tiled);
  freeTiledFunction(tiled);
  freeAffineFunction(func);
  return entries;
}

const Rows kLocalBoxRows = {{1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}, {1, 0, 0, 1, -1}};

Rows withBox(Rows windows) {
  windows.insert(windows.end(), kLocalBoxRows.begin(), kLocalBoxRows.end());
  return windows;
}

TEST(RectangularFunctionTiling, IdentityAndScaledBlockRows) {
  auto identity = tileFunction({{1, 0}}, 1, 0, {1}, {1}, options(1));
  ASSERT_EQ(identity.size(), 1u);
  EXPECT_EQ(identity[0].condition, withBox({{1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}));
  EXPECT_EQ(identity[0].function, (Rows{{1, 0, 0, 0}, {0, 1, 0, 0}}));  // Y = ii, yl = il
  EXPECT_EQ(identity[0].divs, (std::vector<long long>{1, 1}));
  EXPECT_TRUE(identity[0].modulo.empty());

  affFuncZIL* func = makeFunc({{1, 0}}, {1}, 1, 0);
  long long s = 1, t = 2;
  optionZIL option = options(1);
  TiledFunction tiled = getRectangularTiledFunction(func, &s, &t, &option);
  ASSERT_EQ(tiled.size(), 1u);
  std::string printed = captureCout([&] { printAffFuncZIL(tiled.begin()->second); });
  EXPECT_EQ(printed.substr(0, printed.find('\n') + 1), "\t\t( 1 0 0 0 ) / 2\n");
  freeTiledFunction(tiled);
  freeAffineFunction(func);
}

TEST(RectangularFunctionTiling, EntryCountsParamDivRowsAndNoOutput) {
  EXPECT_EQ(tileFunction({{1, 1, 0}}, 1, 1, {1}, {1}, options(3)).size(), 2u);  // x + N: k = 0, 1

  auto plain = tileFunction({{1, 1, 0}}, 1, 1, {1}, {1}, options(3));
  auto divided = tileFunction({{1, 1, 0}}, 1, 1, {1}, {1}, options(3, true));
  ASSERT_EQ(divided.size(), plain.size());
  for (size_t e = 0; e < plain.size(); e++) {
    Rows expected = plain[e].condition;
    EXPECT_EQ(expected.back(), (std::vector<long long>{1, 0, 0, 0, 0, 1, -3}));  // b >= 3 stays last
    expected.push_back({0, 0, 0, 0, 1, 0, 0});                                   // then Nl == 0
    EXPECT_EQ(divided[e].condition, expected);
  }

  auto none = tileFunction({}, 2, 1, {1, 1}, {}, options(1));
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].condition, (Rows{std::vector<long long>(9, 0)}));
  EXPECT_TRUE(none[0].function.empty());
}

TEST(RectangularFunctionTiling, InheritedBoundsCoverTheLastWindow) {
  // f(x) = x + 1 with s = 2: the local form reaches 2b, so k runs to 2.
  auto entries = tileFunction({{1, 1}}, 1, 0, {2}, {1}, options(1));
  ASSERT_EQ(entries.size(), 3u);
  EntryRows last = entries[0];
  for (auto& e : entries)
    if (e.condition[0][3] == -2) last = e;
  EXPECT_EQ(last.condition, (Rows{{1, 0, 1, -2, 1}, {1, 0, -1, 3, -2}, {1, 0, 1, 0, 0}, {1, 0, -1, 2, -1},
                                  {1, 0, 0, 1, -1}}));
  EXPECT_EQ(last.function, (Rows{{2, 0, 0, 2}, {0, 1, -2, 1}}));
  EXPECT_EQ(last.divs, (std::vector<long long>{1, 1}));
}

TEST(RectangularFunctionTiling, UpperWindowEndsOneBelowTheNextWindow) {
  // f(x) = 2x + 1 with t = 2: the window of k = 0 is 0 <= 2il + 1 <= 2b - 1.
  auto entries = tileFunction({{2, 1}}, 1, 0, {1}, {2}, options(1));
  auto k0 = std::find_if(entries.begin(), entries.end(), [](const EntryRows& e) { return e.condition[0][3] == 0; });
  ASSERT_NE(k0, entries.end());
  EXPECT_EQ(k0->condition, withBox({{1, 0, 2, 0, 1}, {1, 0, -2, 2, -2}}));
  EXPECT_EQ(k0->function, (Rows{{1, 0, 0, 0}, {0, 2, 0, 1}}));
  EXPECT_EQ(k0->divs, (std::vector<long long>{1, 1}));
}

TEST(RectangularFunctionTiling, QuotientsEqualTheRationalBlockRowsWhenExact) {
  Rows f = {{1, 4, 3}, {2, -2, -1}};
  auto rational = tileFunction(f, 1, 1, {2}, {2, 1}, options(2));
  auto quotients = tileFunction(f, 1, 1, {2}, {2, 1}, options(2, false, true));
  EXPECT_EQ(quotients, rational);
  for (auto& e : quotients) EXPECT_EQ(e.divs, (std::vector<long long>{1, 1, 1, 1}));
}

TEST(RectangularFunctionTilingDeath, ModuloErrorsAndContracts) {
  affFuncZIL* odd = makeFunc({{1, 0}}, {1}, 1, 0);
  long long one = 1, two = 2, zero = 0;
  optionZIL strict = options(1, false, true);
  EXPECT_EXIT(getRectangularTiledFunction(odd, &one, &two, &strict), testing::ExitedWithCode(255),
              "^The resulting affine function has Z-polyhedral constraints \\(linear \\| i = 0 \\| j = 0 \\)\n$");
  affFuncZIL* param = makeFunc({{2, 2, 0}, {2, 1, 0}}, {1, 1}, 1, 1);
  long long scaleIm[2] = {2, 2};
  EXPECT_EXIT(getRectangularTiledFunction(param, &one, scaleIm, &strict), testing::ExitedWithCode(255),
              "^The resulting affine function has Z-polyhedral constraints \\(param \\| i = 1 \\| j = 0 \\)\n$");

  optionZIL option = options(1);
  EXPECT_DEATH(getRectangularTiledFunction(odd, &one, &zero, &option),
               moduleAssertion("ZIL_rect", "scaleIm\\[i\\]>=1"));
  affFuncZIL* rational = makeFunc({{1, 0}}, {2}, 1, 0);
  EXPECT_DEATH(getRectangularTiledFunction(rational, &one, &one, &option),
               moduleAssertion("linAlg", "affFunc->divs\\[i\\]==1"));
  option.minBlSizeParam = 0;
  EXPECT_DEATH(getRectangularTiledFunction(odd, &one, &one, &option),
               moduleAssertion("ZIL_rect", "option->minBlSizeParam>=1"));
  freeAffineFunction(rational);
  freeAffineFunction(param);
  freeAffineFunction(odd);
}

// The number of block values k of output row f_i: the pieces of the domain
// tiling of the row f_i >= 0, which share its block range.
size_t blockValues(const std::vector<long long>& fRow, int n, int p, std::vector<long long> s, optionZIL option) {
  std::vector<long long> row(1, 1);
  row.insert(row.end(), fRow.begin(), fRow.end());
  polyhedronZIL* poly = makePoly({row}, n, p);
  Tiling tiling = getRectangularTiledDomain(poly, s.data(), &option);
  size_t count = tiling.front().size();
  freeTiling(tiling);
  freePolyhedron(poly);
  return count;
}

// At every tiled point exactly one entry holds, and there
// y_i = t_i·b·Y_i + yl_i with yl_i an integer in [0, t_i·b - 1].
void checkFunctionTiling(const Rows& f, int n, int p, std::vector<long long> s, std::vector<long long> t,
                         optionZIL option) {
  int m = static_cast<int>(f.size());
  affFuncZIL* func = makeFunc(f, std::vector<long long>(m, 1), n, p);
  TiledFunction tiled = getRectangularTiledFunction(func, s.data(), t.data(), &option);
  size_t expected = 1;
  for (int i = 0; i < m; i++) expected *= blockValues(f[i], n, p, s, option);
  EXPECT_EQ(tiled.size(), expected);
  std::vector<bool> integralBlock(m, true);
  for (int i = 0; i < m; i++) {
    for (int k = 0; k < n; k++) integralBlock[i] = integralBlock[i] && (s[k] * f[i][k]) % t[i] == 0;
    for (int j = 0; j < p; j++) integralBlock[i] = integralBlock[i] && f[i][n + j] % t[i] == 0;
  }
  for (long long b = option.minBlSizeParam; b <= option.minBlSizeParam + 2; b++) {
    Point ilHi(n);
    for (int k = 0; k < n; k++) ilHi[k] = s[k] * b - 1;
    forEachPoint(Point(p, 0), Point(p, option.areParamDiv ? 0 : b - 1), [&](const Point& Nl) {
      forEachPoint(Point(n, 0), ilHi, [&](const Point& il) {
        forEachPoint(Point(p, -1), Point(p, 1), [&](const Point& Nb) {
          forEachPoint(Point(n, -2), Point(n, 2), [&](const Point& ii) {
            Point point = tiledPoint(ii, il, Nb, Nl, b), x(n), N(p);
            for (int k = 0; k < n; k++) x[k] = s[k] * b * ii[k] + il[k];
            for (int j = 0; j < p; j++) N[j] = b * Nb[j] + Nl[j];
            auto holding = holdingEntries(tiled, point);
            ASSERT_EQ(holding.size(), 1u) << "b=" << b;
            const affFuncZIL* out = holding[0];
            for (int i = 0; i < m; i++) {
              long long y = scaledOutput(f, i, x, N, 1);
              long long ylNum = outputNumerator(out, m + i, point), ylDiv = out->divs[m + i];
              ASSERT_EQ(ylNum % ylDiv, 0);
              long long yl = ylNum / ylDiv;
              EXPECT_TRUE(yl >= 0 && yl <= t[i] * b - 1) << "yl=" << yl;
              long long Y = outputNumerator(out, i, point), Ydiv = out->divs[i];
              ASSERT_EQ(t[i] * b * Y, (y - yl) * Ydiv) << "b=" << b << " i=" << i;
              if (integralBlock[i]) {
                EXPECT_EQ(Y % Ydiv, 0);
              }
            }
          });
        });
      });
    });
  }
  freeTiledFunction(tiled);
  freeAffineFunction(func);
}

TEST(RectangularFunctionTiling, BruteForceOracle) {
  std::mt19937 rng(105);
  std::uniform_int_distribution<int> coef(-2, 2), cst(-4, 4), scale(1, 3);
  for (int iter = 0; iter < 48; iter++) {
    int m = 1 + iter % 2, n = (iter / 2) % 3, p = (iter / 6) % 2;
    Rows f(m);
    for (auto& row : f) {
      for (int j = 0; j < n + p; j++) row.push_back(coef(rng));
      row.push_back(cst(rng));
    }
    std::vector<long long> s(n), t(m);
    for (auto& v : s) v = scale(rng);
    for (auto& v : t) v = scale(rng);
    SCOPED_TRACE(testing::Message() << "case " << iter);
    checkFunctionTiling(f, n, p, s, t, options(1 + (iter / 12) % 2, (iter / 24) % 2 == 1));
    if (HasFailure()) return;
  }
}

// ---- Tiling along unimodular hyperplanes -----------------------------------

std::vector<std::vector<Rows>> listRows(Tiling& tiling) {
  std::vector<std::vector<Rows>> out;
  for (auto& inner : tiling) {
    out.emplace_back();
    for (polyhedronZIL* piece : inner) out.back().push_back(polyRows(piece));
  }
  freeTiling(tiling);
  return out;
}

TEST(HyperplaneTiling, IdentityEqualsTheRectangularTiling) {
  std::mt19937 rng(1051);
  optionZIL option = options(2);
  for (int iter = 0; iter < 12; iter++) {
    int n = iter % 4, p = iter % 2;
    polyhedronZIL* poly = randomDomain(rng, n, p, 3);
    std::vector<long long> s(n, 1 + iter % 3);
    long long** H = makeMatrix(Rows(n, std::vector<long long>(n, 0)));
    for (int k = 0; k < n; k++) H[k][k] = 1;
    Tiling direct = getRectangularTiledDomain(poly, s.data(), &option);
    Tiling moved = getRectangularCoBTiledFunction(poly, H, s.data(), &option);
    EXPECT_EQ(listRows(moved), listRows(direct)) << "case " << iter;
    freeMatrix(H, n);
    freePolyhedron(poly);
  }
}

TEST(HyperplaneTiling, UniverseIsOnePieceWithoutRows) {
  polyhedronZIL* universe = makePoly({}, 2, 1);
  long long** H = makeMatrix({{1, 1}, {0, 1}});
  long long s[2] = {1, 2};
  optionZIL option = options(1);
  Tiling tiling = getRectangularCoBTiledFunction(universe, H, s, &option);
  ASSERT_EQ(tiling.size(), 1u);
  ASSERT_EQ(tiling.front().size(), 1u);
  EXPECT_EQ(tiling.front().front()->nConstr, 0);
  EXPECT_EQ(tiling.front().front()->nParam, 3);
  freeTiling(tiling);
  freeMatrix(H, 2);
  freePolyhedron(universe);
}

// A random unimodular matrix: a product of elementary row operations.
Rows randomUnimodular(std::mt19937& rng, int n) {
  Rows H(n, std::vector<long long>(n, 0));
  for (int k = 0; k < n; k++) H[k][k] = rng() % 2 ? 1 : -1;
  for (int step = 0; step < 3 * n; step++) {
    int i = rng() % n, j = rng() % n;
    if (i == j) continue;
    long long factor = static_cast<long long>(rng() % 3) - 1;
    for (int c = 0; c < n; c++) H[i][c] += factor * H[j][c];
  }
  return H;
}

TEST(HyperplaneTiling, BruteForceOracle) {
  std::mt19937 rng(1052);
  for (int iter = 0; iter < 24; iter++) {
    int n = 2 + iter % 2, p = (iter / 2) % 2;
    polyhedronZIL* poly = randomDomain(rng, n, p, 3);
    Rows Hrows = randomUnimodular(rng, n);
    long long** H = makeMatrix(Hrows);
    std::vector<long long> s(n);
    for (auto& v : s) v = 1 + rng() % 2;
    optionZIL option = options(1 + iter % 2);
    Tiling tiling = getRectangularCoBTiledFunction(poly, H, s.data(), &option);
    SCOPED_TRACE(testing::Message() << "case " << iter);
    for (long long b = option.minBlSizeParam; b <= 2; b++) {
      Point ilHi(n);
      for (int k = 0; k < n; k++) ilHi[k] = s[k] * b - 1;
      forEachPoint(Point(p, -2), Point(p, 5), [&](const Point& N) {
        Point Nb(p), Nl(p);
        for (int j = 0; j < p; j++) Nb[j] = floorDiv(N[j], b), Nl[j] = N[j] - b * Nb[j];
        forEachPoint(Point(n, -1), Point(n, 1), [&](const Point& ii) {
          forEachPoint(Point(n, 0), ilHi, [&](const Point& il) {
            Point y(n), x(n), iiH(n), ilH(n);
            for (int k = 0; k < n; k++) y[k] = s[k] * b * ii[k] + il[k];
            for (int r = 0; r < n; r++)
              for (int k = 0; k < n; k++) x[r] += Hrows[r][k] * y[k], iiH[r] += Hrows[r][k] * ii[k],
                                           ilH[r] += Hrows[r][k] * il[k];
            ASSERT_EQ(tilingContains(tiling, tiledPoint(iiH, ilH, Nb, Nl, b)), domainContainsScaled(poly, x, N, 1))
                << "b=" << b;
          });
        });
      });
    }
    freeTiling(tiling);
    freeMatrix(H, n);
    freePolyhedron(poly);
    if (HasFailure()) return;
  }
}

TEST(HyperplaneTilingDeath, NonUnimodularAndSingularHyperplanes) {
  polyhedronZIL* poly = makePoly({{1, 1, 0, 0}}, 2, 0);
  long long s[2] = {1, 1};
  optionZIL option = options(1);
  long long** twice = makeMatrix({{2, 0}, {0, 1}});
  EXPECT_DEATH(getRectangularCoBTiledFunction(poly, twice, s, &option), moduleAssertion("ZIL_rect", "abs\\(det\\)==1"));
  long long** singular = makeMatrix({{1, 2}, {2, 4}});
  EXPECT_DEATH(getRectangularCoBTiledFunction(poly, singular, s, &option), moduleAssertion("linAlg", "nZrow<nRow"));
  freeMatrix(singular, 2);
  freeMatrix(twice, 2);
  freePolyhedron(poly);
}

}  // namespace
