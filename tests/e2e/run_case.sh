#!/usr/bin/env bash
# Runs tarvex on one input and checks the tiled code against the original:
# both are compiled with the same driver and flags, the original as C and
# the tiled code as C++, run for every line of parameter values, and every
# array and scalar listed is compared exactly.
#
# Usage: run_case.sh <tarvex> <iscc> <c++ compiler> <input.c>
# The input describes itself in comment lines:
#   // params: N M          parameters, set from the command line in this order
#   // arrays: A B s        arrays and scalars filled before and printed after
#   // values: 0 0 | 5 3    parameter value sets, separated by "|"
#   // std: c++17 c++20     C++ standards to compile the tiled code with (default c++17)
#   // cxxflags: -fsanitize=...   compiler flags of both builds (optional)
#   // call:, tiled_call:, original_decls:, driver_decls:   for a kernel with
#                           parameters, original_prelude: for the original
#                           (see write_driver in harness.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
cxx=$3
enter_scratch "$1" "$2" "$4"

standards=$(field std)
standards=${standards:-c++17}

run_tarvex
created=$(ls | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$name.c" "$name.iscc" "$name.tiled.cc" tarvex.log tarvex.err | sort | tr '\n' ' ')
if [ "$created" != "$expected" ]; then
  echo "FAIL: files after the run: $created"
  exit 1
fi
check_warnings
check_expansion "$cxx"

write_driver "$(field params)" "$(field arrays)"
IFS='|' read -ra sets <<<"$(field values)"
[ ${#sets[@]} = 0 ] && sets=("")
for std in $standards; do
  compile_pair "$cxx" "$std"
  for set in "${sets[@]}"; do
    compare_outputs "FAIL ($std): results differ for parameters:" "$set"
  done
done
echo "ok: $name (${#sets[@]} parameter sets)"
