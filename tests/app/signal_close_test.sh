#!/bin/bash
# Starts the real ketrano offscreen, ends it with a termination signal and checks that the
# close handler wrote the four settings. Usage: signal_close_test.sh PATH/TO/ketrano
set -u
ketrano=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
key="$XDG_CONFIG_HOME/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits until the process has its handler for the signal installed (SigCgt in /proc), so the
# signal is not delivered to the default action while the program is still starting.
wait_for_handler() {
    local pid=$1 signo=$2 i mask
    for i in $(seq 1 200); do
        mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || return 1
        [ -n "$mask" ] && (( (16#$mask >> (signo - 1)) & 1 )) && return 0
        sleep 0.05
    done
    return 1
}

value() { if [ -f "$key/$1" ]; then cat "$key/$1"; else echo "<missing>"; fi; }

# run SIGNAL SIGNO EXPECTED_LAST EXPECTED_TOGGLES [ARGS...]
run() {
    local sig=$1 signo=$2 last=$3 toggles=$4
    shift 4
    "$ketrano" "$@" >"$work/out" 2>&1 &
    local pid=$!
    wait_for_handler "$pid" "$signo" || fail "$sig: no handler installed"
    sleep 0.3 # let the event loop start
    kill -s "$sig" "$pid"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "$sig: exit status $status"
    [ "$(value 'Last Profile')" = "$last" ] || fail "$sig: Last Profile is '$(value 'Last Profile')', want '$last'"
    local got
    got="$(value 'Show File Names') $(value 'Copy Source') $(value 'Copy Target')"
    [ "$got" = "$toggles" ] || fail "$sig: toggles '$got', want '$toggles'"
}

# First start: no settings at all; all toggles pressed, stored as "0".
run TERM 15 "" "0 0 0"

# Restored toggles survive a close by signal; a profile on the command line becomes the last one.
printf 1 >"$key/Show File Names"
printf 1 >"$key/Copy Target"
: >"$work/my profile.prf"
run INT 2 "$work/my profile.prf" "1 0 1" "$work/my" "profile.prf"
run HUP 1 "$work/my profile.prf" "1 0 1"

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
