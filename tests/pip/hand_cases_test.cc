// Problems as the callers pose them, with the answers they rely on.
#include <gtest/gtest.h>

#include <set>

#include "pip_test_util.h"

namespace {

// Rational extremum as the tiling library asks for it: Nq 0, Simplify 1,
// free parameters and unknowns, context "every parameter >= 0".
std::string extremum(int np, const Rows &rows, bool maximize) {
  Rows context;
  for (int j = 0; j < np; ++j) {
    std::vector<long long> r(np + 2, 0);
    r[0] = 1;
    r[1 + j] = 1;
    context.push_back(r);
  }
  PipOptions *o = make_options(0, maximize ? -1 : 0, -1, -1, 1);
  std::string text = solve_text(np, rows, context, *o);
  pip_options_free(o);
  return text;
}

// Integer emptiness-style maximum: Maximize, Nq 1, context of 0 rows.
std::string maximum(int np, const Rows &rows) {
  PipOptions *o = make_options(1, 1, 0, 0);
  std::string text = solve_text(np, rows, {}, *o);
  pip_options_free(o);
  return text;
}

std::string solve_with(int np, const Rows &rows, const Rows &context, int nq, int maximize,
                       int urs_parms, int urs_unknowns) {
  PipOptions *o = make_options(nq, maximize, urs_parms, urs_unknowns);
  std::string text = solve_text(np, rows, context, *o);
  pip_options_free(o);
  return text;
}

// The distinct leaf value lists of an answer and its values at b = 1 .. 14.
struct Sampled {
  std::set<std::string> lists;
  std::vector<std::string> values;
};

Sampled sample(const Rows &rows, int nq) {
  PipMatrix *pb = make_matrix(5, rows);
  PipMatrix *ctx = make_matrix(3, {{1, 1, -1}});
  PipOptions *o = make_options(nq, 0, 0, 1);
  PipQuast *q = pip_solve(pb, ctx, -1, o);
  Sampled s;
  for (const PipQuast *leaf : leaves(q)) s.lists.insert(quast_text(const_cast<PipQuast *>(leaf)));
  for (long long b = 1; b <= 14; ++b) {
    Evaluation e = evaluate(q, {b});
    std::string v = e.nil ? "nil" : "";
    for (const Value &x : e.values)
      v += " " + std::to_string(x.num) + (x.den == 1 ? "" : "/" + std::to_string(x.den));
    s.values.push_back(v);
  }
  pip_quast_free(q);
  pip_options_free(o);
  pip_matrix_free(pb);
  pip_matrix_free(ctx);
  return s;
}

// The values of the answer (one parameter N, context of 0 rows) at
// N = 0 .. 8, "nil" where no leaf is reached; markers print as 0/0 from
// unknown `solved` on.
std::vector<std::string> values_over_n(const Rows &rows, int nq, int maximize,
                                       int urs_unknowns, int solved) {
  PipMatrix *pb = make_matrix(rows[0].size(), rows);
  PipMatrix *ctx = make_matrix(3, {});
  PipOptions *o = make_options(nq, maximize, 0, urs_unknowns);
  PipQuast *q = pip_solve(pb, ctx, -1, o);
  EXPECT_EQ(shape_violations(q, 1, rows[0].size() - 3, nq != 0, solved), "");
  std::vector<std::string> out;
  for (long long n = 0; n <= 8; ++n) {
    Evaluation e = evaluate(q, {n});
    std::string v = e.nil ? "nil" : "";
    for (const Value &x : e.values)
      v += " " + std::to_string(x.num) + (x.den == 1 ? "" : "/" + std::to_string(x.den));
    out.push_back(v);
  }
  pip_quast_free(q);
  pip_options_free(o);
  pip_matrix_free(pb);
  pip_matrix_free(ctx);
  return out;
}

}  // namespace

TEST(PipHandCases, RationalExtremaOfTheTilingLibrary) {
  // y = x over 0 <= x <= N.
  Rows copy = {{0, -1, 1, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, 0}};
  EXPECT_EQ(extremum(1, copy, true), "(list\n#[ 1 0]\n#[ 1 0]\n)\n");
  EXPECT_EQ(extremum(1, copy, false), "(list\n#[ 0 0]\n#[ 0 0]\n)\n");
  // y = 2x over x >= 0, -3x + b - 1 >= 0, b - 1 >= 0.
  Rows twice = {{0, -1, 2, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -3, 1, -1}, {1, 0, 0, 1, -1}};
  EXPECT_EQ(extremum(1, twice, true),
            "(if #[ 1 -1]\n(list\n#[ 2/3 -2/3]\n#[ 1/3 -1/3]\n)\n()\n)\n");
  EXPECT_EQ(extremum(1, twice, false), "(if #[ 1 -1]\n(list\n#[ 0 0]\n#[ 0 0]\n)\n()\n)\n");
  // The lexicographic maximum over x, y >= 0, x + y <= N.
  Rows triangle = {{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, -1, 1, 0}};
  EXPECT_EQ(extremum(1, triangle, true), "(list\n#[ 1 0]\n#[ 0 0]\n)\n");
}

