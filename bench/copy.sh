#!/usr/bin/env bash
# bench/copy.sh [RUNS]
#
# Times `ketrano-cli sync` into an empty target against `cp -a` and `rsync -a --whole-file`
# of the same data, warm cache, median of RUNS runs (default 5), in three shapes: one file of
# 1 GiB, 10,000 files of 100 KiB, 100,000 files of 1 KiB. Our time includes the scan of both
# sides. Each run starts from an empty target after `sync`, so write-back of the run before
# does not count against the next one. Then, on 100,000 files, a second `ketrano-cli sync`
# right after the first (nothing left to copy) against `ketrano-cli scan` alone.
#
# Data goes to $KETRANO_BENCH_DATA (default /tmp/ketrano-bench)/copy and is kept between
# runs; the Release build to $KETRANO_BENCH_BUILD (default /tmp/ketrano-bench-build-copy).
# The settings store is a temporary folder: the user's settings are not touched.
set -euo pipefail

RUNS=${1:-5}
REPO=$(cd "$(dirname "$0")/.." && pwd)
DATA=${KETRANO_BENCH_DATA:-/tmp/ketrano-bench}/copy
BUILD=${KETRANO_BENCH_BUILD:-/tmp/ketrano-bench-build-copy}
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
OUT=$DATA/out
trap 'rm -rf "$XDG_CONFIG_HOME" "$OUT"' EXIT

echo "== Release build in $BUILD"
cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target ketrano-cli >/dev/null
CLI=$BUILD/src/ketrano-cli

# make_shape NAME FILES BYTES: FILES files of BYTES random bytes, 1,000 to a folder.
make_shape() {
  local dir=$DATA/$1/source
  [ -f "$DATA/$1/done" ] && return
  echo "== Building $1: $2 files of $3 bytes"
  rm -rf "$DATA/$1"
  mkdir -p "$dir"
  python3 - "$dir" "$2" "$3" <<'PY'
import os, sys
root, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
block = os.urandom(min(size, 1 << 20))
for i in range(files):
    folder = os.path.join(root, "d%03d" % (i // 1000))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file %06d.dat" % i), "wb") as f:
        left = size
        while left > 0:
            f.write(block[: min(left, len(block))])
            left -= len(block)
    os.utime(os.path.join(folder, "file %06d.dat" % i), (1_600_000_000 + i, 1_600_000_000 + i))
PY
  touch "$DATA/$1/done"
}

# A profile of one entry: source, target, include "*" (four 300-byte fields).
make_profile() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
field = lambda s: s.encode() + b" " * (300 - len(s.encode()))
open(sys.argv[1], "wb").write(field(sys.argv[2]) + field(sys.argv[3]) + field("*") + field(""))
PY
}

# seconds COMMAND...: wall seconds of one run.
seconds() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null
  t1=$(date +%s%N)
  echo "$(( (t1 - t0) / 1000 ))" | awk '{printf "%.3f", $1 / 1e6}'
}

# median NUMBER...
median() {
  printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'
}

# fresh_seconds COMMAND...: one run into an empty $OUT/target, after the dirty data (and, on
# a file system mounted with discard, the discards of the files just deleted) went to disk.
fresh_seconds() {
  rm -rf "$OUT" && mkdir -p "$OUT/target" && sync
  seconds "$@"
}

make_shape one-1GiB 1 $((1 << 30))
make_shape 10k-100KiB 10000 $((100 << 10))
make_shape 100k-1KiB 100000 1024

echo "== $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg); median of $RUNS runs"
printf '\n%-12s %10s %10s %10s   %-14s %-14s\n' shape ketrano "cp -a" rsync "cp/ketrano" "rsync/ketrano"
for shape in one-1GiB 10k-100KiB 100k-1KiB; do
  SRC=$DATA/$shape/source
  PRF=$DATA/$shape.prf
  make_profile "$PRF" "$SRC" "$OUT/target"
  # The three take turns in each round, so a drift of the machine does not favour one.
  K=() C=() R=()
  for _ in $(seq "$RUNS"); do
    K+=("$(fresh_seconds "$CLI" sync "$PRF" --tsv --source-to-target on --target-to-source on)")
    C+=("$(fresh_seconds cp -a "$SRC/." "$OUT/target/")")
    R+=("$(fresh_seconds rsync -a --whole-file "$SRC/" "$OUT/target/")")
  done
  k=$(median "${K[@]}") c=$(median "${C[@]}") r=$(median "${R[@]}")
  python3 -c "
k, c, r = $k, $c, $r
ok = lambda g: 'ok' if g else 'MISSED'
print(f'%-12s %9.3fs %9.3fs %9.3fs   %5.2f %-8s %5.2f %s' % ('$shape', k, c, r, c / k, ok(c / k >= 0.9), r / k, ok(r / k > 1)))"
  echo "    runs: ketrano ${K[*]} | cp ${C[*]} | rsync ${R[*]}"
done
echo "(cp/ketrano is our share of cp -a throughput, goal >= 0.90; rsync/ketrano goal > 1.00)"

echo
echo "== Second sync of 100,000 files (nothing to copy) against a scan alone"
SRC=$DATA/100k-1KiB/source
PRF=$DATA/100k-1KiB.prf
rm -rf "$OUT" && mkdir -p "$OUT/target"
"$CLI" sync "$PRF" --tsv --source-to-target on --target-to-source on >/dev/null
LEFT=$("$CLI" sync "$PRF" --tsv --source-to-target on --target-to-source on | grep -c -v '^#' || true)
S2=() SC=()
for _ in $(seq "$RUNS"); do
  S2+=("$(seconds "$CLI" sync "$PRF" --tsv --source-to-target on --target-to-source on)")
  SC+=("$(seconds "$CLI" scan "$PRF" --tsv)")
done
s2=$(median "${S2[@]}") sc=$(median "${SC[@]}")
python3 -c "
s2, sc = $s2, $sc
print(f'rows left after the first sync: $LEFT')
print(f'second sync {s2:.3f} s, scan alone {sc:.3f} s, ratio {s2 / sc:.2f}   goal <= 1.00 (noise aside)  ' + ('ok' if s2 <= sc * 1.05 else 'MISSED'))"
