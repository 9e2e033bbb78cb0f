#!/usr/bin/env bash
# `make run`: the demo in the build's run folder, where its caption font is. Without a display
# nobody could see its window, so it draws a short session in a private X server instead, saves
# the last frame and says where it went.
# Usage: run.sh BUILD_FOLDER [DEMO ARGUMENTS...]
set -euo pipefail

scripts=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift
cd "$build/run"
demo=$build/src/demo/vardel-cloth
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$demo" "$@"
fi

picture=$build/run/vardel-cloth.png
echo "No display here: drawing 150 frames of the demo in a private X server and saving the last."
"$scripts/with-display.sh" "$demo" "$@" --frames 150 --screenshot "$picture"
echo "$picture"
