#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# bench/large_profile.sh [ENTRIES] [CLI] [BASELINE_CLI]
#
# A profile of ENTRIES entries (default 5,000), each a pair of small folders: the first
# `ketrano-cli sync` remembers the disk of every root, the second one reads what it remembered.
# Prints the seconds of both runs, and with a baseline (an earlier ketrano-cli) the same for it
# and the ratio of the second runs. The settings and state are temporary folders.
set -euo pipefail

ENTRIES=${1:-5000}
CLI=${2:-$(dirname "$0")/../build-test/src/ketrano-cli}
BASE=${3:-}
WORK=$(mktemp -d /dev/shm/ketrano-bench-profile-XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME=$WORK/config XDG_STATE_HOME=$WORK/state

# Records of four 300-byte fields padded with blanks: Source, Target, Include, Exclude.
python3 - "$WORK" "$ENTRIES" <<'PY'
import os, sys
work, entries = sys.argv[1], int(sys.argv[2])
with open(os.path.join(work, "big.prf"), "wb") as prf:
    for i in range(entries):
        src, dst = "%s/s/%05d" % (work, i), "%s/t/%05d" % (work, i)
        os.makedirs(src); os.makedirs(dst)
        open(os.path.join(src, "f.txt"), "w").write("x")
        for field in (src, dst, "*", ""):
            prf.write(field.encode().ljust(300, b" "))
PY

seconds() { # CLI: the seconds of one quiet sync
  local start end
  start=$(date +%s.%N)
  "$1" sync --quiet "$WORK/big.prf" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

run() { # CLI: first and second run from a fresh state
  rm -rf "$XDG_STATE_HOME" "$WORK"/t/*/f.txt
  local first second
  first=$(seconds "$1")
  second=$(seconds "$1")
  echo "$first $second"
}

read -r first second < <(run "$CLI")
echo "this build:  first run ${first}s, second run ${second}s ($ENTRIES entries)"
if [ -n "$BASE" ]; then
  read -r bfirst bsecond < <(run "$BASE")
  echo "baseline:    first run ${bfirst}s, second run ${bsecond}s"
  echo "second run, baseline / this build: $(echo "scale=1; $bsecond / $second" | bc)"
fi
