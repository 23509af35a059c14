#!/bin/bash
# Installs the build into a temporary prefix and checks that everything lands where the
# desktop and the program expect it. Usage: install_test.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
failures=0
for f in bin/ketrano bin/ketrano-cli share/ketrano/help/help.html \
    share/applications/ketrano.desktop share/icons/hicolor/scalable/apps/ketrano.svg; do
    [ -f "$prefix/$f" ] || { echo "FAIL: $f not installed"; failures=$((failures + 1)); }
done
for f in bin/ketrano bin/ketrano-cli; do
    [ -x "$prefix/$f" ] || { echo "FAIL: $f not executable"; failures=$((failures + 1)); }
done
# The launcher starts the program by name with the profile as one argument, and its icon exists.
desktop=$prefix/share/applications/ketrano.desktop
grep -qx 'Exec=ketrano %f' "$desktop" || { echo "FAIL: Exec line"; failures=$((failures + 1)); }
grep -qx 'Icon=ketrano' "$desktop" || { echo "FAIL: Icon line"; failures=$((failures + 1)); }
# Nothing of the tests is installed.
extra=$(find "$prefix" -type f | grep -v -e /bin/ketrano$ -e /bin/ketrano-cli$ -e /share/)
[ -z "$extra" ] || { echo "FAIL: also installed: $extra"; failures=$((failures + 1)); }
"$prefix/bin/ketrano-cli" --version | grep -q "2.01" || { echo "FAIL: installed ketrano-cli"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
