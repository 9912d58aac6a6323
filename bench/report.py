#!/usr/bin/env python3
"""Turns bench/run.sh's measurements into the table the README shows."""
import json
import pathlib
import sys

out = pathlib.Path(sys.argv[1])
damaged = set((out / "damaged.txt").read_text().split())
tree = json.loads((out / "tree.json").read_text())["results"]
by_name = {r["command"]: r for r in tree}
base = by_name.get("pyxidane-strict-j1")

print(f"Corpus: {len((out / 'all.txt').read_text().split())} archives, {len(damaged)} damaged\n")
print("| command | wall s | CPU s | wall vs pyxidane strict -j1 | damaged caught |")
print("|---|---:|---:|---:|---:|")
for r in tree:
    name = r["command"]
    caught_file = out / f"caught-{name}.txt"
    ratio = r["mean"] / base["mean"] if base else float("nan")
    cpu = r["user"] + r["system"]
    caught = "—"  # the window's walk is timed only; its verdicts are pyxidane-check's
    if caught_file.exists():
        caught = f"{len(set(caught_file.read_text().split()) & damaged)}/{len(damaged)}"
    print(f"| {name} | {r['mean']:.2f} | {cpu:.2f} | {ratio:.2f}× | {caught} |")

missed = {}
for r in tree:
    f = out / f"caught-{r['command']}.txt"
    if f.exists():
        missed[r["command"]] = sorted(damaged - set(f.read_text().split()))
caught_by_peer = set()
for name, miss in missed.items():
    if not name.startswith("pyxidane"):
        caught_by_peer |= damaged - set(miss)
strict_miss = set(missed.get("pyxidane-strict-j1", [])) & caught_by_peer
print(f"\nDamaged archives a peer caught and strict missed: {len(strict_miss)}")
for f in sorted(strict_miss):
    print(f"  {f}")

for jobs in (1, 2):
    rss = out / f"rss-j{jobs}.txt"
    if rss.exists():
        print(f"Peak memory, strict --jobs {jobs}: {int(rss.read_text().split()[-1]) / 1024:.1f} MB")

def ratio(a, b):
    return by_name[a]["mean"] / by_name[b]["mean"] if a in by_name and b in by_name else float("nan")

print(f"\n--jobs 2 speed-up at strict: {ratio('pyxidane-strict-j1', 'pyxidane-strict-j2'):.2f}×")
print(f"normal vs strict (-j1): {ratio('pyxidane-strict-j1', 'pyxidane-normal-j1'):.1f}× faster")
for depth in ("normal", "strict"):
    print(f"window walk vs pyxidane-check -j1 at {depth}: "
          f"{ratio(f'window-{depth}', f'pyxidane-{depth}-j1'):.2f}× the time")

large_file = out / "large.json"
if large_file.exists():
    large = json.loads(large_file.read_text())["results"]
    print("\n| large archive | pyxidane strict s | 7zz t s | ratio |")
    print("|---|---:|---:|---:|")
    ours = {r["command"].split(" ", 1)[1]: r for r in large if r["command"].startswith("pyxidane")}
    peer = {r["command"].split(" ", 1)[1]: r for r in large if r["command"].startswith("7zz")}
    for f in sorted(ours):
        if f in peer:
            print(f"| {f} | {ours[f]['mean']:.2f} | {peer[f]['mean']:.2f} | "
                  f"{peer[f]['mean'] / ours[f]['mean']:.2f}× |")
