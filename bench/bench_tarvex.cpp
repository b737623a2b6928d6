// Benchmarks of the command and of the code it writes:
// - tarvex on every input of examples/ (a whole run, iscc included);
// - the cross product of a parametric tiling, the hot path of such a run,
//   and the emptiness test it asks of every intersection;
// - a matrix multiply and a Jacobi sweep, untiled and under rectangular
//   parametric tiling with block_size 16, 32 and 64 set at run time.
// Sizes come from TARVEX_BENCH_N (matrix multiply) and TARVEX_BENCH_JACOBI_N
// so that a smoke run can keep them small; bench/run_tarvex_bench.sh prints
// the ratios untiled time / tiled time.

#include <benchmark/benchmark.h>
#include <dirent.h>

#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include <isl/ctx.h>
#include <isl/set.h>
#include <isl/space.h>

#include "ISLWrapper.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Rank.h"
#include "ZIL.h"
#include "ZILWrapper.h"
#include "tarvex_kernels.h"

namespace {

int size_from(const char* variable, int fallback) {
  const char* value = std::getenv(variable);
  return value ? std::atoi(value) : fallback;
}

std::vector<std::string> examples() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(EXAMPLES_DIR)) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 2 && name.compare(name.size() - 2, 2, ".c") == 0) names.push_back(name);
    }
    closedir(dir);
  }
  return names;
}

// One whole run in a scratch folder, as a user would start it.
void BM_TarvexRun(benchmark::State& state, const std::string& example) {
  char folder[] = "/tmp/tarvex-bench-XXXXXX";
  std::string dir = mkdtemp(folder);
  std::string command = "cd " + dir + " && cp " EXAMPLES_DIR "/" + example + " . && " TARVEX_PATH " " + example +
                        " >/dev/null 2>&1";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("tarvex failed");
  std::system(("rm -rf " + dir).c_str());
}

// The library's lists for the matrix multiply's cube read back as
// polyhedra, once; the benchmark crosses them.
std::vector<std::vector<Polyhedron*>> cube_lists() {
  for (const char* c : {"i", "j", "k"}) declare_counter(c);
  declare_parameter("N");
  std::vector<int> counters = {get_counter_rank("i"), get_counter_rank("j"), get_counter_rank("k")};
  std::vector<int> parameters = {get_parameter_rank("N")};
  std::vector<std::vector<int>> rows;
  for (int k = 0; k < 3; k++) {
    std::vector<int> low(6, 0), high(6, 0);
    low[0] = high[0] = 1;
    low[k + 1] = 1;
    high[k + 1] = -1, high[4] = 1, high[5] = -1;
    rows.push_back(low);
    rows.push_back(high);
  }
  Polyhedron cube(rows, counters, parameters);
  ZILWrapper::active_counters = counters;
  ZILWrapper::active_parameters = parameters;
  polyhedronZIL* record = ZILWrapper::to_polyhedronZIL(&cube);
  long long ratios[] = {1, 1, 2};
  optionZIL option;
  option.minBlSizeParam = 1;
  std::list<std::list<polyhedronZIL*>> lists = getRectangularTiledDomain(record, ratios, &option);
  freePolyhedron(record);
  ZILWrapper::active_counters.clear();
  ZILWrapper::active_parameters.clear();
  for (const char* c : {"ii", "ij", "ik", "li", "lj", "lk"}) {
    declare_counter(c);
    ZILWrapper::active_counters.push_back(get_counter_rank(c));
  }
  for (const char* p : {"Nb", "Nl", "b"}) {
    declare_parameter(p);
    ZILWrapper::active_parameters.push_back(get_parameter_rank(p));
  }
  std::vector<std::vector<Polyhedron*>> vectors;
  for (std::list<polyhedronZIL*>& pieces : lists) {
    vectors.emplace_back();
    for (polyhedronZIL* piece : pieces) {
      vectors.back().push_back(ZILWrapper::to_polyhedron(piece));
      freePolyhedron(piece);
    }
  }
  return vectors;
}

void BM_CrossProductOfTheCube(benchmark::State& state) {
  std::vector<std::vector<Polyhedron*>> vectors = cube_lists();
  size_t pieces = 0;
  for (auto _ : state) {
    std::vector<Polyhedron*> crossed = ZILWrapper::cross_product(vectors, 0);
    pieces = crossed.size();
    del(crossed);
  }
  state.counters["pieces"] = static_cast<double>(pieces);
  del(vectors);
}
BENCHMARK(BM_CrossProductOfTheCube)->Unit(benchmark::kMillisecond);

