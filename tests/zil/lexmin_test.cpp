// Parametric extrema: merging of hand-built solution trees, answers through
// the solver, a brute-force bound oracle and the stops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "lexmin.h"
#include "tiling_test_support.h"

using namespace zil_test;

namespace {

using Entries = std::vector<std::pair<long long, long long>>;  // num, den

PipVector* vec(const Entries& entries) {
  PipVector* v = static_cast<PipVector*>(malloc(sizeof(PipVector)));
  v->nb_elements = static_cast<int>(entries.size());
  v->the_vector = static_cast<long long*>(malloc(sizeof(long long) * (entries.size() + 1)));
  v->the_deno = static_cast<long long*>(malloc(sizeof(long long) * (entries.size() + 1)));
  for (size_t j = 0; j < entries.size(); j++) v->the_vector[j] = entries[j].first, v->the_deno[j] = entries[j].second;
  return v;
}

PipQuast* quast() { return static_cast<PipQuast*>(calloc(1, sizeof(PipQuast))); }

// Leaf of one solution vector per entry list; Nil when there is none.
PipQuast* leaf(const std::vector<Entries>& vectors) {
  PipQuast* q = quast();
  for (auto it = vectors.rbegin(); it != vectors.rend(); ++it) {
    PipList* cell = static_cast<PipList*>(malloc(sizeof(PipList)));
    cell->vector = vec(*it);
    cell->next = q->list;
    q->list = cell;
  }
  return q;
}

PipQuast* node(PipQuast* thenBranch, PipQuast* elseBranch) {
  PipQuast* q = quast();
  q->condition = vec({{1, 1}, {-1, 1}});
  q->next_then = thenBranch;
  q->next_else = elseBranch;
  thenBranch->father = elseBranch->father = q;
  return q;
}

// Flattened entries of a tree, which is freed.
std::vector<Entries> flatten(PipQuast* q, bool bmax) {
  PipList* list = flatten_quast(q, bmax);
  std::vector<Entries> out;
  for (PipList* it = list; it != NULL; it = it->next) {
    out.emplace_back();
    for (int j = 0; j < it->vector->nb_elements; j++)
      out.back().push_back({it->vector->the_vector[j], it->vector->the_deno[j]});
  }
  pip_list_free(list);
  pip_quast_free(q);
  return out;
}

TEST(ExtremaMerge, CoefficientByCoefficient) {
  auto tree = [] { return node(leaf({{{2, 1}, {0, 1}}}), leaf({{{1, 1}, {5, 1}}})); };
  EXPECT_EQ(flatten(tree(), true), (std::vector<Entries>{{{2, 1}, {5, 1}}}));
  EXPECT_EQ(flatten(tree(), false), (std::vector<Entries>{{{1, 1}, {0, 1}}}));
}

TEST(ExtremaMerge, TiesAndExactComparison) {
  EXPECT_EQ(flatten(node(leaf({{{2, 4}}}), leaf({{{1, 2}}})), false), (std::vector<Entries>{{{1, 2}}}));
  EXPECT_EQ(flatten(node(leaf({{{2, 4}}}), leaf({{{1, 2}}})), true), (std::vector<Entries>{{{2, 4}}}));
  long long big = 1LL << 24;
  EXPECT_EQ(flatten(node(leaf({{{big, 1}}}), leaf({{{big + 1, 1}}})), true),
            (std::vector<Entries>{{{big + 1, 1}}}));
}

TEST(ExtremaMerge, BranchesWithoutSolution) {
  EXPECT_EQ(flatten(node(leaf({{{2, 1}, {0, 1}}}), leaf({})), true), (std::vector<Entries>{{{2, 1}, {0, 1}}}));
  EXPECT_EQ(flatten(node(leaf({}), leaf({{{1, 1}, {5, 1}}})), true), (std::vector<Entries>{{{1, 1}, {5, 1}}}));
  EXPECT_TRUE(flatten(node(leaf({}), leaf({})), false).empty());
}

TEST(ExtremaMerge, UnboundedEntryWins) {
  for (bool bmax : {true, false}) {
    EXPECT_EQ(flatten(node(leaf({{{0, 0}}}), leaf({{{3, 1}}})), bmax), (std::vector<Entries>{{{0, 0}}}));
    EXPECT_EQ(flatten(node(leaf({{{3, 1}}}), leaf({{{0, 0}}})), bmax), (std::vector<Entries>{{{0, 0}}}));
  }
}

TEST(ExtremaMerge, NestedTreesFlatten) {
  PipQuast* inner = node(leaf({{{1, 1}, {7, 1}}, {{0, 1}, {1, 1}}}), leaf({{{3, 1}, {-1, 1}}, {{2, 1}, {0, 1}}}));
  PipQuast* tree = node(inner, leaf({{{-1, 1}, {9, 1}}, {{0, 1}, {-4, 1}}}));
  EXPECT_EQ(flatten(tree, true), (std::vector<Entries>{{{3, 1}, {9, 1}}, {{2, 1}, {1, 1}}}));
}

// Answer rows as (num, den) pairs; the answer is freed.
std::vector<Entries> rows(rational64** answer, int nRow, int nCol) {
  std::vector<Entries> out(nRow);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) out[i].push_back({answer[i][j].num, answer[i][j].den});
  freeMatrix(answer, nRow);
  return out;
}

