#!/usr/bin/env bash
# The functions of the output's prelude: floord and ceild, taken from a real
# output file and checked against floor and ceiling computed in 128 bits,
# for numerators across the whole int and long long ranges (both extremes,
# negative values, multiples and non-multiples of the divisor) and positive
# divisors, under the undefined-behaviour sanitizer so that an overflow
# inside a function fails the test; then the types that min, max, floord
# and ceild give, which are C's usual arithmetic conversions of their
# arguments (an int with a long long is a long long, a double stays a
# double, chars are promoted to int).
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
  echo '#include <type_traits>'
  grep -E '^template .* (min|max|floord|ceild)\(' "$name.tiled.cc"
  cat <<'CHECK'
static __int128 floor_of(__int128 n, __int128 d) { return n / d - (n % d < 0); }
static __int128 ceil_of(__int128 n, __int128 d) { return n / d + (n % d > 0); }
template <class T> int check(const T* numerators, int count, const T* divisors, int divisor_count) {
  int failures = 0;
  for (int k = 0; k < count; k++)
    for (int l = 0; l < divisor_count; l++) {
      T n = numerators[k], d = divisors[l];
      if (floord(n, d) != floor_of(n, d) || ceild(n, d) != ceil_of(n, d)) {
        std::printf("FAIL: floord(%lld,%lld) = %lld, ceild = %lld\n", (long long)n, (long long)d,
                    (long long)floord(n, d), (long long)ceild(n, d));
        failures++;
      }
    }
  return failures;
}
int main() {
  const int numerators[] = {INT_MIN, INT_MIN + 1, INT_MIN + 2, -65, -64, -63, -8, -7, -2, -1,
                            0, 1, 2, 7, 8, 63, 64, 65, INT_MAX - 2, INT_MAX - 1, INT_MAX};
  const int divisors[] = {1, 2, 3, 7, 8, 64, INT_MAX - 1, INT_MAX};
  const long long long_numerators[] = {LLONG_MIN, LLONG_MIN + 1, LLONG_MIN + 2, INT_MIN - 1LL, INT_MIN, -65, -64,
                                       -1, 0, 1, 64, 65, INT_MAX, INT_MAX + 1LL, LLONG_MAX - 1, LLONG_MAX};
  const long long long_divisors[] = {1, 2, 3, 64, INT_MAX, INT_MAX + 1LL, LLONG_MAX - 1, LLONG_MAX};
  int failures = check(numerators, 21, divisors, 8) + check(long_numerators, 16, long_divisors, 8);
  // Arguments and results inside larger expressions.
  int a = -7, b = 3, zero = 0;
  if (floord(a + 1, b - 1) != -3 || ceild(a + 1, b - 1) != -3 || -floord(a, b) != 3 ||
      2 * ceild(a, b) != -4 || floord(zero ? 1 : a, b) != -3 || ceild(a, b) % 2 != 0 ||
      floord(INT_MIN, 2LL) != INT_MIN / 2 || min(a, 2.5) != -7 || max(a, 2.5) != 2.5)
    { std::printf("FAIL: parenthesised forms\n"); failures++; }
  char c = 'a';
  static_assert(std::is_same<decltype(floord(a, b)), int>::value, "floord of ints");
  static_assert(std::is_same<decltype(ceild(a, 2LL)), long long>::value, "ceild of int and long long");
  static_assert(std::is_same<decltype(min(a, 2LL)), long long>::value, "min of int and long long");
  static_assert(std::is_same<decltype(max(2.5, a)), double>::value, "max of double and int");
  static_assert(std::is_same<decltype(min(c, c)), int>::value, "min of chars");
  static_assert(std::is_same<decltype(max(a, 1u)), unsigned>::value, "max of int and unsigned");
  return failures != 0;
}
CHECK
} >division.cc
"$cxx" -std=c++17 -O1 -fsanitize=undefined -fno-sanitize-recover=undefined -o division division.cc
./division
echo "ok: min, max, floord and ceild of $name.tiled.cc"
