#!/bin/bash
# Times pyxidane-check against the peer tools on the benchmark corpus, in one run, and records
# which damaged archives each tool caught. Prints a table of wall and CPU seconds and ratios.
# usage: bench/run.sh [CORPUS_DIR]     (the corpus is made by bench/make-corpus.sh when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(realpath -m "${1:-$root/bench/corpus}")
out=$root/bench/out
runs=${PYX_BENCH_RUNS:-3}
mkdir -p "$out"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" >/dev/null
cmake --build "$root/build" --target window_walk >/dev/null
check=$root/build/src/cli/pyxidane-check
[[ -f $corpus/damaged.txt ]] || "$root/bench/make-corpus.sh" "$corpus"

cd "$corpus"
find small large -type f | sort >"$out/all.txt"
for kind in zip lzh arj cab; do grep "\.$kind\$" "$out/all.txt" >"$out/$kind.txt" || true; done
cut -d' ' -f1 damaged.txt | sort >"$out/damaged.txt"

# Peers, one command line each. Per-archive loops run in one shell, as a user would script them.
native='while read -r f; do unzip -tqq "$f" >/dev/null 2>&1; done <'"$out"'/zip.txt;
while read -r f; do lhasa t "$f" >/dev/null 2>&1; done <'"$out"'/lzh.txt;
while read -r f; do arj t "$f" >/dev/null 2>&1; done <'"$out"'/arj.txt;
while read -r f; do cabextract -q -t "$f" >/dev/null 2>&1; done <'"$out"'/cab.txt'
declare -A commands=(
    [7zz-one-process]="7zz t -bd -ai@$out/all.txt -an >/dev/null 2>&1"
    [7zz-per-archive]="while read -r f; do 7zz t -bd \"\$f\" >/dev/null 2>&1; done <$out/all.txt"
    [native-tools]="$native"
)
order=()
for depth in simple normal strict probe; do
    for jobs in 1 2; do
        name=pyxidane-$depth-j$jobs
        commands[$name]="$check --no-progress --depth $depth --jobs $jobs small large >/dev/null"
        order+=("$name")
    done
done
# The window's own walk over the same tree, offscreen.
for depth in normal:2 strict:3; do
    name=window-${depth%:*}
    commands[$name]="QT_QPA_PLATFORM=offscreen $root/build/bench/window_walk $corpus ${depth#*:} >/dev/null 2>&1"
    order+=("$name")
done
order+=(7zz-one-process 7zz-per-archive native-tools)

# Which damaged archives each tool catches.
catches() { # NAME
    case $1 in
        pyxidane-*)
            depth=${1#pyxidane-}
            depth=${depth%-j*}
            "$check" --no-progress --depth "$depth" --jobs 2 small large 2>/dev/null |
                sed 's/ ".*//; s|^'"$corpus"'/||' | sort -u || true ;;
        7zz-*)
            while read -r f; do 7zz t -bd "$f" >/dev/null 2>&1 || echo "$f"; done <"$out/damaged.txt" ;;
        native-tools)
            while read -r f; do
                case $f in
                    *.zip) unzip -tqq "$f" >/dev/null 2>&1 || echo "$f" ;;
                    *.lzh) lhasa t "$f" >/dev/null 2>&1 || echo "$f" ;;
                    *.arj) arj t "$f" >/dev/null 2>&1 || echo "$f" ;;
                    *.cab) cabextract -q -t "$f" >/dev/null 2>&1 || echo "$f" ;;
                esac
            done <"$out/damaged.txt" ;;
    esac
}

args=()
for name in "${order[@]}"; do args+=(-n "$name" "${commands[$name]}"); done
hyperfine -i --style basic --runs "$runs" --warmup 1 --export-json "$out/tree.json" "${args[@]}" >&2

for name in "${order[@]}"; do
    [[ $name == window-* ]] && continue  # timed only: its verdicts are those of pyxidane-check
    catches "$name" >"$out/caught-$name.txt"
done

# Peak memory of the strict full run.
for jobs in 1 2; do
    /usr/bin/time -f %M -o "$out/rss-j$jobs.txt" "$check" --no-progress --depth strict \
        --jobs "$jobs" small large >/dev/null || true
done

# Each large archive alone, strict against 7zz t.
large=()
for f in large/*; do
    large+=(-n "pyxidane-strict $f" "$check --no-progress --depth strict --jobs 1 $f >/dev/null")
    large+=(-n "7zz-t $f" "7zz t -bd $f >/dev/null 2>&1")
done
hyperfine -i --style basic --runs "$runs" --export-json "$out/large.json" "${large[@]}" >&2 || true

python3 "$root/bench/report.py" "$out"
