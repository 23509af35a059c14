#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# bench/scan.sh [FILES]
#
# Times a whole scan against its peers over the same pair of trees, warm cache, median of
# several runs: `ketrano-cli scan --tsv` (Release build), `rsync -a --dry-run --itemize-changes`
# in both directions, and `find` listing both trees with time and size. Prints each time, the
# ratios and the goals, the peak memory per file walked, the pairing benchmark and the window's
# Scan of the same profile.
#
# FILES: files per side (default 200000, in about FILES/20 folders). Trees are kept between runs
# in $KETRANO_BENCH_DATA (default /tmp/ketrano-bench); the Release build goes to
# $KETRANO_BENCH_BUILD (default /tmp/ketrano-bench-build). Needs rsync, hyperfine, GNU time
# and Google Benchmark (scripts/deps.sh with KETRANO_WITH_BENCH=1 installs them).
#
# KETRANO_BENCH_BASELINE=REV also builds ketrano-cli as it was at the git revision REV and
# times its scan in the same runs, to show what a change costs (goal: within 5%). Put
# KETRANO_BENCH_DATA on a tmpfs (/dev/shm) to take the disk out of the figures.
set -euo pipefail

FILES=${1:-200000}
RUNS=${KETRANO_BENCH_RUNS:-7}
REPO=$(cd "$(dirname "$0")/.." && pwd)
DATA=${KETRANO_BENCH_DATA:-/tmp/ketrano-bench}/scan-$FILES
BUILD=${KETRANO_BENCH_BUILD:-/tmp/ketrano-bench-build}

echo "== Release build in $BUILD"
cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" --target ketrano-cli pairing_bench window_scan_bench >/dev/null
CLI=$BUILD/src/ketrano-cli
BASELINE=${KETRANO_BENCH_BASELINE:-}
if [ -n "$BASELINE" ]; then
  BASE_SRC=$BUILD-baseline-src
  echo "== Release build of $BASELINE in $BUILD-baseline"
  rm -rf "$BASE_SRC" && mkdir -p "$BASE_SRC"
  git -C "$REPO" archive "$BASELINE" | tar -x -C "$BASE_SRC"
  cmake -S "$BASE_SRC" -B "$BUILD-baseline" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKETRANO_BUILD_TESTS=OFF >/dev/null
  cmake --build "$BUILD-baseline" --target ketrano-cli >/dev/null
  BASE_CLI=$BUILD-baseline/src/ketrano-cli
fi

if [ ! -f "$DATA/done" ]; then
  echo "== Building two trees of $FILES files each in $DATA"
  rm -rf "$DATA"
  mkdir -p "$DATA"
  python3 "$REPO/bench/make_trees.py" "$DATA" "$FILES"
  touch "$DATA/done"
fi
SRC=$DATA/source
DST=$DATA/target
PROFILE=$DATA/bench.prf
# One profile record: four 300-byte fields, space padded (Source, Target, Include, Exclude).
python3 - "$PROFILE" "$SRC" "$DST" <<'PY'
import sys
field = lambda s: s.encode() + b" " * (300 - len(s.encode()))
open(sys.argv[1], "wb").write(field(sys.argv[2]) + field(sys.argv[3]) + field("*") + field(""))
PY
# The entry was synchronized just now, so the scan checks every destination it would replace
# for a change on both sides (the dearest case: one more stat per "OverWrite" row), marking none.
export XDG_STATE_HOME
XDG_STATE_HOME=$(mktemp -d)
mkdir -p "$XDG_STATE_HOME/ketrano"
now=$(date +%s)
printf '%s\t%s\t%s\t%s\n' "$SRC" "$DST" "$now" "$now" >"$XDG_STATE_HOME/ketrano/synced"
WALKED=$(find "$SRC" "$DST" -type f | wc -l)
echo "== $WALKED files in both trees; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"

JSON=$(mktemp)
trap 'rm -rf "$JSON" "$XDG_STATE_HOME"' EXIT
BASE_ARGS=()
[ -n "$BASELINE" ] && BASE_ARGS=(-n scan-baseline "$BASE_CLI scan $PROFILE --tsv")
hyperfine -N --style basic --warmup 2 --runs "$RUNS" --export-json "$JSON" \
  -n scan "$CLI scan $PROFILE --tsv" "${BASE_ARGS[@]}" \
  -n rsync-to-target "rsync -a --dry-run --itemize-changes $SRC/ $DST/" \
  -n rsync-to-source "rsync -a --dry-run --itemize-changes $DST/ $SRC/" \
  -n find "find $SRC $DST -printf '%p %T@ %s\n'" >/dev/null

PEAK_KB=$( { /usr/bin/time -f '%M' "$CLI" scan "$PROFILE" --tsv >/dev/null; } 2>&1 | tail -1)
ROWS=$("$CLI" scan "$PROFILE" --tsv | wc -l)
WINDOW=$("$BUILD/bench/window_scan_bench" "$PROFILE" 2>/dev/null | tail -1)
WINDOW_S=$(sed -n 's/^window scan: \([0-9.]*\) s.*/\1/p' <<<"$WINDOW")
WINDOW_PAUSE=$(sed -n 's/.*event loop: \([0-9.]*\) ms/\1/p' <<<"$WINDOW")

python3 - "$JSON" "$PEAK_KB" "$WALKED" "$ROWS" "$WINDOW_S" "$WINDOW_PAUSE" "$BASELINE" <<'PY'
import json, sys
res = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
med = {k: v["median"] for k, v in res.items()}
peak_kb, walked, rows = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
window, pause = float(sys.argv[5] or 0), float(sys.argv[6] or 0)
print("\nwall time: median, fastest run; CPU (user + system) of the mean run")
baseline = sys.argv[7] if len(sys.argv) > 7 else ""
for k in ("scan", "scan-baseline", "rsync-to-target", "rsync-to-source", "find"):
    if k not in res:
        continue
    cpu = res[k]["user"] + res[k]["system"]
    print(f"  {k:16} {med[k]:7.3f} s  {res[k]['min']:7.3f} s   {cpu:.3f} s CPU")
rsync = min(med["rsync-to-target"], med["rsync-to-source"])
ok = lambda good: "ok" if good else "MISSED"
print(f"\nscan / rsync -an one way (faster way)  {med['scan'] / rsync:5.2f}   goal <= 1.00  {ok(med['scan'] <= rsync)}")
print(f"scan / find of both trees              {med['scan'] / med['find']:5.2f}   goal <= 1.50  {ok(med['scan'] <= 1.5 * med['find'])}")
if "scan-baseline" in med:
    r = med["scan"] / med["scan-baseline"]
    print(f"scan / scan at {baseline:22} {r:5.2f}   goal <= 1.05  {ok(r <= 1.05)}")
per_file = peak_kb * 1024 / walked
print(f"peak memory {peak_kb / 1024:.1f} MiB = {per_file:.0f} bytes per file walked   goal <= 400  {ok(per_file <= 400)}")
print(f"result lines {rows - 1} + panel line")
if window:
    print(f"window Scan {window:.3f} s = {window / med['scan']:.2f} x the ketrano-cli scan   goal <= 1.50  {ok(window <= 1.5 * med['scan'])}")
    print(f"window: longest pause of the event loop {pause:.1f} ms   goal <= ~100  {ok(pause <= 100)}")
PY

echo
echo "== Pairing, two sides none matching (goal: 1,000,000 rows a side under 2 s)"
"$BUILD/bench/pairing_bench" --benchmark_format=console 2>/dev/null | grep -E '^(Benchmark|compare)'
