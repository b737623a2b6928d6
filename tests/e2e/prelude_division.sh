#!/usr/bin/env bash
# The integer division macros of the output's prelude, floord and ceild:
# taken from a real output file and checked against floor and ceiling
# computed in 64 bits, for numerators across the whole int range (both
# extremes, negative values, multiples and non-multiples of the divisor)
# and positive divisors, under the undefined-behaviour sanitizer so that an
# int overflow inside a macro fails the test. Expressions as arguments and
# around the call check the parentheses.
#
# Usage: prelude_division.sh <tarvex> <iscc> <c++ compiler> <input.c>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
cxx=$3
enter_scratch "$1" "$2" "$4"
run_tarvex

{
  echo '#include <climits>'
  echo '#include <cstdio>'
  grep -E '^#define (floord|ceild)\(' "$name.tiled.cc"
  cat <<'CHECK'
static long long floor_of(long long n, long long d) { return n / d - (n % d < 0); }
static long long ceil_of(long long n, long long d) { return n / d + (n % d > 0); }
int main() {
  const int numerators[] = {INT_MIN, INT_MIN + 1, INT_MIN + 2, -65, -64, -63, -8, -7, -2, -1,
                            0, 1, 2, 7, 8, 63, 64, 65, INT_MAX - 2, INT_MAX - 1, INT_MAX};
  const int divisors[] = {1, 2, 3, 7, 8, 64, INT_MAX - 1, INT_MAX};
  int failures = 0;
  for (int n : numerators)
    for (int d : divisors) {
      if (floord(n, d) != floor_of(n, d) || ceild(n, d) != ceil_of(n, d)) {
        std::printf("FAIL: floord(%d,%d) = %d, ceild(%d,%d) = %d\n", n, d, (int)floord(n, d), n, d, (int)ceild(n, d));
        failures++;
      }
    }
  // Arguments and results inside larger expressions.
  int a = -7, b = 3, zero = 0;
  if (floord(a + 1, b - 1) != -3 || ceild(a + 1, b - 1) != -3 || -floord(a, b) != 3 ||
      2 * ceild(a, b) != -4 || floord(zero ? 1 : a, b) != -3 || ceild(a, b) % 2 != 0)
    { std::printf("FAIL: parenthesised forms\n"); failures++; }
  return failures != 0;
}
CHECK
} >division.cc
"$cxx" -std=c++17 -O1 -fsanitize=undefined -fno-sanitize-recover=undefined -o division division.cc
./division
echo "ok: floord and ceild of $name.tiled.cc"
