// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/app_state.h"

#include <functional>

// The profile list's entry commands. They exchange one entry with the entry editor through
// state.entryBuffer; the editor itself is passed in, so the window opens its dialog and tests
// can answer it. While Scan or Synchronize runs, every command here refuses to act.

// Opens the entry editor on state.entryBuffer and returns when it has closed.
using EntryEditor = std::function<void(AppState& state)>;

// False while Scan or Synchronize runs: the entries must stay as the running command reads them.
bool canChangeEntries(const AppState& state);

// Opens the editor with an empty entry (Include "*") and appends the result when both folders
// are non-blank. The row keeps the texts untrimmed. Returns true when a row was appended.
bool newProfileEntry(AppState& state, const EntryEditor& editor);

// Opens the editor on the row and writes the buffer back into that row afterwards (after a
// cancel the buffer still holds the row's own values). Without a row (-1 or out of range)
// nothing happens and the editor does not open. Returns true when the editor was opened.
bool editProfileEntry(AppState& state, int row, const EntryEditor& editor);

// Removes the row at once, without a question. ProfileChanged stays as it is.
bool deleteProfileEntry(AppState& state, int row);
