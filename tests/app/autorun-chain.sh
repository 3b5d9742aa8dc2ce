#!/bin/bash
# autorun-chain.sh TEMPLATE BINDIR
# The program's automatic run end to end in one throwaway prefix: the driver
# starts it and clicks Run; the restart that ends the chain must end every
# process of the prefix, which is seen from here, outside it; then the
# outcome (backup, undo file, deleted entries, saved hives) is checked in the
# same prefix. The exit code is 0 only when all of that holds.
set -uo pipefail
if [ -z "${TIDEWELL_CHAIN_SCREEN:-}" ]; then
  export TIDEWELL_CHAIN_SCREEN=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
template=$1
bin=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/tidewell-chain.XXXXXX")
export WINEPREFIX="$work/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$template/pfx" "$WINEPREFIX"
export TIDEWELL_TEST_PREFIX="$WINEPREFIX"
steps="$WINEPREFIX/drive_c/tidewell-chain-steps.txt"

# The Windows processes of this prefix (the wine server and the shell's own
# helpers, which carry the prefix in their environment too, are not).
prefix_processes() {
  local pid
  for pid in /proc/[0-9]*; do
    pid=${pid#/proc/}
    [ "$pid" = $$ ] && continue
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" ||
      continue
    local name
    name=$({ tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null)
    case "$name" in [A-Za-z]:\\*) ;; *) continue ;; esac
    echo "$pid $name"
  done
}

failed=0
fail() { echo "FAILED: $*"; failed=1; }

wineserver -p
wine cmd /c exit >/dev/null 2>&1
# What runs in the session before the chain: its services. A restart ends
# them (Wine starts a new session's services afterwards, with new ids).
before=$(prefix_processes | cut -d' ' -f1)
wine "$bin/AutorunChainTest.exe" --gtest_filter=AutorunChain.Drive
echo "--- steps the driver noted:"
cat "$steps" 2>/dev/null
echo "---"

# The chain's windows in order, no message on the way, and the driver ended
# from outside before it could note that the session went on.
expected=$'run\nbackup\ncleanup\ndefrag'
got=$(grep -vx "program ended" "$steps" 2>/dev/null)
[ "$got" = "$expected" ] || fail "the chain's steps were not run, backup, cleanup, defrag"

# Every process of the old session ends within seconds of the request.
old_session_left() {
  local pid
  for pid in $before; do [ -d "/proc/$pid" ] && echo "$pid"; done
  prefix_processes | grep -E 'tidewell|AutorunChainTest'
}
for _ in $(seq 60); do
  [ -z "$(old_session_left)" ] && break
  sleep 1
done
left=$(old_session_left)
[ -z "$left" ] || fail "processes of the session still run after the restart: $left"
[ -n "$before" ] || fail "no process of the session was seen before the chain"

wine "$bin/AutorunChainTest.exe" --gtest_filter=AutorunChain.Outcome || fail "the outcome"

if [ $failed = 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
