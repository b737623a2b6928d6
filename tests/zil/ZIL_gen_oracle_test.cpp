// General tiling of a domain against brute force, and against the
// rectangular tiling on box shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>

#include "tiling_test_support.h"

using namespace zil_test;

namespace {

struct ShapeCase {
  Rows shape;       // over il and b
  Rows lattice;     // n + 1 rows
  bool tilesExactly;
  long long reach;  // |il_k| <= reach·b for every point of the shape
};

Rows takeRows(polyhedronZIL* poly) {
  Rows rows = polyRows(poly);
  freePolyhedron(poly);
  return rows;
}

Rows takeLattice(long long** lat, int n) {
  Rows rows = toRows(lat, n + 1, n);
  freeMatrix(lat, n + 1);
  return rows;
}

Rows randomLattice(std::mt19937& rng, int n) {
  Rows lat(n + 1, std::vector<long long>(n));
  for (int i = 0; i < n; i++)
    for (int c = 0; c < n; c++) lat[i][c] = static_cast<long long>(rng() % 5) - 2;
  for (int c = 0; c < n; c++) lat[n][c] = 1 + rng() % 3;
  return lat;
}

const Rows kUnimodular[] = {{{1, 1}, {0, 1}}, {{1, 0}, {-1, 1}}, {{2, 1}, {1, 1}}, {{0, 1}, {1, 2}}};
const Rows kNonUnimodular[] = {{{2, 1}, {0, 1}}, {{1, 1}, {-1, 1}}, {{3, 0}, {1, 1}}};

ShapeCase randomShape(std::mt19937& rng, int n) {
  std::vector<long long> sizes(n);
  for (auto& s : sizes) s = 1 + rng() % 2;
  int kind = n == 2 ? rng() % 4 : 0;
  bool matching = rng() % 2 == 0;
  ShapeCase sc;
  if (kind == 3) {  // triangle il_0, il_1 >= 0, il_0 + il_1 <= b - 1
    sc = {{{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, -1, 1, -1}}, randomLattice(rng, n), false, 1};
    return sc;
  }
  if (kind == 0) {
    sc.shape = takeRows(rectangularShape(sizes.data(), n));
    sc.lattice = takeLattice(rectangularOriginLattice(sizes.data(), n), n);
    sc.reach = 2;
  } else {
    Rows H = kind == 1 ? kUnimodular[rng() % 4] : kNonUnimodular[rng() % 3];
    long long** h = makeMatrix(H);
    sc.shape = takeRows(parallelogramShape(h, sizes.data(), n));
    sc.lattice = takeLattice(parallelogramOriginLattice(h, sizes.data(), n), n);
    freeMatrix(h, n);
    sc.reach = 2 * (sizes[0] + sizes[1]);
  }
  sc.tilesExactly = matching && kind != 2;
  if (!matching) sc.lattice = randomLattice(rng, n);
  return sc;
}

// Integer points of the shape at block size b.
std::vector<Point> shapePoints(const polyhedronZIL* shape, long long b, long long reach) {
  int n = shape->nInd;
  std::vector<Point> points;
  forEachPoint(Point(n, -reach * b), Point(n, reach * b), [&](const Point& il) {
    Point withB(il);
    withB.push_back(b);
    if (pieceContains(shape, withB)) points.push_back(il);
  });
  return points;
}

void checkCase(polyhedronZIL* poly, const ShapeCase& sc, int m) {
  int n = poly->nInd, p = poly->nParam;
  polyhedronZIL* shape = makePoly(sc.shape, n, 1);
  long long** lat = makeMatrix(sc.lattice);
  optionZIL option;
  option.minBlSizeParam = m;
  Tiling tiling;
  captureCout([&] { tiling = getTiledDomain(poly, shape, lat, &option); });
  long long M = 1;
  for (int c = 0; c < n; c++) M = std::lcm(M, sc.lattice[n][c]);
  long long reachII = sc.tilesExactly ? 3 : 2;
  for (long long b = m; b <= 3; b++) {
    std::vector<Point> locals = shapePoints(shape, b, sc.reach);
    std::map<Point, int> hits;  // window points of an exact tiling, at the first parameter value
    forEachPoint(Point(p, -1), Point(p, 1), [&](const Point& Nb) {
      forEachPoint(Point(p, 0), Point(p, b - 1), [&](const Point& Nl) {
        Point N(p);
        for (int j = 0; j < p; j++) N[j] = b * Nb[j] + Nl[j];
        bool count = sc.tilesExactly && std::all_of(Nb.begin(), Nb.end(), [](long long v) { return v == -1; }) &&
                     std::all_of(Nl.begin(), Nl.end(), [](long long v) { return v == 0; });
        forEachPoint(Point(n, -reachII), Point(n, reachII), [&](const Point& ii) {
          for (const Point& il : locals) {
            Point Mx(n);  // M·x = b·Σ_c ii_c·L[.][c]·(M / D_c) + M·il
            for (int k = 0; k < n; k++) {
              Mx[k] = M * il[k];
              for (int c = 0; c < n; c++) Mx[k] += b * ii[c] * sc.lattice[k][c] * (M / sc.lattice[n][c]);
            }
            bool expected = domainContainsScaled(poly, Mx, N, M);
            ASSERT_EQ(tilingContains(tiling, tiledPoint(ii, il, Nb, Nl, b)), expected) << "b=" << b;
            if (count && std::all_of(Mx.begin(), Mx.end(), [](long long v) { return v >= -1 && v <= 1; }))
              hits[Mx]++;
          }
        });
      });
    });
    if (!sc.tilesExactly) continue;
    forEachPoint(Point(n, -1), Point(n, 1), [&](const Point& x) { EXPECT_EQ(hits[x], 1) << "b=" << b; });
  }
  freeTiling(tiling);
  freeMatrix(lat, n + 1);
  freePolyhedron(shape);
}

TEST(GeneralTiling, BruteForceOracle) {
  std::mt19937 rng(107);
  for (int iter = 0; iter < 80; iter++) {
    int n = iter % 10 == 9 ? 3 : 1 + iter % 2, p = (iter / 2) % 2;
    polyhedronZIL* poly = randomDomain(rng, n, p, 3);
    ShapeCase sc = randomShape(rng, n);
    SCOPED_TRACE(testing::Message() << "case " << iter);
    checkCase(poly, sc, 1 + (iter / 4) % 2);
    freePolyhedron(poly);
    if (HasFailure()) return;
  }
}

// Parallelograms 0 <= h_c·x <= s_c·b - 1 on hyperplanes that are not
// unimodular: the origins b·(H^-1)^T·diag(s)·z have rational generators,
// here a column whose entries have different denominators (-s_1/3 and s_1,
// written (-s_1, 3·s_1)/3). Every point of a domain lies in exactly one
// tile, for block sizes that make the origins integer points.
TEST(GeneralTiling, NonUnimodularParallelogramsCoverADomainOnce) {
  const Rows H = {{3, 0}, {1, 1}};  // h_0 = 3·x_0 + x_1, h_1 = x_1
  // 0 <= x_0 <= N, -2 <= x_1 <= x_0 + 1.
  polyhedronZIL* poly = makePoly({{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 0, 1, 0, 2}, {1, 1, -1, 0, 1}}, 2, 1);
  for (long long s1 : {1, 2}) {
    std::vector<long long> sizes = {1, s1};
    long long** h = makeMatrix(H);
    polyhedronZIL* shape = parallelogramShape(h, sizes.data(), 2);
    long long** lat = parallelogramOriginLattice(h, sizes.data(), 2);
    freeMatrix(h, 2);
    ASSERT_EQ(toRows(lat, 3, 2), (Rows{{1, -s1}, {0, 3 * s1}, {3, 3}}));
    optionZIL option;
    option.minBlSizeParam = 1;
    Tiling tiling;
    captureCout([&] { tiling = getTiledDomain(poly, shape, lat, &option); });
    for (long long b : {3, 6})
      for (long long N : {0, 2, 5}) {
        SCOPED_TRACE(testing::Message() << "s1=" << s1 << " b=" << b << " N=" << N);
        Point lo = {-3, -4}, hi = {N + 3, N + 4};
        // The tiles meeting the window: z_c = floor(h_c·x / (s_c·b)).
        Point zlo = {floorDiv(3 * lo[0] + lo[1], b), floorDiv(lo[1], s1 * b)};
        Point zhi = {floorDiv(3 * hi[0] + hi[1], b), floorDiv(hi[1], s1 * b)};
        Point Nb = {floorDiv(N, b)}, Nl = {N - b * Nb[0]};
        std::map<Point, int> hits;
        std::vector<Point> locals = shapePoints(shape, b, 2 * s1);
        forEachPoint(zlo, zhi, [&](const Point& z) {
          for (const Point& il : locals) {
            Point x(2);
            for (int k = 0; k < 2; k++) x[k] = il[k] + b * (lat[k][0] * z[0] + lat[k][1] * z[1]) / 3;
            if (tilingContains(tiling, tiledPoint(z, il, Nb, Nl, b))) hits[x]++;
          }
        });
        forEachPoint(lo, hi, [&](const Point& x) {
          EXPECT_EQ(hits[x], domainContainsScaled(poly, x, {N}, 1) ? 1 : 0) << "x=" << x[0] << "," << x[1];
        });
      }
    freeTiling(tiling);
    freeMatrix(lat, 3);
    freePolyhedron(shape);
  }
  freePolyhedron(poly);
}

// Closed-form block range of a row over a box tile with scales s.
std::pair<long, long> closedFormRange(const long long* a, const long long* c, long long d, const long long* s,
                                      int n, int p, long long m) {
  long long P = 0, Pu = 0, Q = 0, Qu = 0;
  for (int k = 0; k < n; k++) (a[k] > 0 ? P : Q) += a[k] * s[k], (a[k] > 0 ? Pu : Qu) += a[k];
  for (int j = 0; j < p; j++) (c[j] > 0 ? P : Q) += c[j], (c[j] > 0 ? Pu : Qu) += c[j];
  long kmax = d - Pu < 0 ? P - 1 : P + floorDiv(d - Pu, m);
  long kmin = d - Qu >= 0 ? Q : Q + floorDiv(d - Qu, m);
  return {kmin, kmax};
}

TEST(GeneralTiling, AgreesWithTheRectangularTilingOnBoxes) {
  std::mt19937 rng(1074);
  for (int iter = 0; iter < 60; iter++) {
    int n = 1 + iter % 3, p = (iter / 3) % 3;
    polyhedronZIL* poly = randomDomain(rng, n, p, 4);
    std::vector<long long> s(n);
    for (auto& v : s) v = 1 + rng() % 3;
    optionZIL option;
    option.minBlSizeParam = 1 + iter % 2;
    polyhedronZIL* shape = rectangularShape(s.data(), n);
    long long** lat = rectangularOriginLattice(s.data(), n);
    Tiling general;
    captureCout([&] { general = getTiledDomain(poly, shape, lat, &option); });
    Tiling rect = getRectangularTiledDomain(poly, s.data(), &option);
    ASSERT_EQ(general.size(), rect.size());

    polyhedronZIL* ineq = eliminateEqualities(poly);
    int rows = ineq->nConstr;
    auto g = general.begin();
    auto r = rect.begin();
    for (int i = 0; i < rows; i++, ++g, ++r) {
      const long long* row = ineq->polyScalar[i];
      auto expected = closedFormRange(row + 1, row + 1 + n, row[1 + n + p], s.data(), n, p, option.minBlSizeParam);
      EXPECT_EQ(polyRows(g->front())[0].back(), expected.first);
      EXPECT_EQ(polyRows(g->front()), polyRows(r->back()));  // full piece against inequality piece
      std::map<long long, Rows> rectByK;
      for (auto it = r->begin(); std::next(it) != r->end(); ++it) rectByK[-polyRows(*it)[0].back()] = polyRows(*it);
      EXPECT_EQ(static_cast<long>(rectByK.size()), std::max(0L, expected.second - expected.first));
      long long gcdAll = 0;
      for (int k = 0; k < n; k++) gcdAll = std::gcd(gcdAll, row[1 + k] * s[k]);
      for (int j = 0; j < p; j++) gcdAll = std::gcd(gcdAll, row[1 + n + j]);
      for (auto it = std::next(g->begin()); it != g->end(); ++it) {
        Rows eq = polyRows(*it);
        EXPECT_EQ(eq, rectByK[-eq[0].back()]);
        rectByK.erase(-eq[0].back());
      }
      for (auto& missing : rectByK) {
        long long k = -missing.first;  // the rows carry B + k == 0 with k = -(constant)
        EXPECT_TRUE(gcdAll == 0 ? k != 0 : k % gcdAll != 0) << "k=" << k;
      }
    }
    freePolyhedron(ineq);
    freeTiling(general);
    freeTiling(rect);
    freeMatrix(lat, n + 1);
    freePolyhedron(shape);
    freePolyhedron(poly);
    if (HasFailure()) return;
  }
}

}  // namespace
