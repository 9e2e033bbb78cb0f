#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, only those missing.
# As root it installs them; otherwise it prints the command to run. `deps.sh windows` installs
# what the Windows cross-build and its run under Wine need instead.
set -euo pipefail

if [ "${1:-}" = windows ]; then
  # Wine's X11 driver loads libXcomposite and friends at run time: they are only recommended.
  packages=(
    cmake ninja-build make g++-mingw-w64-x86-64 dpkg-dev googletest libcli11-dev libstb-dev
    wine wine64 libxcomposite1 libxrender1 libxrandr2 libxi6 libxfixes3 libxcursor1 libxinerama1
    libgl1 libgl1-mesa-dri libglx-mesa0 xvfb xauth x11-utils fonts-dejavu-core
  )
else
  packages=(
    cmake ninja-build g++ pkg-config make libcli11-dev libstb-dev
    libfreetype-dev libgl-dev libx11-dev libxtst-dev libxres-dev libxcomposite-dev
    googletest libgmock-dev libbenchmark-dev
    doxygen python3
    xvfb xauth x11-utils fonts-dejavu-core
    libgl1-mesa-dri libglx-mesa0
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
