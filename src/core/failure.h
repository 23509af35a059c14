// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// What went wrong, as a kind a script can tell apart ("changed after the scan" is not "disk
// full"), with the system's error number beside the text that the error list shows.
enum class ErrorKind : quint8 {
    None,
    // Loading the profile, and the run as a whole
    ProfileRecordSkipped,
    ProfileBusy,
    // The scan
    FolderUnreadable,
    FileUnreadable,
    RootNotAbsolute,
    RootMissing,
    RootUnreadable,
    RootNotOnUsualDisk,
    RootNotChecked,
    FolderInTheWay,
    // A synchronization's roots
    RootMoved,
    RootNotCreated,
    // One copy
    SourceUnreadable,
    SourceNotRegular,
    SourceChanged,
    FolderNotCreated,
    FolderNotOpened,
    LinkOutOfRoot,
    FileInTheWay,
    DestinationCheckFailed,
    DestinationChanged,
    DestinationDeleted,
    DestinationCreated,
    DestinationReadOnly,
    CaseClash,
    WriteFailed,
    ReplaceFailed,
    CreateFailed,
    VersionNotKept,
    Stopped,
    // The end of a run: its flush, what it remembers
    FlushFailed,
    RootsNotRemembered,
};

// The kind's name in machine output: "source-changed", "write-failed", ...
const char* errorKindName(ErrorKind kind);

// A failure, or none (kind None). Its text is what the error list shows.
struct Failure
{
    ErrorKind kind = ErrorKind::None;
    int error = 0; // errno, 0 when the system did not report one
    QString text;

    bool failed() const { return kind != ErrorKind::None; }
};

// The failure of a kind with its own fixed text ("The source changed while it was copied"), or
// of a kind that names what failed, followed by the system's message for 'error'
// ("Writing the destination failed: No space left on device").
Failure failure(ErrorKind kind, int error = 0);
// A failure whose text says more than the kind alone (a path, a name).
Failure failure(ErrorKind kind, int error, const QString& text);

// "<what>: <the system's message for error>".
QString withSystemMessage(const QString& what, int error);
