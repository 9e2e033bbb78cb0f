#!/usr/bin/env bash
# Runs the Windows build under Wine on the current display (start it under with-display.sh): the
# unit test programs, then the demo checked from the X server by the Linux build's
# wine_cloth_check. Usage: windows-test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail

windows=$(realpath "$1")
linux=$(realpath "$2")
export WINEPREFIX="$windows/wine" WINEARCH=win64 WINEDEBUG=-all
# No Wine process may outlive the display it was started on.
trap 'wineserver -k 2>/dev/null || true' EXIT

if [ ! -f "$WINEPREFIX/.vardel-desktop" ]; then
  wineboot -i
  # Under a bare X server, hiding or destroying a top-level window stalls for 2 s; inside Wine's
  # virtual desktop it does not.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  wineserver -k
  wineserver -w
  touch "$WINEPREFIX/.vardel-desktop"
fi

failed=0
for program in $(find "$windows/tests" -name '*_tests.exe' | sort); do
  # Wine's standard output ends its lines in CRLF.
  if (cd "$(dirname "$program")" && wine "$program" --gtest_brief=1 | tr -d '\r'; exit "${PIPESTATUS[0]}"); then
    echo "== $(basename "$program"): passed"
  else
    echo "== $(basename "$program"): FAILED"
    failed=1
  fi
done

if VARDEL_WINDOWS_CLOTH="$windows/src/demo/vardel-cloth.exe" VARDEL_WINDOWS_RUN_FOLDER="$windows/run" \
  "$linux/tests/e2e/wine_cloth_check"; then
  echo "== vardel-cloth.exe: passed"
else
  echo "== vardel-cloth.exe: FAILED"
  failed=1
fi
exit $failed
