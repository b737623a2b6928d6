#!/usr/bin/env bash
# Runs tarvex, with the options the input names, on a parametric tiling
# input it must refuse: exit status 1, the message as a whole line of
# standard error, no output file.
#
# Usage: run_zil_error.sh <tarvex> <iscc> <input.c>
# The input names its options and message in comment lines:
#   // options: -min-block-size 0      (optional)
#   // stderr: <message>
set -euo pipefail
tarvex=$1 iscc=$2 input=$3
export PATH="$(dirname "$iscc"):$PATH"
name=$(basename "$input" .c)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$input" "$work/$name.c"
cd "$work"

options=$(sed -n 's|^// options: *||p' "$name.c")
message=$(sed -n 's|^// stderr: ||p' "$name.c")
status=0
# shellcheck disable=SC2086
"$tarvex" $options "$name.c" >stdout 2>stderr || status=$?
if [ "$status" != 1 ]; then
  echo "FAIL: exit status $status"; cat stdout stderr; exit 1
fi
if ! grep -qxF -- "$message" stderr; then
  echo "FAIL: no line \"$message\" on standard error"; cat stdout stderr; exit 1
fi
if [ -e "$name.tiled.cc" ]; then
  echo "FAIL: $name.tiled.cc was written"; exit 1
fi
echo "ok: $name"
