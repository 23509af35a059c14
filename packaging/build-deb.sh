#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package from a CMake build folder: installs the build below /usr into a
# staging folder, strips the programs, adds the Debian changelog and the control data, and packs
# it with dpkg-deb. Every file gets the owner root, the mode 644 or 755 and the time
# SOURCE_DATE_EPOCH (the last commit's time when it is not set), so the same build gives the
# same bytes. Needs dpkg-deb and dpkg-shlibdeps (package dpkg-dev).
#   packaging/build-deb.sh BUILD_DIR OUT_DIR     prints the path of the .deb it made
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")

version=$(dpkg-parsechangelog -l "$here/changelog" -S Version)
upstream=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if [ "${version%-*}" != "$upstream" ]; then
    echo "$0: packaging/changelog is at $version, the build at $upstream: add an entry" >&2
    exit 1
fi
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null ||
                        dpkg-parsechangelog -l "$here/changelog" -S Timestamp)
fi
export SOURCE_DATE_EPOCH
arch=$(dpkg --print-architecture)

# Staged as dpkg-shlibdeps expects a package's files: in debian/PACKAGE, beside its DEBIAN.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/debian/ketrano
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
mkdir "$root/DEBIAN"
doc=$root/usr/share/doc/ketrano
gzip -9n -c "$here/changelog" >"$doc/changelog.Debian.gz"
if [ -e "$here/ketrano.lintian-overrides" ]; then
    mkdir -p "$root/usr/share/lintian/overrides"
    cp "$here/ketrano.lintian-overrides" "$root/usr/share/lintian/overrides/ketrano"
fi

# Stripped as dh_strip does it; the build id stays.
programs=("$root"/usr/bin/*)
strip --remove-section=.comment --remove-section=.note "${programs[@]}"

# The libraries the programs link, from the symbols they use; Qt loads its platform plugins
# (the window opens through them) and the SVG icon and image plugins (the toolbar pictures and
# the program's icon) at run time, so no linker sees those.
printf 'Source: ketrano\n\nPackage: ketrano\nArchitecture: any\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O "${programs[@]#"$work"/}")
depends="${shlibs#shlibs:Depends=}, qt6-qpa-plugins, libqt6svg6"

# Modes, the control data, then the times (last, as writing a file changes its folder's).
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -perm /111 -exec chmod 0755 {} +
find "$root" -type f ! -perm /111 -exec chmod 0644 {} +
# Installed-Size as dpkg-gencontrol counts it: KiB per file rounded up, one per folder.
size=$(find "$root/usr" \( -type f -printf '%s\n' \) -o \( -type d -printf '1024\n' \) |
       awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$arch/" -e "s/@INSTALLED_SIZE@/$size/" \
    -e "s/@DEPENDS@/$depends/" "$here/control" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

deb=$out/ketrano_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
