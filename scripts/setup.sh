#!/bin/bash
# Installs what building and testing Tidewell needs, and nothing that is
# already there. Safe to run again. Ends by checking every command that the
# scripts and tests call, so that a missing tool fails here, with its name and
# package, and never half-way through a test run.
set -euo pipefail

packages=(
  cmake ninja-build g++ make          # native build
  googletest libbenchmark-dev         # tests and benchmarks
  mingw-w64                           # Windows x86_64 and i686 builds
  wine64 wine                         # the 64-bit loader; wine, wineboot, wineserver, regedit
  xvfb xauth imagemagick x11-utils    # windows on a virtual screen, screenshots
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
  $sudo apt-get update -qq
  # No recommends: they would pull in 32-bit Wine, which cannot run here.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# Every command the scripts and tests call, with the package that brings it.
# mingw's std::thread needs the posix thread model compilers.
commands=(
  cmake:cmake ninja:ninja-build g++:g++
  x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-gcc-posix:gcc-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64
  i686-w64-mingw32-g++-posix:g++-mingw-w64-i686-posix
  i686-w64-mingw32-gcc-posix:gcc-mingw-w64-i686-posix
  i686-w64-mingw32-windres:binutils-mingw-w64-i686
  wine:wine wineboot:wine wineserver:wine regedit:wine
  xvfb-run:xvfb Xvfb:xvfb xauth:xauth import:imagemagick xwininfo:x11-utils
)
absent=0
for entry in "${commands[@]}"; do
  command=${entry%%:*}
  package=${entry#*:}
  if ! command -v "$command" >/dev/null; then
    echo "setup: the command '$command' is missing; it comes with the Debian package '$package'" >&2
    absent=1
  fi
done
if ((absent)); then
  echo "setup: install the packages named above (apt-get install --no-install-recommends ...)" >&2
  exit 1
fi
# Debian's wine64 holds only the loader: without the 64-bit loader in place
# the wine command would try 32-bit Wine, which cannot run here.
if [ ! -x /usr/lib/wine/wine64 ]; then
  echo "setup: /usr/lib/wine/wine64 is missing; it comes with the Debian package 'wine64'" >&2
  exit 1
fi
echo "setup: all build and test tools are present"
