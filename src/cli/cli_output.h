#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

#include <QString>

// What ketrano-cli's commands share: loading a profile, the terminal's callbacks and Ctrl+C,
// and printing the result lists and the status panels.

// The text on stdout, as UTF-8.
void writeOut(const QString& text);

// The list texts follow the user's locale (LANG, LC_ALL): call once before the engine runs.
void useUserLocale();

// Loads the entries of the profile file at path into state.ProfileList and sets
// state.ProfileFileName. A missing or unreadable file (or a folder) is reported on stderr,
// naming it, and gives false; nothing is created.
bool loadProfileForCli(const QString& path, AppState& state);

// Ctrl+C sets state.CancelRequested; the running command stops at its next check. A second
// Ctrl+C ends the program at once. interrupted() tells whether Ctrl+C was pressed.
void installInterruptHandler(AppState& state);
bool interrupted();

// Callbacks for a run in a terminal: no questions, no dialogs, "Show Icons " off and the two
// copy toggles on (replace cb.toggle to change them). Only when stderr is a terminal, a
// progress line on stderr shows the status panels while the command runs; it is wiped when
// the command ends (busyChanged(false)), before anything is printed.
Callbacks terminalCallbacks(AppState& state);

// A field as one TSV field: TAB, LF, CR and backslash written as \t, \n, \r and \\.
QString tsvEscape(const QString& field);

// "YYYY-MM-DD HH:MM:SS" in local time.
QString isoLocalTime(qint64 utcSeconds);

// ListView1 then ListView2 on stdout. tsv: one line per row, list number (1 or 2), Name,
// Source, Target, Status, Last Modified (isoLocalTime), size(KB) as the window shows it.
// Otherwise a readable table per list under the headings "Source Files" and "Target Files".
void printResultLists(const AppState& state, bool tsv);

// The five status bar panels on stdout. tsv: one line "#" and the five texts, TAB-separated;
// otherwise one text per line.
void printPanels(const AppState& state, bool tsv);
