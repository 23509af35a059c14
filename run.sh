#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Ketrano Backup (Release) and starts the window.
# Usage: ./run.sh [PROFILE]    (also ./run.sh --help, ./run.sh --version: no window needed)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
# A compiler cache, where one is installed, makes a rebuild of unchanged files quick.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=OFF \
  -DKETRANO_THREAD_CHECKS=OFF >/dev/null
cmake --build build >/dev/null
# Without a display the program says so itself, in one line, and exits with 1.
exec ./build/src/ketrano "$@"
