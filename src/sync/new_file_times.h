// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <sys/types.h>
#include <utility>
#include <vector>

// A file a synchronization created. It took its name with a time older than its source's, so
// that a power cut before the run put it on disk leaves it to be copied again rather than taken
// for done; once the run has flushed, it gets its source's time.
struct NewFile
{
    QString root; // the root of the side it was written to: its folder is opened beneath it
    QString folder;
    QByteArray name;
    std::pair<dev_t, ino_t> file; // the file that took the name
    struct timespec times[2];     // the source's access and modification times
};

// Gives each file its source's time, unless another file has taken its name since. Many files
// are set from two threads. Runs on any thread: it touches neither the rows nor the window.
void giveNewFilesTheirTimes(const std::vector<NewFile>& files);
