// Cost of one iscc run on the scripts the back end writes: a small
// untiled program and a rectangular parametric union of four pieces.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "Script.h"

namespace {

const std::string kUntiled =
    "D0 := [N] -> { S0[i,j] : i >= 0 and i < N and j >= 0 and j < N};\n"
    "D1 := [N] -> { S1[i] : i >= 0 and i < N};\n"
    "D := D0+D1;\n"
    "theta := [N] -> { S0[i,j] -> [i,j]; S1[i] -> [i,0] };\n"
    "tiled_program := theta*D;\n"
    "codegen tiled_program;\n";

std::string tiled_union() {
  const std::string common = "inner_N >= 0 and inner_N < block_size and outer_N >= 0";
  const std::string full[2] = {"o0 >= 0 and o0 < outer_N and i0 >= 0 and i0 < block_size",
                               "o1 >= 0 and o1 < outer_N and i1 >= 0 and i1 < block_size"};
  const std::string part[2] = {"o0 = outer_N and i0 >= 0 and i0 < inner_N",
                               "o1 = outer_N and i1 >= 0 and i1 < inner_N"};
  std::string pieces;
  for (const std::string& a : {full[0], part[0]})
    for (const std::string& b : {full[1], part[1]})
      pieces += std::string(pieces.empty() ? "" : "; ") + "S0[o0,i0,o1,i1] : " + common + " and " + a +
                " and " + b;
  return "D0 := [block_size,outer_N,inner_N] -> { " + pieces + "};\nD := D0;\n"
         "theta := [block_size,outer_N,inner_N] -> { S0[o0,i0,o1,i1] -> [o0,o1,i0,i1] };\n"
         "tiled_program := theta*D;\ncodegen tiled_program;\n";
}

void run(benchmark::State& state, const std::string& script) {
  for (auto _ : state) {
    std::ostringstream out, err;
    benchmark::DoNotOptimize(iscc::run_script(script, out, err));
  }
}

void BM_Untiled(benchmark::State& state) { run(state, kUntiled); }
void BM_TiledUnion(benchmark::State& state) { run(state, tiled_union()); }

BENCHMARK(BM_Untiled);
BENCHMARK(BM_TiledUnion);

}  // namespace

BENCHMARK_MAIN();
