#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Ketrano Backup (Release, without the tests) into dist/, or the
# folder given, and checks it with hardening-check and lintian where they are installed:
#   ./scripts/package.sh [OUT_DIR]
#   sudo apt-get install ./dist/ketrano_*.deb
# The programs are built with Debian's flags (dpkg-buildflags, every hardening feature on) and
# the last commit's time as SOURCE_DATE_EPOCH, so two builds of one commit give the same bytes,
# whichever folder the checkout is in.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}
./scripts/deps.sh
# dpkg-buildflags and dpkg-shlibdeps (package dpkg-dev) give the flags and the dependencies.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v dpkg-buildflags >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: dpkg-dev"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null
fi

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
# Debian's defaults (stack protector, _FORTIFY_SOURCE, -z relro, PIE, and -ffile-prefix-map
# of this folder to ".", so no build path stays in the programs) and -z now.
DEB_BUILD_MAINT_OPTIONS=hardening=+all
export SOURCE_DATE_EPOCH DEB_BUILD_MAINT_OPTIONS
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS: the preprocessor's flags go with the compiler's. The flags are given
# on every configure, so a build folder made before with others takes these.
CXXFLAGS="$CXXFLAGS $CPPFLAGS"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
      -DKETRANO_SOURCE_TREE_HELP=OFF -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build build-package -j2
# Only this package in the folder, so that ./dist/ketrano_*.deb names one file.
rm -f "$out"/ketrano_*.deb
deb=$(packaging/build-deb.sh build-package "$out")

# The checks; each says when it cannot run.
failed=0 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if command -v hardening-check >/dev/null; then
  dpkg-deb -x "$deb" "$work/root"
  # Everything but control flow protection: the C start files of Debian 12 do not carry the
  # IBT and SHSTK marks, so no program linked on it has them (/usr/bin/ls has not either).
  hardening-check --nocfprotection "$work"/root/usr/bin/* || failed=1
else
  echo "hardening-check skipped: it is not installed (package devscripts)"
fi
if command -v lintian >/dev/null; then
  # Errors and warnings fail the build; what lintian only notes (I:, P:) is shown.
  lintian --display-info "$deb" | tee "$work/lintian.txt"
  ! grep -q '^[EW]: ' "$work/lintian.txt" || failed=1
else
  echo "lintian skipped: it is not installed (package lintian)"
fi
echo "$(realpath "$deb")"
exit "$failed"
