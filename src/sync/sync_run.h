// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/new_file_times.h"
#include "sync/versions.h"
#include "sync/written_file_systems.h"

#include <QString>
#include <QtGlobal>
#include <map>
#include <memory>
#include <set>
#include <vector>

// What one synchronization keeps across its two directions.
struct SyncRun
{
    qint64 started = 0; // nanoseconds since the epoch
    // No other run holds the profile: hidden partial copies that killed runs left in the
    // folders written to may go.
    bool removeStalePartials = false;
    // A missing entry root, and whether it may be created (asked once per root and run).
    std::map<QString, bool> rootAnswers;
    // Entries whose rows a direction did not copy because a root was missing or elsewhere.
    std::set<quint32> refusedEntries;
    WrittenFileSystems written;

    // The files this run created, to get their sources' times once they are on disk.
    std::vector<NewFile> newFiles;

    // Keeps the destinations that copies replace; made when the run starts.
    std::unique_ptr<VersionKeeper> versions;
    // The roots this run wrote to: their old versions are cleared out at the end.
    std::set<QString> writtenRoots;
};
