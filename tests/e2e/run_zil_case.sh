#!/usr/bin/env bash
# Runs tarvex on one parametric (ZIL) tiling input and checks the tiled code
# against the original (compiled as C, the tiled code as C++). Each program
# is compiled once; block_size and the size parameters are set at run time,
# and every array listed is compared exactly for every combination of block
# size and parameter values.
#
# Usage: run_zil_case.sh <tarvex> <iscc> <c++ compiler> <input.c>
# The input describes itself in comment lines:
#   // params: N M            parameters, read from the command line in order
#   // arrays: A B            arrays filled before and printed after the kernel
#   // block_sizes: 1 2 3     block sizes, each run with every value set
#   // values: 0 0 | 5 3      parameter value sets, separated by "|"
#   // runs: 4 8 | 2 6        extra "block_size parameters..." sets
#   // options: -aligned-parameters     tarvex options (optional)
#   // cxxflags: -fsanitize=...   compiler flags of both builds (optional)
#   // script: outer_N >= 0   text the iscc script must contain (optional)
#   // broken: 4 -3 => <message>   a run whose values break an assumption of
#                               the tiling: the tiled kernel must print the
#                               message on standard error and do no work
#   // refusals: checked        a run of the grid above whose values break an
#                               assumption (the tiled kernel says so on
#                               standard error) must do no work, and is not
#                               compared with the original
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
cxx=$3
enter_scratch "$1" "$2" "$4"

script=$(field script)
# shellcheck disable=SC2046
run_tarvex $(field options)
check_warnings
check_expansion "$cxx"
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

# expect_untouched <values>: the tiled kernel run with the values leaves
# every array as it was.
expect_untouched() {
  # shellcheck disable=SC2086
  SKIP_KERNEL=1 ./tiled $1 >untouched.out
  # shellcheck disable=SC2086
  ./tiled $1 >refused.out 2>/dev/null
  if ! cmp -s untouched.out refused.out; then
    echo "FAIL: the kernel changed the arrays for: $1"; exit 1
  fi
}

refusals=$(field refusals)
for run in "${runs[@]}"; do
  # grep reads all the messages (one a call): with -q, a later one could
  # meet a closed pipe and fail the pipeline.
  # shellcheck disable=SC2086
  if [ "$refusals" = checked ] && ./tiled $run 2>&1 >/dev/null | grep "breaks the assumption" >/dev/null; then
    expect_untouched "$run"
  else
    compare_outputs "FAIL: results differ for block_size and parameters:" "$run"
  fi
done

while IFS= read -r broken; do
  [ -n "$broken" ] || continue
  values=${broken%% => *}
  # shellcheck disable=SC2086
  ./tiled $values >/dev/null 2>broken.err
  if ! grep -qxF -- "${broken#* => }" broken.err; then
    echo "FAIL: no line \"${broken#* => }\" on standard error for: $values"; cat broken.err; exit 1
  fi
  expect_untouched "$values"
  runs+=("$values")
done <<<"$(field broken)"
echo "ok: $name (${#runs[@]} runs)"
