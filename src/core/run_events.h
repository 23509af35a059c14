// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

struct ErrorRow;
struct ResultRow;

// The two copy directions of a synchronization.
enum class Direction : quint8 { SourceToTarget, TargetToSource };

// What a run tells whoever watches it, as it happens: the window's status bar (through the one
// presenter that turns events into its texts), the terminal's progress line, the JSON output
// and the run's own counters all read the same events.
struct RunEvent
{
    enum Type : quint8 {
        ScanStarted,      // the lists were emptied
        EntryStarted,     // 'entry' is scanned now
        FilesFound,       // the walks of 'entry' listed 'count' source, 'otherCount' target files
        Comparing,        // the two sides of 'entry' are compared
        ScanFinished,     // 'stopped' when a stop cut it short
        SyncStarted,      // the copy counters start from 0; 'count' checked rows of 'bytesTotal'
                          // bytes, in both lists, are before the run
        DirectionStarted, // 'direction' begins (its rows are copied if it is on)
        DirectionSkipped, // 'direction' is off: its 'count' checked rows of 'bytesTotal' bytes
                          // are not copied
        FileStarted,      // the copy of 'row' begins ('bytesTotal' to copy)
        FileProgress,     // 'bytesDone' of the large file 'row' are copied
        RowPassed,        // 'row' (index 'index') was passed: copied, failed or not copied
        Problem,          // 'error' was added to the error list
        Flushing,         // what the run wrote goes to disk
        SyncFinished,     // 'stopped' when a stop cut it short
    };
    // How a row was passed.
    enum Outcome : quint8 { NotCopied, Copied, Failed };

    Type type;
    Direction direction = Direction::SourceToTarget;
    Outcome outcome = NotCopied;
    bool stopped = false;
    int entry = -1;
    int index = -1;
    qint64 count = 0;
    qint64 otherCount = 0;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    const ResultRow* row = nullptr;
    const ErrorRow* error = nullptr;
};
