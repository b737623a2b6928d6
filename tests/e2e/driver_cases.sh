#!/usr/bin/env bash
# The command line of tarvex: help, argument errors, "-o", the output
# names, the temporary files, and the check of iscc's outcome.
#
# Usage: driver_cases.sh <tarvex> <iscc> <a valid input.c>
set -uo pipefail
tarvex=$(realpath "$1") iscc=$(realpath "$2") input=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp" "$work/run/sub"
export TMPDIR="$work/tmp"
export PATH="$(dirname "$iscc"):$PATH"
cd "$work/run"
cp "$input" prog.c
failures=0

# expect <name> <status> <stream file> <expected text> -- command...
expect() {
  local name=$1 status=$2 stream=$3 text=$4
  shift 5
  local got=0
  "$@" >out 2>err || got=$?
  if [ "$got" != "$status" ]; then
    echo "FAIL $name: exit status $got, expected $status"; cat out err; failures=$((failures + 1))
  else
    local line
    while IFS= read -r line; do
      if ! grep -qxF -- "$line" "$stream"; then
        echo "FAIL $name: $stream lacks the line: $line"; cat out err; failures=$((failures + 1))
        return
      fi
    done <<<"$text"
  fi
}

no_output() {
  if ls "$@" >/dev/null 2>&1; then echo "FAIL: unexpected output $*"; failures=$((failures + 1)); fi
}

help='tarvex v1.1 -- A C front-end/backend for ZILLib

Usage: tarvex [options] program.c
  -min-block-size minimum_value     set block_size lower bound
  -aligned-parameters               assume parameters to be multiple of block_size
  -positive-parameters              assume non-negative parameters'

"$tarvex" >out 2>err; status=$?
if [ $status != 0 ] || [ "$(cat out)" != "$help" ]; then echo "FAIL no argument: help and 0"; failures=$((failures + 1)); fi

expect "-h alone" 1 out $'Error: invalid input file\nTry tarvex -h' -- "$tarvex" -h
expect "file and -h" 1 out "$help" -- "$tarvex" prog.c -h
expect "file and -version" 1 out "$help" -- "$tarvex" -version prog.c
expect "-min-block-size last" 1 err "-min-block-size: expect a block size" -- "$tarvex" prog.c -min-block-size
expect "-min-block-size word" 1 err "-min-block-size: expect a block size" -- "$tarvex" prog.c -min-block-size abc
expect "-min-block-size 2x" 1 err "Error: -min-block-size expects a whole integer, not '2x'" -- "$tarvex" prog.c -min-block-size 2x
no_output prog.tiled.cc prog.iscc
expect "-o last" 1 out $'Error: -o expects a file name\nTry tarvex -h' -- "$tarvex" prog.c -o
no_output prog.tiled.cc prog.iscc
expect "two inputs" 1 out $'Error: invalid option or input file\nTry tarvex -?' -- "$tarvex" prog.c prog.c
printf 'int x\n' >broken.c
expect "parse error" 1 out $'Error: invalid option or input file\nTry tarvex -?' -- "$tarvex" broken.c
grep -q '^broken.c:[0-9]*:[0-9]*: error: ' err || { echo "FAIL parse error: no diagnostic"; failures=$((failures + 1)); }

# Inputs that are not regular files are not read: a link to an endless
# device would exhaust memory, a FIFO without writer would hang.
ln -s /dev/zero zero.c
expect "device input" 1 err "zero.c: error: not a regular file" -- timeout 20 "$tarvex" zero.c
mkfifo fifo.c
expect "FIFO input" 1 err "fifo.c: error: not a regular file" -- timeout 20 "$tarvex" fifo.c
no_output zero.tiled.cc fifo.tiled.cc

# Exhausted memory is reported, not thrown raw: 7 MB of declarations take
# far more than 60 MB in the front end.
yes 'int x;' | head -n 1048576 >big.c
expect "out of memory" 1 err "tarvex: out of memory" -- bash -c 'ulimit -v 60000; exec "$0" big.c' "$tarvex"
no_output big.tiled.cc

# "-o" and its value are ignored: the output name comes from the input.
touch out-decl.c TILE_schedule_source.c
expect "-o ignored" 0 out "Iscc codegen..." -- "$tarvex" -o other.cc prog.c -min-block-size 4 -positive-parameters
[ -s prog.tiled.cc ] && [ -s prog.iscc ] || { echo "FAIL -o: no prog.tiled.cc"; failures=$((failures + 1)); }
no_output other.cc
[ ! -s out-decl.c ] && [ ! -s TILE_schedule_source.c ] || { echo "FAIL: user files changed"; failures=$((failures + 1)); }

