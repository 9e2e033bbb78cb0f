#!/usr/bin/env bash
# Renders the scenes of tests/e2e/pictures/scenes.txt again (the picture tests' references and the
# README's picture) and replaces each reference that the demo no longer draws within the tests'
# tolerance. Says which changed; check them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."

make --no-print-directory build
changed=$(cd build && VARDEL_REFRESH_PICTURES=1 ../scripts/with-display.sh tests/e2e/picture_tests \
  | grep -E '^(changed|new) ' || true)
if [ -z "$changed" ]; then
  echo "No picture changed."
else
  echo "$changed"
fi
