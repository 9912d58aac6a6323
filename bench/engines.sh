#!/bin/bash
# Times the built-in LZH, ZIP and CAB engines against `7zz t` on big archives made here with
# Debian's tools, and depth 1 against depth 2 on an archive of 10 000 members; prints a table
# with the engines' peak memory.
#   bench/engines.sh [BUILD_DIR]     (default: build; the engine driver is built if missing)
# Needs: zip, jlha, gcab, 7zz, hyperfine, python3, /usr/bin/time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

driver=$build/bench/engine_driver
if [[ ! -x $driver ]]; then
    driver=$work/engine_driver
    c++ -std=c++20 -O2 -I"$root/src" "$root/bench/engine_driver.cpp" "$build/libpyxidane_core.a" \
        -larchive -lz -o "$driver"
fi

echo "making the corpus in $work ..." >&2
# About 80 MB: text that compresses about 3:1 and binary that compresses little.
python3 - "$work/in" <<'PY'
import os, random, sys
out = sys.argv[1]
os.makedirs(out + '/many', exist_ok=True)
r = random.Random(7)
words = [''.join(r.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(r.randint(2, 9)))
         for _ in range(4000)]
for i in range(4):
    with open(f'{out}/text{i}.txt', 'w') as f:
        f.write(' '.join(r.choice(words) for _ in range(1_800_000)))
for i in range(4):
    with open(f'{out}/data{i}.bin', 'wb') as f:
        f.write(r.randbytes(10_000_000).translate(bytes(b & 0x3F for b in range(256))))
# 10 000 members of 10 KB, half text and half noise: about 100 MB, stored or barely compressed.
for i in range(10_000):
    with open(f'{out}/many/m{i:05}.dat', 'wb') as f:
        f.write(r.randbytes(5_000) + ' '.join(r.choice(words) for _ in range(900)).encode()[:5_000])
PY
big=(text0.txt text1.txt text2.txt text3.txt data0.bin data1.bin data2.bin data3.bin)
(cd "$work/in" && zip -q -6 "$work/big.zip" "${big[@]}")
(cd "$work/in" && jlha a2o5 "$work/big.lzh" "${big[@]}" >/dev/null)
(cd "$work/in" && gcab -c -z "$work/big.cab" "${big[@]}")
(cd "$work/in" && zip -q -1 -r "$work/many.zip" many)

seconds() {  # command... → mean wall seconds and mean CPU seconds (user + system), hyperfine
    hyperfine -N --warmup 1 --runs "${RUNS:-5}" --export-json "$work/h.json" "$*" >/dev/null 2>&1
    python3 -c "import json; r = json.load(open('$work/h.json'))['results'][0]
print('%.3f/%.3f' % (r['mean'], r['user'] + r['system']))"
}
ratio() {  # a/b c/d → wall ratio a/c and CPU ratio b/d
    python3 -c "a, b = '$1'.split('/'); c, d = '$2'.split('/'); print('%.2f/%.2f' % (float(a) / float(c), float(b) / float(d)))"
}
peak_mb() {  # command... → peak resident memory in MB
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.1f", $1 / 1024}'
}

echo "times in seconds as wall/CPU (CPU = user + system, all threads); load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %5s %14s %14s %14s %12s %8s\n' archive MB 'depth 2' "' t '" '7zz t' '7zz/engine' 'peak MB'
for kind in zip lzh cab; do
    a=$work/big.$kind
    mb=$(($(stat -c %s "$a") / 1000000))
    d2=$(seconds "$driver" $kind check "$a" 2)
    t=$(seconds "$driver" $kind test "$a")
    z=$(seconds 7zz t "$a")
    printf '%-10s %5s %14s %14s %14s %12s %8s\n' big.$kind "$mb" "$d2" "$t" "$z" "$(ratio "$z" "$t")" \
        "$(peak_mb "$driver" $kind test "$a")"
done
echo "(7zz/engine: 7zz t time over the engine's ' t ' time; above 1 means the engine is faster)"

a=$work/many.zip
mb=$(($(stat -c %s "$a") / 1000000))
d1=$(seconds "$driver" zip check "$a" 1)
d2=$(seconds "$driver" zip check "$a" 2)
echo
printf '%-10s %5s %14s %14s %12s\n' archive MB 'depth 1' 'depth 2' 'd1/d2'
printf '%-10s %5s %14s %14s %12s\n' many.zip "$mb" "$d1" "$d2" "$(ratio "$d1" "$d2")"
