// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "core/shared_string.h"
#include "run/app_state.h"
#include "scan/file_line.h"

#include <vector>

// One side's record list, ready to compare: each line with its Matched flag and the hash of
// its upper-cased relative path (the key the two sides are matched on).
struct SideTable
{
    FileList rows; // relative path (folder and name), modification time, size
    std::vector<quint8> Matched;
    std::vector<quint64> keys;

    size_t size() const { return rows.size(); }
    void clear();
};

// Builds the table from a record list, taking its lines: one row per line, in order. Before
// each line it checks CancelRequested (a stop leaves the rows built so far) and yields.
void buildSideTable(AppState& state, const Callbacks& cb, FileList& lines, SideTable& table);

// Whether two lines have the same relative path, ignoring letter case (only where both are
// valid text: otherwise the bytes must be the same).
bool sameUpperPath(const FileLine& a, const FileLine& b);
// Whether two lines have the same relative path, byte for byte.
bool samePath(const FileLine& a, const FileLine& b);

// The key hash of a line's upper-cased relative path.
class PathKeyHasher
{
public:
    quint64 operator()(const FileLine& line);

private:
    LastSharedString m_folder; // the folder whose hash state is cached
    quint64 m_folderState = 0;
};
