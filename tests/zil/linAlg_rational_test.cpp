// Rational numbers and rational matrices of the tiling library.
#include <random>

#include <gtest/gtest.h>

#include "linAlg.h"
#include "zil_test_support.h"

using namespace zil_test;

static bool operator==(rational64 a, rational64 b) { return a.num == b.num && a.den == b.den; }

static std::ostream& operator<<(std::ostream& os, rational64 r) {
  return os << "{" << r.num << "," << r.den << "}";
}

// Equal values, whatever their representation.
static bool sameValue(rational64 a, rational64 b) { return a.num * b.den == b.num * a.den; }

TEST(ZilRational, ScalarOperationsKeepTheirRepresentation) {
  EXPECT_EQ(simplify({4, -6}), (rational64{2, -3}));
  EXPECT_EQ(simplify({0, 5}), (rational64{0, 1}));
  EXPECT_EQ(addRational({1, 2}, {1, 3}), (rational64{5, 6}));
  EXPECT_EQ(subRational({1, 2}, {1, 2}), (rational64{0, 1}));
  EXPECT_EQ(multiplyRational({2, 3}, {3, 4}), (rational64{1, 2}));
  EXPECT_EQ(invertRational({-2, 3}), (rational64{-3, 2}));
  EXPECT_EQ(oppositeRational({2, 4}), (rational64{-2, 4}));
}

TEST(ZilRationalDeathTest, ScalarContracts) {
  EXPECT_DEATH(invertRational({0, 3}), linAlgAssertion("rat.num!=0"));
  EXPECT_DEATH(simplify({0, 0}), linAlgAssertion("g!=0"));
}

TEST(ZilRationalMatrix, ConversionsAndProducts) {
  long long** m = makeMatrix({{1, 2}, {3, 4}, {5, 6}});
  rational64** r = toRationalMatrix(m, 3, 2);
  rational64** t = transpose(r, 3, 2);
  EXPECT_EQ(t[1][2], (rational64{6, 1}));
  std::vector<long long> v{1, -1};
  rational64* rv = toRationalVector(v.data(), 2);
  rational64* prod = matVectProduct(r, 3, 2, rv, 2);
  EXPECT_EQ(prod[2], (rational64{-1, 1}));
  rational64** rt = matrixMultiplication(r, 3, 2, t, 2, 3);
  EXPECT_EQ(rt[1][2], (rational64{39, 1}));
  long long** back = toIntegralMatrix(rt, 3, 3);
  EXPECT_EQ(back[2][2], 61);
  EXPECT_EQ(dotProduct(rv, rv, 2), (rational64{2, 1}));
  swapRowsMatrix(r, 3, 2, 0, 2);
  rowAddition(r, 3, 2, 1, 0, rational64{-1, 2});
  EXPECT_EQ(r[1][0], (rational64{1, 2}));  // 3 - 5/2
  freeMatrix(m, 3);
  freeMatrix(back, 3);
  freeMatrix(r, 3);
  freeMatrix(rt, 3);
  freeMatrix(t, 2);
  free(rv);
  free(prod);
}

TEST(ZilRationalMatrixDeathTest, Contracts) {
  rational64** half = static_cast<rational64**>(malloc(sizeof(rational64*)));
  half[0] = static_cast<rational64*>(malloc(2 * sizeof(rational64)));
  half[0][0] = {1, 2};
  half[0][1] = {2, 1};
  EXPECT_DEATH(toIntegralMatrix(half, 1, 2), linAlgAssertion("ratmat[i][j].den==1"));
  half[0][0] = {4, 2};  // the value 2, but not reduced
  EXPECT_DEATH(toIntegralMatrix(half, 1, 2), linAlgAssertion("ratmat[i][j].den==1"));
  EXPECT_DEATH(rowAddition(half, 1, 2, 0, 0, rational64{1, 1}), linAlgAssertion("r1!=r2"));
  EXPECT_DEATH(swapRowsMatrix(half, 1, 2, 0, 1), linAlgAssertion("r2<nRow"));
  freeMatrix(half, 1);
}

