// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>
#include <vector>

// Moving the bytes of one file into a fresh destination file, as fast as the file systems
// allow: a reflink clone, else copy_file_range in the kernel, else read and write. Holes of a
// sparse source stay holes.

// What the pair of file systems of one copy turned out not to support, so later files of the
// same pair skip the attempt.
struct DataPathCaps
{
    bool noClone = false;
    bool noCopyRange = false;
};

struct DataCopyResult
{
    enum Failure { None, Read, Write, SourceShrank, Stopped };
    Failure failure = None;
    int error = 0; // errno of a Read or Write failure
};

// How often a copy asks whether to go on: after every this many bytes copied (across the holes
// of a sparse file it is asked less often). Counting the calls tells how far the copy is.
constexpr qint64 DataStepBytes = qint64(1) << 20;

// Copies 'size' bytes of 'source' into the empty file 'dest' (both open file descriptors).
// 'keepGoing' runs after every DataStepBytes; false stops the copy. 'buffer' is reused by the
// read/write fallback.
DataCopyResult copyFileData(int source, int dest, qint64 size, bool maybeSparse, DataPathCaps& caps,
                            std::vector<char>& buffer, const std::function<bool()>& keepGoing);
