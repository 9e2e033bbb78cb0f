#!/usr/bin/env bash
# Runs one test program of a sanitizer build. Now and then the leak checker's own thread crashes
# while it stops the program at exit ("LeakSanitizer has encountered a fatal error"): a fault of the
# tool, not of the program, and such a run is repeated once. Every other outcome stands, a
# sanitizer's report included.
set -uo pipefail

log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ] && grep -q "LeakSanitizer has encountered a fatal error" "$log" &&
   ! grep -q "ERROR: LeakSanitizer: detected memory leaks" "$log"; then
  echo "sanitized-test: the leak checker itself failed; running the program once more" >&2
  "$@"
  status=$?
fi
exit "$status"
