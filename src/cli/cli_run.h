// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/run_profile.h"

#include <QString>

// What running the engine from a terminal needs: the locale, the profile, the callbacks.

// Call once before the engine runs. The list texts follow the user's locale (LANG, LC_ALL);
// for machine output (--json) numbers and the system's messages (the reasons of failed copies)
// are those of the C locale, so the output reads the same everywhere.
void useLocale(bool machineOutput);

// Loads the entries of the profile file at path into state.profileEntries and sets
// state.ProfileFileName. A missing or unreadable file (or a folder) is reported on stderr,
// naming it, and gives false; nothing is created.
bool loadProfileForCli(const QString& path, AppState& state);

// What a run prints while it goes.
struct TerminalOutput
{
    // The progress line (cli_terminal.h), when stderr is a terminal.
    bool progress = true;
    // A line on stdout for each file copied: "SOURCE -> DESTINATION".
    bool verbose = false;
    // The directions the run copies in, for the totals of the progress line.
    bool sourceToTarget = true;
    bool targetToSource = true;
};

// Callbacks for a run in a terminal: no questions, no dialogs, no file icons. Each yield passes
// on a stop request (cli_stop.h) to the run's cancel flag.
Callbacks terminalCallbacks(AppState& state, const TerminalOutput& output);

// The run request of ketrano-cli: unattended, stopped for good by a signal or a failed write of
// the output, logged as "ketrano-cli".
RunRequest cliRunRequest(bool copy);

// The run's warnings on stderr (no lock could be tried, the run log not written, old versions
// not removed), and a line for each file changed on both sides since the last synchronization.
void reportWarnings(const AppState& state, const RunResult& result);
