#!/bin/bash
# cli-demo.sh CLI_EXE DEMO_FOLDER [TEMPLATE_PREFIX]
# Shows tidewell-cli.exe at work: a Wine prefix of its own in DEMO_FOLDER/pfx
# (copied from TEMPLATE_PREFIX when given, else made by wineboot), a few
# registry entries planted there whose files do not exist, and a scan of it.
# Nothing outside DEMO_FOLDER is touched.
set -euo pipefail
cli=$1
demo=$2
template=${3:-}

export WINEPREFIX="$demo/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
mkdir -p "$demo"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "demo: making the Wine prefix $WINEPREFIX (once)"
  if [ -n "$template" ] && [ -f "$template/system.reg" ]; then
    cp -a "$template" "$WINEPREFIX"
  else
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$demo/wineboot.log" 2>&1
  fi
  wineserver -w
fi

# The program keeps its undo files, ExcludedKeys.txt and settings in its own
# folder, so it runs from a copy inside the demo folder.
mkdir -p "$demo/app"
cp "$cli" "$demo/app/tidewell-cli.exe"

# Broken entries: a start-up program, an application path and a document
# reference, each naming a file under a folder that does not exist.
gone='C:\TidewellDemo\gone'
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
wine reg add "$run" /v "Demo Updater" /d "\"$gone\\updater.exe\" /background" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\demo-editor.exe' \
  /ve /d "$gone\\editor.exe" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\TidewellDemo' /v LastDocument /d "$gone\\report.txt" /f >/dev/null 2>&1

echo "demo: tidewell-cli.exe scan"
echo "      (in $WINEPREFIX, with three planted problems beside Wine's own)"
status=0
wine "$demo/app/tidewell-cli.exe" scan || status=$?
echo "demo: exit status $status (0 nothing listed, 1 problems listed, 2 an error)"
wineserver -k >/dev/null 2>&1 || true
