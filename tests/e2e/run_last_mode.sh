#!/usr/bin/env bash
# Runs one end-to-end case with the code generator's last mode forced: a
# copy of tarvex beside an iscc that gives the exact modes of every codegen
# a budget of one operation, so that the nest comes from its else schedule
# (each tiled statement scanning one convex superset of its domain, every
# point tested against its original domain). The tiled code must still
# equal the original, and the else schedule must have been used. With
# "box" after the runner, the else schedule is the box form's (each tiled
# statement scanning the box of its superset within its cell), so that
# the boxes are checked the same way; iscc's tests check that the box
# form's own generation runs exactly its domains. Each statement that
# scans a superset is warned of with the last mode's text (see
# check_warnings in harness.sh), and the run still exits with 0.
#
# Usage: run_last_mode.sh <tarvex> <iscc> <c++ compiler> <input.c> <runner> [box]
# where <runner> is run_case.sh or run_zil_case.sh, which checks the case.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
iscc=$(realpath "$2")
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
# tarvex runs the iscc of its own folder first.
cp "$1" "$bin/tarvex"
form=""
if [ "${6:-}" = box ]; then form='s/ else theta\*L else theta\*B/ else theta*B/;'; fi
cat >"$bin/iscc" <<EOF
#!/usr/bin/env bash
tee "$bin/script" | sed -E '$form s/^(codegen .*) within [0-9]+;\$/\\1;/; s/^(codegen .*);\$/\\1 within 1;/' | "$iscc"
status=\$?
if [ \$status = 3 ]; then touch "$bin/else_schedule_used"; fi
exit \$status
EOF
chmod +x "$bin/iscc"
export LAST_MODE_WARNING="scans one convex superset of its domain and tests every point, because the program's \
exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an \
exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a \
lattice without denominators, or constant tile sizes along hyperplanes of full rank"
bash "$here/$5" "$bin/tarvex" "$bin/iscc" "$3" "$4"
if [ ! -e "$bin/else_schedule_used" ]; then
  echo "FAIL: the nest does not come from the else schedule"
  exit 1
fi
if [ "${6:-}" = box ] && ! grep -q " else theta\*B" "$bin/script"; then
  echo "FAIL: the script has no box form"
  exit 1
fi
