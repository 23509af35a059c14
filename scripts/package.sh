#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Ketrano Backup (Release, without the tests) into dist/:
#   ./scripts/package.sh
#   sudo apt-get install ./dist/ketrano_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
# dpkg-shlibdeps (package dpkg-dev) works out which library packages the programs need.
if ! command -v dpkg-shlibdeps >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: dpkg-dev"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build-package
rm -rf dist/_CPack_Packages
(cd build-package && cpack -G DEB -B "$PWD/../dist" >/dev/null)
rm -rf dist/_CPack_Packages
ls -1 "$PWD"/dist/ketrano_*.deb
