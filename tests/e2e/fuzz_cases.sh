#!/usr/bin/env bash
# Seeded random mutations of the example inputs, of two kinds.
#
# Damaging mutations (mutate_input <seed>): every run of tarvex must end
# with exit status 0 and an output (that compiles when the mutated input
# compiles as C: tarvex does not check types), or with exit status 1 after a message and without
# output; never with a signal, another status, a hang (time cap) or a memory
# blow-up (memory cap).
#
# Valid mutations (mutate_input -valid <seed>: names like the generated
# ones, several parts per function, calls in statements, shifted loops,
# constant bounds, other tilings; see valid_mutations.h): the same, and
# where tarvex accepts the input, the tiled output (as C++) and the mutated
# original (as C) are compiled with one driver (harness.sh) and run for every block size and
# parameter value set of the input (and negative sizes); their printed
# arrays must be equal, and the lines the input's functions print equal up
# to their order. A difference is wrong code; so are an output that does
# not compile, a crash before main (block_size is a plain global, zero until
# main sets it), a signal, a hang or (with FUZZ_SANITIZE=1) undefined
# behaviour of the tiled program where the original runs clean, and a
# tiled kernel that refuses sizes the original runs.
#
# A failure line reads "FAIL <kind> <example>_<d|v><seed> [mutations]: ...";
# the mutated input is `mutate_input [-valid] <seed> <example> copy.c`.
#
# Usage: fuzz_cases.sh <tarvex> <iscc> <mutate_input> <c++ compiler> <damage seeds> <valid seeds> <input.c>...
# Environment: FUZZ_JOBS parallel runs (default: the number of cores),
# FUZZ_FIRST_SEED first seed (default 1), FUZZ_TIME_CAP seconds per tarvex
# run (default 60: a tiling within tarvex's limits ends within a minute),
# FUZZ_SANITIZE=1 to build the compared programs with AddressSanitizer and
# UBSan, FUZZ_KEEP=<folder> to keep the folders of the failing runs there,
# FUZZ_RESULTS=<file> to keep one line per run.
#
# A larger run than the test's (500 valid mutations of each example), from
# the top folder after a build:
#   FUZZ_JOBS=4 FUZZ_SANITIZE=1 FUZZ_KEEP=/tmp/fuzz FUZZ_RESULTS=/tmp/fuzz.txt \
#     bash tests/e2e/fuzz_cases.sh build/bin/tarvex build/bin/iscc \
#     build/tests/e2e/mutate_input c++ 0 500 examples/*.c
# Seed 0 leaves an input as it is: FUZZ_FIRST_SEED=0 with "0 1" as the seed
# counts checks given inputs (a reduced failure, with its "// params:",
# "// arrays:", "// values:" lines) against their originals.
set -uo pipefail
tarvex=$(realpath "$1") iscc=$(realpath "$2") mutate=$(realpath "$3") cxx=$4 damage_seeds=$5 valid_seeds=$6
shift 6
inputs=()
for input in "$@"; do inputs+=("$(realpath "$input")"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
harness="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/harness.sh"
time_cap=${FUZZ_TIME_CAP:-60}
first=${FUZZ_FIRST_SEED:-1}
keep=${FUZZ_KEEP:+$(mkdir -p "$FUZZ_KEEP" && realpath "$FUZZ_KEEP")}
sanitize=${FUZZ_SANITIZE:+ -fsanitize=address,undefined -fno-sanitize-recover=all}
flags="-std=c++17 -O1 -ffp-contract=off -w$sanitize" cflags="-std=c11 -O1 -ffp-contract=off -w$sanitize"
export PATH="$(dirname "$iscc"):$PATH" ASAN_OPTIONS=detect_leaks=0
export tarvex mutate work cxx harness time_cap keep flags cflags
cd "$work" || exit 1

# The standard headers of the driver and of the tiled outputs, precompiled
# once: it halves the time to compile a tiled program.
printf '#include <stdio.h>\n#include <stdlib.h>\n#include <stddef.h>\n#include <math.h>\n#include <iostream>\n' >headers.h
# shellcheck disable=SC2086
$cxx $flags -x c++-header headers.h -o headers.h.gch 2>/dev/null || rm -f headers.h.gch

# fail <kind> <text>: a failure of the current run, whose folder is kept
# (as it is at the run's end).
fail() {
  echo "FAIL $1 $base [$labels]: $2"
  failed=1
}

# build <original|tiled>: compiles driver.cc, as C for the original, as C++
# with -DTILED for the tiled output; the compiler's first error in build.log.
build() {
  if [ "$1" = original ]; then
    # shellcheck disable=SC2086
    ${E2E_CC:-gcc} $cflags -o original -x c driver.cc -x none -lm 2>build.log
  else
    # shellcheck disable=SC2086
    $cxx $flags -include "$work/headers.h" -o tiled -DTILED driver.cc -lm 2>build.log
  fi
}

# run <program> <values...>: runs it under the time cap, its output in
# <program>.out and .err; returns its status. (The shell's own report of a
# signal goes nowhere.)
run() {
  local program=$1
  shift
  { timeout -k 2 10 "./$program" "$@" >"$program.out" 2>"$program.err" </dev/null; } 2>/dev/null
}

# same_output: the two programs printed the same arrays, in order, and
# the same lines "@..." of the input's functions, in any order.
same_output() {
  cmp -s original.out tiled.out && return
  cmp -s <(grep -v '^@' original.out) <(grep -v '^@' tiled.out) &&
    cmp -s <(grep '^@' original.out | sort) <(grep '^@' tiled.out | sort)
}

# carry_functions: driver.cc with the input's functions declared ahead of
# the tiled output and defined after it (but the counter they share, which
# the output declares, and min and max, which are its functions), for an
# output that does not carry them.
carry_functions() {
  local functions prototypes
  functions=$(sed -n '/^\/\/ functions the statements call$/,/^\/\/ end of the functions$/p' "$base.c" |
    sed '1,2d;$d' | grep -v '^int m\(in\|ax\)(')
  prototypes=$(sed -n 's/^\(int [A-Za-z0-9_]*(int x)\).*/\1;/p' <<<"$functions")
  before=$prototypes after=$functions tiled="#include \"$base.tiled.cc\"" \
    awk '$0 == ENVIRON["tiled"] { print ENVIRON["before"]; print; print ENVIRON["after"]; next } { print }' \
    driver.cc >carried.cc
  mv carried.cc driver.cc
}

# value_sets: the input's parameter value sets, one a line, then all sizes
# -3, and the last set with its first size -1.
value_sets() {
  local last
  field values | tr '|' '\n' | sed 's/^ *//; s/ *$//' | grep -v '^$'
  last=$(field values | tr '|' '\n' | tail -n 1)
  # shellcheck disable=SC2046
  [ -z "$(field params)" ] || printf '%s\n' "$(printf -- '-3 %.0s' $(field params) | sed 's/ $//')" \
    "$(awk '{ $1 = -1; print }' <<<"$last")"
}

# build_pair: writes driver.cc and builds ./original and ./tiled from it;
# fails, after a "skipped" line or the failures, when there is nothing to
# compare. Past the faults it reports (an output without the input's
# functions, a crash before main), it builds ./tiled around them so that
# the results are still compared.
build_pair() {
  # shellcheck source=/dev/null
  source "$harness"
  # shellcheck disable=SC2034 # the input that harness.sh's functions read
  name=$base
  if ! write_driver "$(field params)" "$(field arrays)" zil >/dev/null; then
    echo "skipped $base [$labels]: the original does not compile"
    return 1
  fi
  if parametric; then
    sed -i 's/^int block_size = 1;$/int block_size;/' driver.cc
  else
    # block_size is then an ordinary name, which the input may declare.
    sed -i '/^int block_size = 1;$/d; s/^  block_size = atoi(argv\[next++\]);$/  next++;/' driver.cc
  fi
  if ! build original; then
    echo "skipped $base [$labels]: the original does not compile"
    return 1
  fi
  if ! build tiled; then
    fail output-compile "the tiled output does not compile: $(grep -m 1 'error' build.log)"
    grep -q '^// functions the statements call$' "$base.c" && carry_functions && build tiled || return 1
  fi
  # shellcheck disable=SC2046
  SKIP_KERNEL=1 run tiled 1 $(value_sets | head -n 1) && return
  fail crash-before-main "status $? with block_size 0 until main sets it: $(head -n 1 tiled.err)"
  sed -i 's/^int block_size;$/int block_size = 1;/' driver.cc
  build tiled
}

parametric() { grep -q 'tile_ratio\|tile_lattice' "$base.c"; }

# block_sizes: the input's block sizes under a parametric tiling, 1 (which
# the tiled code does not read) under another.
block_sizes() {
  if parametric; then
    local listed
    listed=$(field block_sizes)
    echo "${listed:-1 2 3 5 8 64}"
  else
    echo 1
  fi
}

# compare_run <block size> <values>: runs both programs; fails after a
# failure of the tiled one where the original ran. The tiled kernel may
# refuse negative sizes and block sizes that break a lattice's assumption.
compare_run() {
  local status run="for block_size and parameters: $*"
  # shellcheck disable=SC2086
  run original $1 $2 || return 0
  # shellcheck disable=SC2086
  run tiled $1 $2
  status=$?
  if [ "$status" = 0 ] && [ ! -s tiled.err ]; then
    same_output || { fail wrong-code "results differ $run"; return 1; }
  elif [ "$status" = 124 ] || [ "$status" = 137 ]; then
    fail tiled-hang "no end within 10 s $run"; return 1
  elif [ "$status" -gt 128 ]; then
    fail tiled-crash "signal $((status - 128)) $run"; return 1
  elif grep -q 'runtime error\|AddressSanitizer' tiled.err; then
    fail tiled-ub "$(grep -m 1 'runtime error\|ERROR' tiled.err) $run"; return 1
  elif [ "$status" != 0 ]; then
    fail tiled-status "status $status $run"; return 1
  elif ! grep -q 'breaks the assumption' tiled.err || ! grep -q '= -[0-9]\|block_size %' tiled.err; then
    fail refuses-sizes "$(head -n 1 tiled.err) $run"; return 1
  fi
}

# compare_with_original: the oracle for an accepted input of a valid
# mutation; prints "checked" or the failures.
compare_with_original() {
  build_pair || return
  local runs=0 b values
  for b in $(block_sizes); do
    while IFS= read -r values; do
      compare_run "$b" "$values" || return
      runs=$((runs + 1))
    done < <(value_sets)
  done
  echo "checked $base [$labels]: $runs runs, tarvex $elapsed ms"
}

# one_run <-valid|-damage> <input.c> <seed>: runs tarvex on one mutated copy
# in a folder of its own; prints "refused", "accepted" (an input that does
# not compile), "output <file>" (an output to compile), the oracle's verdict
# for a valid mutation, or FAIL lines.
one_run() {
  base=$(basename "$2" .c)_${1:1:1}$3 failed=
  mkdir "$work/$base" && cd "$work/$base" || exit 1
  check_run "$@"
  [ -z "$failed" ] || [ -z "$keep" ] || cp -r "$work/$base" "$keep/"
}

# check_run <-valid|-damage> <input.c> <seed>: the body of one_run.
check_run() {
  local mode=$1 input=$2 seed=$3 status=0 start
  # shellcheck disable=SC2046
  labels=$("$mutate" $([ "$mode" = -valid ] && echo -valid) "$seed" "$input" "$base.c") ||
    { fail mutate "cannot mutate"; return; }
  start=$(date +%s%N)
  (ulimit -v 2000000 && exec timeout -k 5 "$time_cap" "$tarvex" "$base.c") >out 2>err </dev/null || status=$?
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  case $status in
    0)
      if [ ! -s "$base.tiled.cc" ]; then
        fail no-output "exit 0 without output"
      elif [ "$mode" = -valid ]; then
        compare_with_original
      elif ${E2E_CC:-gcc} -std=c11 -fsyntax-only -w "$base.c" 2>/dev/null; then
        echo "output $work/$base/$base.tiled.cc"
      else
        echo "accepted $base"
      fi
      ;;
    1)
      if [ -e "$base.tiled.cc" ]; then
        fail refused-with-output "refused, but $base.tiled.cc was written"
      elif [ -z "$(tail -q -n 1 out err | tr -d '\n')" ]; then
        fail silent-refusal "exit 1 without a message"
      else
        echo "refused $base [$labels]: tarvex $elapsed ms: $(tail -q -n 1 out err | tr '\n' ' ' | head -c 300)"
      fi
      ;;
    124 | 137) fail tarvex-hang "no end within $time_cap s" ;;
    *) fail tarvex-status "exit status $status$(tail -n 1 err | sed 's/^/: /')" ;;
  esac
}
export -f fail build run same_output carry_functions value_sets build_pair parametric block_sizes compare_run \
  compare_with_original one_run check_run

