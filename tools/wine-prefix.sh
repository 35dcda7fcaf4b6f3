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
# Windows run inside one Wine virtual desktop: Wine draws their frames and captions itself, and showing or
# hiding a window does not wait for a window manager that a virtual X display does not have.
if ! grep -q '"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
    wineserver -w || true
fi
# "Courier New", the console's font, is not among Wine's own fonts: its metric twin stands in.
if ! grep -q '"Courier New"="Liberation Mono"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "Courier New" \
        /d "Liberation Mono" /f >/dev/null 2>&1
    wineserver -w || true
fi