TEST(PipHandCases, ObjectiveOverATileShape) {
  // f = -il + Nl - 1 over 0 <= il, Nl <= b - 1, b >= 1.
  Rows rows = {{0, -1, -1, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 1, -1},
               {1, 0, 0, 1, 0, 0},    {1, 0, 0, -1, 1, -1}, {1, 0, 0, 0, 1, -1}};
  EXPECT_EQ(extremum(1, rows, true).substr(0, 15), "(if #[ 1 -1]\n(l");
  EXPECT_NE(extremum(1, rows, true).find("(list\n#[ 1 -2]\n"), std::string::npos);
  EXPECT_NE(extremum(1, rows, false).find("(list\n#[ -1 0]\n"), std::string::npos);
}

TEST(PipHandCases, EmptinessMaxima) {
  EXPECT_EQ(maximum(0, {{1, 1, -1}, {1, -1, 0}}), "()\n");
  // Negative counters are points too: a maximum frees the unknowns.
  EXPECT_EQ(maximum(0, {{1, 1, 5}, {1, -1, -1}}), "(list\n#[ -1]\n)\n");
  EXPECT_EQ(maximum(0, {{1, -1, -1}}), "(list\n#[ -1]\n)\n");
  // i = N with N <= -1: no point for any parameter, but a tree, not NULL.
  EXPECT_EQ(maximum(1, {{0, 1, -1, 0}, {1, 0, -1, -1}}), "()\n");
  EXPECT_EQ(maximum(0, {}), "(list\n)\n");
  EXPECT_EQ(maximum(0, {{1, -1}}), "()\n");
  EXPECT_EQ(maximum(0, {{1, 5}}), "(list\n)\n");
  EXPECT_EQ(maximum(1, {{1, 1, 0, 0}, {1, -1, 1, -1}}), "(if #[ 1 -1]\n(list\n#[ 1 -1]\n)\n()\n)\n");
}

TEST(PipHandCases, ScheduledProblem) {
  // Date d = i over 0 <= i <= N: unknowns (d, i).
  Rows rows = {{1, 1, -1, 0, 0}, {1, -1, 1, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, 0}};
  EXPECT_EQ(solve_with(1, rows, {}, 1, 0, 0, 0), "(list\n#[ 0 0]\n#[ 0 0]\n)\n");
  EXPECT_EQ(solve_with(1, rows, {}, 1, 1, 0, 0), "(list\n#[ 1 0]\n#[ 1 0]\n)\n");
}

TEST(PipHandCases, SignsAndContexts) {
  EXPECT_EQ(solve_with(1, {{1, 1, -1, 0}}, {}, 1, 0, 1, 1), "(list\n#[ 1 0]\n)\n");
  EXPECT_EQ(solve_with(1, {{1, 1, 0, 0}}, {{1, 1, -1}, {1, -1, 0}}, 1, 1, 0, 0), "void\n");
  EXPECT_EQ(solve_with(1, {{1, 1, 0, 0}, {1, -1, 0, 0}}, {{1, -1, -1}}, 1, 1, 0, 0), "void\n");
  EXPECT_EQ(solve_with(1, {{1, 1, 0, 0}, {1, -1, 0, 0}}, {{1, -1, -1}}, 1, 1, 1, 0),
            "(list\n#[ 0 0]\n)\n");
  // No unknown under a feasible context with rows.
  EXPECT_EQ(solve_with(1, {}, {{1, 1, -1}}, 1, 1, 0, 0), "(list\n)\n");
}

TEST(PipHandCases, DivisionBecomesANewParameter) {
  EXPECT_EQ(solve_with(1, {{0, 2, -1, 0}}, {}, 1, 0, 0, 1),
            "(newparm 1 (div #[ 1 0] 2))\n(if #[ -1 2 0]\n(list\n#[ 0 1 0]\n)\n()\n)\n");
}

