// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/root_check.h"
#include "profile/profile_model.h"
#include "results/result_model.h"
#include "sync/error_model.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
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

// What a long command is doing right now. While it is not Idle, commands that would change
// the result lists or the profile are refused.
enum class Running { Idle, Scan, Sync };

// Status bar and progress bar as the engine sets them; the window mirrors them.
struct StatusBarState
{
    std::array<QString, 5> panels; // panels 1..5 at [0..4]
    qint64 progressMin = 0;
    qint64 progressMax = 1;
    qint64 progressValue = 0;
};

// All state that the window's commands share. The main window owns one; ketrano-cli and the
// tests make their own. Counters are 64-bit so that totals beyond 2 TB stay right.
struct AppState
{
    ProfileModel ProfileList;
    ResultListModel ListView1{QStringLiteral("ListView1")};
    ResultListModel ListView2{QStringLiteral("ListView2")};
    ErrorListModel ErrorsList;

    QString ProfileFileName;
    bool ProfileChanged = false;
    EntryBuffer entryBuffer;

    // Set by Esc, by a double-click on status panel 1 and by Ctrl+C in ketrano-cli (from a
    // signal handler, hence atomic); cleared when Scan or Synchronize starts.
    std::atomic<bool> CancelRequested{false};
    // Set when the program ends during a synchronization: the file being copied is given up
    // (its temporary file removed, its destination left as it was, not counted) instead of
    // finished. Read by the copy-ahead worker, hence atomic. Esc leaves it alone.
    std::atomic<bool> abandonCopy{false};
    Running running = Running::Idle;
    // A run nobody watches (a profile on the window's command line, ketrano-cli): nothing is
    // asked; what the window would ask about is refused and reported as an error row.
    bool unattended = false;

    std::vector<ScannedEntry> scannedEntries;
    // The damaged records that loading the profile skipped ("Skipped record 2 of ...").
    QStringList profileProblems;
    // CancelRequested as the loops test it at their heads.
    bool cancelled() const { return CancelRequested.load(std::memory_order_relaxed); }

    // Scan counters: rows of ListView1 / ListView2 and their kilobytes.
    qint64 SourceFileCount = 0;
    qint64 TargetFileCount = 0;
    qint64 SourceSizeKB = 0;
    qint64 TargetSizeKB = 0;

    // Copy counters of the running or last synchronization.
    qint64 FilesCopied = 0;
    qint64 KBCopied = 0;
    qint64 ErrorCount = 0;

    // The result list the check and delete commands act on; null until one has been used.
    ResultListModel* ActiveResultList = nullptr;

    StatusBarState status;
    QElapsedTimer lastYield;
};
