#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"
#include "scan/side_table.h"

// One comparison pass: every unmatched row of this table is paired with the first unmatched
// row of the other table that has the same relative path, ignoring case. An unpaired row is
// a "New File" in this list; of a pair, the later one is an "OverWrite" in its own side's
// list; equal times (whole seconds) list nothing. The scan runs it twice per entry: source
// side first, then the target side, whose rows the first pass left unpaired.
struct ComparePass
{
    SideTable& thisTable;
    SideTable& otherTable;
    ResultListModel& thisList;
    ResultListModel& otherList;
    QString ThisRoot;
    QString OtherRoot;
    // The counters of the rows added to this list and to the other list.
    qint64& thisFileCount;
    qint64& thisSizeKB;
    qint64& otherFileCount;
    qint64& otherSizeKB;
};

// Returns at once when CancelRequested is set, and stops before the next row when it becomes
// set; yields before and after each row it deals with. Linear in the size of both tables.
void CompareSides(AppState& state, const Callbacks& cb, ComparePass& pass);

// Appends one checked row for 'file' to the list; 'destination' is the file it is to replace,
// as scanned (null for a new file). The row shows an icon when "Show Icons " is pressed.
void AddResultRow(const Callbacks& cb, ResultListModel& list, const QString& sourceFolder,
                  const QString& name, const QString& targetFolder, ResultRow::Status status,
                  const FileLine& file, const FileLine* destination);

// Adds to a counter unless the sum would overflow (the counter then keeps its value).
void addToCounter(qint64& counter, qint64 amount);
