#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# bench/copy.sh [RUNS]
#
# Times `ketrano-cli sync` into an empty target against `cp -a` and `rsync -a --whole-file`
# of the same data, warm cache, median of RUNS runs (default 5), in three shapes: one file of
# 1 GiB, 10,000 files of 100 KiB, 100,000 files of 1 KiB. Our time includes the scan of both
# sides, and the flush of what was written that a synchronization does before it says it is
# done; the peers do not flush, so a column "cp+syncfs" shows cp -a followed by `sync -f` on the
# target, for the same safety. Each run starts from an empty target after `sync`, so
# write-back of the run before does not count against the next one. Then replacing 10,000
# files of 1 KiB whose target copies are older (each replaced file is flushed before it takes
# the old one's place), with the replaced files kept as versions and with --keep-versions 0. Then, on 100,000 files, a second `ketrano-cli sync` right after the
# first (nothing left to copy) against `ketrano-cli scan` alone.
#
# With KETRANO_BENCH_BASELINE set to another ketrano-cli (an earlier build), that one runs in
# the same rounds ("before" columns), so a change is measured against the same machine state;
# "before+syncfs" is that build followed by `sync -f`, for a build that did not flush.
# KETRANO_BENCH_DATA may name several folders, separated by blanks (a RAM file system and a
# disk: "/dev/shm/ketrano-bench /tmp/ketrano-bench"); each is measured in turn. Data is kept
# between runs in <folder>/copy; the Release build goes to $KETRANO_BENCH_BUILD (default
# /tmp/ketrano-bench-build-copy). The settings store is a temporary folder: the user's settings
# are not touched.
set -euo pipefail

RUNS=${1:-5}
# KETRANO_BENCH_PARTS picks what is measured: "empty" (the three shapes into an empty target),
# "replace" (replacing 10,000 files, with and without versions), "second" (the second sync).
PARTS=${KETRANO_BENCH_PARTS:-empty replace second}
# KETRANO_BENCH_SHAPES picks the shapes of "empty" (default all three), for more rounds of one.
SHAPES=${KETRANO_BENCH_SHAPES:-one-1GiB 10k-100KiB 100k-1KiB}
REPO=$(cd "$(dirname "$0")/.." && pwd)
PLACES=${KETRANO_BENCH_DATA:-/tmp/ketrano-bench}
BUILD=${KETRANO_BENCH_BUILD:-/tmp/ketrano-bench-build-copy}
BASE=${KETRANO_BENCH_BASELINE:-}
export XDG_CONFIG_HOME XDG_STATE_HOME
XDG_CONFIG_HOME=$(mktemp -d)
XDG_STATE_HOME=$(mktemp -d)
OUT=
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" ${OUT:+"$OUT"}' EXIT

echo "== Release build in $BUILD"
cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target ketrano-cli >/dev/null
CLI=$BUILD/src/ketrano-cli
[ -n "$BASE" ] && echo "== before: $BASE"

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
  warm_memory
  seconds "$@"
}

# On a RAM file system the time of a copy depends on whether its pages were in use a moment
# ago or must come anew from the machine (a virtual machine's balloon takes freed memory back
# after a few seconds, and giving it out again is slow). Writing and deleting as much as the
# copy will write, just before it, lets every tool start from the same state.
warm_memory() {
  [ "${WARM_BYTES:-0}" -gt 0 ] && [ "$(stat -f -c %T "$OUT")" = tmpfs ] || return 0
  head -c "$WARM_BYTES" /dev/zero >"$OUT/filler" && rm -f "$OUT/filler"
}

# stale_seconds COMMAND...: one run over a target that holds every file in an older version.
stale_seconds() {
  rm -rf "$OUT" && mkdir -p "$OUT/target" && cp -a "$SRC/." "$OUT/target/"
  find "$OUT/target" -type f -exec touch -d @1500000000 {} +
  sync
  seconds "$@"
}

cp_then_flush() {
  cp -a "$SRC/." "$OUT/target/" && sync -f "$OUT/target"
}

base_then_flush() {
  ketrano "$BASE" && sync -f "$OUT/target"
}

ratio() { python3 -c "print(f'{$1 / $2:5.2f}')"; }
# ok PEER OURS: whether ours took no longer than the peer (the goal on a RAM file system).
ok() { python3 -c "print('ok    ' if $2 <= $1 else 'MISSED')"; }

ketrano() { "$1" sync "$PRF" --tsv --source-to-target on --target-to-source on "${@:2}"; }

