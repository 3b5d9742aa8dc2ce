#!/bin/bash
# wine-template.sh create|remove DIR
# Makes (or removes) the Wine prefix that every Windows test of one run copies.
# It lives in the build tree: a developer's own prefix is never used.
set -euo pipefail
action=$1
dir=$2
case "$action" in
  create)
    rm -rf "$dir"
    mkdir -p "$dir"
    export WINEPREFIX="$dir/pfx" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEPATH
    wineboot -i >"$dir/wineboot.log" 2>&1
    # Wait until the server has written the registry files and quit.
    wineserver -w
    for f in system.reg user.reg userdef.reg; do
      [ -s "$WINEPREFIX/$f" ] || { echo "wine-template: $f was not written" >&2; exit 1; }
    done
    echo "wine-template: prefix ready in $WINEPREFIX"
    ;;
  remove)
    rm -rf "$dir"
    ;;
  *)
    echo "usage: wine-template.sh create|remove DIR" >&2
    exit 2
    ;;
esac