// Every intersection of one piece of each of the cube's lists, as the
// cross product makes them (empty ones included), each asked whether it is
// empty: by Polyhedron::is_empty, by the parametric maximum it used to
// compute, and by a bare isl test on the same rows (parameters left free)
// with a context of its own.
std::vector<Polyhedron*> cube_pairs() {
  std::vector<std::vector<Polyhedron*>> lists = cube_lists();
  std::vector<Polyhedron*> pairs{new Polyhedron()};
  for (const std::vector<Polyhedron*>& pieces : lists) {
    std::vector<Polyhedron*> longer;
    for (Polyhedron* p : pairs)
      for (Polyhedron* piece : pieces) {
        longer.push_back(new Polyhedron(p));
        longer.back()->add_constraints(piece);
      }
    del(pairs);
    pairs = longer;
  }
  del(lists);
  return pairs;
}

void BM_IsEmpty(benchmark::State& state) {
  std::vector<Polyhedron*> pairs = cube_pairs();
  for (auto _ : state)
    for (Polyhedron* p : pairs) benchmark::DoNotOptimize(p->is_empty());
  state.counters["sets"] = static_cast<double>(pairs.size());
  del(pairs);
}
BENCHMARK(BM_IsEmpty)->Unit(benchmark::kMillisecond);

void BM_IsEmptyByMaximum(benchmark::State& state) {
  std::vector<Polyhedron*> pairs = cube_pairs();
  for (auto _ : state)
    for (Polyhedron* p : pairs) {
      Quast* q = p->max_lex();
      benchmark::DoNotOptimize(q->empty());
      delete q;
    }
  del(pairs);
}
BENCHMARK(BM_IsEmptyByMaximum)->Unit(benchmark::kMillisecond);

void BM_IsEmptyBareIsl(benchmark::State& state) {
  std::vector<Polyhedron*> pairs = cube_pairs();
  std::vector<std::vector<std::vector<int>>> rows;
  for (Polyhedron* p : pairs) rows.push_back(p->to_matrix());
  for (auto _ : state)
    for (const std::vector<std::vector<int>>& m : rows) {
      isl_ctx* ctx = isl_ctx_alloc();
      isl_space* space = isl_space_set_alloc(ctx, get_nb_parameters(), get_nb_counters());
      isl_set* set = from_vec_vec(ctx, space, m);
      benchmark::DoNotOptimize(isl_set_is_empty(set));
      isl_set_free(set);
      isl_space_free(space);
      isl_ctx_free(ctx);
    }
  del(pairs);
}
BENCHMARK(BM_IsEmptyBareIsl)->Unit(benchmark::kMillisecond);

void BM_MatmulUntiled(benchmark::State& state) {
  bench_kernels::matmul_setup(size_from("TARVEX_BENCH_N", 256));
  for (auto _ : state) bench_kernels::matmul_untiled();
}
BENCHMARK(BM_MatmulUntiled)->Unit(benchmark::kMillisecond);

void BM_MatmulTiled(benchmark::State& state) {
  bench_kernels::matmul_setup(size_from("TARVEX_BENCH_N", 256));
  for (auto _ : state) bench_kernels::matmul_tiled(static_cast<int>(state.range(0)));
}
BENCHMARK(BM_MatmulTiled)->Arg(16)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

void BM_JacobiUntiled(benchmark::State& state) {
  bench_kernels::jacobi_setup(size_from("TARVEX_BENCH_JACOBI_N", 1024));
  for (auto _ : state)
    for (int t = 0; t < 4; t++) bench_kernels::jacobi_untiled();
}
BENCHMARK(BM_JacobiUntiled)->Unit(benchmark::kMillisecond);

void BM_JacobiTiled(benchmark::State& state) {
  bench_kernels::jacobi_setup(size_from("TARVEX_BENCH_JACOBI_N", 1024));
  for (auto _ : state)
    for (int t = 0; t < 4; t++) bench_kernels::jacobi_tiled(static_cast<int>(state.range(0)));
}
BENCHMARK(BM_JacobiTiled)->Arg(16)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  for (const std::string& example : examples())
    benchmark::RegisterBenchmark(("BM_TarvexRun/" + example).c_str(), BM_TarvexRun, example)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
