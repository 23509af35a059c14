#!/bin/bash
# ketrano-cli profile show / add against real files. Usage: cli_profile_test.sh PATH/TO/ketrano-cli
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect NAME STATUS STDOUT STDERR-PATTERN -- ARGS...: runs ketrano-cli ARGS and checks its
# exit status, its exact output and that its complaints match the pattern ("" = none).
expect() {
    local name=$1 status=$2 out=$3 err=$4
    shift 5
    local got_out got_err got_status=0
    got_out=$("$cli" "$@" 2>"$work/stderr") || got_status=$?
    got_err=$(cat "$work/stderr")
    [ "$got_status" -eq "$status" ] || fail "$name: exit $got_status, want $status"
    [ "$got_out" = "$out" ] || fail "$name: stdout '$got_out', want '$out'"
    if [ -z "$err" ]; then
        [ -z "$got_err" ] || fail "$name: unexpected stderr '$got_err'"
    else
        [[ "$got_err" == *$err* ]] || fail "$name: stderr '$got_err' lacks '$err'"
    fi
}
size() { stat -c %s "$1" 2>/dev/null || echo missing; }
# The 300-byte field at byte OFFSET of FILE, padding included.
field() { dd if="$1" bs=1 skip="$2" count=300 status=none; }
pad() { printf '%-300s' "$1"; }

# --- add: creates the file, appends records, applies the defaults -----------------------------
expect "add creates" 0 "" "" -- profile add p.prf --source /src/a --target "/mnt/b c"
[ "$(size p.prf)" = 1200 ] || fail "first record: size $(size p.prf)"
[ "$(field p.prf 0)" = "$(pad /src/a)" ] || fail "Source field not padded to 300 bytes"
[ "$(field p.prf 600)" = "$(pad '*')" ] || fail "Include default is not *"
[ "$(field p.prf 900)" = "$(pad '')" ] || fail "Exclude default is not empty"
expect "add appends" 0 "" "" -- profile add p.prf --include=doc,xls --exclude " tmp " --source "  /s2" --target /t2
[ "$(size p.prf)" = 2400 ] || fail "second record: size $(size p.prf)"
expect "show" 0 $'/src/a\t/mnt/b c\t*\t\n/s2\t/t2\tdoc,xls\ttmp' "" -- profile show p.prf
: >empty.prf
expect "show empty" 0 "" "" -- profile show empty.prf

# A profile written elsewhere: Windows-1252 bytes and a partial trailing record.
{ pad $'C:\\Daten\\Caf\xe9'; pad /t; pad '*'; pad ''; printf 'tail'; } >win.prf
expect "show 1252" 0 $'C:\\Daten\\Café\t/t\t*\t' "" -- profile show win.prf

# Records already in the file are kept byte for byte.
cp p.prf before.prf
expect "add keeps" 0 "" "" -- profile add p.prf --source /s3 --target /t3
cmp -s <(head -c 2400 p.prf) before.prf || fail "existing records changed"

# --- refusals: exit 2, a message, nothing created or changed -----------------------------------
cp p.prf ref.prf
mkdir folder.prf
: >locked.prf && chmod 000 locked.prf
printf 'not a profile' >notes.txt
ln -s nowhere.prf dangling.prf
while IFS='|' read -r name pattern args; do
    eval "set -- $args"
    expect "$name" 2 "" "$pattern" -- "$@"
done <<'EOF'
profile alone|expected "show" or "add"|profile
profile other|expected "show" or "add"|profile list p.prf
show missing|missing.prf: no such file|profile show missing.prf
show folder|folder.prf: is a folder|profile show folder.prf
show no file|no profile FILE|profile show
show two files|unexpected argument|profile show p.prf p.prf
show option|unknown option|profile show p.prf --all
add exclude star|Error in Excluded Extentions|profile add p.prf --source /a --target /b --exclude '*'
add exclude blank star|Error in Excluded Extentions|profile add p.prf --source /a --target /b --exclude ' * '
add blank source|Source folder is empty|profile add p.prf --source '   ' --target /b
add empty target|Target folder is empty|profile add p.prf --source /a --target ''
add no source|--source is required|profile add p.prf --target /b
add no value|--target needs a value|profile add p.prf --source /a --target
add option as value|--source needs a value|profile add p.prf --source --target /b
add unknown|unknown option "--bogus"|profile add p.prf --source /a --target /b --bogus x
add twice|given twice|profile add p.prf --source /a --source /c --target /b
add no file|no profile FILE|profile add --source /a --target /b
add too long|longer than 300 bytes|profile add p.prf --source /$(printf 'x%.0s' {1..300}) --target /b
add to folder|folder.prf: is a folder|profile add folder.prf --source /a --target /b
add not a profile|not a profile file|profile add notes.txt --source /a --target /b
add dangling|broken symbolic link|profile add dangling.prf --source /a --target /b
add no folder|cannot be written|profile add no/such/dir.prf --source /a --target /b
EOF
cmp -s p.prf ref.prf || fail "a refused add changed p.prf"
[ "$(cat notes.txt)" = "not a profile" ] || fail "notes.txt was changed"
[ ! -e missing.prf ] || fail "show created missing.prf"
[ ! -e nowhere.prf ] || fail "add followed a dangling link"
[ ! -e no ] || fail "add created a folder"
[ "$(ls -A folder.prf)" = "" ] || fail "add wrote into a folder"

# An unreadable profile is neither shown nor clobbered (only testable without root's rights).
if [ ! -r locked.prf ]; then
    expect "show locked" 2 "" "locked.prf: cannot be read" -- profile show locked.prf
    expect "add locked" 2 "" "locked.prf: cannot be read" -- profile add locked.prf --source /a --target /b
    [ "$(size locked.prf)" = 0 ] || fail "add clobbered an unreadable profile"
fi

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
