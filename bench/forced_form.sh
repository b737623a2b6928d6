#!/usr/bin/env bash
# Writes a kernel's tiled output in one mode of the code generator, through
# a copy of tarvex beside an iscc that edits the codegen statement of the
# script before running the real iscc (tarvex runs the iscc of its own
# folder first), so that the statement macros match the nest:
#   together: without its isolating and else clauses, within a budget of
#     10^9 operations: the exact nest with every instance together;
#   last: within a budget of one operation: both exact nests exceed it and
#     the nest comes from the else schedule, each tiled statement scanning
#     one convex superset of its domain, every point tested (without the
#     box form, which would stand in for it past its budget).
# A script without an else schedule has no last mode: it is left as it is,
# and the last form is the tiled form, which this script says.
#
# Usage: forced_form.sh <tarvex> <iscc> <together|last> <kernel.c> <output.cc>
set -euo pipefail
form=$3
output=$(realpath -m "$5")
case $form in
  together) edit='s/^(codegen [^ ;]+).*;$/\1 within 1000000000;/' ;;
  last) edit='s/^(codegen .* else theta\*L)( else theta\*B)?( within [0-9]+)?;$/\1 within 1;/' ;;
  *) echo "forced_form.sh: no form $form (together or last)" >&2; exit 1 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$work/tarvex"
echo "$edit" >"$work/edit.sed"
cat >"$work/iscc" <<EOF
#!/usr/bin/env bash
sed -E -f "$work/edit.sed" | "$(realpath "$2")"
status=\$?
echo \$status >"$work/status"
exit \$status
EOF
chmod +x "$work/iscc"
kernel=$(basename "$4" .c)
cp "$4" "$work/$kernel.c"
if ! (cd "$work" && ./tarvex "$kernel.c" >"$kernel.log" 2>&1); then
  cat "$work/$kernel.log" >&2
  exit 1
fi
# iscc exits with status 3 when the nest comes from the else schedule.
status=$(cat "$work/status")
if [ "$form" = last ] && ! grep -q ' else theta\*L' "$work/$kernel.iscc"; then
  echo "$kernel: no else schedule in its script, no last mode: its last form is its tiled form"
elif [ "$status" != "$([ "$form" = last ] && echo 3 || echo 0)" ]; then
  echo "forced_form.sh: $kernel: iscc exited with status $status in the $form form" >&2
  exit 1
fi
cp "$work/$kernel.tiled.cc" "$output"
