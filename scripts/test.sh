#!/bin/bash
# Builds every configuration (native, native with sanitizers, Windows x86_64,
# Windows i686) and runs every test: natively, under the sanitizers, and the
# Windows build under Wine in throwaway prefixes. Ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIDEWELL_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DTIDEWELL_ALL_CONFIGS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
exec ctest -j "$(nproc)" --output-on-failure --timeout 1800
