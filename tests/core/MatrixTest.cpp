#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>

#include "Matrix.h"
#include "PolyhedronTestSupport.h"

namespace {

IntMatrix random_matrix(std::mt19937& g, int r, int c) {
  std::uniform_int_distribution<int> d(-5, 5);
  IntMatrix m(r, IntVector(c));
  for (auto& row : m)
    for (int& x : row) x = d(g);
  return m;
}

void expect_stop(const std::function<void()>& body, const std::string& out, const std::string& err) {
  ChildRun r = run_in_child(body);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, err);
}

}  // namespace

TEST(MatrixAlgebra, ProductAndTransposeLaws) {
  std::mt19937 g(7);
  for (int t = 0; t < 50; ++t) {
    std::uniform_int_distribution<int> size(1, 4);
    int a = size(g), b = size(g), c = size(g), d = size(g);
    IntMatrix A = random_matrix(g, a, b), B = random_matrix(g, b, c), C = random_matrix(g, c, d);
    EXPECT_EQ((A * B) * C, A * (B * C));
    EXPECT_EQ(transpose(A * B), transpose(B) * transpose(A));
    EXPECT_EQ(A - A, IntMatrix(a, IntVector(b, 0)));
    EXPECT_EQ(A + (-A), A - A);
    EXPECT_EQ(identity_matrix(a) * A, A);
    IntVector x = random_matrix(g, 1, a)[0];
    EXPECT_EQ(x * A, (IntMatrix{x} * A)[0]);
    IntVector v = random_matrix(g, 1, b)[0];
    EXPECT_EQ(A * v, column_matrix_to_vector(A * column_matrix(v)));
  }
}

TEST(MatrixAlgebra, BlocksPermutationsAndColumns) {
  std::mt19937 g(11);
  for (int t = 0; t < 50; ++t) {
    std::uniform_int_distribution<int> size(1, 4);
    int h = size(g), w = size(g), i = size(g) - 1, j = size(g) - 1;
    IntMatrix B = random_matrix(g, h, w);
    IntMatrix M = null_matrix(h + i, w + j);
    fill(M, B, i, j);
    EXPECT_EQ(get_sub_matrix(M, i, j, h, w), B);
    fill_acc(M, B, i, j);
    EXPECT_EQ(get_sub_matrix(M, i, j, h, w), 2 * B);

    IntVector p(h);
    std::iota(p.begin(), p.end(), 0);
    std::shuffle(p.begin(), p.end(), g);
    EXPECT_EQ(permute_lines(permute_lines(B, p), invert_permutation(p)), B);

    IntMatrix wide = insert_null_columns(B, {0}, 1 + w);
    IntMatrix Bfirst = get_sub_matrix(B, 0, 0, h, 1);
    for (int k = 1; k < w + 1; ++k) wide = remove_column(wide, 1);
    EXPECT_EQ(wide, Bfirst);
  }
}

TEST(MatrixAlgebra, EdgeCases) {
  EXPECT_TRUE(identity_matrix(0).empty());
  EXPECT_TRUE(transpose({}).empty());
  EXPECT_EQ(concat_v({}, {{1, 2, 3}}), (IntMatrix{{1, 2, 3}}));
  EXPECT_EQ(concat_v({{1}}, {}), (IntMatrix{{1}}));
  EXPECT_EQ((IntVector{1, 1} * IntMatrix{{1, 2}, {3, 4}}), (IntVector{4, 6}));
  EXPECT_EQ(3 + IntVector({1, 2}), (IntVector{1, 5}));
  EXPECT_EQ(sub_vec({0, 2}, {7, 2}), 1);
  EXPECT_EQ(sub_vec({1, 2}, {7, 2}), 0);
  EXPECT_EQ(unity_vector(3), (IntVector{0, 0, 1}));
  EXPECT_EQ(get_sub_matrix({{1, 2, 3}}, {2, 0, 7}), (IntMatrix{{1, 3}}));
  EXPECT_EQ(get_sub_matrix({{1, 2}}, 0, 2, 1, 0), (IntMatrix{{}}));
  EXPECT_EQ(remove_column({{1, 2}, {3}}, 1), (IntMatrix{{1}, {3}}));
  EXPECT_EQ(remove_null_lines({{0, 0}, {0, 1}, {0, 0}}), (IntMatrix{{0, 1}}));
  EXPECT_EQ(remove_lines({{0}, {1}, {2}, {3}}, 1, 2), (IntMatrix{{0}, {3}}));
  EXPECT_EQ(mask_vector({1, 2, 3}, {0, 2}), (IntVector{1, 0, 3}));
  EXPECT_EQ(mask_vector_complement({1, 2, 3}, {0, 2}), (IntVector{0, 2, 0}));
  EXPECT_EQ(is_null_col({{1, 0}, {2, 0}}, 1), 1);
  EXPECT_EQ(is_null_col({}, 4), 1);
  EXPECT_EQ(get_last_column({{1, 2}, {3, 4}}), (IntVector{2, 4}));
  EXPECT_EQ(concat({{1}, {2}}, IntVector{3, 4}), (IntMatrix{{1, 3}, {2, 4}}));
}

TEST(MatrixAlgebra, RemoveColumnsWarnsOncePerNonZeroEntry) {
  ChildRun r = run_in_child([] {
    IntMatrix m = remove_columns({{1, 5, 0}, {2, 0, 7}}, {1, 2});
    if (m != IntMatrix{{1}, {2}}) std::exit(3);
  });
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "Matrix::remove_columns: warning: skipping non-null element\n"
            "Matrix::remove_columns: warning: skipping non-null element\n");
}

