#!/bin/bash
# wine-scan-vs-export.sh [NATIVE_BUILD [WIN64_BUILD]]
#
# Times a full scan against an export of the whole registry, side by side in
# one Wine prefix that holds the scan benchmark's synthetic machine: a fresh
# throwaway prefix, the synthetic registry imported into it with `regedit /s`
# and the files it names made on its drive C:, then, in turn and RUNS times
# each, `tidewell-cli scan --categories all` and `regedit /e` of the same
# prefix. Prints every run, the medians and, last, the scan/export ratio.
#
# NATIVE_BUILD (default build-dev) holds bin/synthetic_registry_export,
# WIN64_BUILD (default build/win64) bin/tidewell-cli.exe. RUNS defaults to 2.
# PARTS, a space-separated list of scan categories (say "ClassesSection
# FileList"), also times a scan of each of them alone, RUNS times, to show
# which checks the time goes to; by default none.
# The prefix and everything made for it are removed at the end; the wine
# server started for it is stopped. No other prefix is used or touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$(cd "${1:-$root/build-dev}" && pwd)
win64=$(cd "${2:-$root/build/win64}" && pwd)
runs=${RUNS:-2}
parts=${PARTS:-}
export_tool=$native/bin/synthetic_registry_export
cli=$win64/bin/tidewell-cli.exe
for f in "$export_tool" "$cli"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "wine-scan-vs-export: $f is missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tidewell-scan-bench.XXXXXX")
export WINEPREFIX="$work/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
server_started=
cleanup() {
  if [ -n "$server_started" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {
  if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "prefix: $WINEPREFIX"
start=$(now)
wineboot -i >"$work/wineboot.log" 2>&1
wineserver -w
echo "fresh prefix in $(since "$start") s"

start=$(now)
"$export_tool" "$work/synthetic.reg" "$WINEPREFIX/drive_c"
echo "registry file written and files made in $(since "$start") s"

# A persistent server, warmed up with its output elsewhere (background
# services inherit the first program's standard error).
wineserver -p
server_started=1
wine cmd /c exit >/dev/null 2>&1

start=$(now)
wine regedit /s "$(winepath -w "$work/synthetic.reg")" >/dev/null 2>&1
echo "imported in $(since "$start") s"
rm -f "$work/synthetic.reg"
# regedit's exit code says nothing: ask the registry.
if ! wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' \
    2>/dev/null | grep -q 'Vendor'; then
  echo "wine-scan-vs-export: the synthetic registry did not arrive" >&2
  exit 1
fi

# The program runs from a folder of its own in the prefix, as installed.
mkdir -p "$WINEPREFIX/drive_c/Program Files/Tidewell"
cp "$cli" "$WINEPREFIX/drive_c/Program Files/Tidewell/"
program='C:\Program Files\Tidewell\tidewell-cli.exe'
export_file=$(winepath -w "$work/export.reg")

scans=()
exports=()
for run in $(seq 1 "$runs"); do
  rm -f "$work/export.reg"
  start=$(now)
  wine regedit /e "$export_file" >/dev/null 2>&1
  t=$(since "$start")
  exports+=("$t")
  echo "run $run: regedit /e                       $t s ($(du -m "$work/export.reg" | cut -f1) MB)"

  start=$(now)
  status=0
  wine "$program" scan --categories all >"$work/scan.txt" 2>"$work/scan.err" || status=$?
  t=$(since "$start")
  scans+=("$t")
  echo "run $run: tidewell-cli scan --categories all $t s (exit $status, $(grep -c . "$work/scan.txt") lines)"
  if [ "$status" -gt 1 ]; then
    echo "wine-scan-vs-export: the scan failed:" >&2
    cat "$work/scan.err" >&2
    exit 1
  fi
done
tail -n 1 "$work/scan.txt"

for part in $parts; do
  times=()
  for run in $(seq 1 "$runs"); do
    start=$(now)
    status=0
    wine "$program" scan --categories "$part" >"$work/scan.txt" 2>"$work/scan.err" || status=$?
    times+=("$(since "$start")")
    if [ "$status" -gt 1 ]; then
      echo "wine-scan-vs-export: the scan of $part failed:" >&2
      cat "$work/scan.err" >&2
      exit 1
    fi
  done
  echo "$part alone: ${times[*]} s (median $(median "${times[@]}") s)"
done

scan=$(median "${scans[@]}")
export_time=$(median "${exports[@]}")
echo "median of $runs: scan $scan s, export $export_time s"
echo "scan/export: $(echo "scale=2; $scan / $export_time" | bc)"
