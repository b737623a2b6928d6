#include <gtest/gtest.h>

#include <random>

#include "Matrix.h"
#include "PolyhedronTestSupport.h"

namespace {

IntMatrix random_unimodular(std::mt19937& g, int n) {
  IntMatrix u = identity_matrix(n);
  std::uniform_int_distribution<int> row(0, n - 1), factor(-2, 2);
  for (int step = 0; step < 3 * n; ++step) {
    int i = row(g), j = row(g);
    if (i == j) continue;
    int k = factor(g);
    for (int c = 0; c < n; ++c) u[j][c] += k * u[i][c];
    if (step % 4 == 0) std::swap(u[i], u[j]);
  }
  return u;
}

IntVector random_vector(std::mt19937& g, int n) {
  std::uniform_int_distribution<int> d(-5, 5);
  IntVector v(n);
  for (int& x : v) x = d(g);
  return v;
}

// The affine map f (rows [coefficients | constant]) at x.
IntVector image_of(const IntMatrix& f, IntVector x) {
  x.push_back(1);
  return f * x;
}

}  // namespace

TEST(LeftInverse, CasesOfTheDefinition) {
  EXPECT_EQ(left_inverse({{1, 0, 0}, {0, 1, 0}}, {}), (IntMatrix{{1, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(left_inverse({{1, 0, 3}, {0, 1, 0}}, {}), (IntMatrix{{1, 0, -3}, {0, 1, 0}}));
  EXPECT_EQ(left_inverse({{1, 1, 0}}, {{0, 1, -2}}), (IntMatrix{{1, -2}, {0, 2}}));
  // A context that says nothing is no context.
  EXPECT_EQ(left_inverse({{1, 0, 3}, {0, 1, 0}}, {{0, 0, 0}}), left_inverse({{1, 0, 3}, {0, 1, 0}}, {}));

  ChildRun r = run_in_child([] { left_inverse({{1, 1, 0}}, {}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Matrix::left_inverse: There is no rational left-inverse for this function in the given context.\n");
  r = run_in_child([] { left_inverse({{2, 0}}, {}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Matrix::left_inverse: There is no integer left-inverse for this function in the given context.\n");
  EXPECT_EQ(r.out, "1 1\n2  \n\n");
  r = run_in_child([] { left_inverse({{1, 0}}, {{1, 0, 0}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Matrix::left_inverse: Dimension of context and function does not match.\n");
}

TEST(LeftInverse, GivesTheInputsBack) {
  std::mt19937 g(23);
  for (int t = 0; t < 40; ++t) {
    int n = 1 + t % 3, extra = (t / 3) % 3;
    IntMatrix u = random_unimodular(g, n);
    IntMatrix coefficients = u;
    for (int k = 0; k < extra; ++k) coefficients.push_back(random_vector(g, n));
    IntMatrix f = concat(coefficients, random_vector(g, static_cast<int>(coefficients.size())));
    IntMatrix l = left_inverse(f, {});
    for (int k = 0; k < 5; ++k) {
      IntVector x = random_vector(g, n);
      EXPECT_EQ(image_of(l, image_of(f, x)), x);
    }
  }
}

TEST(LeftInverse, UsesTheContextForTheMissingOutput) {
  std::mt19937 g(29);
  for (int t = 0; t < 30; ++t) {
    int n = 2 + t % 2;
    // The first n - 1 rows of a unimodular matrix as the function, the last
    // one as an equality of the context through x0.
    IntMatrix u = random_unimodular(g, n);
    IntVector x0 = random_vector(g, n);
    IntMatrix f = concat(remove_lines(u, n - 1, n - 1), random_vector(g, n - 1));
    IntVector last = u[n - 1];
    int value = 0;
    for (int k = 0; k < n; ++k) value += last[k] * x0[k];
    IntMatrix context = {last};
    context[0].push_back(-value);
    context.push_back(2 * context[0]);
    IntMatrix l = left_inverse(f, context);
    // Points of the context: x0 plus integer combinations of the columns of
    // u's inverse other than the last.
    IntMatrix kernel = transpose(inverse(u));
    for (int k = 0; k < 4; ++k) {
      IntVector x = x0;
      for (int j = 0; j < n - 1; ++j) x = x + (k - j) * kernel[j];
      EXPECT_EQ(image_of(l, image_of(f, x)), x);
    }
  }
}

TEST(Compose, MatchesApplyingBothMaps) {
  std::mt19937 g(31);
  for (int t = 0; t < 40; ++t) {
    int cu = 1 + t % 3, cv = t % 3, p = (t / 3) % 2;
    IntMatrix u, v;
    for (int k = 0; k < 2; ++k) u.push_back(random_vector(g, cu + p + 1));
    for (int k = 0; k < cu; ++k) v.push_back(random_vector(g, cv + p + 1));
    IntMatrix w = compose(u, cu, p, v, cv, p);
    for (int k = 0; k < 4; ++k) {
      IntVector y = random_vector(g, cv), params = random_vector(g, p);
      IntVector vy = image_of(v, concat(IntMatrix{y}, IntMatrix{params})[0]);
      IntVector direct = image_of(u, concat(IntMatrix{vy}, IntMatrix{params})[0]);
      EXPECT_EQ(image_of(w, concat(IntMatrix{y}, IntMatrix{params})[0]), direct);
    }
  }
  EXPECT_EQ(compose({{2, 1}}, 1, 0, {{1, 3}}, 1, 0), (IntMatrix{{2, 7}}));
  // u reads no counter: the result still has v's counter columns.
  EXPECT_EQ(compose({{4, 5}}, 0, 1, {}, 2, 1), (IntMatrix{{0, 0, 4, 5}}));
  EXPECT_EQ(compose({{5}}, 0, 0, {}, 0, 0), (IntMatrix{{5}}));
  EXPECT_TRUE(compose({}, 1, 0, {{1, 0}}, 1, 0).empty());

  ChildRun r = run_in_child([] { compose({{1, 0}}, 1, 0, {{1, 0}}, 1, 1); });
  EXPECT_EQ(r.err, "Matrix::compose: expect the same parameters for u and v\n");
  r = run_in_child([] { compose({{1, 0}}, 1, 0, {{1, 0}, {1, 0}}, 1, 0); });
  EXPECT_EQ(r.err, "Matrix::compose: dimension mismatch: expect 1 found 2\n");
  r = run_in_child([] { compose({{1, 0, 0}}, 1, 0, {{1, 0}}, 1, 0); });
  EXPECT_EQ(r.err, "Matrix::compose: incorrect nb_counters/parameters for matrix u\n");
  r = run_in_child([] { compose({{1, 0}}, 1, 0, {{1, 0}}, 2, 0); });
  EXPECT_EQ(r.err, "Matrix::compose: incorrect nb_counters/parameters for matrix v\n");
  EXPECT_EQ(r.status, 1);
}

TEST(Inverses, IntegerInversesAndTheirStops) {
  std::mt19937 g(37);
  for (int t = 0; t < 20; ++t) {
    int n = 1 + t % 4;
    IntMatrix a = random_unimodular(g, n);
    IntMatrix r = inverse(a);
    EXPECT_EQ(a * r, identity_matrix(n));
    EXPECT_EQ(r * a, identity_matrix(n));
    testing::internal::CaptureStdout();
    IntMatrix right = right_inverse_isl(a);
    IntMatrix left = left_inverse_isl(a);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(a * right, identity_matrix(n));
    EXPECT_EQ(left * a, identity_matrix(n));
  }
  ChildRun r = run_in_child([] { inverse({{2, 0}, {0, 1}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Matrix::inverse: matrix has no integer inverse\n");
}

TEST(Inverses, RightInverseOfWideMatrices) {
  testing::internal::CaptureStdout();
  for (IntMatrix m : {IntMatrix{{1, 2, 3}}, IntMatrix{{2, 1, 0}, {1, 1, 1}}}) {
    IntMatrix r = right_inverse_isl(m);
    EXPECT_EQ(r.size(), m[0].size());
    EXPECT_EQ(m * r, identity_matrix(static_cast<int>(m.size())));
  }
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(right_inverse_isl({}).empty());
  ChildRun r = run_in_child([] { right_inverse_isl({{2, 4}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Matrix::right_inverse: multiple of identity: \n1 1\n2  \n\n"), std::string::npos);
}

TEST(Orth, VectorsOrthogonalToTheGivenOne) {
  EXPECT_EQ(orth({0, 0, 3}), (IntMatrix{{3, 0, 0}}));
  EXPECT_EQ(orth({2, 1}), (IntMatrix{{1, -2}}));
  EXPECT_TRUE(orth({4}).empty());
  std::mt19937 g(41);
  for (int t = 0; t < 20; ++t) {
    IntVector v = random_vector(g, 1 + t % 4);
    for (const auto& w : orth(v)) EXPECT_EQ((IntMatrix{w} * v)[0], 0);
  }
  ChildRun r = run_in_child([] { orth({}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Matrix::orth: null vector\n");
}
