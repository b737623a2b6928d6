// Piecewise quasi-polynomials: sums, evaluation, copies and printing.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "CoreTest.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Sampling.h"

namespace {

typedef std::map<Polyhedron*, Expression*> Piecewise;

struct Affine {
  int a, b;  // a * N + b
};

// Parameter N only; the keys of a piecewise quasi-polynomial speak of
// parameters alone.
class Piecewise_ : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    register_names({}, {"N"});
    n = new Expression(std::string("N"));
  }
  void TearDown() override { delete n; }

  // {low <= N <= high}.
  Polyhedron* interval(int low, int high) { return poly({*n >= low, *n <= high}); }

  // A random map of one to three disjoint intervals in 0..12, each with
  // the value a * N + b (now and then 0); `values` receives them by key.
  Piecewise random_map(std::mt19937& g, std::map<Polyhedron*, Affine>& values) {
    std::uniform_int_distribution<int> count(1, 3), gap(0, 2), length(0, 4), coef(-2, 2), zero(0, 3);
    Piecewise m;
    int low = gap(g);
    for (int k = count(g); k > 0 && low <= 12; k--) {
      int high = std::min(12, low + length(g));
      Affine f{coef(g), coef(g) * 3};
      if (zero(g) == 0) f = Affine{0, 0};
      Polyhedron* key = interval(low, high);
      m[key] = new Expression(std::vector<int>{f.a, f.b});
      values[key] = f;
      low = high + 1 + gap(g);
    }
    return m;
  }

  Expression* n;
};

// The value of a random map at N: its piece's a * N + b, or 0 outside.
int value_at(const std::map<Polyhedron*, Affine>& values, int N, bool& covered) {
  for (const auto& piece : values)
    if (piece.first->has(std::map<int, double>{{0, double(N)}})) {
      covered = true;
      return piece.second.a * N + piece.second.b;
    }
  return 0;
}

std::string written(const Piecewise& m) {
  return text_of([&](std::ostream& os) { os << m; });
}

}  // namespace

TEST_F(Piecewise_, SumsOfRandomMapsHaveOnePieceAndTheSumAtEveryPoint) {
  std::mt19937 g(2114);
  for (int t = 0; t < 16; t++) {
    std::map<Polyhedron*, Affine> v1, v2;
    Piecewise p1 = random_map(g, v1);
    Piecewise p2 = random_map(g, v2);
    Piecewise sum = p1 + p2;
    for (int N = 0; N <= 12; N++) {
      bool covered = false;
      int expected = value_at(v1, N, covered) + value_at(v2, N, covered);
      int holding = 0;
      for (const auto& piece : sum) holding += piece.first->has(std::map<int, double>{{0, double(N)}});
      EXPECT_EQ(holding, covered ? 1 : 0) << "N = " << N << "\n" << written(sum);
      if (covered) {
        EXPECT_EQ(evaluate(sum, {{0, double(N)}}), expected) << "N = " << N;
      }
    }
    del(p1);
    del(p2);
    del(sum);
  }
}

namespace {

// The rows [flag | M | N | constant] of a key over the parameters M, N.
Rows rows(Polyhedron* p) { return p->to_matrix(std::set<int>(), std::set<int>{0, 1}); }

// Parameters M and N; points (M, N) of the box 0..10.
class PiecewiseMN : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    register_names({}, {"M", "N"});
  }

  // A random map: the box 0 <= M, N <= 10 cut by random lines into
  // pairwise disjoint pieces, some of which are left out; each piece gets
  // a * M + b * N + c (now and then 0). `values` receives (a, b, c).
  Piecewise random_map(std::mt19937& g, std::map<Polyhedron*, std::vector<int>>& values) {
    std::uniform_int_distribution<int> coef(-2, 2), cst(-12, 12), cuts(1, 3), keep(0, 3);
    std::vector<Rows> pieces{box_rows(2, 0, 10)};
    for (int k = cuts(g); k > 0; k--) {
      std::vector<int> line{1, coef(g), coef(g), cst(g)};
      std::vector<int> other{1, -line[1], -line[2], -line[3] - 1};
      std::vector<Rows> next;
      for (const Rows& piece : pieces)
        for (const std::vector<int>& side : {line, other}) {
          Rows half = piece;
          half.push_back(side);
          next.push_back(half);
        }
      pieces = next;
    }
    Piecewise m;
    for (const Rows& piece : pieces) {
      if (keep(g) == 0 || points(piece, 2, 10).empty()) continue;
      Polyhedron* key = new Polyhedron(piece, std::set<int>(), std::set<int>{0, 1});
      std::vector<int> f{coef(g), coef(g), cst(g)};
      if (keep(g) == 0) f = {0, 0, 0};
      m[key] = new Expression(f);
      values[key] = f;
    }
    return m;
  }
};

// The value of a random map at (M, N): its piece's value, or 0 outside.
int value_at(const std::map<Polyhedron*, std::vector<int>>& values, const Point& x, bool& covered) {
  for (const auto& piece : values)
    if (satisfies(rows(piece.first), x)) {
      covered = true;
      return piece.second[0] * x[0] + piece.second[1] * x[1] + piece.second[2];
    }
  return 0;
}

}  // namespace

