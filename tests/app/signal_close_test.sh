#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: signal_close_test.sh PATH/TO/ketrano. Ends the real program with each termination
# signal: its close handler must write the settings.
set -u
ketrano=$(realpath "$1") work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
key="$XDG_CONFIG_HOME/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano"

# run SIGNAL SIGNO WANT [ARGS...]: WANT is the four values after the close, each ended by "|".
run() {
    local sig=$1 signo=$2 want=$3 status=0 got mask i
    shift 3
    "$ketrano" "$@" >/dev/null 2>&1 &
    local pid=$!
    for i in $(seq 200); do # until the handler is installed (SigCgt), not the default action
        mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
        [ -n "$mask" ] && (((16#$mask >> (signo - 1)) & 1)) && break
        sleep 0.05
    done
    kill -s "$sig" "$pid"
    wait "$pid" || status=$?
    got=$(for v in 'Last Profile' 'Show File Names' 'Copy Source' 'Copy Target'; do
        cat "$key/$v" 2>/dev/null || printf '<missing>'; printf '|'; done)
    [ "$status" = 0 ] && [ "$got" = "$want" ] ||
        { echo "FAIL $sig: exit $status, stored '$got', want '$want'"; failures=$((failures + 1)); }
}

run TERM 15 "|0|0|0|" # first start: all toggles pressed
printf 1 >"$key/Show File Names"; printf 1 >"$key/Copy Target"; : >"$work/my profile.prf"
run INT 2 "$work/my profile.prf|1|0|1|" "$work/my" "profile.prf" # arguments joined by a blank
run HUP 1 "$work/my profile.prf|1|0|1|"
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