# The base keeps the directory part.
cp prog.c sub/prog.c
expect "directory" 0 out "Iscc codegen..." -- "$tarvex" sub/prog.c
[ -s sub/prog.tiled.cc ] && [ -s sub/prog.iscc ] || { echo "FAIL: no sub/prog.tiled.cc"; failures=$((failures + 1)); }

# A failing iscc next to tarvex, and no iscc at all.
mkdir -p "$work/alone" "$work/failing"
cp "$tarvex" "$work/alone/tarvex"
cp "$tarvex" "$work/failing/tarvex"
printf '#!/bin/sh\necho "broken iscc" >&2\nexit 1\n' >"$work/failing/iscc"
chmod +x "$work/failing/iscc"
rm -f prog.tiled.cc
expect "iscc fails" 1 out "Program::backend_iscc: iscc failed (exit status 1)" -- "$work/failing/tarvex" prog.c
grep -qx "broken iscc" err || { echo "FAIL: iscc's message lost"; failures=$((failures + 1)); }
no_output prog.tiled.cc
expect "no iscc" 1 out "Program::backend_iscc: iscc failed (iscc not found)" -- env PATH=/nonexistent "$work/alone/tarvex" prog.c
no_output prog.tiled.cc

# An iscc whose evaluation of the script exceeded its budget of work: the
# refusal names the statement at its line.
mkdir -p "$work/evaluation"
cp "$tarvex" "$work/evaluation/tarvex"
printf '#!/bin/sh\ncat >/dev/null\nexit 4\n' >"$work/evaluation/iscc"
chmod +x "$work/evaluation/iscc"
expect "evaluation over budget" 1 err "prog.c:20: error: statement #0: iscc's evaluation of the tiled domains exceeded \
its budget of work, before any loop nest was built; this statement's domain weighs most in it (1 piece, coefficients \
up to 4): tile it with smaller tile sizes, ratios or lattice entries, or with fewer pieces" -- "$work/evaluation/tarvex" prog.c
no_output prog.tiled.cc

# A tarvex killed (a time limit's SIGKILL) leaves no iscc at work.
mkdir -p "$work/killed"
cp "$tarvex" "$work/killed/tarvex"
printf '#!/bin/sh\necho $$ >"%s"\nexec sleep 60\n' "$work/iscc.pid" >"$work/killed/iscc"
chmod +x "$work/killed/iscc"
"$work/killed/tarvex" prog.c >/dev/null 2>&1 &
killed=$!
for wait in $(seq 1 200); do [ -s "$work/iscc.pid" ] && break; sleep 0.1; done
kill -KILL "$killed"
wait "$killed" 2>/dev/null
child=$(cat "$work/iscc.pid" 2>/dev/null)
# Gone, or a zombie that nobody has reaped yet.
for wait in $(seq 1 50); do
  state=$(awk '{ print $3 }' "/proc/$child/stat" 2>/dev/null)
  [ -z "$state" ] || [ "$state" = Z ] && break
  sleep 0.1
done
if [ -z "$child" ]; then
  echo "FAIL: iscc did not start"; failures=$((failures + 1))
elif [ -n "$state" ] && [ "$state" != Z ]; then
  echo "FAIL: iscc runs on after tarvex was killed"; failures=$((failures + 1)); kill -KILL "$child"
fi

# iscc's output must be a whole loop nest calling every statement that has
# a point for some parameter values.
mkdir -p "$work/cut" "$work/uncalled"
cp "$tarvex" "$work/cut/tarvex"
cp "$tarvex" "$work/uncalled/tarvex"
printf '#!/bin/sh\ncat >/dev/null\nprintf "for (long long c0 = 0; c0 <= 3; c0 += 1) {\\n  S0(c0, 0, 0);\\n"\n' >"$work/cut/iscc"
printf '#!/bin/sh\ncat >/dev/null\nprintf "{\\n}\\n"\n' >"$work/uncalled/iscc"
chmod +x "$work/cut/iscc" "$work/uncalled/iscc"
expect "cut nest" 1 out "Program::backend_iscc: iscc's output is not a whole loop nest" -- "$work/cut/tarvex" prog.c
no_output prog.tiled.cc
expect "uncalled statement" 1 out "Program::backend_iscc: iscc's loop nest does not call S0" -- "$work/uncalled/tarvex" prog.c
no_output prog.tiled.cc
printf 'int a[10];\nvoid f() {\n  int i;\n#pragma begin_scop\n  for (i = 0; i < 0; i++) {\n#pragma schedule[i]\n    a[i] = 0;\n  }\n#pragma end_scop\n}\n' >empty.c
expect "no point anywhere" 0 out "Iscc codegen..." -- "$work/uncalled/tarvex" empty.c
grep -qx 'void tiled_kernel() {' empty.tiled.cc || { echo "FAIL: empty kernel refused"; failures=$((failures + 1)); }

