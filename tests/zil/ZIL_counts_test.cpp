// Piece counts of the domain tilings, computed without building the pieces:
// they must agree with the lists the tilings return.
#include <gtest/gtest.h>

#include "tiling_test_support.h"

using namespace zil_test;

namespace {

// Whether a piece can hold an integer point at all: an equality first row
// needs the gcd of its coefficients to divide its constant.
bool mayHoldPoints(const polyhedronZIL* piece) {
  const long long* row = piece->polyScalar[0];
  int width = piece->nInd + piece->nParam + 2;
  if (row[0] != 0) return true;
  long long g = 0;
  for (int j = 1; j < width - 1; j++) g = gcd(g, row[j]);
  return g == 0 ? row[width - 1] == 0 : row[width - 1] % g == 0;
}

std::vector<long long> countsOf(long long* counts, int n) {
  std::vector<long long> result(counts, counts + n);
  free(counts);
  return result;
}

TEST(PieceCounts, RectangularCountsThePiecesThatMayHoldPoints) {
  std::mt19937 rng(16);
  for (int iter = 0; iter < 60; iter++) {
    int n = 1 + iter % 3, p = (iter / 3) % 3;
    polyhedronZIL* poly = randomDomain(rng, n, p, 4);
    std::vector<long long> scale(n);
    for (auto& s : scale) s = 1 + rng() % 4;
    optionZIL option;
    option.minBlSizeParam = 1 + iter % 3;
    int nList = 0;
    long long* raw = getRectangularPieceCounts(poly, scale.data(), &option, &nList);
    std::vector<long long> counts = countsOf(raw, nList);
    Tiling tiling = getRectangularTiledDomain(poly, scale.data(), &option);
    std::vector<long long> expected;
    for (auto& inner : tiling) {
      long long kept = 0;
      for (polyhedronZIL* piece : inner) kept += mayHoldPoints(piece);
      expected.push_back(kept);
    }
    EXPECT_EQ(counts, expected) << "case " << iter;
    freeTiling(tiling);
    freePolyhedron(poly);
  }
}

// A ratio 1000 on x >= 0 leaves one piece that may hold points of the
// thousand the tiling makes; x <= N - 1 keeps them all.
TEST(PieceCounts, LargeRatios) {
  polyhedronZIL* poly = makePoly({{1, 1, 0, 0}, {1, -1, 1, -1}}, 1, 1);
  long long scale = 1000;
  optionZIL option;
  option.minBlSizeParam = 1;
  int nList = 0;
  long long* raw = getRectangularPieceCounts(poly, &scale, &option, &nList);
  EXPECT_EQ(countsOf(raw, nList), (std::vector<long long>{1, 1001}));
  freePolyhedron(poly);
}

TEST(PieceCounts, GeneralCountsAreTheListSizesAndPrintNothing) {
  std::mt19937 rng(1616);
  for (int iter = 0; iter < 40; iter++) {
    int n = 1 + iter % 2, p = (iter / 2) % 2;
    polyhedronZIL* poly = randomDomain(rng, n, p, 3);
    std::vector<long long> sizes(n);
    for (auto& v : sizes) v = 1 + rng() % 3;
    polyhedronZIL* shape = rectangularShape(sizes.data(), n);
    long long** lat = rectangularOriginLattice(sizes.data(), n);
    optionZIL option;
    option.minBlSizeParam = 1 + iter % 2;
    int nList = 0;
    long long* raw = nullptr;
    EXPECT_EQ(captureCout([&] { raw = getTiledDomainPieceCounts(poly, shape, lat, &option, &nList); }), "");
    std::vector<long long> counts = countsOf(raw, nList);
    Tiling tiling;
    captureCout([&] { tiling = getTiledDomain(poly, shape, lat, &option); });
    std::vector<long long> expected;
    for (auto& inner : tiling) expected.push_back(static_cast<long long>(inner.size()));
    EXPECT_EQ(counts, expected) << "case " << iter;
    freeTiling(tiling);
    freeMatrix(lat, n + 1);
    freePolyhedron(shape);
    freePolyhedron(poly);
  }
}

}  // namespace
