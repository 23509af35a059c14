#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# ketrano-cli's command line, profile show / add and log, against real files.
# Usage: cli_commands_test.sh PATH/TO/ketrano-cli
set -u
cli=$(realpath "$1") work=$(mktemp -d) failures=0
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect NAME STATUS STDOUT STDERR-PART ARGS...: exit status, exact output, complaint ("" = none).
expect() {
    local name=$1 status=$2 out=$3 err=$4 got got_status=0
    shift 4
    got=$("$cli" "$@" 2>"$work/stderr") || got_status=$?
    [ "$got_status" = "$status" ] && [ "$got" = "$out" ] || fail "$name: exit $got_status, stdout '$got'"
    if [ -z "$err" ]; then [ ! -s "$work/stderr" ] || fail "$name: stderr $(cat "$work/stderr")"
    else grep -qF -- "$err" "$work/stderr" || fail "$name: stderr '$(cat "$work/stderr")' lacks '$err'"; fi
}
pad() { printf '%-300s' "$1"; }

# Every way of asking for help prints that command's usage on stdout and exits with 0.
while IFS='|' read -r usage args; do
    eval "set -- $args"
    got=$("$cli" "$@" 2>stderr) || fail "$args: exit $?"
    [[ $(head -1 <<<"$got") == "Usage: ketrano-cli $usage"* ]] && [ ! -s stderr ] ||
        fail "$args: '$(head -1 <<<"$got")' $(cat stderr)"
done <<'END'
COMMAND|--help
COMMAND|help
profile show|profile --help
profile add|help profile add
profile add|profile add -h --source
scan|help scan
sync|sync p.prf --bogus --help
log|log --help
END

expect "add creates" 0 "" "" profile add p.prf --source /src/a --target "/mnt/b c"
first="$(pad /src/a)$(pad '/mnt/b c')$(pad '*')$(pad '')" # the defaults: Include *, no Exclude
[ "$(cat p.prf)" = "$first" ] || fail "first record"
chmod 640 p.prf
# Both option forms; one option twice with the same value is no contradiction.
expect "add appends" 0 "" "" profile add p.prf --include=doc,xls --exclude " tmp " --source "  /s2" --target /t2 --target=/t2
[ "$(stat -c %s p.prf)" = 2400 ] && [ "$(head -c 1200 p.prf)" = "$first" ] || fail "second record"
[ "$(stat -c %a p.prf)" = 640 ] || fail "permissions not kept: $(stat -c %a p.prf)"
expect "show" 0 $'/src/a\t/mnt/b c\t*\t\n/s2\t/t2\tdoc,xls\ttmp' "" profile show p.prf
: >empty.prf
expect "show empty" 0 "" "" profile show empty.prf
{ pad $'C:\\Daten\\Caf\xe9'; pad /t; pad '*'; pad ''; printf 'tail'; } >win.prf # Windows-1252
expect "show 1252" 2 $'C:\\\\Daten\\\\Café\t/t\t*\t' \
    "damaged profile: record 2 of win.prf: the file ends in a partial record of 4 bytes" \
    profile show win.prf
{ pad $'/a\tb\x01\x1b[2J'; pad $'/c\nd'; pad '*'; pad ''; } >ctl.prf
expect "show escapes" 2 '/a\tb\x01\x1b[2J	/c\nd	*	' \
    "ketrano-cli: profile show: damaged profile: record 1 of ctl.prf: its Source holds a control character" \
    profile show ctl.prf
expect "-- ends options" 0 "" "" profile add --source /a --target /b -- --odd.prf
[ "$(stat -c %s -- --odd.prf)" = 1200 ] || fail "-- ends options: no --odd.prf"
mkdir sub
(cd sub && expect "relative folders" 0 "Source stored as $work/sub/docs
Target stored as $work/out" "" profile add ../rel.prf --source docs --target ' ../out')
expect "stored absolute" 0 "$work/sub/docs	$work/out	*	" "" profile show rel.prf

# Refusals: exit 2, one line saying why, nothing created or changed.
cp p.prf ref.prf
cp p.prf ro.prf && chmod 444 ro.prf
mkdir folder.prf
printf 'not a profile' >notes.txt
while IFS='|' read -r name err args; do
    eval "set -- $args"
    expect "$name" 2 "" "$err" "$@"
    [ "$(wc -l <stderr)" = 1 ] || fail "$name: more than one line"
done <<'END'
no command|expected "show" or "add"|profile list p.prf
unknown command|unknown command "nope"|nope
help unknown|no command "nope"|help nope
show missing|missing.prf: no such file|profile show missing.prf
show folder|folder.prf: is a folder|profile show folder.prf
show no file|no profile file given|profile show
scan missing|profile file "missing.prf" does not exist|scan missing.prf
scan folder|cannot read profile file "folder.prf": it is a folder|scan --tsv folder.prf
extra argument|unexpected argument "q.prf": more than one profile file given|sync p.prf q.prf
no profile|no profile file given; usage: ketrano-cli scan PROFILE|scan --tsv
exclude star|Error in Excluded Extentions|profile add p.prf --source /a --target /b --exclude ' * '
blank source|Source folder is empty|profile add p.prf --source '   ' --target /b
no target|--target is required|profile add p.prf --source /a
no value|option --target needs a value|profile add p.prf --source /a --target
value like an option|option --source needs a value|profile add p.prf --source --target /b
twice differently|option --target given twice ("/b" and "/c")|profile add p.prf --source /a --target /b --target=/c
unknown|unknown option "--bogus"|profile add p.prf --source /a --target /b --bogus x
unknown ones|unknown options "--bogus", "-x"|scan p.prf --bogus -x
flag with a value|option --tsv takes no value|scan p.prf --tsv=yes
tsv and json|--tsv, --json and --quiet exclude each other|sync p.prf --json --tsv
on or off|--source-to-target takes on or off|sync p.prf --source-to-target maybe
both off|both copy directions are off|sync p.prf --source-to-target off --target-to-source=off
too long|longer than 300 bytes|profile add p.prf --source /$(printf 'x%.0s' {1..300}) --target /b
not a profile|not a profile file|profile add notes.txt --source /a --target /b
read-only|ro.prf: cannot be written: the file is read-only|profile add ro.prf --source /a --target /b
no folder|cannot be written|profile add no/such/dir.prf --source /a --target /b
log count|-n takes a number of runs|log -n many
log argument|unexpected argument "x"|log x
END
cmp -s p.prf ref.prf && cmp -s ro.prf ref.prf && [ "$(cat notes.txt)" = "not a profile" ] ||
    fail "a refused add changed a file"
[ ! -e missing.prf ] && [ ! -e no ] && [ -z "$(ls -A folder.prf)" ] || fail "a refusal created a file"

# The run log: the sync that was refused for its directions is there; the last N whole lines,
# oldest first.
[[ $("$cli" log) =~ ^[-0-9]{10}T[:0-9]{8}Z$'\t'ketrano-cli$'\t'$work/p.prf$'\t'source-to-target=off\ target-to-source=off$'\t'files=0$'\t'kb=0$'\t'errors=0$'\t'status=2$ ]] ||
    fail "log line of the refused sync: $("$cli" log)"
mkdir -p state/ketrano && printf 'one\ntwo\nthree\nunfinished' >state/ketrano/runs.log
expect "log" 0 $'one\ntwo\nthree' "" log
expect "log -n 2" 0 $'two\nthree' "" log -n 2
expect "log -n0" 0 "" "" log -n0
expect "version" 0 "ketrano-cli (Ketrano Backup) 2.01
License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law." "" --version
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
