#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# bench/scan.sh [FILES [disjoint]]
#
# Times a whole scan against its peers over the same pair of trees, warm cache: `ketrano-cli
# scan --tsv` (Release build), ref_walker (two threads, openat/getdents64/fstatat and a hash
# table: about the least a comparison of two trees can do), `rsync -an --itemize-changes` in
# both directions and `find` listing both trees with time and size. The tools run in rounds,
# one run of each per round in a rotating order, so a change in the machine's load touches all
# of them alike; it prints each tool's median and spread of wall time and its CPU time
# (user + system), the ratios against the peers of the same run, the peak memory per file
# walked, the pairing benchmark and the window's Scan of the same profile.
#
# FILES: files per side (default 200000, in about FILES/20 folders). "disjoint": the two trees
# have the same folders but no file name in common (every file is a "New File" row). Trees are
# kept between runs in $KETRANO_BENCH_DATA (default /tmp/ketrano-bench); the Release build goes
# to $KETRANO_BENCH_BUILD (default /tmp/ketrano-bench-build). KETRANO_BENCH_RUNS rounds
# (default 7). Needs rsync, GNU time and Google Benchmark (scripts/deps.sh with
# KETRANO_WITH_BENCH=1 installs them).
#
# KETRANO_BENCH_BASELINE=REV also builds ketrano-cli as it was at the git revision REV and
# times its scan in the same rounds, to show what a change costs (goal: within 5%). Put
# KETRANO_BENCH_DATA on a tmpfs (/dev/shm) to take the disk out of the figures.
# KETRANO_BENCH_QUICK=1 leaves out the pairing and window benchmarks.
set -euo pipefail

FILES=${1:-200000}
SHAPE=${2:-}
RUNS=${KETRANO_BENCH_RUNS:-7}
REPO=$(cd "$(dirname "$0")/.." && pwd)
DATA=${KETRANO_BENCH_DATA:-/tmp/ketrano-bench}/scan-$FILES${SHAPE:+-$SHAPE}
BUILD=${KETRANO_BENCH_BUILD:-/tmp/ketrano-bench-build}
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== Release build in $BUILD"
cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_BUILD_BENCH=ON "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD" --target ketrano-cli ref_walker pairing_bench window_scan_bench >/dev/null
CLI=$BUILD/src/ketrano-cli
BASELINE=${KETRANO_BENCH_BASELINE:-}
if [ -n "$BASELINE" ]; then
  BASE_SRC=$BUILD-baseline-src
  echo "== Release build of $BASELINE in $BUILD-baseline"
  rm -rf "$BASE_SRC" && mkdir -p "$BASE_SRC"
  git -C "$REPO" archive "$BASELINE" | tar -x -C "$BASE_SRC"
  cmake -S "$BASE_SRC" -B "$BUILD-baseline" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKETRANO_BUILD_TESTS=OFF "${LAUNCHER[@]}" >/dev/null
  cmake --build "$BUILD-baseline" --target ketrano-cli >/dev/null
  BASE_CLI=$BUILD-baseline/src/ketrano-cli
fi

if [ ! -f "$DATA/done" ]; then
  echo "== Building two trees of $FILES files each in $DATA"
  rm -rf "$DATA"
  mkdir -p "$DATA"
  python3 "$REPO/bench/make_trees.py" "$DATA" "$FILES" $SHAPE
  touch "$DATA/done"
fi
SRC=$DATA/source
DST=$DATA/target
PROFILE=$DATA/bench.prf
EMPTY=$DATA/empty.prf
# One profile record: four 300-byte fields, space padded (Source, Target, Include, Exclude).
python3 - "$PROFILE" "$SRC" "$DST" <<'PY'
import sys
field = lambda s: s.encode() + b" " * (300 - len(s.encode()))
open(sys.argv[1], "wb").write(field(sys.argv[2]) + field(sys.argv[3]) + field("*") + field(""))
PY
: >"$EMPTY" # a profile without entries: what the program takes before it walks anything
# The entry was synchronized just now, so the scan checks every destination it would replace
# for a change on both sides (the dearest case: one more stat per "OverWrite" row), marking none.
export XDG_STATE_HOME XDG_CONFIG_HOME
XDG_STATE_HOME=$(mktemp -d)
XDG_CONFIG_HOME=$XDG_STATE_HOME/config
mkdir -p "$XDG_STATE_HOME/ketrano"
now=$(date +%s)
printf '%s\t%s\t%s\t%s\n' "$SRC" "$DST" "$now" "$now" >"$XDG_STATE_HOME/ketrano/synced"
trap 'rm -rf "$XDG_STATE_HOME"' EXIT
WALKED=$(find "$SRC" "$DST" -type f | wc -l)
echo "== $WALKED files in both trees${SHAPE:+ ($SHAPE)}; $(nproc) cores; load before $(cut -d' ' -f1-3 /proc/loadavg)"

