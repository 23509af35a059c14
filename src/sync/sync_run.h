#pragma once

#include "results/result_model.h"
#include "sync/written_file_systems.h"

#include <QString>
#include <QtGlobal>
#include <map>
#include <set>
#include <sys/types.h>
#include <utility>
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

    // A file this run created, to get its source's time once it is on disk.
    struct NewFile
    {
        ResultListModel* list;
        int row;
        std::pair<dev_t, ino_t> file;
        struct timespec times[2]; // access and modification
    };
    std::vector<NewFile> newFiles;
};
