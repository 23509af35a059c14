// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "scan/file_line.h"

// One side's record list, ready to compare: each line with its Matched flag and the hash of
// its upper-cased relative path (the key the two sides are matched on).
struct SideTable
{
    FileList rows; // relative path (folder and name), modification time, size
    LargeVector<quint8> Matched;
    LargeVector<quint32> keys;

    size_t size() const { return rows.size(); }
    void clear();
};

// Builds the two tables of an entry from its record lists, taking their lines: one row per
// line, in order, the two side by side. Before each line it checks CancelRequested (a stop
// leaves the rows built so far); the window is kept responsive meanwhile.
void buildSideTables(AppState& state, const Callbacks& cb, FileList& sourceLines, SideTable& source,
                     FileList& targetLines, SideTable& target);

// A line's relative path, as its folder and its name.
struct LinePath
{
    QStringView folder;
    NameView name;
};
inline LinePath pathOf(const FileList& list, const FileLine& line)
{
    return {list.folder(line), list.name(line)};
}

// Whether two lines have the same relative path, ignoring letter case (only where both are
// valid text: otherwise the bytes must be the same).
bool sameUpperPath(LinePath a, LinePath b);
// Whether two lines have the same relative path, byte for byte.
bool samePath(LinePath a, LinePath b);

// The key hash of a line's upper-cased relative path. 32 bits are enough: a key only finds
// the candidates, whose paths are then compared.
class PathKeyHasher
{
public:
    quint32 operator()(const FileList& list, const FileLine& line);

private:
    const FileList* m_list = nullptr; // the list and folder whose hash state is cached
    quint32 m_folder = 0;
    quint64 m_folderState = 0;
};
