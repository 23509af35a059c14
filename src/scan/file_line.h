// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// One enumerated file: its path below the enumeration root, split into the folder part
// (shared by every file of that folder; empty for a file directly in the root) and the name,
// its last-write time and its size.
struct FileLine
{
    QString folder;        // relative folder, "/"-separated, no leading or trailing "/"
    QString name;          // file name
    qint64 modified = 0;   // last-write time, whole seconds since the epoch (UTC)
    qint32 modifiedNs = 0; // nanoseconds of the last-write time
    qint64 size = 0;       // bytes

    // The relative path: folder, "/" and name, or the bare name for a file in the root.
    QString relativePath() const
    {
        return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
    }
    // Writes the relative path into 'out', reusing its storage.
    void relativePathInto(QString& out) const
    {
        out.resize(0); // keeps the storage, unlike clear()
        if (!folder.isEmpty()) {
            out += folder;
            out += QLatin1Char('/');
        }
        out += name;
    }
};

// A record list: FilesList1 (source side) or FilesList2 (target side).
using FileList = std::vector<FileLine>;