// Runs inverseDet on rows; returns the value and the inverse.
static long long inverseDetOf(const Rows& rows, std::vector<std::vector<rational64>>& inv) {
  int n = static_cast<int>(rows.size());
  long long** a = makeMatrix(rows);
  rational64** invA = static_cast<rational64**>(malloc(n * sizeof(rational64*)));
  for (int i = 0; i < n; i++) invA[i] = static_cast<rational64*>(malloc(n * sizeof(rational64)));
  long long det = inverseDet(a, invA, n);
  inv.assign(n, std::vector<rational64>(n));
  for (int i = 0; i < n; i++)
    for (int j = 0; j < n; j++) inv[i][j] = invA[i][j];
  freeMatrix(a, n);
  freeMatrix(invA, n);
  return det;
}

TEST(ZilInverseDet, KnownInverses) {
  std::vector<std::vector<rational64>> inv;
  EXPECT_EQ(inverseDetOf({{1, 2}, {3, 4}}, inv), -2);
  EXPECT_EQ(inv, (std::vector<std::vector<rational64>>{{{-2, 1}, {1, 1}}, {{3, 2}, {-1, 2}}}));
  EXPECT_EQ(inverseDetOf({{0, 1}, {1, 0}}, inv), 1);  // row exchanges are not counted
  EXPECT_EQ(inv, (std::vector<std::vector<rational64>>{{{0, 1}, {1, 1}}, {{1, 1}, {0, 1}}}));
  EXPECT_EQ(inverseDetOf({{2, 0}, {0, 1}}, inv), 2);
  EXPECT_EQ(inv[0][0], (rational64{1, 2}));
  EXPECT_EQ(inv[1][1], (rational64{1, 1}));
}

static long long cofactorDet(const Rows& m) {
  if (m.size() == 1) return m[0][0];
  long long det = 0;
  for (size_t c = 0; c < m.size(); c++) {
    Rows minor;
    for (size_t i = 1; i < m.size(); i++) {
      minor.push_back({});
      for (size_t j = 0; j < m.size(); j++)
        if (j != c) minor.back().push_back(m[i][j]);
    }
    det += (c % 2 ? -1 : 1) * m[0][c] * cofactorDet(minor);
  }
  return det;
}

TEST(ZilInverseDet, RandomMatricesInvert) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<long long> entry(-3, 3);
  for (int trial = 0; trial < 200; trial++) {
    int n = 1 + trial % 4;
    Rows m(n, std::vector<long long>(n));
    for (auto& row : m)
      for (long long& e : row) e = entry(rng);
    long long det = cofactorDet(m);
    if (det == 0) continue;
    std::vector<std::vector<rational64>> inv;
    EXPECT_EQ(std::llabs(inverseDetOf(m, inv)), std::llabs(det)) << "trial " << trial;
    for (int i = 0; i < n; i++)
      for (int j = 0; j < n; j++) {
        rational64 sum = toRational(0);
        for (int k = 0; k < n; k++)
          sum = addRational(sum, multiplyRational(toRational(m[i][k]), inv[k][j]));
        ASSERT_TRUE(sameValue(sum, toRational(i == j))) << "trial " << trial;
      }
  }
}

TEST(ZilInverseDetDeathTest, SingularStops) {
  long long** a = makeMatrix({{1, 1}, {1, 1}});
  rational64** invA = toRationalMatrix(a, 2, 2);
  EXPECT_DEATH(inverseDet(a, invA, 2), linAlgAssertion("nZrow<nRow"));
  EXPECT_DEATH(inverseDet(a, invA, 0), linAlgAssertion("nRow>0"));
  freeMatrix(a, 2);
  freeMatrix(invA, 2);
}

TEST(ZilPrint, RationalMatrixBytes) {
  rational64** m = static_cast<rational64**>(malloc(sizeof(rational64*)));
  m[0] = static_cast<rational64*>(malloc(2 * sizeof(rational64)));
  m[0][0] = {1, 2};
  m[0][1] = {3, 1};
  EXPECT_EQ(captureCout([&] { printMatrix(m, 1, 2); }), "[ 1/2 3/1 ]\n\n");
  freeMatrix(m, 1);
}
