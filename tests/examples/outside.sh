#!/usr/bin/env bash
# Builds the examples as another project would, against the framework installed into a scratch
# prefix (`prefix`) or unpacked from the Debian package (`package`), and runs the workers example.
#   outside.sh prefix|package BUILD_DIR SOURCE_DIR
set -euo pipefail
mode=$1 build=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case "$mode" in
  prefix)
    cmake --install "$build" --prefix "$work/root/usr" >/dev/null
    ;;
  package)
    (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
    deb=$(ls "$work"/out/*.deb)
    [ "$(dpkg-deb --field "$deb" Package)" = vardel ] || { echo "FAIL: not a vardel package: $deb" >&2; exit 1; }
    dpkg -x "$deb" "$work/root"
    [ -x "$work/root/usr/bin/vardel-cloth" ] || { echo "FAIL: the package has no demo" >&2; exit 1; }
    ;;
  *) echo "usage: $0 prefix|package BUILD_DIR SOURCE_DIR" >&2; exit 2 ;;
esac

# Nothing of the source tree may be needed: the examples are copied out first.
cp -r "$source/examples" "$work/examples"
cmake -S "$work/examples" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/root/usr" >/dev/null
cmake --build "$work/build" --target workers files >/dev/null
"$work/build/workers" | grep -q '^workers: 64 jobs served by 4 workers: 98610 primes below 1280000$' \
  || { echo "FAIL: workers built against the $mode gave no summary" >&2; exit 1; }
echo "examples built against the $mode: ok"
