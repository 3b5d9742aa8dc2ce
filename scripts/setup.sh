#!/bin/bash
# Installs what building and testing Tidewell needs, and nothing that is
# already there. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ make          # native build
  googletest libbenchmark-dev         # tests and benchmarks
  mingw-w64                           # Windows x86_64 and i686 builds
  wine64                              # runs the Windows build
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
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# mingw's std::thread needs the posix thread model compilers.
for c in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  command -v "$c" >/dev/null || { echo "setup: $c is missing" >&2; exit 1; }
done
echo "setup: all build and test tools are present"
