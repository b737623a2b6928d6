// The tiling library's records: building, freeing, printing and the
// record-level transformations.
#include <random>

#include <gtest/gtest.h>

#include "linAlg.h"
#include "zil_test_support.h"

using namespace zil_test;

TEST(ZilRecords, TileLikeCopyAndFreeCycle) {
  for (int cycle = 0; cycle < 3; cycle++) {
    polyhedronZIL* poly = makePoly({{1, 1, 0, 0}, {0, 1, -1, 2}}, 1, 1);
    EXPECT_EQ(poly->nConstrMod, 0);
    polyhedronZIL* piece =
        buildPolyhedron(copyMatrix(poly->polyScalar, 2, 4), 2, poly->nInd, poly->nParam);
    // A tiling that adds modulo rows replaces the empty allocation.
    freeMatrix(piece->modConstr, piece->nConstrMod);
    piece->modConstr = makeMatrix({{2, 1, 0, 0}});
    piece->nConstrMod = 1;
    freePolyhedron(piece);
    freePolyhedron(poly);
  }
  freePolyhedron(buildPolyhedron(nullptr, 0, 2, 1));
  freeMatrix(static_cast<long long**>(nullptr), 0);
  affFuncZIL* func = buildAffineFunction(makeMatrix({{1, 2, 3}}), 1, 1, 1);
  EXPECT_EQ(func->divs[0], 1);
  freeAffineFunction(func);
}

TEST(ZilRecords, EliminateEqualitiesAppendsNegations) {
  polyhedronZIL* poly = makePoly({{0, 1, -1, 0}, {1, 1, 0, 0}}, 1, 1);
  polyhedronZIL* out = eliminateEqualities(poly);
  EXPECT_EQ(polyRows(out), (Rows{{1, 1, -1, 0}, {1, 1, 0, 0}, {1, -1, 1, 0}}));
  EXPECT_EQ(polyRows(poly), (Rows{{0, 1, -1, 0}, {1, 1, 0, 0}}));  // input kept
  freePolyhedron(out);
  freePolyhedron(poly);
}

TEST(ZilRecords, CartesianProductPlacesIndices) {
  polyhedronZIL* p1 = makePoly({{1, 1, 0, 0}, {0, 1, -1, 0}}, 1, 1);
  polyhedronZIL* p2 = makePoly({{1, -1, 1, -1}}, 1, 1);
  polyhedronZIL* out = cartesianProduct(p1, p2);
  EXPECT_EQ(out->nInd, 2);
  EXPECT_EQ(polyRows(out), (Rows{{1, 1, 0, 0, 0}, {0, 1, 0, -1, 0}, {1, 0, -1, 1, -1}}));
  for (polyhedronZIL* p : {p1, p2, out}) freePolyhedron(p);
}

static Rows changed(const Rows& rows, const Rows& map, int nInd, int nParam) {
  polyhedronZIL* poly = makePoly(rows, nInd, nParam);
  affFuncZIL* func = makeFunc(map, std::vector<long long>(map.size(), 1), nInd, nParam);
  polyhedronZIL* out = changeOfBasis(poly, func);
  Rows result = polyRows(out);
  for (polyhedronZIL* p : {poly, out}) freePolyhedron(p);
  freeAffineFunction(func);
  return result;
}

TEST(ZilChangeOfBasis, KnownMaps) {
  Rows square{{1, 1, 0, 0}, {1, -1, 1, 0}};
  EXPECT_EQ(changed(square, {{1, 0, 0}, {1, 1, 0}}, 2, 0), (Rows{{1, 1, 0, 0}, {1, -2, 1, 0}}));
  EXPECT_EQ(changed({{1, -1, 1, 0}}, {{1, 1, 1}}, 1, 1), (Rows{{1, -1, 2, 1}}));
  EXPECT_EQ(changed(square, {{1, 0, 0}, {0, 1, 0}}, 2, 0), square);
  EXPECT_EQ(changed({{1, 1, 0, 0}}, {{1, 1, 0}}, 1, 1), (Rows{{1, 1, -1, 0}}));
  EXPECT_EQ(changed({{1, 2}}, {}, 0, 0), (Rows{{1, 2}}));  // no index at all
}

static bool satisfies(const Rows& rows, const std::vector<long long>& point) {
  for (const auto& row : rows) {
    long long value = row.back();
    for (size_t k = 0; k < point.size(); k++) value += row[1 + k] * point[k];
    if (row[0] == 0 ? value != 0 : value < 0) return false;
  }
  return true;
}

// x lies in P exactly when y = A.x + B.N + c lies in the image, over a box
// of integer points, for random unimodular A.
TEST(ZilChangeOfBasis, ImageHoldsTheSamePoints) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<long long> small(-2, 2);
  for (int trial = 0; trial < 20; trial++) {
    Rows map{{1, 0, small(rng), small(rng)}, {0, 1, small(rng), small(rng)}};
    long long s = small(rng);
    for (int c = 0; c < 4; c++) map[trial % 2][c] += s * map[1 - trial % 2][c];
    if (trial % 3 == 0) std::swap(map[0], map[1]);
    Rows rows;
    for (int r = 0; r < 3; r++)
      rows.push_back({r == 0 ? 0 : 1, small(rng), small(rng), small(rng), small(rng)});
    affFuncZIL* func = makeFunc(map, {1, 1}, 2, 1);
    polyhedronZIL* poly = makePoly(rows, 2, 1);
    polyhedronZIL* image = changeOfBasis(poly, func);
    Rows imageRows = polyRows(image);
    EXPECT_EQ(toRows(func->affFuncScalar, 2, 4), map);
    EXPECT_EQ(toRows(&func->divs, 1, 2), (Rows{{1, 1}}));
    for (long long x0 = -3; x0 <= 3; x0++)
      for (long long x1 = -3; x1 <= 3; x1++)
        for (long long n = -3; n <= 3; n++) {
          long long y0 = map[0][0] * x0 + map[0][1] * x1 + map[0][2] * n + map[0][3];
          long long y1 = map[1][0] * x0 + map[1][1] * x1 + map[1][2] * n + map[1][3];
          ASSERT_EQ(satisfies(rows, {x0, x1, n}), satisfies(imageRows, {y0, y1, n}))
              << "trial " << trial;
        }
    for (polyhedronZIL* p : {poly, image}) freePolyhedron(p);
    freeAffineFunction(func);
  }
}

