#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: help_option_test.sh PATH/TO/ketrano. "--help" and "--version" answer on standard
# output and exit 0 without a display, without settings and without a profile file named after
# the option; started without a display the window says so in one line and exits with 1.
set -u
ketrano=$(realpath "$1") work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY # a window could not open
check() { # OPTION WANTED-FIRST-LINE
    local out status=0
    out=$("$ketrano" "$1" 2>&1) || status=$?
    [ "$status" = 0 ] && [ "$(head -n1 <<<"$out")" = "$2" ] ||
        { echo "FAIL $1: exit $status, printed '$out'"; failures=$((failures + 1)); }
}
check --help "Usage: ketrano [PROFILE]"
check --version "ketrano (Ketrano Backup) 2.01"
out=$("$ketrano" 2>&1); status=$?
[ "$status" = 1 ] && [ "$(wc -l <<<"$out")" = 1 ] && grep -q '^ketrano: no display' <<<"$out" ||
    { echo "FAIL without a display: exit $status, printed '$out'"; failures=$((failures + 1)); }
"$ketrano" --version 2>&1 | grep -qx 'License GPL-3.0-or-later: .*' ||
    { echo "FAIL --version: no licence line"; failures=$((failures + 1)); }
left=$(find "$work" -mindepth 1)
[ -z "$left" ] || { echo "FAIL: left behind: $left"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
