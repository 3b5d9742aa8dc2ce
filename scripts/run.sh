#!/bin/bash
# Builds the Windows programs of Tidewell and starts them under Wine. With a
# display the launcher opens there; without one it is started on a virtual
# screen, a screenshot of the launcher is saved and its path printed.
# The program runs in a prefix of its own under the build folder
# ($build/wine-run), never in ~/.wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TIDEWELL_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"

# Only what running needs: the x86_64 Windows programs. The folder and its
# settings are those of the win64 sub-build that scripts/test.sh drives, so
# that either script reuses what the other built.
win64="$build/win64"
cmake -S "$root" -B "$win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTIDEWELL_ALL_CONFIGS=OFF -DTIDEWELL_BENCHMARKS=OFF >/dev/null
cmake --build "$win64" -j "$(nproc)" --target tidewell tidewell-cli

echo
echo "Built for Windows x86_64:"
find "$win64/bin" -maxdepth 1 \( -name tidewell.exe -o -name tidewell-cli.exe \) \
  -printf '  %p\n' | sort

program="$build/win64/bin/tidewell.exe"
export WINEPREFIX="$build/wine-run/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: making the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >"$build/wine-run/wineboot.log" 2>&1
  wineserver -w
fi

if [ -n "${DISPLAY:-}" ]; then
  echo "run: starting $program"
  exec wine "$program"
fi

# No display: show the launcher on a virtual screen and keep a picture of it.
shot="$build/artifacts/launcher-run.png"
mkdir -p "$build/artifacts"
export TIDEWELL_PROGRAM="$program" TIDEWELL_SHOT="$shot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$TIDEWELL_PROGRAM" >/dev/null 2>&1 &
  # Poll for the launcher (its caption starts with two spaces and the name).
  for _ in $(seq 1 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"  Tidewell "; then break; fi
    sleep 0.1
  done
  # Let it draw its controls before the picture is taken.
  for _ in $(seq 1 20); do sleep 0.1; done
  import -window root "$TIDEWELL_SHOT"
  wineserver -k
'
echo
echo "run: no display, so Tidewell was started on a virtual screen."
echo "run: a screenshot of its launcher is in $shot"
echo "run: to use the program itself, run this script where DISPLAY is set"
echo "     (a desktop session, or ssh -X), or: WINEPREFIX=$WINEPREFIX wine $program"

# The console program: a scan of a demonstration prefix with planted problems.
echo
"$root/scripts/cli-demo.sh" "$build/win64/bin/tidewell-cli.exe" "$build/wine-demo" \
  "$WINEPREFIX"
