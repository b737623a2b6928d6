// Integer and rational linear algebra of the tiling library on a few sizes.
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "linAlg.h"

// New n x n matrix of determinant 1: a unit lower triangular factor with
// entries in {-1, 0, 1} times a unit upper one. The caller frees it.
static long long** unimodular(int n) {
  long long** m = static_cast<long long**>(malloc(n * sizeof(long long*)));
  for (int i = 0; i < n; i++) {
    m[i] = static_cast<long long*>(malloc(n * sizeof(long long)));
    for (int j = 0; j < n; j++) {
      long long sum = 0;
      for (int k = 0; k <= (i < j ? i : j); k++) {
        long long lower = k == i ? 1 : (i * 7 + k * 3) % 3 - 1;
        long long upper = k == j ? 1 : (k * 5 + j * 11) % 3 - 1;
        sum += lower * upper;
      }
      m[i][j] = sum;
    }
  }
  return m;
}

static void BM_inverseMatUnimod(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  long long** m = unimodular(n);
  for (auto _ : state) {
    long long** inv = inverseMatUnimod(m, n, n);
    benchmark::DoNotOptimize(inv);
    freeMatrix(inv, n);
  }
  freeMatrix(m, n);
}
BENCHMARK(BM_inverseMatUnimod)->Arg(2)->Arg(4)->Arg(8);

static void BM_matrixMultiplication(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  long long** m = unimodular(n);
  for (auto _ : state) {
    long long** prod = matrixMultiplication(m, n, n, m, n, n);
    benchmark::DoNotOptimize(prod);
    freeMatrix(prod, n);
  }
  freeMatrix(m, n);
}
BENCHMARK(BM_matrixMultiplication)->Arg(4)->Arg(16)->Arg(64);

static void BM_inverseDet(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  long long** m = unimodular(n);
  rational64** inv = toRationalMatrix(m, n, n);
  for (auto _ : state) benchmark::DoNotOptimize(inverseDet(m, inv, n));
  freeMatrix(inv, n);
  freeMatrix(m, n);
}
BENCHMARK(BM_inverseDet)->Arg(2)->Arg(4)->Arg(8);

BENCHMARK_MAIN();