for place in $PLACES; do
  DATA=$place/copy
  OUT=$DATA/out
  mkdir -p "$DATA"
  echo
  echo "######## $DATA on $(stat -f -c %T "$DATA") ($(df -h --output=avail "$DATA" | tail -1 | tr -d ' ') free)"
  if [[ " $PARTS " == *" empty "* ]]; then
    make_shape one-1GiB 1 $((1 << 30))
    make_shape 10k-100KiB 10000 $((100 << 10))
  fi
  [[ " $PARTS " == *" empty "* || " $PARTS " == *" second "* ]] && make_shape 100k-1KiB 100000 1024
  [[ " $PARTS " == *" replace "* ]] && make_shape 10k-1KiB 10000 1024

  echo "== $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg); median of $RUNS runs"
  if [[ " $PARTS " == *" empty "* ]]; then
  printf '\n%-11s %8s %8s %8s %8s %8s %8s  %s\n' shape ketrano before +syncfs "cp -a" \
    cp+syncfs rsync "cp/ketrano cp+syncfs/ketrano rsync/ketrano ketrano/before ketrano/(before+syncfs)"
  for shape in $SHAPES; do
    SRC=$DATA/$shape/source
    PRF=$DATA/$shape.prf
    make_profile "$PRF" "$SRC" "$OUT/target"
    WARM_BYTES=$(( $(du -sk "$SRC" | cut -f1) * 1024 * 11 / 10 ))
    # The tools take turns in each round, so a drift of the machine does not favour one.
    K=() B=() S=() C=() F=() R=()
    for _ in $(seq "$RUNS"); do
      K+=("$(fresh_seconds ketrano "$CLI")")
      if [ -n "$BASE" ]; then
        B+=("$(fresh_seconds ketrano "$BASE")")
        S+=("$(fresh_seconds base_then_flush)")
      fi
      C+=("$(fresh_seconds cp -a "$SRC/." "$OUT/target/")")
      F+=("$(fresh_seconds cp_then_flush)")
      R+=("$(fresh_seconds rsync -a --whole-file "$SRC/" "$OUT/target/")")
    done
    k=$(median "${K[@]}") c=$(median "${C[@]}") f=$(median "${F[@]}") r=$(median "${R[@]}")
    b=${B[*]:+$(median "${B[@]}")} s=${S[*]:+$(median "${S[@]}")}
    printf '%-11s %7ss %8s %8s %7ss %7ss %7ss  %s %s      %s             %s         %s          %s\n' \
      "$shape" "$k" "${b:+${b}s}" "${s:+${s}s}" "$c" "$f" "$r" "$(ratio "$c" "$k")" \
      "$(ok "$c" "$k")" "$(ratio "$f" "$k")" \
      "$(ratio "$r" "$k")" "${b:+$(ratio "$k" "$b")}" "${s:+$(ratio "$k" "$s")}"
    echo "    runs: ketrano ${K[*]} | before ${B[*]:-} | before+syncfs ${S[*]:-} | cp ${C[*]}" \
      "| cp+syncfs ${F[*]} | rsync ${R[*]}"
  done
  echo "(cp/ketrano: goal >= 1.00 on a RAM file system, where nobody waits for a disk;"
  echo " ketrano/before: this build's time over the baseline's, goal <= 1.10 for copying into an"
  echo " empty target; on a disk this build's flush before \"Ready\" makes it wait for the write-back"
  echo " that the baseline leaves to the system: ketrano/(before+syncfs) compares equal safety)"
  fi

  if [[ " $PARTS " == *" replace "* ]]; then
  echo
  echo "== Replacing 10,000 files of 1 KiB (the target holds older versions of all of them)"
  SRC=$DATA/10k-1KiB/source
  PRF=$DATA/10k-1KiB.prf
  make_profile "$PRF" "$SRC" "$OUT/target"
  K=() K0=() B=() S=() R=()
  for _ in $(seq "$RUNS"); do
    K+=("$(stale_seconds ketrano "$CLI")")
    K0+=("$(stale_seconds ketrano "$CLI" --keep-versions 0)")
    if [ -n "$BASE" ]; then
      B+=("$(stale_seconds ketrano "$BASE")")
      S+=("$(stale_seconds base_then_flush)")
    fi
    R+=("$(stale_seconds rsync -a --whole-file "$SRC/" "$OUT/target/")")
  done
  k=$(median "${K[@]}") k0=$(median "${K0[@]}") r=$(median "${R[@]}")
  b=${B[*]:+$(median "${B[@]}")} s=${S[*]:+$(median "${S[@]}")}
  echo "versions kept: ketrano ${k}s, with --keep-versions 0 ${k0}s, ratio $(ratio "$k" "$k0")   goal <= 1.10"
  echo "ketrano ${k}s${b:+, before ${b}s (ketrano/before $(ratio "$k" "$b")), before+syncfs ${s}s (ketrano/(before+syncfs) $(ratio "$k" "$s"))}, rsync ${r}s"
  echo "    runs: ketrano ${K[*]} | no versions ${K0[*]} | before ${B[*]:-} | before+syncfs ${S[*]:-} | rsync ${R[*]}"

  fi

  if [[ " $PARTS " == *" second "* ]]; then
  echo
  echo "== Second sync of 100,000 files (nothing to copy) against a scan alone"
  SRC=$DATA/100k-1KiB/source
  PRF=$DATA/100k-1KiB.prf
  make_profile "$PRF" "$SRC" "$OUT/target"
  rm -rf "$OUT" && mkdir -p "$OUT/target"
  ketrano "$CLI" >/dev/null
  LEFT=$(ketrano "$CLI" | grep -c -v '^#' || true)
  S2=() SC=()
  for _ in $(seq "$RUNS"); do
    S2+=("$(seconds ketrano "$CLI")")
    SC+=("$(seconds "$CLI" scan "$PRF" --tsv)")
  done
  s2=$(median "${S2[@]}") sc=$(median "${SC[@]}")
  python3 -c "
s2, sc = $s2, $sc
print(f'rows left after the first sync: $LEFT')
print(f'second sync {s2:.3f} s, scan alone {sc:.3f} s, ratio {s2 / sc:.2f}   goal <= 1.00 (noise aside)  ' + ('ok' if s2 <= sc * 1.05 else 'MISSED'))"
  fi
  rm -rf "$OUT"
done
