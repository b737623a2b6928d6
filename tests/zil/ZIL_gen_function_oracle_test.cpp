// General tiling of an affine function against brute force, and against the
// rectangular tiling of the same function on boxes.
#include <gtest/gtest.h>

#include <numeric>

#include "function_tiling_test_support.h"

using namespace zil_test;

namespace {

// A tile shape over (il, b) with its lattice of origins, and a bound on the
// shape: |il_k| <= reach·b.
struct ShapePair {
  Rows shape;
  Rows lattice;
  long long reach;
};

ShapePair takePair(polyhedronZIL* shape, long long** lattice, int n, long long reach) {
  ShapePair pair = {polyRows(shape), toRows(lattice, n + 1, n), reach};
  freePolyhedron(shape);
  freeMatrix(lattice, n + 1);
  return pair;
}

const Rows kUnimodular[] = {{{1, 1}, {0, 1}}, {{1, 0}, {-1, 1}}, {{2, 1}, {1, 1}}, {{0, 1}, {1, 2}}};
const Rows kNonUnimodular[] = {{{2, 0}, {0, 1}}, {{1, 0}, {-1, 2}}};

// Rectangular or parallelogram tiles of sizes 1..maxSize, whose origin
// lattice tiles space exactly; for one dimension also the box whose origins
// lie b/2 apart (overlapping: input side only) or the tile 0 <= 2y <= b - 2
// on those origins.
ShapePair randomPair(std::mt19937& rng, int n, long long maxSize, bool input) {
  std::vector<long long> sizes(n);
  for (auto& s : sizes) s = 1 + rng() % maxSize;
  int kind = rng() % 3;
  if (n == 1 && kind == 1) {
    if (input) return {{{1, 1, 0, 0}, {1, -1, 1, -1}}, {{1}, {2}}, 1};
    return {{{1, 1, 0, 0}, {1, -2, 1, -2}}, {{1}, {2}}, 1};
  }
  if (n == 1 || kind == 0)
    return takePair(rectangularShape(sizes.data(), n), rectangularOriginLattice(sizes.data(), n), n, maxSize);
  Rows H = kind == 1 ? kUnimodular[rng() % 4] : kNonUnimodular[rng() % 2];
  long long** h = makeMatrix(H);
  ShapePair pair = takePair(parallelogramShape(h, sizes.data(), n), parallelogramOriginLattice(h, sizes.data(), n), n,
                            3 * (sizes[0] + sizes[1]));
  freeMatrix(h, n);
  return pair;
}

long long lcmOfRow(const std::vector<long long>& row) {
  long long l = 1;
  for (long long v : row) l = std::lcm(l, v);
  return l;
}

// M·(b·Σ_c z_c·L[.][c]/D_c) for the lcm M of the denominators D.
Point scaledOrigin(const Rows& lattice, const Point& z, long long b, long long M) {
  int n = static_cast<int>(z.size());
  Point origin(n, 0);
  for (int k = 0; k < n; k++)
    for (int c = 0; c < n; c++) origin[k] += b * z[c] * lattice[k][c] * (M / lattice[n][c]);
  return origin;
}

// The integer points of shape at block size b.
std::vector<Point> shapePointsOf(const polyhedronZIL* shape, long long b, long long reach) {
  std::vector<Point> points;
  forEachPoint(Point(shape->nInd, -reach * b), Point(shape->nInd, reach * b), [&](const Point& il) {
    Point withB(il);
    withB.push_back(b);
    if (pieceContains(shape, withB)) points.push_back(il);
  });
  return points;
}

struct FunctionCase {
  Rows f;  // m rows over [x | N | constant]
  int n, p;
  ShapePair in, image;
  int minBlockSize;
};

// At every tiled point whose x is integral exactly one entry holds, and
// there f(x, N) = b·AIm·Y + yl with Y integral and yl in the image shape.
void checkCase(const FunctionCase& fc) {
  int m = static_cast<int>(fc.f.size()), n = fc.n, p = fc.p;
  affFuncZIL* func = makeFunc(fc.f, std::vector<long long>(m, 1), n, p);
  polyhedronZIL* shape = makePoly(fc.in.shape, n, 1);
  polyhedronZIL* shapeIm = makePoly(fc.image.shape, m, 1);
  long long** lattice = makeMatrix(fc.in.lattice);
  long long** latticeIm = makeMatrix(fc.image.lattice);
  optionZIL option;
  option.minBlSizeParam = fc.minBlockSize;
  TiledFunction tiled = getTiledFunction(func, shape, lattice, shapeIm, latticeIm, &option);
  long long M = lcmOfRow(fc.in.lattice[n]), MIm = lcmOfRow(fc.image.lattice[m]);
  long long b0 = MIm * ((fc.minBlockSize + MIm - 1) / MIm);
  for (long long b : {b0, b0 + MIm}) {
    std::vector<Point> locals = shapePointsOf(shape, b, fc.in.reach);
    forEachPoint(Point(p, -1), Point(p, 0), [&](const Point& Nb) {
      forEachPoint(Point(p, 0), Point(p, b - 1), [&](const Point& Nl) {
        Point N(p);
        for (int j = 0; j < p; j++) N[j] = b * Nb[j] + Nl[j];
        forEachPoint(Point(n, -1), Point(n, 1), [&](const Point& ii) {
          Point origin = scaledOrigin(fc.in.lattice, ii, b, M);
          for (const Point& il : locals) {
            Point x(n);
            bool integral = true;
            for (int k = 0; k < n; k++) integral = integral && origin[k] % M == 0, x[k] = origin[k] / M + il[k];
            if (!integral) continue;
            Point point = tiledPoint(ii, il, Nb, Nl, b);
            auto holding = holdingEntries(tiled, point);
            ASSERT_EQ(holding.size(), 1u) << "b=" << b;
            Point Y(m), yl(m);
            for (int i = 0; i < m; i++) {
              long long num = outputNumerator(holding[0], i, point), den = holding[0]->divs[i];
              ASSERT_EQ(num % den, 0) << "Y_" << i << " = " << num << "/" << den;
              Y[i] = num / den;
              num = outputNumerator(holding[0], m + i, point), den = holding[0]->divs[m + i];
              ASSERT_EQ(num % den, 0) << "yl_" << i << " = " << num << "/" << den;
              yl[i] = num / den;
            }
            Point ylWithB(yl);
            ylWithB.push_back(b);
            EXPECT_TRUE(pieceContains(shapeIm, ylWithB)) << "b=" << b;
            Point imageOrigin = scaledOrigin(fc.image.lattice, Y, b, MIm);
            for (int i = 0; i < m; i++)
              ASSERT_EQ(MIm * scaledOutput(fc.f, i, x, N, 1), imageOrigin[i] + MIm * yl[i]) << "b=" << b;
          }
        });
      });
    });
  }
  freeTiledFunction(tiled);
  freeMatrix(latticeIm, m + 1);
  freeMatrix(lattice, n + 1);
  freePolyhedron(shapeIm);
  freePolyhedron(shape);
  freeAffineFunction(func);
}

Rows randomFunction(std::mt19937& rng, int m, int n, int p) {
  Rows f(m);
  for (auto& row : f) {
    for (int j = 0; j < n + p; j++) row.push_back(static_cast<long long>(rng() % 5) - 2);
    row.push_back(static_cast<long long>(rng() % 7) - 3);
  }
  return f;
}

TEST(GeneralFunctionTiling, BruteForceOracle) {
  std::mt19937 rng(108);
  for (int iter = 0; iter < 48; iter++) {
    int m = 1 + iter % 2, n = iter % 10 == 9 ? 0 : 1 + (iter / 2) % 2, p = (iter / 4) % 2;
    FunctionCase fc;
    fc.f = randomFunction(rng, m, n, p);
    fc.n = n;
    fc.p = p;
    fc.in = n == 0 ? ShapePair{{}, {{}}, 0} : randomPair(rng, n, 2, true);
    fc.image = randomPair(rng, m, 3, false);
    fc.minBlockSize = 1 + (iter / 8) % 2;
    SCOPED_TRACE(testing::Message() << "case " << iter);
    checkCase(fc);
    if (HasFailure()) return;
  }
}

// The fault cases of the lattice reading: generators (1, 0) and (1/2, 1/2)
// with unequal denominators, on either side of the identity.
TEST(GeneralFunctionTiling, LatticesAreReadByColumns) {
  long long H[2][2] = {{1, 0}, {-1, 2}}, sizes[2] = {1, 1};
  long long* rows[2] = {H[0], H[1]};
  ShapePair sheared = takePair(parallelogramShape(rows, sizes, 2), parallelogramOriginLattice(rows, sizes, 2), 2, 4);
  ASSERT_EQ(sheared.lattice, (Rows{{1, 1}, {0, 1}, {1, 2}}));
  ShapePair box = takePair(rectangularShape(sizes, 2), rectangularOriginLattice(sizes, 2), 2, 1);
  Rows identity = {{1, 0, 0}, {0, 1, 0}};
  checkCase({identity, 2, 0, box, sheared, 1});
  checkCase({identity, 2, 0, sheared, box, 1});
}

// Same (Y, yl) from both tilings wherever the rectangular Y is an integer.
TEST(GeneralFunctionTiling, AgreesWithTheRectangularTilingOnBoxes) {
  std::mt19937 rng(1081);
  for (int iter = 0; iter < 16; iter++) {
    int m = 1 + iter % 2, n = 1 + (iter / 2) % 2, p = (iter / 4) % 2;
    Rows f = randomFunction(rng, m, n, p);
    std::vector<long long> s(n), t(m);
    for (auto& v : s) v = 1 + rng() % 2;
    for (auto& v : t) v = 1 + rng() % 3;
    affFuncZIL* func = makeFunc(f, std::vector<long long>(m, 1), n, p);
    polyhedronZIL* shape = rectangularShape(s.data(), n);
    polyhedronZIL* shapeIm = rectangularShape(t.data(), m);
    long long** lattice = rectangularOriginLattice(s.data(), n);
    long long** latticeIm = rectangularOriginLattice(t.data(), m);
    optionZIL option;
    option.minBlSizeParam = 1 + (iter / 8) % 2;
    TiledFunction general = getTiledFunction(func, shape, lattice, shapeIm, latticeIm, &option);
    TiledFunction rect = getRectangularTiledFunction(func, s.data(), t.data(), &option);
    SCOPED_TRACE(testing::Message() << "case " << iter);
    long long b = option.minBlSizeParam + 2;
    Point ilHi(n);
    for (int k = 0; k < n; k++) ilHi[k] = s[k] * b - 1;
    forEachPoint(Point(n + 2 * p, -1), Point(n + 2 * p, 1), [&](const Point& blockAndParams) {
      Point ii(blockAndParams.begin(), blockAndParams.begin() + n), Nb(blockAndParams.begin() + n,
                                                                        blockAndParams.begin() + n + p);
      Point Nl(p);
      for (int j = 0; j < p; j++) Nl[j] = blockAndParams[n + p + j] + 1;  // 0 .. 2, below b
      forEachPoint(Point(n, 0), ilHi, [&](const Point& il) {
        Point point = tiledPoint(ii, il, Nb, Nl, b);
        auto g = holdingEntries(general, point), r = holdingEntries(rect, point);
        ASSERT_EQ(g.size(), 1u);
        ASSERT_EQ(r.size(), 1u);
        for (int i = 0; i < m; i++) {
          long long rY = outputNumerator(r[0], i, point);
          if (rY % r[0]->divs[i] != 0) continue;
          EXPECT_EQ(outputNumerator(g[0], i, point), rY / r[0]->divs[i] * g[0]->divs[i]);
          EXPECT_EQ(outputNumerator(g[0], m + i, point) * r[0]->divs[m + i],
                    outputNumerator(r[0], m + i, point) * g[0]->divs[m + i]);
        }
      });
    });
    freeTiledFunction(rect);
    freeTiledFunction(general);
    freeMatrix(latticeIm, m + 1);
    freeMatrix(lattice, n + 1);
    freePolyhedron(shapeIm);
    freePolyhedron(shape);
    freeAffineFunction(func);
    if (HasFailure()) return;
  }
}

}  // namespace
