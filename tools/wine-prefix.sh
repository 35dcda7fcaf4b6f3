#!/usr/bin/env bash
# Creates the Wine prefix of a build folder once (the first start of Wine takes a while).
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