TEST_F(PiecewiseMN, SumsOfRandomMapsHaveDisjointPiecesAndTheSumAtEveryPoint) {
  std::mt19937 g(3114);
  for (int t = 0; t < sampled(24); t++) {
    std::map<Polyhedron*, std::vector<int>> v1, v2;
    Piecewise p1 = random_map(g, v1);
    Piecewise p2 = random_map(g, v2);
    Piecewise sum = p1 + p2;
    std::vector<std::pair<Rows, Expression*>> pieces;
    for (const auto& piece : sum) pieces.emplace_back(rows(piece.first), piece.second);
    for (int M = 0; M <= 10; M++)
      for (int N = 0; N <= 10; N++) {
        bool covered = false;
        int expected = value_at(v1, {M, N}, covered) + value_at(v2, {M, N}, covered);
        std::vector<Expression*> holding;
        for (const auto& piece : pieces)
          if (satisfies(piece.first, {M, N})) holding.push_back(piece.second);
        ASSERT_EQ(holding.size(), covered ? 1u : 0u) << "case " << t << " at " << M << ", " << N << "\n" << written(sum);
        if (covered) {
          std::map<int, Expression*> at{{0, new Expression(M)}, {1, new Expression(N)}};
          Expression* value = holding[0]->evaluate(at);
          EXPECT_TRUE(value->is_constant() && value->val == expected) << "case " << t << " at " << M << ", " << N;
          delete value;
          del(at);
        }
      }
    del(p1);
    del(p2);
    del(sum);
  }
}

TEST_F(Piecewise_, ZeroValuesStillMakeOneSum) {
  Piecewise p1{{interval(1, 1000), new Expression(0)}};
  Piecewise p2{{interval(1, 1000), new Expression(5)}};
  Piecewise sum = p1 + p2;
  ASSERT_EQ(sum.size(), 1u);
  EXPECT_EQ(*sum.begin()->first == *p1.begin()->first, 1);
  EXPECT_EQ(text(sum.begin()->second), "5");
  EXPECT_EQ(evaluate(sum, {{0, 7.0}}), 5);
  del(sum);
  del(p1);
  del(p2);
}

TEST_F(Piecewise_, EmptyClauseCopiesAndPrinting) {
  Piecewise zero = empty_clause();
  EXPECT_EQ(is_empty_clause(zero), 1);
  EXPECT_EQ(written(zero), "0\n");
  Piecewise p{{poly({*n >= 1}), new Expression(*n)}};
  EXPECT_EQ(is_empty_clause(p), 0);
  EXPECT_EQ(written(p), "/---\n/\n| N >= 1\n\\\n\nN\n\\---\n");
  EXPECT_EQ(written(Piecewise()), "/---\n\\---\n");
  for (Piecewise copy : {p + zero, zero + p, clone(p), simplify(p)}) {
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_NE(copy.begin()->first, p.begin()->first);
    EXPECT_NE(copy.begin()->second, p.begin()->second);
    EXPECT_EQ(*copy.begin()->first == *p.begin()->first, 1);
    EXPECT_EQ(text(copy.begin()->second), "N");
    EXPECT_EQ(evaluate(copy, {{0, 4.0}}), 4);
    del(copy);
  }
  Piecewise two{{interval(0, 3), new Expression(1)}, {interval(4, 9), new Expression(2)}};
  std::string expected_two = "/---\n";
  for (const auto& piece : two) expected_two += box(piece.first) + "\n" + text(piece.second) + "\n\n";
  EXPECT_EQ(written(two), expected_two + "\\---\n");
  del(two);
  del(zero);
  del(p);
}

TEST_F(Piecewise_, EvaluationIsExactAndTruncatesOnce) {
  // (1/6)N^3 + N^2 + (11/6)N + 1 counts {i, j, k >= 0, i + j + k <= N}: in
  // floating point its value at N = 1 comes out just below 4.
  Expression sixth(1, 6), eleven_sixths(11, 6), one(1);
  Expression n2(TIMES, n, n), n3(TIMES, &n2, n);
  Expression a(TIMES, &sixth, &n3), c(TIMES, &eleven_sixths, n);
  Expression ab(PLUS, &a, &n2), abc(PLUS, &ab, &c), count(PLUS, &abc, &one);
  Piecewise m{{universe(), count.clone()}};
  for (int N = 0; N <= 200; N++) EXPECT_EQ(evaluate(m, {{0, double(N)}}), (N + 1) * (N + 2) * (N + 3) / 6) << N;
  // 2.9 and -2.9 are read as 2 and -2; an absent parameter reads 0.
  EXPECT_EQ(evaluate(m, {{0, 2.9}}), 10);
  EXPECT_EQ(evaluate(m, {}), 1);
  // Half of N is truncated only at the end: -7/2 gives -3.
  Expression two(2), half(DIV, n, &two);
  Piecewise h{{universe(), half.clone()}};
  EXPECT_EQ(evaluate(h, {{0, 7.0}}), 3);
  EXPECT_EQ(evaluate(h, {{0, -7.5}}), -3);
  del(h);
  del(m);
}

TEST_F(Piecewise_, EvaluationStops) {
  Piecewise p{{poly({*n >= 1}), new Expression(*n)}};
  EXPECT_STOP_ON_STDERR(evaluate(p, {{0, 0.0}}), "Polyhedron::evaluate(): point out of range");
  EXPECT_STOP_ON_STDERR(evaluate(p, {{0, 1e12}}), "Polyhedron::has: parameter value out of range");
  create_counter_rank("i");
  Expression i(std::string("i"));
  Piecewise q{{universe(), new Expression(i)}};
  EXPECT_STOP_ON_STDERR(evaluate(q, {{0, 1.0}}), "Polyhedron::evaluate(): value is not a constant");
  del(q);
  del(p);
}
