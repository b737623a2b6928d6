// Tile shapes and origin lattices: exact matrices and a coverage oracle.
#include <gtest/gtest.h>

#include "tiling_test_support.h"

using namespace zil_test;

namespace {

Rows lattice(long long** lat, int n) {
  Rows rows = toRows(lat, n + 1, n);
  freeMatrix(lat, n + 1);
  return rows;
}

Rows parallelogramLattice(const Rows& H, std::vector<long long> sizes) {
  long long** h = makeMatrix(H);
  int n = static_cast<int>(H.size());
  Rows rows = lattice(parallelogramOriginLattice(h, sizes.data(), n), n);
  freeMatrix(h, n);
  return rows;
}

Rows shapeRows(polyhedronZIL* shape) {
  Rows rows = polyRows(shape);
  EXPECT_EQ(shape->nParam, 1);
  freePolyhedron(shape);
  return rows;
}

TEST(TileShapes, RectangularShapeAndLattice) {
  long long sizes[2] = {2, 3};
  EXPECT_EQ(shapeRows(rectangularShape(sizes, 2)),
            (Rows{{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, 0, 2, -1}, {1, 0, -1, 3, -1}}));
  EXPECT_EQ(lattice(rectangularOriginLattice(sizes, 2), 2), (Rows{{2, 0}, {0, 3}, {1, 1}}));
}

TEST(TileShapes, ParallelogramWithIdentityIsTheRectangle) {
  long long sizes[2] = {2, 3};
  long long** id = makeMatrix({{1, 0}, {0, 1}});
  EXPECT_EQ(shapeRows(parallelogramShape(id, sizes, 2)), shapeRows(rectangularShape(sizes, 2)));
  EXPECT_EQ(lattice(parallelogramOriginLattice(id, sizes, 2), 2), (Rows{{2, 0}, {0, 3}, {1, 1}}));
  freeMatrix(id, 2);
}

TEST(TileShapes, ParallelogramLattices) {
  EXPECT_EQ(parallelogramLattice({{1, 1}, {0, 1}}, {1, 1}), (Rows{{1, 0}, {-1, 1}, {1, 1}}));
  EXPECT_EQ(parallelogramLattice({{2, 0}, {0, 1}}, {3, 1}), (Rows{{3, 0}, {0, 1}, {2, 1}}));
  // Sizes scale the columns of the transposed inverse, one per generator.
  EXPECT_EQ(parallelogramLattice({{0, 1}, {1, 2}}, {1, 3}), (Rows{{-2, 3}, {1, 0}, {1, 1}}));
}

TEST(TileShapesDeath, SingularHyperplanes) {
  long long sizes[2] = {1, 1};
  long long** h = makeMatrix({{1, 1}, {1, 1}});
  EXPECT_DEATH(parallelogramOriginLattice(h, sizes, 2), "nZrow<nRow");
  freeMatrix(h, 2);
}

// Random unimodular matrix: a few row additions and swaps of the identity.
Rows randomUnimodular(std::mt19937& rng, int n) {
  Rows H(n, std::vector<long long>(n, 0));
  for (int i = 0; i < n; i++) H[i][i] = 1;
  for (int step = 0; step < 3; step++) {
    int i = rng() % n, j = rng() % n;
    if (i == j) continue;
    long long coef = rng() % 2 == 0 ? 1 : -1;
    for (int c = 0; c < n; c++) H[i][c] += coef * H[j][c];
  }
  if (rng() % 2 == 0) std::swap(H[0], H[n - 1]);
  return H;
}

// Every integer point of a window is b·L·z + (a shape point) for exactly one
// z. The search box of z is centred on the tile that H^T x points to.
void checkCoverage(const Rows& H, const std::vector<long long>& sizes, long long b) {
  int n = static_cast<int>(H.size());
  long long** h = makeMatrix(H);
  polyhedronZIL* shape = parallelogramShape(h, const_cast<long long*>(sizes.data()), n);
  long long** lat = parallelogramOriginLattice(h, const_cast<long long*>(sizes.data()), n);
  for (int c = 0; c < n; c++) ASSERT_EQ(lat[n][c], 1);
  forEachPoint(Point(n, -4), Point(n, 4), [&](const Point& x) {
    Point centre(n), lo(n), hi(n);
    for (int i = 0; i < n; i++) {
      long long y = 0;
      for (int j = 0; j < n; j++) y += H[j][i] * x[j];
      centre[i] = floorDiv(y, sizes[i] * b);
      lo[i] = centre[i] - 2, hi[i] = centre[i] + 2;
    }
    int hits = 0;
    forEachPoint(lo, hi, [&](const Point& z) {
      Point local(x);
      for (int i = 0; i < n; i++)
        for (int c = 0; c < n; c++) local[i] -= b * lat[i][c] * z[c];
      local.push_back(b);
      if (pieceContains(shape, local)) hits++;
    });
    EXPECT_EQ(hits, 1) << "x0=" << x[0] << " x1=" << x[1] << " b=" << b;
  });
  freeMatrix(lat, n + 1);
  freePolyhedron(shape);
  freeMatrix(h, n);
}

TEST(TileShapes, ParallelogramTilesCoverEveryPointOnce) {
  std::mt19937 rng(106);
  for (int iter = 0; iter < 12; iter++) {
    int n = 2 + iter % 2;
    Rows H = randomUnimodular(rng, n);
    std::vector<long long> sizes(n);
    for (auto& s : sizes) s = 1 + rng() % 3;
    for (long long b = 1; b <= 3; b++) checkCoverage(H, sizes, b);
    if (HasFailure()) return;
  }
}

}  // namespace
