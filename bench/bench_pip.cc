// pip_solve on problems of the size tiling produces, each next to
// isl_set_is_empty on the same set: the ratio shows what an emptiness test
// could save by not building an answer tree. Then pip_solve on each stored
// problem of bench/pip-slow/, small problems on which it was once slow,
// with the size of its answer tree.
#include <benchmark/benchmark.h>
#include <isl/ctx.h>
#include <isl/options.h>
#include <isl/set.h>

#include <vector>

#include "pip.h"
#include "problem_file.h"

namespace {

using Rows = std::vector<std::vector<long long>>;

struct Problem {
  int np;
  Rows rows;
  const char *isl_text;  // the same points in isl syntax
};

// Tile counters t0, t1 and in-tile counters i0, i1; parameters Nb, Nl, b.
// Rows [flag | t0 i0 t1 i1 | Nb Nl b | constant].
Rows tile_rows() {
  return {{1, 0, 1, 0, 0, 0, 0, 0, 0},  {1, 0, -1, 0, 0, 0, 0, 1, -1},
          {1, 1, 0, 0, 0, 0, 0, 0, 0},  {1, -1, 0, 0, 0, 1, 0, 0, 0},
          {1, 0, 0, 0, 1, 0, 0, 0, 0},  {1, 0, 0, 0, -1, 0, 0, 1, -1},
          {1, 0, 0, 1, 0, 0, 0, 0, 0},  {1, 0, 0, -1, 0, 1, 0, 0, 0},
          {1, 1, 0, -1, 0, 0, 0, 0, 0}, {1, 0, -1, 0, -1, 0, 1, 0, 0},
          {1, 0, 0, 0, 0, 0, 0, 1, -1}, {1, 1, 1, 1, 1, 0, 0, 0, -1}};
}

const char *kTileText =
    "[Nb, Nl, b] -> { [t0, i0, t1, i1] : 0 <= i0 < b and 0 <= t0 <= Nb and "
    "0 <= i1 < b and 0 <= t1 <= Nb and t1 <= t0 and i0 + i1 <= Nl and b >= 1 and "
    "t0 + i0 + t1 + i1 >= 1 }";

Problem non_empty() { return {3, tile_rows(), kTileText}; }

Problem empty() {
  Problem p = non_empty();
  p.rows.push_back({1, -1, 0, 1, 0, 0, 0, 0, -1});  // t1 >= t0 + 1
  p.isl_text =
      "[Nb, Nl, b] -> { [t0, i0, t1, i1] : 0 <= i0 < b and 0 <= t0 <= Nb and "
      "0 <= i1 < b and 0 <= t1 <= Nb and t1 <= t0 and i0 + i1 <= Nl and b >= 1 and "
      "t0 + i0 + t1 + i1 >= 1 and t1 >= t0 + 1 }";
  return p;
}

Problem unbounded() {
  Problem p = non_empty();
  p.rows.erase(p.rows.begin() + 3);  // t0 <= Nb dropped
  p.isl_text =
      "[Nb, Nl, b] -> { [t0, i0, t1, i1] : 0 <= i0 < b and 0 <= t0 and "
      "0 <= i1 < b and 0 <= t1 <= Nb and t1 <= t0 and i0 + i1 <= Nl and b >= 1 and "
      "t0 + i0 + t1 + i1 >= 1 }";
  return p;
}

// f = i0 + 2 i1 (- i2) over the tile shape 0 <= i_k <= b - 1.
Problem tile_objective(int dims) {
  Problem p{1, {}, nullptr};
  int width = dims + 4;
  std::vector<long long> f(width, 0);
  f[1] = -1;
  for (int k = 0; k < dims; ++k) f[2 + k] = k == 2 ? -1 : k + 1;
  p.rows.push_back(f);
  for (int k = 0; k < dims; ++k) {
    std::vector<long long> lo(width, 0), hi(width, 0);
    lo[0] = hi[0] = 1;
    lo[2 + k] = 1;
    hi[2 + k] = -1;
    hi[width - 2] = 1;
    hi[width - 1] = -1;
    p.rows.push_back(lo);
    p.rows.push_back(hi);
  }
  p.isl_text = dims == 2 ? "[b] -> { rat: [f, i0, i1] : f = i0 + 2i1 and 0 <= i0 <= b - 1 "
                           "and 0 <= i1 <= b - 1 }"
                         : "[b] -> { rat: [f, i0, i1, i2] : f = i0 + 2i1 - i2 and "
                           "0 <= i0 <= b - 1 and 0 <= i1 <= b - 1 and 0 <= i2 <= b - 1 }";
  return p;
}

// 2i = N and 3j = i + M: both solutions need divisions.
Problem divisions() {
  return {2, {{0, 2, 0, -1, 0, 0}, {0, -1, 3, 0, -1, 0}},
          "[N, M] -> { [i, j] : 2i = N and 3j = i + M and i >= 0 and j >= 0 }"};
}

void run_pip(benchmark::State &state, const Problem &p, int nq, int maximize, int urs) {
  PipMatrix *pb = pip_matrix_alloc(p.rows.size(), p.rows[0].size());
  for (size_t i = 0; i < p.rows.size(); ++i)
    for (size_t j = 0; j < p.rows[i].size(); ++j) pb->p[i][j] = p.rows[i][j];
  PipMatrix *ctx = pip_matrix_alloc(0, p.np + 2);
  PipOptions *o = pip_options_init();
  o->Nq = nq;
  o->Maximize = maximize;
  o->Urs_parms = o->Urs_unknowns = urs;
  for (auto _ : state) {
    PipQuast *q = pip_solve(pb, ctx, -1, o);
    benchmark::DoNotOptimize(q);
    pip_quast_free(q);
  }
  pip_options_free(o);
  pip_matrix_free(ctx);
  pip_matrix_free(pb);
}

void run_isl_empty(benchmark::State &state, const Problem &p) {
  for (auto _ : state) {
    isl_ctx *ctx = isl_ctx_alloc();
    isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
    isl_set *set = isl_set_read_from_str(ctx, p.isl_text);
    benchmark::DoNotOptimize(isl_set_is_empty(set));
    isl_set_free(set);
    isl_ctx_free(ctx);
  }
}

void BM_EmptinessNonEmpty(benchmark::State &s) { run_pip(s, non_empty(), 1, 1, 0); }
void BM_EmptinessNonEmptyIsl(benchmark::State &s) { run_isl_empty(s, non_empty()); }
void BM_EmptinessEmpty(benchmark::State &s) { run_pip(s, empty(), 1, 1, 0); }
void BM_EmptinessEmptyIsl(benchmark::State &s) { run_isl_empty(s, empty()); }
void BM_EmptinessUnbounded(benchmark::State &s) { run_pip(s, unbounded(), 1, 1, 0); }
void BM_EmptinessUnboundedIsl(benchmark::State &s) { run_isl_empty(s, unbounded()); }
void BM_RationalMax2d(benchmark::State &s) { run_pip(s, tile_objective(2), 0, 1, -1); }
void BM_RationalMin2d(benchmark::State &s) { run_pip(s, tile_objective(2), 0, 0, -1); }
void BM_RationalMax2dIsl(benchmark::State &s) { run_isl_empty(s, tile_objective(2)); }
void BM_RationalMax3d(benchmark::State &s) { run_pip(s, tile_objective(3), 0, 1, -1); }
void BM_RationalMax3dIsl(benchmark::State &s) { run_isl_empty(s, tile_objective(3)); }
void BM_Divisions(benchmark::State &s) { run_pip(s, divisions(), 1, 0, 0); }
void BM_DivisionsIsl(benchmark::State &s) { run_isl_empty(s, divisions()); }

int nodes(const PipQuast *q) { return q ? 1 + nodes(q->next_then) + nodes(q->next_else) : 0; }

void BM_StoredProblem(benchmark::State &state, const std::string &file) {
  ProblemFile pb;
  if (!read_problem_file(file, &pb)) {
    state.SkipWithError("unreadable problem");
    return;
  }
  PipMatrix *problem = pip_matrix_alloc(pb.domain.size(), pb.nn + pb.np + 2);
  PipMatrix *context = pip_matrix_alloc(pb.context.size(), pb.np + 2);
  for (size_t i = 0; i < pb.domain.size(); ++i)
    for (size_t j = 0; j < pb.domain[i].size(); ++j) problem->p[i][j] = pb.domain[i][j];
  for (size_t i = 0; i < pb.context.size(); ++i)
    for (size_t j = 0; j < pb.context[i].size(); ++j) context->p[i][j] = pb.context[i][j];
  for (auto _ : state) {
    PipQuast *q = pip_solve(problem, context, -1, &pb.options);
    state.counters["nodes"] = nodes(q);
    pip_quast_free(q);
  }
  pip_matrix_free(context);
  pip_matrix_free(problem);
}

const bool stored_problems_registered = [] {
  for (const std::string &file : problem_files(PIP_SLOW_DIR)) {
    std::string name = file.substr(file.rfind('/') + 1);
    benchmark::RegisterBenchmark(("BM_StoredProblem/" + name).c_str(), BM_StoredProblem, file)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  return true;
}();

}  // namespace

BENCHMARK(BM_EmptinessNonEmpty);
BENCHMARK(BM_EmptinessNonEmptyIsl);
BENCHMARK(BM_EmptinessEmpty);
BENCHMARK(BM_EmptinessEmptyIsl);
BENCHMARK(BM_EmptinessUnbounded);
BENCHMARK(BM_EmptinessUnboundedIsl);
BENCHMARK(BM_RationalMax2d);
BENCHMARK(BM_RationalMin2d);
BENCHMARK(BM_RationalMax2dIsl);
BENCHMARK(BM_RationalMax3d);
BENCHMARK(BM_RationalMax3dIsl);
BENCHMARK(BM_Divisions);
BENCHMARK(BM_DivisionsIsl);

BENCHMARK_MAIN();
