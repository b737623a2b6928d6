#!/usr/bin/env bash
# Builds and runs bench_kernels: the untiled originals of bench/kernels/
# (gcc -O3 -march=native, and clang-14 -O3 -march=native with Polly)
# against tarvex's tiled output and the same with the code generator forced
# into its exact mode with every instance together and into its last mode
# (g++ -O3 -march=native, block_size 16, 32 and 64), after checking that
# every form leaves the original's arrays. It prints the size of each
# tiled output (with a note where a kernel has no last mode), then the
# benchmark's table of ratios untiled time / form time.
#
# Usage: run_kernels_bench.sh [build folder] [benchmark options...]
# (default folder: build/ of the repository). Repetitions give medians and
# random interleaving spreads a busy machine's drift over all forms, e.g.
#   run_kernels_bench.sh build --benchmark_repetitions=3 \
#     --benchmark_enable_random_interleaving=true
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
shift || true
bash "$top/scripts/install-clang-14"
# Configuring again lets a clang-14 installed after the first configure be
# found.
cmake -S "$top" -B "$dir" >/dev/null
cmake --build "$dir" -j 4 --target bench_kernels >/dev/null
for form in tiled together last; do
  for output in "$dir"/bench/kernels/*."$form".cc; do
    note=${output%.cc}.log
    printf '%-30s %8d bytes %s\n' "$(basename "$output")" "$(wc -c <"$output")" "$(cat "$note" 2>/dev/null || true)"
  done
done
"$dir/bench/bench_kernels" "$@"
