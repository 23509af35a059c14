// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/failure.h"
#include "results/result_row.h"

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// Before a copy creates or replaces its destination, the destination must still be as the
// scan found it: absent for a new file; for a file to be replaced the same size and
// modification time, and not read-only.

// A destination folder that could not be made or opened; a file in the way is said as such.
Failure folderFailure(ErrorKind kind, int error);

// Checks the file 'name' in the folder 'dir' (an open folder) against what the scan saw for
// the row: no failure when it may be replaced, else why not. The scan pairs names
// regardless of letter case, so a file to be replaced may be spelt differently on disk
// ("a.txt" for the row "A.txt"): if exactly one such file matches the scan, 'name' becomes
// its name and that file is the destination. A read-only destination is not replaced, unless
// its permission bits are the source's ('sourceMode'): then an earlier copy carried them over.
Failure checkDestination(int dir, QByteArray& name, const Destination& destination,
                         mode_t sourceMode);

// Why a new file cannot take the name 'name' that the folder 'dir' turned out to hold: it was
// created after the scan, or the folder does not tell letter case apart and holds the same
// name in other letters (a FAT stick, a Windows share: "a.txt" beside the new "A.TXT").
Failure nameTaken(int dir, const QByteArray& name);