TEST(MatrixAlgebra, FillChecksBeforeWriting) {
  IntMatrix m = {{1, 2}, {3, 4}};
  ChildRun r = run_in_child([m]() mutable {
    fill(m, IntMatrix{{9, 9}, {9, 9}}, 1, 1);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Matrix::fill: The matrix to be filled is too small\n");
  fill(m, IntMatrix{}, 5, 5);
  fill(m, IntVector{}, 5, 5);
  EXPECT_EQ(m, (IntMatrix{{1, 2}, {3, 4}}));
  fill(m, IntVector{7, 8}, 0, 1);
  EXPECT_EQ(m, (IntMatrix{{1, 7}, {3, 8}}));
}

TEST(MatrixAlgebra, StopsWithTheirMessagesAndStreams) {
  expect_stop([] { null_matrix(0, 3); }, "Matrix::null_matrix: dimensions must be > 0\n", "");
  expect_stop([] { identity_matrix(-1); }, "Matrix::identity_matrix: dimension must be >= 0\n", "");
  expect_stop([] { concat({{1}}, IntMatrix{}); }, "", "Matrix::concat: dimension mistmatch\n");
  expect_stop([] { concat_v({{1}}, {{1, 2}}); }, "", "Matrix::concat_v: dimension mistmatch\n");
  expect_stop([] { get_sub_matrix({}, 5, 5, 1, 1); }, "Matrix::get_sub_matrix: empty matrice\n", "");
  expect_stop([] { get_sub_matrix({{1}}, 1, 5, 1, 1); }, "Matrix::get_sub_matrix: not enough lines\n", "");
  expect_stop([] { get_sub_matrix({{1}}, 0, 1, 1, 1); }, "Matrix::get_sub_matrix: not enough columns\n", "");
  expect_stop([] { IntMatrix{} * IntMatrix{{1}}; }, "Matrix::*: empty matrices\n", "");
  expect_stop([] { IntMatrix{{1, 2}} * IntMatrix{{3}}; },
              "Matrix::*: mismatch matrices\n1 2\n1  2  \n\n1 1\n3  \n\n", "");
  expect_stop([] { IntVector{} * IntMatrix{{1}}; }, "Matrix::*:empty vector or matrix\n", "");
  expect_stop([] { IntVector{1, 2} * IntMatrix{{3}}; },
              "Matrix::(tx * A):mismatch dimensions\n2\n1\n2\n\n1 1\n3  \n\n", "");
  expect_stop([] { IntMatrix{{1}} + IntMatrix{}; }, "", "Matrix::+: line number mismatch\n");
  expect_stop([] { IntMatrix{{1}} - IntMatrix{{1, 2}}; }, "", "Matrix::+: column number mismatch\n");
  expect_stop([] { IntVector{1} + IntVector{}; }, "Matrix::+(vec<int>,vec<int>): mismatch vector size\n", "");
  expect_stop([] { 1 + IntVector{}; }, "Matrix::+: null vector size\n", "");
  expect_stop([] { sub_vec({1}, {}); }, "", "Matrix::sub_vec: vector size mismatch\n");
  expect_stop([] { permute_lines({{1}}, {}); }, "", "Matrix::permute_lines: bad permutation size\n");
  expect_stop([] { column_matrix_to_vector({{1, 2}}); }, "",
              "Matrix::column_matrix_to_vector: not a single col matrix\n");
  expect_stop([] { get_last_column({}); }, "Matrix::get_last_column: empty matrix\n", "");
  expect_stop([] { remove_last_column({}); }, "Matrix::remove_last_column: empty matrix\n", "");
  expect_stop([] { IntMatrix m; fill(m, IntMatrix{{1}}, 0, 0); },
              "Matrix::fill: The matrix to be filled is too small (empty)\n", "");
}

TEST(MatrixAlgebra, RangeStopsInsteadOfOutOfRangeAccess) {
  expect_stop([] { unity_vector(0); }, "", "Matrix::unity_vector: size must be > 0\n");
  expect_stop([] { sub_vector({1, 2}, 1, 2); }, "", "Matrix::sub_vector: range beyond the vector\n");
  expect_stop([] { IntMatrix m = {{1}, {2}}; fill(m, IntVector{3}, 0, 1); },
              "Matrix::fill: column out of range\n", "");
  expect_stop([] { permute_lines({{1}, {2}}, {0, 2}); }, "", "Matrix::permute_lines: entry out of range\n");
  expect_stop([] { IntMatrix{{1, 2}, {3}} + IntMatrix{{1, 2}, {3}}; }, "",
              "Matrix::+: column number mismatch\n");
  expect_stop([] { get_column({{1}}, 1); }, "", "Matrix::get_column: column out of range\n");
}

TEST(MatrixAlgebra, PrintsLongMatricesAndMatrixLists) {
  std::ostringstream s;
  s << std::list<std::vector<std::vector<long>>>{{{1L, 2L}}, {}};
  EXPECT_EQ(s.str(), "[\n1 2\n1  2  \n\n0 0\n\n]\n");
  s.str("");
  s << std::vector<IntMatrix>{{{2}}, {}};
  EXPECT_EQ(s.str(), "0: \n1 1\n2  \n\n1: \n0 0\n\n");
}
