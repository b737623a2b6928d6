// Integer arithmetic of the tiling library: gcd and lcm, products, row
// operations, the unimodular inverse, printing, and always-on contracts.
#include <cassert>
#include <random>

#include <gtest/gtest.h>

#include "linAlg.h"
#include "zil_test_support.h"

using namespace zil_test;

TEST(ZilGcd, SignsAndZeros) {
  EXPECT_EQ(gcd(0, 0), 0);
  EXPECT_EQ(gcd(-4, 6), 2);
  EXPECT_EQ(ppcm(4, 6), 12);
  EXPECT_EQ(ppcm(-2, 3), -6);  // the sign follows the arguments
  std::vector<long long> single{-4}, pair{-4, 6}, three{2, 3, 4};
  EXPECT_EQ(gcd_array(single.data(), 1), -4);  // a single element is kept as is
  EXPECT_EQ(gcd_array(pair.data(), 2), 2);
  EXPECT_EQ(ppcm_array(three.data(), 3), 12);
}

TEST(ZilGcdDeathTest, UndefinedCasesStop) {
  EXPECT_DEATH(ppcm(0, 0), linAlgAssertion("g!=0"));
  EXPECT_DEATH(gcd_array(nullptr, 0), linAlgAssertion("nelem>0"));
}

// The contracts must survive the optimised build, which defines NDEBUG for
// every file, this one included.
TEST(ZilContractDeathTest, AssertionsStayActiveInOptimisedBuilds) {
#ifdef NDEBUG
  assert(false);  // compiled out here, but not inside the library
#endif
  long long** m = makeMatrix({{1, 2}});
  EXPECT_DEATH(matrixMultiplication(m, 1, 2, m, 1, 2),
               "linAlg\\.cpp:[0-9]+: .*matrixMultiplication.*Assertion `nCol1==nRow2' failed");
  freeMatrix(m, 1);
}

TEST(ZilMatrix, ProductsAndRowOperations) {
  long long** a = makeMatrix({{1, 2}, {3, 4}, {5, 6}});
  long long** b = makeMatrix({{1, 0, -1}, {2, 1, 0}});
  long long** ab = matrixMultiplication(a, 3, 2, b, 2, 3);
  EXPECT_EQ(toRows(ab, 3, 3), (Rows{{5, 2, -1}, {11, 4, -3}, {17, 6, -5}}));

  std::vector<long long> v{1, -1}, w{1, 1, 1};
  long long* av = matrixVectMultiplication(a, 3, 2, v.data(), 2);
  EXPECT_EQ(toRows(&av, 1, 3), (Rows{{-1, -1, -1}}));
  long long* wa = vectMatrixMultiplication(w.data(), 3, a, 3, 2);
  EXPECT_EQ(toRows(&wa, 1, 2), (Rows{{9, 12}}));
  EXPECT_EQ(dotProduct(v.data(), 2, w.data(), 2), 0);

  long long** cols = submatrixColumn(ab, 3, 3, 1, 3);
  EXPECT_EQ(toRows(cols, 3, 2), (Rows{{2, -1}, {4, -3}, {6, -5}}));
  swapRows(a, 3, 2, 0, 2);
  rowAddition(a, 3, 2, 1, 0, -2);
  EXPECT_EQ(toRows(a, 3, 2), (Rows{{5, 6}, {-7, -8}, {1, 2}}));

  long long** copy = copyMatrix(a, 3, 2);
  copy[0][0] = 0;
  EXPECT_EQ(a[0][0], 5);  // a deep copy
  for (long long** m : {a, ab, cols, copy}) freeMatrix(m, 3);
  freeMatrix(b, 2);
  free(av);
  free(wa);
}

TEST(ZilMatrixDeathTest, DimensionContracts) {
  long long** m = makeMatrix({{1, 2, 3}});
  EXPECT_DEATH(submatrixColumn(m, 1, 3, 2, 2), linAlgAssertion("0<=j1 && j1<j2 && j2<=nColA"));
  EXPECT_DEATH(matrixMultiplication(m, 1, 3, m, 1, 3), linAlgAssertion("nCol1==nRow2"));
  EXPECT_DEATH(swapRows(m, 1, 3, 0, 1), linAlgAssertion("0<=i2 && i2<nRow"));
  freeMatrix(m, 1);
}

