#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what lands where and that the files
# are valid; then, where dpkg-deb and dpkg-shlibdeps are there, builds the Debian package from
# the same build twice (packaging/build-deb.sh) and checks that both are the same bytes, its
# file list and dependencies, and what lintian says of it where lintian is installed.
# Usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -u
work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "SKIP: $*"; }
build=$2 source=$3 prefix=$work/prefix id=io.github.ketrano.Ketrano
"$1" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }

files="bin/ketrano
bin/ketrano-cli
lib/systemd/user/ketrano-sync@.service
lib/systemd/user/ketrano-sync@.timer
share/applications/$id.desktop
share/bash-completion/completions/ketrano-cli
share/doc/ketrano/changelog.gz
share/doc/ketrano/copyright
share/fish/vendor_completions.d/ketrano-cli.fish
share/icons/hicolor/scalable/apps/ketrano.svg
share/ketrano/help/help.html
share/ketrano/help/screenshot-after-run.png
share/ketrano/help/screenshot-copying.png
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

# The changelog is CHANGELOG.md, its newest entry the program's version and the AppStream data's
# newest release; every compressed file has no time in its header (bytes 4 to 7), so that two
# builds give the same bytes. The licence is named in the AppStream data and the copyright file.
zcat "$prefix/share/doc/ketrano/changelog.gz" | cmp -s - "$source/CHANGELOG.md" ||
    fail "changelog.gz is not CHANGELOG.md"
version=$("$prefix/bin/ketrano-cli" --version | sed -n '1s/.* //p')
newest=$(sed -n 's/^## \([^ ]*\).*/\1/p' "$source/CHANGELOG.md" | head -1)
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)
[ "$newest" = "$version" ] && [ "$release" = "$version" ] ||
    fail "version $version, newest in CHANGELOG.md $newest, in the AppStream data $release"
for gz in $(find "$prefix" -name '*.gz'); do
    [ "$(od -An -tu4 -j4 -N4 "$gz" | tr -d ' ')" = 0 ] || fail "$gz has a time in its header"
done
grep -qx '  <project_license>GPL-3.0-or-later</project_license>' "$metainfo" &&
    grep -qx 'License: GPL-3+' "$prefix/share/doc/ketrano/copyright" || fail "licence not named"

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

# The Debian package holds the same files below /usr, and its Debian changelog.
if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    # A time after every file's: dpkg-deb moves later times back to it, so a file whose time
    # the packing does not set shows here.
    export SOURCE_DATE_EPOCH=4102444800
    for n in 1 2; do
        "$source/packaging/build-deb.sh" "$build" "$work/deb$n" >"$work/deb.txt" 2>&1 ||
            fail "build-deb.sh: $(tail -5 "$work/deb.txt")"
    done
    deb=$(ls "$work"/deb1/ketrano_*.deb 2>/dev/null | head -1)
    if [ -n "$deb" ]; then
        cmp "$deb" "$work/deb2/${deb##*/}" || fail "two packages of one build differ"
        got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | LC_ALL=C sort)
        want=$(printf '%s\nshare/doc/ketrano/changelog.Debian.gz\nshare/lintian/overrides/ketrano\n' "$files" | LC_ALL=C sort)
        [ "$got" = "$want" ] || fail "package files differ: $(diff <(echo "$want") <(echo "$got") | grep '^[<>]')"
        # Every file root's, every time the one given.
        others=$(TZ=UTC0 dpkg-deb -c "$deb" | awk '$2 != "root/root" || $4 " " $5 != "2100-01-01 00:00"')
        [ -z "$others" ] || fail "owners or times in the package: $others"
        # What the programs link and the Qt plugins they load, and nothing else.
        depends=$(dpkg-deb -f "$deb" Depends)
        names=$(tr ',' '\n' <<<"$depends" | sed 's/(.*//; s/ //g' | LC_ALL=C sort)
        need="libc6 libgcc-s1 libqt6core6 libqt6dbus6 libqt6gui6 libqt6svg6 libqt6widgets6 libstdc++6 qt6-qpa-plugins"
        [ "$names" = "$(tr ' ' '\n' <<<"$need")" ] || fail "Depends: $depends"
        dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/systemd/user/ketrano-sync@.service |
            grep -qx 'ExecStart=/usr/bin/ketrano-cli sync --quiet %f' || fail "ExecStart in the package"
        if command -v lintian >/dev/null; then
            lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 ||
                fail "lintian: $(cat "$work/lintian.txt")"
        else skip "lintian is not installed: the package is not checked by it"; fi
    fi
else skip "dpkg-deb or dpkg-shlibdeps is not there (dpkg-dev): the Debian package is not built"; fi
[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