enum Extremum { MAX, MIN, ARGMAX, ARGMIN };

std::vector<Entries> extremum(Extremum kind, const Rows& f, const Rows& dom, int nInd, int nParam) {
  affFuncZIL* obj = makeFunc(f, std::vector<long long>(f.size(), 1), nInd, nParam);
  polyhedronZIL* poly = makePoly(dom, nInd, nParam);
  rational64** answer = kind == MAX ? max(obj, poly) : kind == MIN ? min(obj, poly)
                      : kind == ARGMAX ? argmax(obj, poly) : argmin(obj, poly);
  int nRow = kind == MAX || kind == MIN ? obj->dimOut : nInd;
  freeAffineFunction(obj);
  freePolyhedron(poly);
  return rows(answer, nRow, nParam + 1);
}

const Rows kBoxed = {{1, 1, 0, 0}, {1, -1, 1, 0}};                          // 0 <= x <= N
const Rows kThird = {{1, 1, 0, 0}, {1, -3, 1, -1}, {1, 0, 1, -1}};          // x >= 0, 3x <= b - 1, b >= 1
const Rows kLocalContext = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1},
                            {1, 0, 0, 1, -1}};  // 0 <= il, Nl <= b - 1, b >= 1

TEST(Extrema, ThroughTheSolver) {
  EXPECT_EQ(extremum(MAX, {{1, 0, 0}}, kBoxed, 1, 1), (std::vector<Entries>{{{1, 1}, {0, 1}}}));
  EXPECT_EQ(extremum(MIN, {{1, 0, 0}}, kBoxed, 1, 1), (std::vector<Entries>{{{0, 1}, {0, 1}}}));
  EXPECT_EQ(extremum(MAX, {{2, 0, 0}}, kThird, 1, 1), (std::vector<Entries>{{{2, 3}, {-2, 3}}}));
  EXPECT_EQ(extremum(ARGMAX, {{2, 0, 0}}, kThird, 1, 1), (std::vector<Entries>{{{1, 3}, {-1, 3}}}));
  EXPECT_EQ(extremum(MIN, {{2, 0, 0}}, kThird, 1, 1), (std::vector<Entries>{{{0, 1}, {0, 1}}}));
  EXPECT_EQ(extremum(MAX, {{-1, 1, 0, -1}}, kLocalContext, 2, 1), (std::vector<Entries>{{{1, 1}, {-2, 1}}}));
  EXPECT_EQ(extremum(MIN, {{-1, 1, 0, -1}}, kLocalContext, 2, 1), (std::vector<Entries>{{{-1, 1}, {0, 1}}}));

  polyhedronZIL* triangle = makePoly({{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, -1, 1, 0}}, 2, 1);
  EXPECT_EQ(rows(lexmax(triangle), 2, 2), (std::vector<Entries>{{{1, 1}, {0, 1}}, {{0, 1}, {0, 1}}}));
  freePolyhedron(triangle);
}

TEST(Extrema, LaterUnboundedUnknownsDoNotMatter) {
  Rows dom = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 0, 1, 0, 0}};  // 0 <= x <= N, z >= 0
  EXPECT_EQ(extremum(MAX, {{1, 0, 0, 0}}, dom, 2, 1), (std::vector<Entries>{{{1, 1}, {0, 1}}}));
}

