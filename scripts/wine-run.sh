#!/bin/bash
# wine-run.sh [--gui] TEMPLATE EXE [ARGS...]
# Runs one Windows program in a throwaway copy of the template prefix, with a
# wine server of its own that is shut down afterwards. --gui gives it a virtual
# screen (Xvfb). The exit code is the program's.
set -uo pipefail
if [ "${1:-}" = --gui ]; then
  shift
  # The whole run on one virtual screen: the warm-up, the program and any
  # program it starts (a test's driver and the program under test) must
  # share the display and the wine server.
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
template=$1
exe=$2
shift 2

work=$(mktemp -d "${TMPDIR:-/tmp}/tidewell-wine.XXXXXX")
export WINEPREFIX="$work/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

cp -a "$template/pfx" "$WINEPREFIX"
# Tests find their own files (fixtures, the program under test) here.
export TIDEWELL_TEST_PREFIX="$WINEPREFIX"

# A persistent server, warmed up with its output elsewhere: the background
# services the first program starts inherit its standard error, and a pipe
# held open by them would never close.
wineserver -p
wine cmd /c exit >/dev/null 2>&1

wine "$exe" "$@"
status=$?
exit $status