static Rows inverseOf(const Rows& rows) {
  int n = static_cast<int>(rows.size());
  long long** m = makeMatrix(rows);
  long long** inv = inverseMatUnimod(m, n, n);
  Rows out = toRows(inv, n, n);
  freeMatrix(m, n);
  freeMatrix(inv, n);
  return out;
}

TEST(ZilInverseMatUnimod, KnownInverses) {
  EXPECT_EQ(inverseOf({{2, 3, 0}, {1, 2, 0}, {0, 0, 1}}),
            (Rows{{2, -3, 0}, {-1, 2, 0}, {0, 0, 1}}));
  EXPECT_EQ(inverseOf({{-3, 2}, {-2, 1}}), (Rows{{1, -2}, {2, -3}}));
  EXPECT_EQ(inverseOf({{1, 1}, {0, 1}}), (Rows{{1, -1}, {0, 1}}));
  EXPECT_EQ(inverseOf({{0, 1}, {1, 0}}), (Rows{{0, 1}, {1, 0}}));
  EXPECT_EQ(inverseOf({{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}),
            (Rows{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}));
  EXPECT_EQ(inverseOf({{-1}}), (Rows{{-1}}));
}

// A random matrix of determinant +-1: the identity under elementary row
// operations, swaps and sign flips.
static Rows randomUnimodular(std::mt19937& rng, int n) {
  Rows m(n, std::vector<long long>(n, 0));
  for (int i = 0; i < n; i++) m[i][i] = 1;
  std::uniform_int_distribution<int> row(0, n - 1), kind(0, 3), scalar(-2, 2);
  for (int step = 0; step < 3 * n; step++) {
    int i = row(rng), j = row(rng), k = kind(rng);
    if (k == 0) {
      std::swap(m[i], m[j]);
    } else if (k == 1) {
      for (long long& e : m[i]) e = -e;
    } else if (i != j) {
      int s = scalar(rng);
      for (int c = 0; c < n; c++) m[i][c] += s * m[j][c];
    }
  }
  return m;
}

static Rows product(const Rows& a, const Rows& b) {
  Rows p(a.size(), std::vector<long long>(b[0].size(), 0));
  for (size_t i = 0; i < a.size(); i++)
    for (size_t k = 0; k < b.size(); k++)
      for (size_t j = 0; j < b[0].size(); j++) p[i][j] += a[i][k] * b[k][j];
  return p;
}

TEST(ZilInverseMatUnimod, RandomMatricesInvertExactly) {
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 200; trial++) {
    int n = 1 + trial % 5;
    Rows m = randomUnimodular(rng, n);
    Rows inv = inverseOf(m);
    Rows identity(n, std::vector<long long>(n, 0));
    for (int i = 0; i < n; i++) identity[i][i] = 1;
    ASSERT_EQ(product(m, inv), identity) << "trial " << trial;
    ASSERT_EQ(product(inv, m), identity) << "trial " << trial;
  }
}

TEST(ZilInverseMatUnimodDeathTest, RejectsSingularAndNonUnimodular) {
  long long** zeroColumn = makeMatrix({{0, 1}, {0, 2}});
  long long** twice = makeMatrix({{2, 0}, {0, 1}});
  long long** lowerTwice = makeMatrix({{1, 0}, {0, 2}});
  EXPECT_DEATH(inverseMatUnimod(zeroColumn, 2, 2), linAlgAssertion("A[0][0]!=0"));
  EXPECT_DEATH(inverseMatUnimod(twice, 2, 2), linAlgAssertion("A[0][0]==1"));
  EXPECT_DEATH(inverseMatUnimod(lowerTwice, 2, 2),
               linAlgAssertion("A[0][0]==1 || A[0][0]==-1"));
  EXPECT_DEATH(inverseMatUnimod(twice, 2, 1), linAlgAssertion("nRow==nCol"));
  for (long long** m : {zeroColumn, twice, lowerTwice}) freeMatrix(m, 2);
}

TEST(ZilPrint, MatrixAndVectorBytes) {
  long long** m = makeMatrix({{1, 2}, {3, 4}});
  EXPECT_EQ(captureCout([&] { printMatrix(m, 2, 2); }), "[ 1 2 ]\n[ 3 4 ]\n\n");
  std::vector<long long> v{5, -1};
  EXPECT_EQ(captureCout([&] { printVector(v.data(), 2); }), "[ 5 -1 ]\n");
  freeMatrix(m, 2);
}
