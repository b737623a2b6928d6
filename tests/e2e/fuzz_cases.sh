#!/usr/bin/env bash
# Seeded random mutations of the example inputs. Every run of tarvex on a
# mutated input must end with exit status 0 and an output (that compiles
# when the mutated input compiles as C++, as the end-to-end tests compile
# the inputs: tarvex does not check types), or with exit status 1 after a
# message and without output; never with a signal, another status, a hang
# (time cap) or a memory blow-up (memory cap). A failure names the example
# and the seed; the mutated input is `mutate_input <seed> <example> copy.c`.
#
# Usage: fuzz_cases.sh <tarvex> <iscc> <mutate_input> <c++ compiler> <seeds per input> <input.c>...
set -uo pipefail
tarvex=$(realpath "$1") iscc=$(realpath "$2") mutate=$(realpath "$3") cxx=$4 seeds=$5
shift 5
inputs=()
for input in "$@"; do inputs+=("$(realpath "$input")"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$(dirname "$iscc"):$PATH" tarvex mutate work cxx
cd "$work" || exit 1

# one_run <input.c> <seed>: runs tarvex on one mutated copy in a folder of
# its own; prints "refused", "accepted" (an input that does not compile), the
# output file to compile, or a FAIL line.
one_run() {
  local input=$1 seed=$2 base status=0
  base=$(basename "$input" .c)_$seed
  mkdir "$work/$base" && cd "$work/$base" || exit 1
  "$mutate" "$seed" "$input" "$base.c" || { echo "FAIL $base: cannot mutate"; return; }
  (ulimit -v 2000000 && exec timeout -k 5 20 "$tarvex" "$base.c") >out 2>err </dev/null || status=$?
  case $status in
    0)
      if [ ! -s "$base.tiled.cc" ]; then
        echo "FAIL $base: exit 0 without output"
      elif "$cxx" -x c++ -fsyntax-only -w "$base.c" 2>/dev/null; then
        echo "$work/$base/$base.tiled.cc"
      else
        echo "accepted $base"
      fi
      ;;
    1)
      if [ -e "$base.tiled.cc" ]; then
        echo "FAIL $base: refused, but $base.tiled.cc was written"
      elif [ -z "$(tail -q -n 1 out err | tr -d '\n')" ]; then
        echo "FAIL $base: exit 1 without a message"
      else
        echo "refused $base"
      fi
      ;;
    124 | 137) echo "FAIL $base: no end within 20 s" ;;
    *) echo "FAIL $base: exit status $status$(tail -n 1 err | sed 's/^/: /')" ;;
  esac
}
export -f one_run

for input in "${inputs[@]}"; do
  for seed in $(seq 1 "$seeds"); do printf '%s %s\n' "$input" "$seed"; done
done | xargs -P "$(nproc)" -n 2 bash -c 'one_run "$@"' _ >results

failures=$(grep -c '^FAIL' results)
grep '^FAIL' results

# The outputs compile: the distinct ones together in one translation unit,
# each in a namespace of its own with its macros undefined after it (the
# standard headers they include are read once, at the top).
outputs=$(grep '^/' results | xargs -r md5sum | sort -u -k1,1 | awk '{print $2}')
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
      echo "FAIL $(basename "$file" .tiled.cc): the output does not compile"; failures=$((failures + 1))
    fi
  done
fi

echo "$(wc -l <results) runs: $(grep -c '^refused' results) refused, $(grep -c '^accepted' results) accepted" \
  "from inputs that do not compile, $(grep -c '^/' results) outputs ($(echo "$outputs" | grep -c .) distinct), $failures failures"
[ "$failures" = 0 ]
