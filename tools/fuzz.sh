#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time; any finding fails the run.
# Usage: tools/fuzz.sh [SECONDS]   (default 30 per target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-30}}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
work=$build/fuzz-work
rm -rf "$work"
mkdir -p "$work"

# Seed inputs, written by the same generators the tests use.
seeds() {
    local target=$1 dir=$2
    mkdir -p "$dir"
    case $target in
        pmr_fuzz)
            "$build/tools/tarnwick-sample-index" "$dir/le.pmr" --entries 4
            "$build/tools/tarnwick-sample-index" "$dir/be8.pmr" --entries 4 --big-endian --guid8 --damaged
            ;;
        container_fuzz|container_large_fuzz)
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 12 --seed 4 --payload 64 >/dev/null
            cp "$dir/drive/OMFI MediaFiles/msmMMOB.mdb" "$dir/le.mdb"
            cp "$dir/drive/OMFI MediaFiles/Archive/msmMMOB.mdb" "$dir/be.mdb"
            find "$dir/drive" -iname '*.omf' | head -3 | while read -r f; do cp "$f" "$dir/$(basename "$f")"; done
            rm -rf "$dir/drive"
            ;;
        media_info_fuzz)
            # Media databases and OMF media files, whose references lead from object to object.
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 40 --seed 4 --payload 64 >/dev/null
            cp "$dir/drive/OMFI MediaFiles/msmMMOB.mdb" "$dir/le.mdb"
            cp "$dir/drive/OMFI MediaFiles/Archive/msmMMOB.mdb" "$dir/be.mdb"
            find "$dir/drive" -iname '*.omf' | head -3 | while read -r f; do cp "$f" "$dir/$(basename "$f")"; done
            rm -rf "$dir/drive"
            ;;
        bin_scan_fuzz)
            # A real bin and the bins of a sample drive.
            cp tests/data/linear01.avb "$dir/"
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 40 --seed 2 --payload 0 >/dev/null
            find "$dir/drive" -name '*.avb' | while read -r f; do cp "$f" "$dir/$(basename "$f")"; done
            rm -rf "$dir/drive"
            ;;
        loose_fuzz)
            # Single media files: OMF containers of a sample drive and a foreign OMF file.
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 12 --seed 6 --payload 64 >/dev/null
            find "$dir/drive" -iname '*.omf' | head -4 | while read -r f; do cp "$f" "$dir/$(basename "$f")"; done
            cp tests/data/LogicPro-omfv1.OMF "$dir/"
            rm -rf "$dir/drive"
            ;;
        plan_reader_fuzz)
            # The tables of a sample drive's load in the three formats.
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 12 --seed 5 --payload 0 >/dev/null
            for format in tsv csv json; do
                "$build/src/cli/tarnwick-cli" load --format $format "$dir/drive/OMFI MediaFiles/msmFMID.pmr" \
                    >"$dir/plan.$format" 2>/dev/null
            done
            rm -rf "$dir/drive"
            ;;
        load_fuzz)
            # The same drive the target writes its folder from, so that the seeds match its index.
            "$build/tools/tarnwick-sample-drive" "$dir/drive" --entries 40 --seed 9 --payload 0 >/dev/null
            cp "$dir/drive/OMFI MediaFiles/msmMMOB.mdb" "$dir/le.mdb"
            cp "$dir/drive/OMFI MediaFiles/Archive/msmMMOB.mdb" "$dir/be.mdb"
            rm -rf "$dir/drive"
            ;;
    esac
}

status=0
for fuzzer in "$build"/fuzz/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    seeds "$name" "$work/$name-seeds"
    mkdir -p "$work/$name-corpus"
    echo "== $name for ${seconds}s"
    # The malloc limit lies far below the 1 GiB file of container_large_fuzz: a read sized by a length the
    # file claims, instead of by what its reader needs, fails the run.
    if ! (cd "$work" && "../fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=64 \
            -print_final_stats=1 "$name-corpus" "$name-seeds" >"$name.log" 2>&1); then
        echo "$name FOUND A PROBLEM:"
        tail -50 "$work/$name.log"
        status=1
    else
        grep -E "stat::number_of_executed_units" "$work/$name.log" || true
    fi
done
exit $status
