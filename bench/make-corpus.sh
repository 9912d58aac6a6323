#!/bin/bash
# Makes the benchmark corpus, the same bytes on every run (fixed seeds, fixed dates):
#   small/  ~2000 archives of 5-20 members (1-50 KB, text and random), ZIP/LZH/ARJ/CAB mixed,
#           in ~50 folders three levels deep
#   large/  ~20 archives of ~40 MB: ZIP deflate, LZH -lh5-, ARJ method 1
# About 5 % of the archives are then damaged (one flipped byte, or a cut tail); damaged.txt
# lists them with what was done. Debian tools only: zip, jlha, arj, gcab, openssl, awk.
# usage: bench/make-corpus.sh [DIR] [SMALL_COUNT] [LARGE_COUNT]
set -euo pipefail
dir=$(realpath -m "${1:-$(dirname "$0")/corpus}")
small=${2:-2000}
large=${3:-20}
export TZ=UTC LC_ALL=C

rm -rf "$dir"
mkdir -p "$dir/small" "$dir/large"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Deterministic bytes: AES-CTR keystream of a seed.
random_bytes() { # SEED COUNT
    { openssl enc -aes-128-ctr -nosalt -K "$(printf '%032x' "$1")" -iv 0 </dev/zero 2>/dev/null ||
        true; } | head -c "$2"
}
# Deterministic text: words drawn by awk's seeded generator.
random_text() { # SEED COUNT
    { awk -v seed="$1" -v count="$2" 'BEGIN {
        srand(seed)
        split("archive check damage header member folder stream table value order index " \
              "record method level window buffer engine reader writer entry sound", w, " ")
        out = 0
        while (out < count) {
            line = ""
            for (i = 0; i < 12; i++) line = line w[int(rand() * 21) + 1] " "
            line = line int(rand() * 100000)
            print line
            out += length(line) + 1
        }
    }' || true; } | head -c "$2"
}
# A number from a seed, 0..N-1, for choices that must not depend on $RANDOM.
pick() { # SEED N
    awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); print int(rand() * n) }'
}

# A pool of member files the small archives draw from.
pool=$work/pool
mkdir -p "$pool"
for i in $(seq 0 299); do
    size=$(( (i * 7919 % 50) * 1024 + 1024 ))
    if (( i % 3 == 0 )); then
        random_bytes $((i + 1)) "$size" >"$pool/m$i.bin"
    else
        random_text $((i + 1)) "$size" >"$pool/m$i.txt"
    fi
done
touch -d "2020-06-15 12:00:00" "$pool"/*

# ~50 folders, three levels deep.
folders=()
for a in 0 1 2; do
    for b in 0 1 2 3; do
        for c in 0 1 2 3; do
            folders+=("small/d$a/e$b/f$c")
        done
        folders+=("small/d$a/e$b")
    done
done
for f in "${folders[@]}"; do mkdir -p "$dir/$f"; done

kinds=(zip lzh arj cab)
make_archive() { # KIND OUT MEMBERS...
    local kind=$1 out=$2
    shift 2
    case $kind in
        zip) (cd "$pool" && zip -q -X -9 "$out" "$@") ;;
        lzh) (cd "$pool" && lha -aq5 "$out" "$@" >/dev/null) ;;
        arj) (cd "$pool" && arj a -m1 -y -i "$out" "$@" >/dev/null) ;;
        cab) (cd "$pool" && gcab -c -z "$out" "$@") ;;
    esac
}

echo "making $small small archives" >&2
for n in $(seq 0 $((small - 1))); do
    kind=${kinds[$((n % 4))]}
    folder=${folders[$((n * 31 % ${#folders[@]}))]}
    count=$(( 5 + n * 13 % 16 ))
    members=()
    for k in $(seq 0 $((count - 1))); do
        m=$(( (n * 37 + k * 101) % 300 ))
        if (( m % 3 == 0 )); then members+=("m$m.bin"); else members+=("m$m.txt"); fi
    done
    # Distinct members only: some tools refuse a name twice.
    mapfile -t members < <(printf '%s\n' "${members[@]}" | sort -u)
    make_archive "$kind" "$dir/$folder/a$n.$kind" "${members[@]}"
done

echo "making $large large archives" >&2
big=$work/big
mkdir -p "$big"
for n in $(seq 0 $((large - 1))); do
    rm -f "$big"/*
    for k in 0 1 2 3; do
        random_text $((1000 + n * 10 + k)) $((6 * 1024 * 1024)) >"$big/text$k.txt"
        random_bytes $((2000 + n * 10 + k)) $((8 * 1024 * 1024)) >"$big/data$k.bin"
    done
    touch -d "2021-03-01 08:00:00" "$big"/*
    kind=(zip lzh arj)
    kind=${kind[$((n % 3))]}
    out="$dir/large/big$n.$kind"
    case $kind in
        zip) (cd "$big" && zip -q -X -6 "$out" ./*) ;;
        lzh) (cd "$big" && lha -aq5 "$out" ./* >/dev/null) ;;
        arj) (cd "$big" && arj a -m1 -y -i "$out" ./* >/dev/null) ;;
    esac
done

# Damage about 5 %: every 20th archive, alternately one flipped byte in the middle of the data
# and a tail cut off.
echo "damaging" >&2
: >"$dir/damaged.txt"
n=0
while IFS= read -r file; do
    if (( n % 20 == 7 )); then
        size=$(stat -c %s "$file")
        if (( (n / 20) % 2 == 0 )); then
            offset=$(( size / 2 + $(pick "$n" 64) ))
            byte=$(od -An -tu1 -j "$offset" -N1 "$file" | tr -d ' ')
            printf "$(printf '\\%03o' $(( byte ^ 0x55 )))" |
                dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
            echo "${file#"$dir"/} flipped byte at $offset" >>"$dir/damaged.txt"
        else
            truncate -s $(( size * 3 / 4 )) "$file"
            echo "${file#"$dir"/} cut to $(( size * 3 / 4 )) of $size bytes" >>"$dir/damaged.txt"
        fi
    fi
    n=$((n + 1))
done < <(find "$dir/small" "$dir/large" -type f | sort)

echo "corpus in $dir: $(find "$dir" -type f -not -name damaged.txt | wc -l) archives," \
     "$(wc -l <"$dir/damaged.txt") damaged, $(du -sh "$dir" | cut -f1)" >&2
