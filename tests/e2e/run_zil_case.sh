#!/usr/bin/env bash
# Runs tarvex on one parametric (ZIL) tiling input and checks the tiled code
# against the original. Each program is compiled once; block_size and the
# size parameters are set at run time, and every array listed is compared
# exactly for every combination of block size and parameter values.
#
# Usage: run_zil_case.sh <tarvex> <iscc> <c++ compiler> <input.c>
# The input describes itself in comment lines:
#   // params: N M            parameters, read from the command line in order
#   // arrays: A B            arrays filled before and printed after the kernel
#   // block_sizes: 1 2 3     block sizes, each run with every value set
#   // values: 0 0 | 5 3      parameter value sets, separated by "|"
#   // runs: 4 8 | 2 6        extra "block_size parameters..." sets
#   // options: -aligned-parameters     tarvex options (optional)
#   // script: outer_N >= 0   text the iscc script must contain (optional)
#   // broken: 4 -3 => <message>   a run whose values break an assumption of
#                               the tiling: the tiled kernel must print the
#                               message on standard error and do no work
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
cxx=$3
enter_scratch "$1" "$2" "$4"

script=$(field script)
# shellcheck disable=SC2046
run_tarvex $(field options)
if [ -n "$script" ] && ! grep -qF -- "$script" "$name.iscc"; then
  echo "FAIL: the script does not contain \"$script\""
  exit 1
fi

write_driver "$(field params)" "$(field arrays)" zil
compile_pair "$cxx" c++17

runs=()
IFS='|' read -ra sets <<<"$(field values)"
[ ${#sets[@]} = 0 ] && sets=("")
for b in $(field block_sizes); do
  for set in "${sets[@]}"; do runs+=("$b $set"); done
done
IFS='|' read -ra extra <<<"$(field runs)"
runs+=("${extra[@]}")

for run in "${runs[@]}"; do
  compare_outputs "FAIL: results differ for block_size and parameters:" "$run"
done

while IFS= read -r broken; do
  [ -n "$broken" ] || continue
  values=${broken%% => *}
  # shellcheck disable=SC2086
  SKIP_KERNEL=1 ./tiled $values >untouched.out
  # shellcheck disable=SC2086
  ./tiled $values >broken.out 2>broken.err
  if ! grep -qxF -- "${broken#* => }" broken.err; then
    echo "FAIL: no line \"${broken#* => }\" on standard error for: $values"; cat broken.err; exit 1
  fi
  if ! cmp -s untouched.out broken.out; then
    echo "FAIL: the kernel changed the arrays for: $values"; exit 1
  fi
  runs+=("$values")
done <<<"$(field broken)"
echo "ok: $name (${#runs[@]} runs)"