// The bound from max (min) is at least (at most) the extremum over the
// integer points at every parameter value where there is one.
TEST(Extrema, BoundOracle) {
  std::mt19937 rng(103);
  std::uniform_int_distribution<int> coef(-2, 2), cst(-3, 3);
  for (int iter = 0; iter < 40; iter++) {
    int n = 1 + iter % 2;
    Rows dom;
    for (int k = 0; k < n; k++) {
      Rows bounds(2, std::vector<long long>(n + 3, 0));
      bounds[0][0] = bounds[1][0] = 1;
      bounds[0][1 + k] = 1, bounds[0][n + 2] = 3;
      bounds[1][1 + k] = -1, bounds[1][n + 1] = 1, bounds[1][n + 2] = 3;
      dom.insert(dom.end(), bounds.begin(), bounds.end());
    }
    std::vector<long long> extra = {1};
    for (int j = 0; j < n + 2; j++) extra.push_back(j < n + 1 ? coef(rng) : cst(rng));
    dom.push_back(extra);
    Rows f(1);
    for (int j = 0; j < n + 2; j++) f[0].push_back(coef(rng));
    polyhedronZIL* poly = makePoly(dom, n, 1);
    std::vector<long long> seen, hi, lo;  // parameter values with points, integer max and min there
    for (long long N = 0; N <= 6; N++) {
      bool any = false;
      long long best = 0, worst = 0;
      forEachPoint(Point(n, -3), Point(n, N + 3), [&](const Point& x) {
        if (!domainContainsScaled(poly, x, {N}, 1)) return;
        long long v = f[0][n] * N + f[0][n + 1];
        for (int k = 0; k < n; k++) v += f[0][k] * x[k];
        best = any ? std::max(best, v) : v, worst = any ? std::min(worst, v) : v, any = true;
      });
      if (any) seen.push_back(N), hi.push_back(best), lo.push_back(worst);
    }
    freePolyhedron(poly);
    if (seen.empty()) continue;
    auto mx = extremum(MAX, f, dom, n, 1)[0], mn = extremum(MIN, f, dom, n, 1)[0];
    for (size_t s = 0; s < seen.size(); s++) {
      long long N = seen[s];
      // r·N + c compared exactly: (r.num·N·c.den + c.num·r.den) / (r.den·c.den).
      long long upper = mx[0].first * N * mx[1].second + mx[1].first * mx[0].second;
      long long lower = mn[0].first * N * mn[1].second + mn[1].first * mn[0].second;
      EXPECT_GE(upper, hi[s] * mx[0].second * mx[1].second) << "case " << iter << " N=" << N;
      EXPECT_LE(lower, lo[s] * mn[0].second * mn[1].second) << "case " << iter << " N=" << N;
    }
  }
}

TEST(ExtremaDeath, Stops) {
  Rows dom = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 0, 1, 0, 0}};
  EXPECT_DEATH(extremum(ARGMAX, {{1, 0, 0, 0}}, dom, 2, 1), moduleAssertion("lexmin", "unbounded extremum"));
  EXPECT_DEATH(extremum(MAX, {{1, 0, 0}}, {{1, 1, 0, 0}}, 1, 1), moduleAssertion("lexmin", "unbounded extremum"));
  EXPECT_DEATH(extremum(MAX, {{1, 0, 0}}, {{1, 1, 0, 0}, {1, -1, 0, -1}}, 1, 1),
               moduleAssertion("lexmin", "no solution"));

  polyhedronZIL* poly = makePoly(kBoxed, 1, 1);
  PipMatrix* context = pip_matrix_alloc(0, 2);
  EXPECT_DEATH(lexminmax(poly, context, true), moduleAssertion("lexmin", "poly->nParam\\+2 == \\(int\\) context->NbColumns"));
  pip_matrix_free(context);
  freePolyhedron(poly);
  polyhedronZIL* noIndex = makePoly({{1, 1, 0}}, 0, 1);
  EXPECT_DEATH(lexmax(noIndex), moduleAssertion("lexmin", "poly->nInd>0"));
  freePolyhedron(noIndex);
}

}  // namespace
