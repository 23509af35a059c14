#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev
      qt6-qpa-plugins libqt6svg6 fonts-dejavu-core desktop-file-utils appstream
      adwaita-icon-theme xvfb dbus at-spi2-core python3-pyatspi fusefat dosfstools util-linux strace
      bash-completion zsh fish lintian qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
[ "${KETRANO_WITH_BENCH:-0}" = 1 ] && pkgs+=(libbenchmark-dev rsync hyperfine time)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
