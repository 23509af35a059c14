// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The run log: one line per synchronization that ran unattended (ketrano-cli sync, a systemd
// timer, the window started with a profile), appended to
// ${XDG_STATE_HOME:-$HOME/.local/state}/ketrano/runs.log. A line holds eight TAB-separated
// fields:
//   2025-06-01T02:30:00Z  ketrano-cli  /home/me/Daily.prf  source-to-target=on
//   target-to-source=off  files=12  kb=1234  errors=0  status=0
// (the time the run started, in UTC, the program, the profile file with escapeForLine of
// plain_text.h, the two directions as one field, the files and kilobytes copied, the failed copies,
// and the exit status: 0 done, 1 some copies failed, 2 unusable input, 3 another run held the
// profile, 129/130/143 stopped).
struct RunRecord
{
    QString program;
    QString profile;
    bool sourceToTarget = false;
    bool targetToSource = false;
    qint64 filesCopied = 0;
    qint64 kbCopied = 0;
    qint64 errors = 0;
    int status = 0;
    qint64 time = 0; // UTC seconds since the epoch; 0 means now
};

namespace RunLog {

QString path();

// The record as one line, without the line end.
QString format(const RunRecord& record);

// Appends the record's line in one write, so lines of runs that end together do not mix.
// Creates the folder when missing. False, with the reason in error, when it cannot.
bool append(const RunRecord& record, QString* error = nullptr);

// The last count lines of the log, oldest first; none when there is no log yet. False,
// with the reason in error, when the log exists but cannot be read.
bool lastLines(int count, QStringList& lines, QString* error = nullptr);

} // namespace RunLog
