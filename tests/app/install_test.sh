#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what lands where and that the files
# are valid; then, where dpkg-deb is there, builds the Debian package from the same build and
# checks its file list and dependencies. Usage: install_test.sh CMAKE CPACK BUILD_DIR
set -u
work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "SKIP: $*"; }
prefix=$work/prefix id=io.github.ketrano.Ketrano
"$1" --install "$3" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }

files="bin/ketrano
bin/ketrano-cli
lib/systemd/user/ketrano-sync@.service
lib/systemd/user/ketrano-sync@.timer
share/applications/$id.desktop
share/bash-completion/completions/ketrano-cli
share/fish/vendor_completions.d/ketrano-cli.fish
share/icons/hicolor/scalable/apps/ketrano.svg
share/ketrano/help/help.html
share/ketrano/help/screenshot.png
share/man/man1/ketrano-cli.1.gz
share/man/man1/ketrano.1.gz
share/metainfo/$id.metainfo.xml
share/zsh/vendor-completions/_ketrano-cli"
got=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
[ "$got" = "$files" ] || fail "installed files differ: $(diff <(echo "$files") <(echo "$got") | grep '^[<>]')"

# The menu entry starts the program by name with the file as one argument, and it, the
# AppStream data and the window's desktop file name carry one id.
desktop=$prefix/share/applications/$id.desktop metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -qx 'Exec=ketrano %f' "$desktop" && grep -qx 'Icon=ketrano' "$desktop" &&
    grep -q '^Keywords=.*backup' "$desktop" || fail "$desktop"
grep -q "<id>$id</id>" "$metainfo" &&
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" &&
    grep -q '<screenshot type="default">' "$metainfo" || fail "$metainfo"
strings -el "$prefix/bin/ketrano" | grep -qx "$id" || fail "the window's desktop file name is not $id"
# The service runs the installed ketrano-cli quietly on the profile named by the instance.
grep -qx "ExecStart=$prefix/bin/ketrano-cli sync --quiet %f" \
    "$prefix/lib/systemd/user/ketrano-sync@.service" || fail "ExecStart of the service"
grep -qx 'Persistent=true' "$prefix/lib/systemd/user/ketrano-sync@.timer" || fail "the timer"
"$prefix/bin/ketrano-cli" --version | grep -q "2.01" || fail "installed ketrano-cli does not run"

# Validators, where they are installed.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else skip "desktop-file-validate is not installed (desktop-file-utils)"; fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$work/as.txt" || fail "appstreamcli: $(cat "$work/as.txt")"
else skip "appstreamcli is not installed (appstream)"; fi
if command -v groff >/dev/null; then
    for page in "$prefix"/share/man/man1/*.gz; do
        warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$page: $warnings"
    done
else skip "groff is not installed: the man pages are not checked"; fi
if command -v systemd-analyze >/dev/null; then
    # A template is checked through an instance of it.
    units=$work/units && mkdir "$units"
    for kind in service timer; do
        cp "$prefix/lib/systemd/user/ketrano-sync@.$kind" "$units/ketrano-sync@home-me-Daily.prf.$kind"
    done
    systemd-analyze verify --man=no "$units"/*.service "$units"/*.timer >"$work/sa.txt" 2>&1 ||
        fail "systemd-analyze verify: $(cat "$work/sa.txt")"
else skip "systemd-analyze is not installed: the units are not checked"; fi

# The Debian package holds the same files below /usr.
if command -v dpkg-deb >/dev/null && [ -x "$2" ]; then
    (cd "$3" && "$2" -G DEB -B "$work/deb" >"$work/cpack.txt" 2>&1) || fail "cpack: $(tail -5 "$work/cpack.txt")"
    deb=$(ls "$work"/deb/ketrano_*.deb 2>/dev/null | head -1)
    if [ -n "$deb" ]; then
        got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | LC_ALL=C sort)
        [ "$got" = "$files" ] || fail "package files differ: $(diff <(echo "$files") <(echo "$got") | grep '^[<>]')"
        depends=$(dpkg-deb -f "$deb" Depends)
        for p in libqt6core6 libqt6widgets6 qt6-qpa-plugins libqt6svg6; do
            [[ $depends == *"$p"* ]] || fail "Depends lacks $p: $depends"
        done
        dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/systemd/user/ketrano-sync@.service |
            grep -qx 'ExecStart=/usr/bin/ketrano-cli sync --quiet %f' || fail "ExecStart in the package"
    fi
else skip "dpkg-deb or cpack is not there: the Debian package is not built"; fi
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