TEST(PipHandCases, PiecesEqualOnTheirDomainAreMerged) {
  // Unknowns [y, x], parameter b >= 1, bounds -5 <= x, y <= 5.
  Rows bounds = {{1, 1, 0, 0, 5}, {1, -1, 0, 0, 5}, {1, 0, 1, 0, 5}, {1, 0, -1, 0, 5}};
  Rows integer = bounds;
  integer.insert(integer.end(), {{1, -2, -2, 0, -2}, {1, 3, 1, 2, 0}, {1, 2, -1, 0, 0}});
  Sampled s = sample(integer, 1);
  EXPECT_EQ(s.lists.size(), 2u);
  for (long long b = 1; b <= 14; ++b) {
    long long q = 2 * b / 5;
    std::string expected = b >= 6 ? " -2 -5" : " " + std::to_string(-q) + " " +
                                                   std::to_string(-2 * b + 3 * q);
    EXPECT_EQ(s.values[b - 1], expected) << "b = " << b;
  }
  Rows rational = bounds;
  rational.insert(rational.end(), {{1, -1, 2, 2, 1}, {1, -3, -1, -2, 3}, {1, 3, -3, 1, 0}});
  s = sample(rational, 0);
  EXPECT_EQ(s.lists.size(), 2u);
  EXPECT_EQ(s.values[0], " -11/3 -10/3");
  for (int b = 2; b <= 11; ++b) EXPECT_EQ(s.values[b - 1], " -5 -5") << "b = " << b;
  for (int b = 12; b <= 14; ++b) EXPECT_EQ(s.values[b - 1], "nil") << "b = " << b;
}

TEST(PipHandCases, UnboundedOptimaAreMarked) {
  // Maximum over 0 <= x <= N, y >= x: x = N, y unbounded.
  EXPECT_EQ(maximum(1, {{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, -1, 1, 0, 0}}),
            "(list\n#[ 1 0]\n#[ 0/0 0/0]\n)\n");
  EXPECT_EQ(solve_with(1, {{1, -1, 1, 0}}, {}, 1, 0, 0, 1), "(list\n#[ 0/0 0/0]\n)\n");
  EXPECT_EQ(maximum(0, {{1, 1, 0}}), "(list\n#[ 0/0]\n)\n");
  EXPECT_EQ(solve_with(0, {{1, 1, 0}}, {}, 0, 1, 0, 0), "(list\n#[ 0/0]\n)\n");
}

TEST(PipHandCases, NoIslObjectOutlivesACall) {
  testing::internal::CaptureStderr();
  maximum(1, {{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, -1, 1, 0, 0}});
  solve_with(1, {{0, 2, -1, 0}}, {}, 1, 0, 0, 1);
  extremum(1, {{0, -1, 2, 0, 0}, {1, 0, 1, 0, 0}, {1, 0, -3, 1, -1}, {1, 0, 0, 1, -1}}, true);
  solve_with(1, {{1, 1, 0, 0}}, {{1, 1, -1}, {1, -1, 0}}, 1, 1, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(PipHandCases, DomainOfSeveralConvexPieces) {
  // 2x <= N <= 3x holds for some integer x exactly when N != 1: the
  // optimum's domain is {N = 0} plus {N >= 2}, with divisions.
  Rows between = {{1, -2, 1, 0}, {1, 3, -1, 0}};
  std::vector<std::string> ceil_third = {" 0", "nil", " 1", " 1", " 2", " 2", " 2", " 3", " 3"};
  std::vector<std::string> floor_half = {" 0", "nil", " 1", " 1", " 2", " 2", " 3", " 3", " 4"};
  EXPECT_EQ(values_over_n(between, 1, 0, 0, 1), ceil_third);
  EXPECT_EQ(values_over_n(between, 1, 1, 0, 1), floor_half);
  EXPECT_EQ(values_over_n(between, 0, 0, 0, 1)[1], " 1/3");
}

TEST(PipHandCases, IntegerProjectionWithExistentials) {
  // Maximum over unknowns [x, y, z]: 0 <= x <= N, 2z <= x <= 3z, y free.
  // y is unbounded, so z is projected out: x is N except at N = 1 (x = 1
  // has no z), where it is 0.
  Rows rows = {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 0, 1, 0}, {1, 1, 0, -2, 0, 0},
               {1, -1, 0, 3, 0, 0}};
  std::vector<std::string> expected = {" 0 0/0 0/0", " 0 0/0 0/0"};
  for (int n = 2; n <= 8; ++n) expected.push_back(" " + std::to_string(n) + " 0/0 0/0");
  EXPECT_EQ(values_over_n(rows, 1, 1, 0, 1), expected);
}