for input in "${inputs[@]}"; do
  for seed in $(seq "$first" $((first + damage_seeds - 1))); do printf -- '-damage %s %s\n' "$input" "$seed"; done
  for seed in $(seq "$first" $((first + valid_seeds - 1))); do printf -- '-valid %s %s\n' "$input" "$seed"; done
done | xargs -P "${FUZZ_JOBS:-$(nproc)}" -n 3 bash -c 'one_run "$@"' _ >results

failures=$(grep -c '^FAIL' results)
grep '^FAIL' results

# The outputs of the damaged inputs compile: the distinct ones together in
# one translation unit, each in a namespace of its own with its macros
# undefined after it (the standard headers they include are read once, at
# the top).
outputs=$(sed -n 's/^output //p' results | xargs -r md5sum | sort -u -k1,1 | awk '{print $2}')
{
  printf '#include <math.h>\n#include <iostream>\n#include <stdio.h>\nint block_size = 8;\n'
  k=0
  for file in $outputs; do
    printf 'namespace fuzz_%d {\n#include "%s"\n}\n' $((k++)) "$file"
    sed -n 's/^#define \([A-Za-z_][A-Za-z0-9_]*\).*/#undef \1/p' "$file"
  done
} >all.cc
if ! "$cxx" -std=c++17 -fsyntax-only -w all.cc 2>compile.log; then
  # Find which outputs do not compile on their own.
  for file in $outputs; do
    printf 'int block_size = 8;\n#include "%s"\n' "$file" >one.cc
    if ! "$cxx" -std=c++17 -fsyntax-only -w one.cc 2>/dev/null; then
      echo "FAIL output-compile $(basename "$file" .tiled.cc): the output does not compile"; failures=$((failures + 1))
    fi
  done
fi

[ -z "${FUZZ_RESULTS:-}" ] || cp results "$FUZZ_RESULTS"
count() { grep -c "^$1 [^ ]*_$2[0-9]*\( \|$\)" results; }
echo "$(( ${#inputs[@]} * (damage_seeds + valid_seeds) )) runs." \
  "Damaged inputs: $(count refused d) refused, $(count accepted d) accepted from inputs that do not compile," \
  "$(grep -c '^output' results) outputs ($(echo "$outputs" | grep -c .) distinct)." \
  "Valid inputs: $(count refused v) refused, $(count checked v) outputs equal to their original," \
  "$(count skipped v) skipped. $failures failures"
[ "$failures" = 0 ]