# name<TAB>command lines for the rounds.
TOOLS=$(mktemp)
trap 'rm -rf "$XDG_STATE_HOME" "$TOOLS"' EXIT
{
  printf 'scan\t%s scan %s --tsv\n' "$CLI" "$PROFILE"
  [ -n "$BASELINE" ] && printf 'scan-baseline\t%s scan %s --tsv\n' "$BASE_CLI" "$PROFILE"
  printf 'walker\t%s %s %s\n' "$BUILD/bench/ref_walker" "$SRC" "$DST"
  printf 'rsync-to-target\trsync -a --dry-run --itemize-changes %s/ %s/\n' "$SRC" "$DST"
  printf 'rsync-to-source\trsync -a --dry-run --itemize-changes %s/ %s/\n' "$DST" "$SRC"
  printf 'find\tfind %s %s -printf %%p\\t%%T@\\t%%s\\n\n' "$SRC" "$DST"
} >"$TOOLS"

python3 - "$TOOLS" "$RUNS" "$WALKED" "$CLI" "$PROFILE" "$EMPTY" "$BASELINE" <<'PY'
import os, shlex, statistics, subprocess, sys, time

tools_file, runs, walked, cli, profile, empty, baseline = sys.argv[1:8]
runs, walked = int(runs), int(walked)
tools = [l.rstrip("\n").split("\t", 1) for l in open(tools_file) if l.strip()]
names = [n for n, _ in tools]
wall = {n: [] for n in names}
cpu = {n: [] for n in names}
loads = []

def run(cmd):
    """Wall time and CPU time (user + system) of one run, output thrown away."""
    start = time.perf_counter()
    p = subprocess.Popen(shlex.split(cmd), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(p.pid, 0)
    if status != 0 and not cmd.startswith("rsync"):  # rsync -n tells differences by its status
        sys.exit(f"failed ({status}): {cmd}")
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime

for _, cmd in tools:  # one warm-up run each: the trees in the cache
    run(cmd)
for r in range(runs):
    order = tools[r % len(tools):] + tools[:r % len(tools)]
    for name, cmd in order:
        w, c = run(cmd)
        wall[name].append(w)
        cpu[name].append(c)
    loads.append(os.getloadavg()[0])

med = {n: statistics.median(wall[n]) for n in names}
print(f"\n{runs} rounds, each tool once a round in a rotating order; "
      f"1-minute load during the rounds {min(loads):.2f}..{max(loads):.2f}")
print("wall time: median, spread (fastest..slowest); CPU time (user + system): median")
for n in names:
    print(f"  {n:16} {med[n]:7.3f} s  ({min(wall[n]):.3f}..{max(wall[n]):.3f})"
          f"   CPU {statistics.median(cpu[n]):7.3f} s")

def peak_kb(prf):
    out = subprocess.run(["/usr/bin/time", "-f", "%M", cli, "scan", prf, "--tsv"],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True).stderr
    return int(out.strip().splitlines()[-1])

ok = lambda good: "ok" if good else "MISSED"
rsync = min(med["rsync-to-target"], med["rsync-to-source"])
print()
def ratio(label, other, goal):
    r = med["scan"] / other
    print(f"scan / {label:34} {r:5.2f}   goal <= {goal:.2f}  {ok(r <= goal)}")
ratio("the walker (two threads)", med["walker"], 1.10)
ratio("rsync -an one way (faster way)", rsync, 1.00)
ratio("find of both trees", med["find"], 1.50)
if "scan-baseline" in med:
    ratio(f"scan at {baseline}", med["scan-baseline"], 1.05)
peaks = [peak_kb(profile) for _ in range(3)]
base = min(peak_kb(empty) for _ in range(3))
peak = statistics.median(peaks)
per_file = (peak - base) * 1024 / walked
print(f"peak memory {peak / 1024:.1f} MiB, {base / 1024:.1f} MiB of it with no entry: "
      f"{per_file:.0f} bytes per file walked   goal <= 100  {ok(per_file <= 100)}")
rows = subprocess.run([cli, "scan", profile, "--tsv"], capture_output=True).stdout.count(b"\n")
print(f"result lines {rows - 1} + panel line")
PY

[ -n "${KETRANO_BENCH_QUICK:-}" ] && exit 0
WINDOW=$("$BUILD/bench/window_scan_bench" "$PROFILE" 2>/dev/null | tail -1)
echo "window: $WINDOW"
echo
echo "== Pairing, two sides none matching (goal: 1,000,000 rows a side under 2 s)"
"$BUILD/bench/pairing_bench" --benchmark_format=console 2>/dev/null | grep -E '^(Benchmark|compare)'
