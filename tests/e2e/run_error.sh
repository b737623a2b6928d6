#!/usr/bin/env bash
# Runs tarvex on an input it must refuse: exit status 1, the expected
# message as a whole line of the expected stream, no output file.
#
# Usage: run_error.sh <tarvex> <iscc> <input.c>
# The input names its message in one comment line:
#   // stdout: <message>     or     // stderr: <message>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
enter_scratch "$1" "$2" "$3"

stream=stdout
message=$(message_on stdout)
if [ -z "$message" ]; then
  stream=stderr
  message=$(message_on stderr)
fi
expect_refusal "$stream" "$stream" "$message"
