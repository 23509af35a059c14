// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/path_text.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// One row of ListView1 or ListView2: a file to be copied from its Source folder to its Target
// folder. Folder strings are shared between the rows of one folder (implicit sharing).
struct ResultRow
{
    enum class Status : quint8 { NewFile, OverWrite };
    // What the last synchronization did with the row (NotRun before any).
    enum class Outcome : quint8 { NotRun, Copied, Failed, NotCopied };

    QString name;          // bare file name
    QString sourceFolder;  // folder that holds the file now, no trailing "/"
    QString targetFolder;  // folder it is copied into, no trailing "/"
    qint64 modified = 0;   // last-write time, whole seconds since the epoch (UTC)
    qint64 modifiedNs = 0; // nanosecond part of the last-write time
    qint64 sizeBytes = 0;
    qint64 sizeKB = 0; // bytes / 1024, rounded half away from zero
    // The destination as the scan found it; the copy engine refuses to replace a destination
    // that changed since.
    bool destExists = false;
    qint64 destModified = 0;
    qint64 destModifiedNs = 0;
    qint64 destSizeBytes = 0;
    Status status = Status::NewFile;
    bool checked = true;
    bool hasIcon = false; // "Show Icons " was pressed when the row was added
    // An "OverWrite" whose destination changed too since the entry's last synchronization: the
    // newer one still wins, and the older is kept as a version.
    bool changedOnBothSides = false;
    Outcome outcome = Outcome::NotRun;
    quint32 failure = 0; // with Failed: the reason's number in its list (from 1)
    quint32 entry = 0;   // index of the profile entry in AppState::scannedEntries

    QString statusText() const
    {
        return status == Status::NewFile ? QCoreApplication::translate("Results", "New File")
                                         : QCoreApplication::translate("Results", "OverWrite");
    }
    QString sourcePath() const { return joinPath(sourceFolder, name); }
    QString targetPath() const { return joinPath(targetFolder, name); }
};
