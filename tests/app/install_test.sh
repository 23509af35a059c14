#!/bin/bash
# Installs the build into a temporary prefix and checks what lands where.
# Usage: install_test.sh CMAKE BUILD_DIR
set -u
prefix=$(mktemp -d) failures=0
trap 'rm -rf "$prefix"' EXIT
"$1" --install "$2" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for f in share/ketrano/help/help.html share/icons/hicolor/scalable/apps/ketrano.svg; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
done
[ -x "$prefix/bin/ketrano" ] && [ -x "$prefix/bin/ketrano-cli" ] || fail "programs not installed"
# The menu entry starts the program by name with the file as one argument.
desktop=$prefix/share/applications/ketrano.desktop
grep -qx 'Exec=ketrano %f' "$desktop" && grep -qx 'Icon=ketrano' "$desktop" || fail "$desktop"
extra=$(find "$prefix" -type f | grep -v -e '/bin/ketrano$' -e '/bin/ketrano-cli$' -e /share/)
[ -z "$extra" ] || fail "also installed: $extra" # nothing of the tests
"$prefix/bin/ketrano-cli" --version | grep -q "2.01" || fail "installed ketrano-cli does not run"
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
