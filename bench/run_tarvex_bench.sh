#!/usr/bin/env bash
# Runs bench_tarvex once and prints, per kernel and block size, the ratio
# untiled time / tiled time (above 1: the tiled code is faster), then the
# times of the tarvex runs on the examples, and tarvex's time on every
# kernel of bench/kernels/ (wall clock and processor seconds, the share of
# iscc, whether iscc generated every instance together, whether it
# generated the else schedule of the last mode and whether tarvex refused
# the kernel, whose message goes to standard error). With
# --benchmark_repetitions, every figure comes from the medians.
#
# Usage: run_tarvex_bench.sh <bench_tarvex> [benchmark options...]
# TARVEX_BENCH_N and TARVEX_BENCH_JACOBI_N set the kernel sizes (defaults
# 256 and 1024); a smoke run sets them small.
set -euo pipefail
bench=$1
shift
"$bench" --benchmark_format=csv "$@" | awk -F, '
  # The columns of the counters, from the header (whose counter names are
  # quoted).
  /^name,/ { for (c = 1; c <= NF; c++) { key = $c; gsub(/"/, "", key); column[key] = c } }
  # One time per benchmark: the median when --benchmark_repetitions adds
  # aggregates, else its only (or last) run; the other aggregates are
  # skipped.
  /^"BM_/ {
    name = $1; gsub(/"/, "", name)
    if (name ~ /_(mean|stddev|cv)$/) next
    median = sub(/_median$/, "", name)
    if (!(name in time)) order[++n] = name
    if (median || !(name in from_median)) {
      time[name] = $3; unit[name] = $5; gsub(/"/, "", unit[name])
      for (counter in column) value[name, counter] = $(column[counter])
    }
    if (median) from_median[name] = 1
  }
  END {
    for (k = 1; k <= n; k++) {
      split(order[k], part, "/")
      if (part[1] == "BM_MatmulTiled" || part[1] == "BM_JacobiTiled") {
        base = part[1]; sub(/Tiled/, "Untiled", base)
        printf "%-8s block_size %-3s untiled/tiled = %.2f\n", substr(part[1], 4, 6), part[2], time[base] / time[order[k]]
      }
    }
    for (k = 1; k <= n; k++)
      if (order[k] ~ /^BM_TarvexRun/) printf "tarvex %-28s %10.1f %s\n", order[k], time[order[k]], unit[order[k]]
    for (k = 1; k <= n; k++)
      if (order[k] ~ /^BM_CrossProduct/) printf "%-35s %10.1f %s\n", order[k], time[order[k]], unit[order[k]]
    printf "%-24s %8s %8s %8s %9s %5s %8s\n", "kernel", "wall (s)", "cpu (s)", "iscc (s)", "together", "last", "refused"
    for (k = 1; k <= n; k++)
      if (order[k] ~ /^BM_TarvexPhases/) {
        name = order[k]; sub(/^BM_TarvexPhases\//, "", name); sub(/\/iterations:[0-9]+$/, "", name)
        printf "%-24s %8.1f %8.1f %8.1f %9d %5d %8d\n", name, time[order[k]], value[order[k], "cpu"],
               value[order[k], "iscc"], value[order[k], "together"], value[order[k], "last"], value[order[k], "refused"]
      }
  }'
