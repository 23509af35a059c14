#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"
#include "scan/file_line.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

// The folder walk of a scan. Within one folder the entries are taken in name order (ignoring
// case, then by bytes); a folder's matching files come first, then its subfolders, each walked
// the same way, depth first. Links are followed; only regular files are listed (FIFOs,
// sockets, devices and dangling links are skipped); a folder already open higher up the same
// walk is not entered again. A root that is empty, missing or unreadable lists nothing.
//
// Stopping: every entry of a folder is checked against the stop flag before it can become a
// subfolder to walk. Once the flag is set no further subfolders are collected, but the files of
// the folders already collected are still listed.

// Walks 'root' once for several file patterns: lists[k] receives the files that match
// patterns[k], in walk order. The walk shares nothing but 'stop' and the lists it fills, so it
// may run on a worker thread. 'onEntry', when given, runs on the walk's thread after each
// check of 'stop' that lets the walk go on. Returns true when a stop request cut the walk short.
bool ListFiles(const std::atomic<bool>& stop, const QString& root, const QStringList& patterns,
               std::vector<FileList>& lists, const std::function<void()>& onEntry = {});

// The enumeration of one profile entry: for each pattern in order, the source folder into
// FilesList1 and the target folder into FilesList2. Each folder is walked once for all
// patterns; the lines come out as if each pattern had its own walks, a stop included (after a
// stop, the later walks list the files of their root folder only).
void enumerateEntry(AppState& state, const Callbacks& cb, const QString& source,
                    const QString& target, const QStringList& patterns, FileList& FilesList1,
                    FileList& FilesList2);
