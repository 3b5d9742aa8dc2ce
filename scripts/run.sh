#!/bin/bash
# Builds Tidewell and runs its main job. Until the windowed program lands,
# this builds every configuration and lists the programs and test suites
# built for Windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIDEWELL_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DTIDEWELL_ALL_CONFIGS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

echo
echo "Built for Windows x86_64 (run with wine64):"
find "$build/win64/bin" -maxdepth 1 -name '*.exe' -printf '  %p\n' | sort
echo "Built for Windows i686 (compile check):"
find "$build/win32/bin" -maxdepth 1 -name '*.exe' -printf '  %p\n' | sort
