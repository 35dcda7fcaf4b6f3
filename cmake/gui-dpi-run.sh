#!/bin/sh
# Runs a Windows program that shows windows, as gui-run.sh does, with the display at a resolution of DPI dots
# per inch: Wine reads it from HKCU\Control Panel\Desktop\LogPixels when a program starts. The program runs in
# a prefix of its own beside the build folder's (a copy of it, made once), so that every other test keeps
# 96 dots per inch whatever happens to this run. TW_TEST_DPI tells the program which resolution was asked.
# Usage: gui-dpi-run.sh DPI PROGRAM [ARGUMENTS...]
set -e
here=$(cd "$(dirname "$0")" && pwd)
dpi=$1
shift
dir=$(cd "$(dirname "$1")" && pwd)
while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
if [ ! -f "$dir/CMakeCache.txt" ]; then
    echo "gui-dpi-run: $1 is not in a build folder" >&2
    exit 1
fi
base="$dir/wineprefix"
WINEPREFIX="$dir/wineprefix-dpi"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    if [ ! -f "$base/system.reg" ]; then
        echo "gui-dpi-run: no Wine prefix in $dir (tools/wine-prefix.sh makes it)" >&2
        exit 1
    fi
    WINEPREFIX="$base" wineserver -w 2>/dev/null || true
    rm -rf "$WINEPREFIX.new"
    cp -a "$base" "$WINEPREFIX.new"
    mv "$WINEPREFIX.new" "$WINEPREFIX"
fi
wineserver -w 2>/dev/null || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w 2>/dev/null || true
TW_TEST_DPI=$dpi
export TW_TEST_DPI
exec "$here/gui-run.sh" "$@"
