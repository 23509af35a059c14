#!/bin/bash
# ketrano-cli profile show / add against real files. Usage: cli_profile_test.sh PATH/TO/ketrano-cli
set -u
cli=$(realpath "$1") work=$(mktemp -d) failures=0
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect NAME STATUS STDOUT STDERR-PART ARGS...: exit status, exact output, complaint ("" = none).
expect() {
    local name=$1 status=$2 out=$3 err=$4 got got_status=0
    shift 4
    got=$("$cli" "$@" 2>stderr) || got_status=$?
    [ "$got_status" = "$status" ] && [ "$got" = "$out" ] || fail "$name: exit $got_status, stdout '$got'"
    if [ -z "$err" ]; then [ ! -s stderr ] || fail "$name: stderr $(cat stderr)"
    else grep -qF -- "$err" stderr || fail "$name: stderr '$(cat stderr)' lacks '$err'"; fi
}
pad() { printf '%-300s' "$1"; }

expect "add creates" 0 "" "" profile add p.prf --source /src/a --target "/mnt/b c"
first="$(pad /src/a)$(pad '/mnt/b c')$(pad '*')$(pad '')" # the defaults: Include *, no Exclude
[ "$(cat p.prf)" = "$first" ] || fail "first record"
expect "add appends" 0 "" "" profile add p.prf --include=doc,xls --exclude " tmp " --source "  /s2" --target /t2
[ "$(stat -c %s p.prf)" = 2400 ] && [ "$(head -c 1200 p.prf)" = "$first" ] || fail "second record"
expect "show" 0 $'/src/a\t/mnt/b c\t*\t\n/s2\t/t2\tdoc,xls\ttmp' "" profile show p.prf
: >empty.prf
expect "show empty" 0 "" "" profile show empty.prf
{ pad $'C:\\Daten\\Caf\xe9'; pad /t; pad '*'; pad ''; printf 'tail'; } >win.prf # Windows-1252
expect "show 1252" 0 $'C:\\\\Daten\\\\Café\t/t\t*\t' "" profile show win.prf

# Refusals: exit 2, a message, nothing created or changed.
cp p.prf ref.prf
mkdir folder.prf
printf 'not a profile' >notes.txt
while IFS='|' read -r name err args; do
    eval "set -- $args"
    expect "$name" 2 "" "$err" "$@"
done <<'EOF2'
no command|expected "show" or "add"|profile list p.prf
show missing|missing.prf: no such file|profile show missing.prf
show folder|folder.prf: is a folder|profile show folder.prf
show no file|no profile file given|profile show
exclude star|Error in Excluded Extentions|profile add p.prf --source /a --target /b --exclude ' * '
blank source|Source folder is empty|profile add p.prf --source '   ' --target /b
no target|--target is required|profile add p.prf --source /a
no value|--target needs a value|profile add p.prf --source /a --target
unknown|unknown option "--bogus"|profile add p.prf --source /a --target /b --bogus x
too long|longer than 300 bytes|profile add p.prf --source /$(printf 'x%.0s' {1..300}) --target /b
not a profile|not a profile file|profile add notes.txt --source /a --target /b
no folder|cannot be written|profile add no/such/dir.prf --source /a --target /b
EOF2
cmp -s p.prf ref.prf && [ "$(cat notes.txt)" = "not a profile" ] || fail "a refused add changed a file"
[ ! -e missing.prf ] && [ ! -e no ] && [ -z "$(ls -A folder.prf)" ] || fail "a refusal created a file"
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
