#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings every translations/ketrano_LANG.ts up to date with the texts of the sources (new texts
# come in unfinished, texts no longer used go). Translate the unfinished ones (Qt Linguist or a
# text editor), then build: CMake makes the .qm files the window loads.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
for ts in translations/ketrano_*.ts; do
  "$LUPDATE" -silent -no-obsolete -locations none src -ts "$ts"
done
