// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "scan/file_line.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <sys/types.h>
#include <utility>
#include <vector>

// The folder walk of a scan. Within one folder the entries are taken in name order (ignoring
// case, then by bytes); a folder's matching files come first, then its subfolders, each walked
// the same way, depth first. Links are followed; only regular files are listed (FIFOs,
// sockets, devices and dangling links are skipped); a folder already open higher up the same
// walk is not entered again. A root that is empty or missing lists nothing.
//
// Nothing unreadable passes for empty: a folder or file that cannot be opened or looked at
// (no permission, an I/O error) is reported in SideWalk::problems, and a hidden partial copy
// left by a killed run is not listed but reported in SideWalk::partials. The folder of versions
// of replaced files directly below the root (.ketrano-versions) is not walked.
//
// Stopping: every entry of a folder is checked against the stop flag before it can become a
// subfolder to walk. Once the flag is set no further subfolders are collected, but the files of
// the folders already collected are still listed.

// What a walk found besides the files.
struct SideWalk
{
    struct Problem
    {
        QString relativePath; // of the folder or file, "" for the root
        bool folder;
        int error; // errno
    };
    struct Partial
    {
        QString relativeFolder;
        QString name;
        qint64 modified; // seconds since the epoch
    };
    std::vector<Problem> problems;
    std::vector<Partial> partials;
    // Every folder below the root, as a line of its parent folder and its name: a file of the
    // other side cannot take such a path.
    FileList folders;
    // Files listed so far, read by another thread while the walk goes on.
    std::atomic<qint64> filesSoFar{0};
};

// A folder the walk does not enter (the other root of the entry, when it lies inside this one).
using FolderId = std::optional<std::pair<dev_t, ino_t>>;
FolderId folderIdOf(const QString& path);

// Walks 'root' once for several file patterns: lists[k] receives the files that match
// patterns[k], in walk order. The walk shares nothing but 'stop', the lists it fills and what
// it found ('found'), so it may run on a worker thread. 'onEntry', when given, runs on the
// walk's thread after each check of 'stop' that lets the walk go on. 'skip' is a folder not to
// enter. Returns true when a stop request cut the walk short.
bool ListFiles(const std::atomic<bool>& stop, const QString& root, const QStringList& patterns,
               std::vector<FileList>& lists, const std::function<void()>& onEntry = {},
               SideWalk* found = nullptr, const FolderId& skip = std::nullopt);

// The enumeration of one profile entry: for each pattern in order, the source folder into
// FilesList1 and the target folder into FilesList2. Each folder is walked once for all
// patterns; the lines come out as if each pattern had its own walks, a stop included (after a
// stop, the later walks list the files of their root folder only).
// A Target inside its Source (or the reverse) is not walked as part of the other side. While
// the walks go on, FilesFound events tell how many files each side has listed ('entry' is the
// profile entry they belong to).
void enumerateEntry(AppState& state, const Callbacks& cb, const QString& source,
                    const QString& target, const QStringList& patterns, FileList& FilesList1,
                    FileList& FilesList2, SideWalk& sourceFound, SideWalk& targetFound,
                    int entry = -1);
