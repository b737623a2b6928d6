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
set -euo pipefail
tarvex=$1 iscc=$2 cxx=$3 input=$4
export PATH="$(dirname "$iscc"):$PATH"
name=$(basename "$input" .c)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$input" "$work/$name.c"
cd "$work"

field() { sed -n "s|^// $1: *||p" "$name.c"; }
params=$(field params)
arrays=$(field arrays)
options=$(field options)
script=$(field script)

# shellcheck disable=SC2086
if ! "$tarvex" $options "$name.c" >tarvex.log 2>&1; then
  cat tarvex.log
  echo "FAIL: tarvex exited with an error"
  exit 1
fi
if [ -n "$script" ] && ! grep -qF -- "$script" "$name.iscc"; then
  echo "FAIL: the script does not contain \"$script\""
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
  echo 'int block_size = 1;'
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
  block_size = std::atoi(argv[next++]);
DRIVER
  for a in $arrays; do echo "  fill($a);"; done
  for p in $params; do echo "  $p = std::atoi(argv[next++]);"; done
  echo '  RUN;'
  for a in $arrays; do echo "  std::printf(\"$a\\n\"); show($a);"; done
  echo '  return 0;'
  echo '}'
} >driver.cc

"$cxx" -std=c++17 -O1 -ffp-contract=off -w -o original driver.cc -lm
"$cxx" -std=c++17 -O1 -ffp-contract=off -w -DTILED -o tiled driver.cc -lm

runs=()
IFS='|' read -ra sets <<<"$(field values)"
[ ${#sets[@]} = 0 ] && sets=("")
for b in $(field block_sizes); do
  for set in "${sets[@]}"; do runs+=("$b $set"); done
done
IFS='|' read -ra extra <<<"$(field runs)"
runs+=("${extra[@]}")

for run in "${runs[@]}"; do
  # shellcheck disable=SC2086
  ./original $run >original.out
  # shellcheck disable=SC2086
  ./tiled $run >tiled.out
  if ! cmp -s original.out tiled.out; then
    echo "FAIL: results differ for block_size and parameters:$run"
    diff original.out tiled.out | head -5
    exit 1
  fi
done
echo "ok: $name (${#runs[@]} runs)"
