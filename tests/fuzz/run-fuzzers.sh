#!/bin/bash
# Runs every fuzzer in DIR for SECONDS each, starting from its seed folder when there is one.
# A crash fails the run and leaves the input beside the fuzzer.
set -euo pipefail
dir=$1
seconds=$2
seeds=$(cd "$(dirname "$0")" && pwd)/seeds
for fuzzer in "$dir"/fuzz_*; do
    [[ -x $fuzzer && -f $fuzzer ]] || continue
    name=$(basename "$fuzzer")
    corpus=$(mktemp -d)
    [[ -d $seeds/$name ]] && cp -r "$seeds/$name/." "$corpus/"
    echo "fuzzing $name for ${seconds}s"
    (cd "$dir" && "./$name" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 |
        tail -n 3)
    rm -rf "$corpus"
done
