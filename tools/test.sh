#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test: the native suites, the same suites
# built with the address and undefined-behaviour sanitizers, the same suites cross-compiled and run under
# Wine, the report page in headless Chromium, and the fuzz targets. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh test

echo "== native build and tests"
cmake --preset native -DTW_BUILD_TESTS=ON -DTW_BUILD_BENCH=ON
cmake --build --preset native
ctest --preset native

echo "== the report page in headless Chromium"
# puppeteer-core at the version package-lock.json pins; it drives the machine's Chromium and downloads no browser.
(cd tests/report && npm ci --no-audit --no-fund --loglevel=error)
TW_BUILD=build/native node --test tests/report/report.test.js

echo "== native tests with the address and undefined-behaviour sanitizers"
cmake --preset asan
cmake --build --preset asan
ctest --preset asan

echo "== Windows build and the same tests under Wine"
cmake --preset windows -DTW_BUILD_TESTS=ON
cmake --build --preset windows
tools/wine-prefix.sh build/windows
# gui_test runs among them, on a virtual X display of its own (cmake/gui-run.sh).
ctest --preset windows

echo "== fuzzing"
tools/fuzz.sh "${FUZZ_SECONDS:-30}"

echo "All tests passed."
