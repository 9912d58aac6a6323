#!/bin/bash
# Times a full test of a big ARJ archive (methods 1 and 4) by our engine against `7zz t`, and
# depth 1 against depth 2, and shows the engine's peak memory.
#   bench/arj.sh [BUILD_DIR]      (default: build; the driver is BUILD_DIR/bench/engine_driver)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target engine_driver >/dev/null
driver="$build/bench/engine_driver arj"

# About 100 MB of data, archives of 55-60 MB: English-like text, random bytes and a log with long repeats, in several files.
mkdir "$work/data"
perl -e 'srand(3); my @w = qw(archive header method crc table window length distance block
    the of and to in is that for it with as was on be by this are from at or an which);
    for my $f (1 .. 6) { open my $o, ">", "text$f.txt" or die;
      for (1 .. 120000) { print $o join(" ", map { $w[rand @w] } 1 .. 12), " ", int(rand(1e6)), "\n" } }' \
    && mv text*.txt "$work/data/"
head -c 40000000 /dev/urandom >"$work/data/random.bin"
for i in $(seq 1 300000); do echo "2024-01-01 12:00:$((i % 60)) INFO request $((i % 977)) done"; done \
    >"$work/data/log.txt"
du -sh "$work/data"

cd "$work"
for m in 1 4; do
    arj a -m$m -i -y "big$m.arj" data >/dev/null
    ls -l "big$m.arj"
    $driver test "big$m.arj" >/dev/null || { echo "engine rejects big$m.arj"; exit 1; }
    hyperfine --warmup 1 --runs 5 -N "$driver test big$m.arj" "7zz t big$m.arj"
done
hyperfine --warmup 1 --runs 10 -N "$driver check big1.arj 1" "$driver check big1.arj 2"
for m in 1 4; do
    /usr/bin/time -f "peak memory, method $m: %M KB" $driver test "big$m.arj" >/dev/null
done
