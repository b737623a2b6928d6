#!/usr/bin/env bash
# Runs tarvex on one input and checks the tiled code against the original:
# both are compiled with the same driver and flags, run for every line of
# parameter values, and every array and scalar listed is compared exactly.
#
# Usage: run_case.sh <tarvex> <iscc> <c++ compiler> <input.c>
# The input describes itself in comment lines:
#   // params: N M          parameters, set from the command line in this order
#   // arrays: A B s        arrays and scalars filled before and printed after
#   // values: 0 0 | 5 3    parameter value sets, separated by "|"
#   // std: c++17 c++20     language standards to compile with (default c++17)
set -euo pipefail
tarvex=$(realpath "$1") iscc=$(realpath "$2") cxx=$3 input=$(realpath "$4")
export PATH="$(dirname "$iscc"):$PATH"
name=$(basename "$input" .c)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$input" "$work/$name.c"
cd "$work"

field() { sed -n "s|^// $1: *||p" "$name.c"; }
params=$(field params)
arrays=$(field arrays)
values=$(field values)
standards=$(field std)
standards=${standards:-c++17}

if ! "$tarvex" "$name.c" >tarvex.log 2>&1; then
  cat tarvex.log
  echo "FAIL: tarvex exited with an error"
  exit 1
fi
created=$(ls | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$name.c" "$name.iscc" "$name.tiled.cc" tarvex.log | sort | tr '\n' ' ')
if [ "$created" != "$expected" ]; then
  echo "FAIL: files after the run: $created"
  exit 1
fi

{
  echo '#include <cstdio>'
  echo '#include <cstdlib>'
  echo '#include <cstddef>'
  echo '#ifdef TILED'
  echo 'int block_size = 1;'
  echo "#include \"$name.tiled.cc\""
  echo '#define RUN tiled_kernel()'
  echo '#else'
  echo "#include \"$name.c\""
  echo '#define RUN kernel()'
  echo '#endif'
  cat <<'DRIVER'
static long seed = 12345;
template <class T> void fill(T& x) {
  seed = (seed * 1103515245 + 12345) % 2147483648L;
  x = static_cast<T>(seed % 19 - 9);
}
template <class T, std::size_t n> void fill(T (&a)[n]) {
  for (std::size_t k = 0; k < n; k++) fill(a[k]);
}
template <class T> void show(const T& x) { std::printf("%.17g\n", static_cast<double>(x)); }
template <class T, std::size_t n> void show(const T (&a)[n]) {
  for (std::size_t k = 0; k < n; k++) show(a[k]);
}
int main(int argc, char** argv) {
  int next = 1;
  (void)argc;
DRIVER
  for a in $arrays; do echo "  fill($a);"; done
  for p in $params; do echo "  $p = std::atoi(argv[next++]);"; done
  echo '  RUN;'
  for a in $arrays; do echo "  std::printf(\"$a\\n\"); show($a);"; done
  echo '  return 0;'
  echo '}'
} >driver.cc

for std in $standards; do
  "$cxx" -std="$std" -O1 -ffp-contract=off -w -o original driver.cc -lm
  "$cxx" -std="$std" -O1 -ffp-contract=off -w -DTILED -o tiled driver.cc -lm
  IFS='|' read -ra sets <<<"$values"
  [ ${#sets[@]} = 0 ] && sets=("")
  for set in "${sets[@]}"; do
    ./original $set >original.out
    ./tiled $set >tiled.out
    if ! cmp -s original.out tiled.out; then
      echo "FAIL ($std): results differ for parameters:$set"
      diff original.out tiled.out | head -5
      exit 1
    fi
  done
done
echo "ok: $name (${#sets[@]} parameter sets)"
