#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Ketrano Backup (Release) and starts the window.
# Usage: ./run.sh [PROFILE]
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_THREAD_CHECKS=OFF >/dev/null
cmake --build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open; use build/ketrano-cli for terminal backups." >&2
  exit 1
fi
exec ./build/ketrano "$@"
