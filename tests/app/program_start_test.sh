#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: program_start_test.sh PATH/TO/ketrano. The real program's start and end:
# "--help" and "--version" answer on standard output and exit 0 without a display, without
# settings and without a profile file named after the option; started without a display the
# window says so in one line and exits with 1. Ended by each termination signal, its close
# handler writes the settings.
set -u
ketrano=$(realpath "$1") work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export XDG_CONFIG_HOME="$work/config"
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { # OPTION WANTED-FIRST-LINE
    local out status=0
    out=$("$ketrano" "$1" 2>&1) || status=$?
    [ "$status" = 0 ] && [ "$(head -n1 <<<"$out")" = "$2" ] || fail "$1: exit $status, printed '$out'"
}
export QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY # a window could not open
check --help "Usage: ketrano [PROFILE]"
check --version "ketrano (Ketrano Backup) 2.01"
out=$("$ketrano" 2>&1); status=$?
[ "$status" = 1 ] && [ "$(wc -l <<<"$out")" = 1 ] && grep -q '^ketrano: no display' <<<"$out" ||
    fail "without a display: exit $status, printed '$out'"
"$ketrano" --version 2>&1 | grep -qx 'License GPL-3.0-or-later: .*' || fail "--version: no licence line"
left=$(find "$work" -mindepth 1)
[ -z "$left" ] || fail "left behind: $left"

# run SIGNAL SIGNO WANT [ARGS...]: WANT is the four values after the close, each ended by "|".
export QT_QPA_PLATFORM=offscreen
key="$XDG_CONFIG_HOME/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano"
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
    [ "$status" = 0 ] && [ "$got" = "$want" ] || fail "$sig: exit $status, stored '$got', want '$want'"
}
run TERM 15 "|0|0|0|" # first start: all toggles pressed
printf 1 >"$key/Show File Names"; printf 1 >"$key/Copy Target"; : >"$work/my profile.prf"
run INT 2 "$work/my profile.prf|1|0|1|" "$work/my" "profile.prf" # arguments joined by a blank
run HUP 1 "$work/my profile.prf|1|0|1|"
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
