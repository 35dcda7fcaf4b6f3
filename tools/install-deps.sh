#!/usr/bin/env bash
# Installs the Debian packages Tarnwick builds, tests and runs with, skipping those already present.
# Usage: tools/install-deps.sh [run|test]   (run: what the run command needs; test: everything)
set -euo pipefail

what=${1:-test}
packages=(g++ cmake ninja-build googletest mingw-w64 wine wine64 xvfb xdotool imagemagick x11-utils)
# The console's "Courier New" is shown in its metric twin under Wine.
packages+=(fonts-liberation fonts-wine)
if [ "$what" = test ]; then
    packages+=(libgtest-dev libbenchmark-dev clang python3)
    # The report page's browser tests: headless Chromium, driven from Node.js.
    packages+=(chromium)
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
        packages+=(nodejs npm)
    fi
fi

updated=""
install() {
    local missing=()
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo=sudo
    fi
    export DEBIAN_FRONTEND=noninteractive
    if [ -z "$updated" ]; then
        $sudo apt-get update -qq
        updated=yes
    fi
    $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

install "${packages[@]}"

if [ "$what" = test ]; then
    # The sanitizer and libFuzzer runtimes of the clang that `clang` runs: a package per major version
    # (libclang-rt-N-dev) since clang 14, part of libclang-common-N-dev before.
    major=$(clang -dumpversion | cut -d. -f1)
    if apt-cache show "libclang-rt-$major-dev" >/dev/null 2>&1; then
        install "libclang-rt-$major-dev"
    fi
fi
