#pragma once

#include "results/result_row.h"

#include <QByteArray>
#include <QString>

// Before a copy creates or replaces its destination, the destination must still be as the
// scan found it: absent for a new file; for a file to be replaced the same size and
// modification time, and not read-only.

// "<what failed>: <the system's message for error>".
QString copyFailure(const char* what, int error);
QString destinationCreatedText();

// Checks the file 'name' in the folder 'dir' (an open folder) against what the scan saw for
// the row: a null string when it may be created or replaced, else why not. The scan pairs
// names regardless of letter case, so a file to be replaced may be spelt differently on disk
// ("a.txt" for the row "A.txt"): if exactly one such file matches the scan, 'name' becomes
// its name and that file is the destination.
QString checkDestination(int dir, QByteArray& name, const ResultRow& row);
