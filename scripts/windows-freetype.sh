#!/usr/bin/env bash
# Builds a static FreeType for Windows from the Debian source package into PREFIX (Debian ships no
# mingw FreeType). Does nothing when PREFIX already holds it. Needs dpkg-dev, and root the first
# time to add the source stanza for the configured mirrors.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 TOOLCHAIN_FILE PREFIX" >&2
  exit 2
fi
toolchain=$(realpath "$1")
prefix=$(realpath -m "$2")
[ -f "$prefix/lib/libfreetype.a" ] && exit 0

if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows-freetype: no deb-src entry in apt's sources; as root this script adds one" >&2
    exit 1
  fi
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -qq
fi

work="$prefix.src"
rm -rf "$work"
mkdir -p "$work"
(cd "$work" && apt-get source -qq freetype >/dev/null)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'freetype-*' | head -n 1)

cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
  -DFT_DISABLE_BROTLI=ON >/dev/null
cmake --build "$work/build" -j "${JOBS:-$(nproc)}" >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work"
