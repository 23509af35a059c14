#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything from scratch and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
# A compiler cache, where one is installed, makes a rebuild of unchanged files quick.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-test -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_TESTS=ON \
  -DKETRANO_THREAD_CHECKS=ON >/dev/null
cmake --build build-test
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