TEST(ZilChangeOfBasisDeathTest, RationalMapStops) {
  polyhedronZIL* poly = makePoly({{1, 1, 0}}, 1, 0);
  affFuncZIL* func = makeFunc({{1, 0}}, {2}, 1, 0);
  EXPECT_DEATH(changeOfBasis(poly, func), linAlgAssertion("affFunc->divs[i]==1"));
  EXPECT_EQ(func->divs[0], 2);
  affFuncZIL* wide = makeFunc({{1, 0}, {0, 0}}, {1, 1}, 1, 0);
  EXPECT_DEATH(changeOfBasis(poly, wide), linAlgAssertion("affFunc->nInd == affFunc->dimOut"));
  freePolyhedron(poly);
  freeAffineFunction(func);
  freeAffineFunction(wide);
}

TEST(ZilRecords, RelationRepresentation) {
  affFuncZIL* func = makeFunc({{2, 1, 3}}, {2}, 1, 1);
  long long** rel = getRelationRepresentation(func);
  EXPECT_EQ(toRows(rel, 1, 4), (Rows{{2, -2, 1, 3}}));
  freeMatrix(rel, 1);
  freeAffineFunction(func);
}

TEST(ZilRecords, ReformPolyUndoesExtractPoly) {
  Rows rows{{1, 1, 2, 3, 4}, {0, -5, -6, -7, -8}};
  polyhedronZIL* poly = makePoly(rows, 2, 1);
  long long flags[2], consts[2];
  long long** lin = makeMatrix({{0, 0}, {0, 0}});
  long long** param = makeMatrix({{0}, {0}});
  extractPoly(poly, flags, lin, param, consts);
  EXPECT_EQ(toRows(lin, 2, 2), (Rows{{1, 2}, {-5, -6}}));
  polyhedronZIL* back = reformPoly(flags, param, lin, consts, 2, 1, 2);
  EXPECT_EQ(polyRows(back), rows);
  EXPECT_EQ(back->nInd, 2);
  for (polyhedronZIL* p : {poly, back}) freePolyhedron(p);
  freeMatrix(lin, 2);
  freeMatrix(param, 2);
}

TEST(ZilRecords, ExtractRationalAffFuncKeepsDivisors) {
  affFuncZIL* func = makeFunc({{2, 1, 3}}, {4}, 1, 1);
  long long** lin = makeMatrix({{0}});
  long long** param = makeMatrix({{0}});
  long long cst, div;
  extractRationalAffFunc(func, lin, param, &cst, &div);
  EXPECT_EQ((Rows{{lin[0][0], param[0][0], cst, div}}), (Rows{{2, 1, 3, 4}}));
  freeMatrix(lin, 1);
  freeMatrix(param, 1);
  freeAffineFunction(func);
}

static std::pair<Rows, long long> simplified(const std::vector<long long>& row, long long div) {
  affFuncZIL* func = makeFunc({row}, {div}, 1, 1);
  simplifyAffFuncZIL(func);
  std::pair<Rows, long long> out{toRows(func->affFuncScalar, 1, 3), func->divs[0]};
  freeAffineFunction(func);
  return out;
}

TEST(ZilRecords, SimplifyAffFunc) {
  EXPECT_EQ(simplified({2, 4, 6}, 4), std::make_pair(Rows{{1, 2, 3}}, 2LL));
  EXPECT_EQ(simplified({0, 0, 0}, 3), std::make_pair(Rows{{0, 0, 0}}, 1LL));
  EXPECT_EQ(simplified({0, 0, 0}, -3), std::make_pair(Rows{{0, 0, 0}}, -1LL));
  EXPECT_EQ(simplified({3, 6, 9}, 1), std::make_pair(Rows{{3, 6, 9}}, 1LL));
}

TEST(ZilPrint, RecordBytes) {
  polyhedronZIL* poly = makePoly({{1, 2, -3}}, 1, 0);
  EXPECT_EQ(captureCout([&] { printPolyhedronZIL(poly); }), "\t\t( 1 2 -3 )\n\n");
  polyhedronZIL* empty = buildPolyhedron(nullptr, 0, 1, 0);
  EXPECT_EQ(captureCout([&] { printPolyhedronZIL(empty); }), "\n");
  affFuncZIL* func = makeFunc({{2, 4, 6}, {1, 0, 0}}, {4, 1}, 1, 1);
  simplifyAffFuncZIL(func);
  EXPECT_EQ(captureCout([&] { printAffFuncZIL(func); }),
            "\t\t( 1 2 3 ) / 2\n\t\t( 1 0 0 )\n\n");
  freePolyhedron(poly);
  freePolyhedron(empty);
  freeAffineFunction(func);
}
