#!/usr/bin/env bash
# Runs tarvex, with the options the input names, on a parametric tiling
# input it must refuse: exit status 1, the message as a whole line of
# standard error (or of standard output, where the code generation stage
# reports), no output file.
#
# Usage: run_zil_error.sh <tarvex> <iscc> <input.c>
# The input names its options and message in comment lines:
#   // options: -min-block-size 0      (optional)
#   // stderr: <message>               or     // stdout: <message>
#   // not on stdout: <text>           (optional: the trace of work that the
#                                       refusal must come before)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
enter_scratch "$1" "$2" "$3"

stream=stderr where="standard error"
message=$(message_on stderr)
if [ -z "$message" ]; then
  stream=stdout where="standard output"
  message=$(message_on stdout)
fi
# shellcheck disable=SC2046
expect_refusal "$stream" "$where" "$message" $(field options)
