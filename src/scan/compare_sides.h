// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "core/sync_history.h"
#include "run/app_state.h"
#include "scan/side_table.h"

#include <QSet>
#include <vector>

// Relative paths (folders or files) that one side's walk could not read, upper-cased: the
// other side's files are not offered into them as new files.
class UnreadablePaths
{
public:
    void add(const QString& relativePath);
    bool empty() const { return m_upper.empty(); }
    // True when the path is one of them or lies below one.
    bool covers(LinePath path) const;

private:
    std::vector<QString> m_upper;
};

using FolderStrings = QSet<QString>;

// One comparison pass: every unmatched row of this table is paired with the first unmatched
// row of the other table that has the same relative path, byte for byte, and failing that
// with the first that has it ignoring case (so "a.txt" pairs with "a.txt" even where "A.TXT"
// comes first). An unpaired row is a "New File" in this list; of a pair, the later one is an
// "OverWrite" in its own side's list; equal times (whole seconds) list nothing. The scan runs
// it twice per entry: source side first, then the target side, whose rows the first pass left
// unpaired. Built with designated initializers, so that no two members can be swapped.
struct ComparePass
{
    SideTable& thisTable;
    SideTable& otherTable;
    ResultListModel& thisList;
    ResultListModel& otherList;
    QString ThisRoot;
    QString OtherRoot;
    // The counters of the rows added to this list and to the other list.
    struct Counts
    {
        qint64& files;
        qint64& sizeKB;
    };
    Counts thisCounts;
    Counts otherCounts;
    // The entry's index in AppState::scannedEntries, given to every row.
    quint32 entry = 0;
    // A side on FAT keeps times to 2 seconds, in local time: then times less than 2 seconds
    // apart are equal, and so are times an hour apart (summer time read differently).
    bool fatTimes = false;
    // What the other side could not read: no "New File" row goes there.
    const UnreadablePaths* otherUnreadable = nullptr;
    // The other side's folders: a "New File" of that path cannot be copied there (a notice).
    const FileList* otherFolders = nullptr;
    // The entry's last synchronization, when there was one: an "OverWrite" whose destination
    // was changed after it is marked as changed on both sides.
    const SyncHistory::LastRun* lastSync = nullptr;
    // The absolute folders of the rows made so far: a folder that both passes name (a
    // "New File" on each side of it) is one string for the rows of both lists.
    FolderStrings* folderStrings = nullptr;
};

// This table's lines are read for the last time: the pass gives their memory back as it goes,
// and they are not to be read after it. // Returns at once when CancelRequested is set, and stops
// before the next row when it becomes set; yields before and after each row it deals with. Linear
// in the size of both tables.
void CompareSides(AppState& state, const Callbacks& cb, ComparePass& pass);

// Appends one checked row for 'file' to the list, of the folder and with the name at the
// place given; 'destination' is the file it is to replace, as scanned (null for a new file).
// The row shows an icon when "Show Icons " is pressed.
void AddResultRow(const Callbacks& cb, ResultListModel& list,
                  std::pair<QExplicitlySharedDataPointer<RowFolder>, quint32> folderAndName,
                  ResultRow::Status status, const FileLine& file, const FileLine* destination,
                  bool changedOnBothSides = false);

// Adds to a counter unless the sum would overflow (the counter then keeps its value).
void addToCounter(qint64& counter, qint64 amount);
