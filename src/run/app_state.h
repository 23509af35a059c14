// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/root_check.h"
#include "core/run_control.h"
#include "core/status_bar.h"
#include "profile/profile_model.h"
#include "results/error_model.h"
#include "results/result_model.h"

#include <QString>
#include <QStringList>
#include <vector>

// The four texts through which the profile list hands one entry to the entry editor.
using EntryBuffer = ProfileEntry;

// One profile entry as the last scan found it. Result rows refer to it by index, so that a
// synchronization knows each row's roots even if the profile is edited meanwhile.
struct ScannedEntry
{
    RootState source;
    RootState target;
    // A hidden partial copy left by a killed run, found by the scan: absolute folder, name.
    struct Partial
    {
        QString folder;
        QString name;
        qint64 modified;
    };
    std::vector<Partial> partials;
    // Include names more than one extension: a file may match two of them ("txt,TXT",
    // "tar.gz,gz") and then be listed twice.
    bool severalPatterns = false;
};

// What the program's commands share: the profile, the results of the last scan and run, and
// the steering of the command that runs. The main window owns one (its views show these
// models under the documented names ProfileList, ListView1, ListView2 and ErrorsList);
// ketrano-cli and the tests make their own. Counters are 64-bit so that totals beyond 2 TB stay
// right.
struct AppState
{
    AppState()
    {
        // Rows that a scan appended become visible at each turn of the event loop.
        control.beforeYield = [this] {
            sourceRows.flush();
            targetRows.flush();
        };
    }
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    ProfileModel profileEntries;
    ResultListModel sourceRows{QStringLiteral("ListView1")};
    ResultListModel targetRows{QStringLiteral("ListView2")};
    ErrorListModel errorRows;

    QString ProfileFileName;
    bool ProfileChanged = false;
    EntryBuffer entryBuffer;

    RunControl control;

    std::vector<ScannedEntry> scannedEntries;
    // The damaged records that loading the profile skipped ("Skipped record 2 of ...").
    QStringList profileProblems;

    // Scan counters: rows of sourceRows / targetRows and their kilobytes.
    qint64 SourceFileCount = 0;
    qint64 TargetFileCount = 0;
    qint64 SourceSizeKB = 0;
    qint64 TargetSizeKB = 0;

    // Copy counters of the running or last synchronization, counted from its events.
    qint64 FilesCopied = 0;
    qint64 KBCopied = 0;
    qint64 ErrorCount = 0;

    // The result list the check and delete commands act on; null until one has been used.
    ResultListModel* ActiveResultList = nullptr;

    StatusBarState status;
};
