// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/run_profile.h"

#include <QString>

// Everything ketrano-cli prints on stdout goes through writeOut, which notices a write that
// fails (a closed pipe, a full disk): the first failure stops the running command as Ctrl+C
// would (stopForOutputFailure), and nothing more is written.

// Writes text as UTF-8; false once the output has failed.
bool writeOut(const QString& text);
// Writes bytes that are UTF-8 already.
bool writeOut(const QByteArray& bytes);
// Flushes stdout; false once the output has failed.
bool flushOut();
// Why the output failed ("Broken pipe"); empty while it has not.
QString outputError();

// "YYYY-MM-DD HH:MM:SS" in local time.
QString isoLocalTime(qint64 utcSeconds);
// The same, appended to UTF-8 text.
void appendLocalTime(QByteArray& out, qint64 utcSeconds);
// The same, written at 'at', which has room for LocalTimeRoom bytes; returns where it ends.
constexpr int LocalTimeRoom = 64;
char* putLocalTime(char* at, qint64 utcSeconds);

// The rows of one list as --tsv lines, each starting with 'number'.
void printTsv(const ResultListModel& list, char number);

// ListView1 then ListView2. tsv: one line per row, list number (1 or 2), Name, Source,
// Target, Status, Last Modified (isoLocalTime), size(KB) as the window shows it. Otherwise a
// readable table per list under the headings "Source Files" and "Target Files".
void printResultLists(const AppState& state, bool tsv);

// The five status bar panels. tsv: one line "#" and the five texts, TAB-separated; otherwise
// one text per line.
void printPanels(const AppState& state, bool tsv);

// The failed copies: for tsv one "E" line each (File Name, Source, Target, Error), otherwise a
// table under "Failed Copies" (nothing when there are none).
// What the scan could not read, or refused (a missing, unmounted or relative root, a file
// where the other side has a folder of its name), one line each on stderr. Returns how many.
int reportScanProblems(const AppState& state);

void printErrors(const ErrorListModel& errors, bool tsv);
