#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# ketrano-cli's command line, the profile commands, settings and log, against real files.
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
profile new|profile --help
profile add|help profile add
profile add|profile add -h --source
profile move|profile move p.prf --help
scan|help scan
sync|sync p.prf --bogus --help
settings|settings -h
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

# Edits, moves and removals, each checked by what profile show lists after it.
expect "new" 0 "" "" profile new e.prf
[ -f e.prf ] && [ ! -s e.prf ] || fail "profile new made no empty file"
for x in a b c; do "$cli" profile add e.prf --source /$x --target /t$x >/dev/null; done
{ pad $'/Caf\xe9'; pad /w; pad '*'; pad ''; } >>e.prf # written on Windows
chmod 640 e.prf
while IFS='|' read -r out args entries; do
    eval "set -- $args"
    expect "profile $args" 0 "$out" "" profile "$@"
    got=$("$cli" profile show e.prf | awk -F'\t' '{printf "%s%s>%s:%s:%s", (NR > 1 ? " " : ""), $1, $2, $3, $4}')
    [ "$got" = "$entries" ] || fail "profile $args: entries '$got'"
done <<END
|edit e.prf 2 --exclude tmp --include=doc,xls|/a>/ta:*: /b>/tb:doc,xls:tmp /c>/tc:*: /Café>/w:*:
|edit e.prf 4 --target /w2|/a>/ta:*: /b>/tb:doc,xls:tmp /c>/tc:*: /Café>/w2:*:
|move e.prf 4 1|/Café>/w2:*: /a>/ta:*: /b>/tb:doc,xls:tmp /c>/tc:*:
|move e.prf 2 4|/Café>/w2:*: /b>/tb:doc,xls:tmp /c>/tc:*: /a>/ta:*:
|move e.prf 3 3|/Café>/w2:*: /b>/tb:doc,xls:tmp /c>/tc:*: /a>/ta:*:
|remove e.prf 2|/Café>/w2:*: /c>/tc:*: /a>/ta:*:
Source stored as $work/x|edit e.prf 3 --source x --include ''|/Café>/w2:*: /c>/tc:*: $work/x>/ta::
|remove e.prf 3|/Café>/w2:*: /c>/tc:*:
END
# The fields and records not named keep their bytes, the file its permission bits.
cmp -s e.prf <(pad $'/Caf\xe9'; pad /w2; pad '*'; pad ''; pad /c; pad /tc; pad '*'; pad '') ||
    fail "edited profile: $(od -c e.prf | head -3)"
[ "$(stat -c %a e.prf)" = 640 ] || fail "edit did not keep the permissions: $(stat -c %a e.prf)"

# Refusals: exit 2, one line saying why, nothing created or changed.
cp p.prf ref.prf
cp p.prf ro.prf && chmod 444 ro.prf
mkdir folder.prf rodir && cp p.prf rodir/p.prf && chmod 555 rodir
cp ctl.prf ctl.ref && cp win.prf win.ref
printf 'not a profile' >notes.txt
while IFS='|' read -r name err args; do
    eval "set -- $args"
    expect "$name" 2 "" "$err" "$@"
    [ "$(wc -l <stderr)" = 1 ] || fail "$name: more than one line"
done <<'END'
no command|expected "new", "show", "add", "edit", "remove" or "move"|profile list p.prf
-v is not the version|unknown option "-v"; see ketrano-cli --help|-v
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
tsv and json|--tsv, --json and --quiet exclude each other|scan p.prf --json --tsv
verbose and json|--tsv, --json, --quiet and --verbose exclude each other|sync p.prf --json -v
on or off|--source-to-target takes on or off|sync p.prf --source-to-target maybe
both off|both copy directions are off|sync p.prf --source-to-target off --target-to-source=off
too long|longer than 300 bytes|profile add p.prf --source /$(printf 'x%.0s' {1..300}) --target /b
not a profile|not a profile file|profile add notes.txt --source /a --target /b
read-only|ro.prf: cannot be written: the file is read-only|profile add ro.prf --source /a --target /b
no folder|cannot be written|profile add no/such/dir.prf --source /a --target /b
log count|-n takes a number of runs|log -n many
new existing|p.prf: already exists|profile new p.prf
new read-only folder|rodir is read-only|profile new rodir/n.prf
edit read-only folder|rodir is read-only|profile edit rodir/p.prf 1 --include x
edit read-only|ro.prf: cannot be written: the file is read-only|profile edit ro.prf 1 --exclude x
move read-only|ro.prf: cannot be written: the file is read-only|profile move ro.prf 1 2
remove damaged|damaged profile: record 1 of ctl.prf: its Source holds a control character|profile remove ctl.prf 1
move partial|win.prf: not a profile file|profile move win.prf 1 1
edit missing|missing.prf: no such file|profile edit missing.prf 1 --source /a
edit out of range|there is no entry 3: the profile has 2 entries|profile edit p.prf 3 --source /a
remove zero|there is no entry 0|profile remove p.prf 0
remove none|there is no entry 1: the profile has no entries|profile remove empty.prf 1
not a number|"x" is not an entry number|profile edit p.prf x --source /a
move needs M|M is missing|profile move p.prf 1
nothing to change|nothing to change|profile edit p.prf 1
edit exclude star|Error in Excluded Extentions|profile edit p.prf 1 --exclude '*'
edit blank target|Target folder is empty|profile edit p.prf 1 --target ''
add not UTF-8|the Source value "/a�" is not valid UTF-8 text|profile add p.prf --source $'/a\xff' --target /b
edit not UTF-8|the Target value|profile edit p.prf 2 --target $'/b\xe9'
file name not UTF-8|is not valid UTF-8, so it would name another file|profile new $'n\xff.prf'
no such setting|no setting "nope"|settings nope
toggle value|copy-target takes on or off|settings copy-target 1
days too many|keep-versions takes a whole number of days from 0 to 36500|settings keep-versions 36501
days not a number|keep-versions takes a whole number|settings keep-versions ' 7'
setting extra|unexpected argument "x"|settings show-icons on x
log argument|unexpected argument "x"|log x
END
for f in p.prf ro.prf rodir/p.prf; do cmp -s $f ref.prf || fail "a refusal changed $f"; done
cmp -s ctl.prf ctl.ref && cmp -s win.prf win.ref && [ "$(cat notes.txt)" = "not a profile" ] ||
    fail "a refusal changed a damaged file"
[ ! -e missing.prf ] && [ ! -e no ] && [ -z "$(ls -A folder.prf)" ] && [ ! -e config ] &&
    [ "$(ls rodir)" = p.prf ] && [ -z "$(ls n*.prf 2>/dev/null)" ] || fail "a refusal created a file"

# The run log: the sync that was refused for its directions is there; the last N whole lines,
# oldest first.
[[ $("$cli" log) =~ ^[-0-9]{10}T[:0-9]{8}Z$'\t'ketrano-cli$'\t'$work/p.prf$'\t'source-to-target=off\ target-to-source=off$'\t'files=0$'\t'kb=0$'\t'errors=0$'\t'status=2$ ]] ||
    fail "log line of the refused sync: $("$cli" log)"
mkdir -p state/ketrano && printf 'one\ntwo\nthree\nunfinished' >state/ketrano/runs.log
expect "log" 0 $'one\ntwo\nthree' "" log
expect "log -n 2" 0 $'two\nthree' "" log -n 2
expect "log -n0" 0 "" "" log -n0
version="ketrano-cli (Ketrano Backup) 2.01
License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law."
expect "version" 0 "$version" "" --version
expect "-V" 0 "$version" "" -V
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