# Concurrent runs on one input: every output read once a run has ended is
# whole and equal to that of a lone run.
cp prog.c many.c
"$tarvex" many.c >/dev/null 2>&1
cp many.tiled.cc lone.tiled.cc
cp many.iscc lone.iscc
for round in $(seq 1 20); do
  pids=()
  for k in 1 2 3 4 5 6 7 8; do
    "$tarvex" many.c >/dev/null 2>"many.err.$k" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || { echo "FAIL concurrent runs: exit status $?"; failures=$((failures + 1)); }
    if ! cmp -s many.tiled.cc lone.tiled.cc || ! cmp -s many.iscc lone.iscc; then
      echo "FAIL concurrent runs: an output differs from a lone run's"; failures=$((failures + 1))
    fi
  done
done

# Outputs replace their names: a link at an output's name is replaced, the
# file it led to stays as it was; an output that is the input is refused.
cp prog.c links.c
echo "victim" >victim
ln -s victim links.tiled.cc
ln victim links.iscc
expect "links replaced" 0 out "Iscc codegen..." -- "$tarvex" links.c
[ "$(cat victim)" = victim ] && [ ! -L links.tiled.cc ] && cmp -s links.tiled.cc lone.tiled.cc ||
  { echo "FAIL: a link's target was overwritten"; failures=$((failures + 1)); }
cp prog.c self.c
cp self.c self.saved
ln -s self.c self.iscc
expect "script is the input" 1 out "Program::backend_iscc: self.iscc is the input file self.c; nothing written" -- "$tarvex" self.c
rm self.iscc
ln self.c self.tiled.cc
expect "output is the input" 1 out "Program::backend_iscc: self.tiled.cc is the input file self.c; nothing written" -- "$tarvex" self.c
cmp -s self.c self.saved && [ ! -e self.iscc ] || { echo "FAIL: the input was touched"; failures=$((failures + 1)); }

# A write that fails (here the file size limit, as on a full disk) leaves
# the earlier output whole. The declarations make the output larger than
# 2 KB while the script stays smaller.
{ for k in $(seq 1 150); do echo "int pad_$k;"; done; cat prog.c; } >full.c
"$tarvex" full.c >/dev/null 2>&1
cp full.tiled.cc full.saved
expect "full disk" 1 out "Program::backend_iscc: cannot write full.tiled.cc: File too large" -- \
  bash -c 'trap "" XFSZ; ulimit -f 2; exec "$0" full.c' "$tarvex"
cmp -s full.tiled.cc full.saved || { echo "FAIL: the earlier output was destroyed"; failures=$((failures + 1)); }
if ls -A | grep -q '^\.'; then echo "FAIL: temporary outputs left: $(ls -A | grep '^\.')"; failures=$((failures + 1)); fi

# Directives that do not parse once rewritten.
printf 'int N;\nint a[10];\nvoid f() {\n  int i;\n#pragma begin_scop\n  for (i = 0; i < N; i++) {\n#pragma schedule[i\n    a[i] = 0;\n  }\n#pragma end_scop\n}\n' >bad.c
expect "bad directive" 1 out "Preprocessor::preprocess_extended_tiling: the rewritten directives do not parse" -- "$tarvex" bad.c
# The message names the input file and the directive's line in it.
grep -qx "bad.c:7: error: expected ']' after the subscript" err || { echo "FAIL bad directive: not located in bad.c"; cat err; failures=$((failures + 1)); }

if [ -n "$(ls -A "$TMPDIR")" ]; then echo "FAIL: temporary files left: $(ls -A "$TMPDIR")"; failures=$((failures + 1)); fi
[ $failures = 0 ] && echo "ok: driver cases"
exit $failures
