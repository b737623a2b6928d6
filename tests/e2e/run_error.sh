#!/usr/bin/env bash
# Runs tarvex on an input it must refuse: exit status 1, the expected
# message as a whole line of the expected stream, no output file.
#
# Usage: run_error.sh <tarvex> <iscc> <input.c>
# The input names its message in one comment line:
#   // stdout: <message>     or     // stderr: <message>
set -euo pipefail
tarvex=$(realpath "$1") iscc=$(realpath "$2") input=$(realpath "$3")
export PATH="$(dirname "$iscc"):$PATH"
name=$(basename "$input" .c)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$input" "$work/$name.c"
cd "$work"

stream=stdout
message=$(sed -n 's|^// stdout: ||p' "$name.c")
if [ -z "$message" ]; then
  stream=stderr
  message=$(sed -n 's|^// stderr: ||p' "$name.c")
fi
status=0
"$tarvex" "$name.c" >stdout 2>stderr || status=$?
if [ "$status" != 1 ]; then
  echo "FAIL: exit status $status"; cat stdout stderr; exit 1
fi
if ! grep -qxF -- "$message" "$stream"; then
  echo "FAIL: no line \"$message\" on $stream"; cat stdout stderr; exit 1
fi
if [ -e "$name.tiled.cc" ]; then
  echo "FAIL: $name.tiled.cc was written"; exit 1
fi
echo "ok: $name"
