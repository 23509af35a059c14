// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

#include <QString>

// What running the engine from a terminal needs: the locale, the profile, the callbacks.

// Call once before the engine runs. The list texts follow the user's locale (LANG, LC_ALL);
// for machine output (--json) numbers and the system's messages (the reasons of failed copies)
// are those of the C locale, so the output reads the same everywhere.
void useLocale(bool machineOutput);

// Loads the entries of the profile file at path into state.ProfileList and sets
// state.ProfileFileName. A missing or unreadable file (or a folder) is reported on stderr,
// naming it, and gives false; nothing is created.
bool loadProfileForCli(const QString& path, AppState& state);

// Callbacks for a run in a terminal: no questions, no dialogs, "Show Icons " off and the two
// copy toggles on (replace cb.toggle to change them). Each yield passes on a stop request
// (cli_stop.h) to state.CancelRequested. Only when stderr is a terminal, a progress line on
// stderr shows the status panels while the command runs; it is wiped when the command ends
// (busyChanged(false)), before anything is printed.
Callbacks terminalCallbacks(AppState& state);
