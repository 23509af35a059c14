#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the README's start command as a new user runs it: ./run.sh builds, answers --version
# without a display, and opens the window (on a private Xvfb), which closes cleanly on SIGTERM.
set -euo pipefail
cd "$(dirname "$0")/.."
# The README's start command: it builds and passes its arguments on (no display needed) ...
version=$(./run.sh --version)
echo "$version"
[[ $version == "ketrano (Ketrano Backup) "* ]] || { echo "./run.sh --version failed" >&2; exit 1; }
# ... and it opens the window, which stays up until it is closed (here by SIGTERM).
work=$(mktemp -d)
Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 2
DISPLAY=:97 XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" \
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent ./run.sh &
window=$!
sleep 10
kill -0 "$window" 2>/dev/null || { echo "./run.sh did not keep the window open" >&2; exit 1; }
kill -TERM "$window"
wait "$window" || { echo "the window did not close cleanly on SIGTERM" >&2; exit 1; }
[ -f "$work/config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano/Copy Source" ] ||
  { echo "the window wrote no settings when it closed" >&2; exit 1; }
echo "./run.sh starts the window: ok"
