#!/usr/bin/env bash
# Runs the file operations' model over many seeds (default a million) and prints how many ran; the native test
# build must exist (cmake --preset native -DTW_BUILD_TESTS=ON && cmake --build --preset native).
# Usage: tools/model-campaign.sh [RUNS]   A failing seed prints its reproduction: TW_MODEL_SEED=N runs it alone.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
program=build/native/tests/operations/operations_test
[ -x "$program" ] || { echo "no $program: build the native tests first" >&2; exit 2; }
start=$(date +%s)
TW_MODEL_RUNS="$runs" "$program" --gtest_filter='ModelTest.SeededRuns*' --gtest_brief=1
echo "model campaign: $runs seeded runs in $(( $(date +%s) - start )) s"
