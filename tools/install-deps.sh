#!/usr/bin/env bash
# Installs the Debian packages Tarnwick builds, tests and runs with, skipping those already present.
# Usage: tools/install-deps.sh [run|test]   (run: what the run command needs; test: everything)
set -euo pipefail

what=${1:-test}
packages=(g++ cmake ninja-build googletest mingw-w64 wine wine64 xvfb xdotool imagemagick x11-utils)
# The console's "Courier New" is shown in its metric twin under Wine.
packages+=(fonts-liberation fonts-wine)
if [ "$what" = test ]; then
    packages+=(libbenchmark-dev clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
