// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
#include <set>
#include <sys/types.h>
#include <vector>

// The file systems a synchronization wrote to, so that it can put everything it wrote on disk
// before it says it is done: one syncfs per file system, through a file it wrote there. Where
// syncfs does not reach the data (FUSE, network file systems) each file was flushed by itself
// before it was placed; there the folders that got new names are flushed at the end.
class WrittenFileSystems
{
public:
    WrittenFileSystems() = default;
    ~WrittenFileSystems();
    WrittenFileSystems(const WrittenFileSystems&) = delete;
    WrittenFileSystems& operator=(const WrittenFileSystems&) = delete;

    // A file was written in 'folder' through the open descriptor 'fd' on the device 'device'.
    // 'bySyncfs': syncfs reaches the data there, else the folder itself is flushed.
    void note(dev_t device, int fd, const QString& folder, bool bySyncfs = true);
    bool empty() const { return m_written.empty(); }

    struct Failure
    {
        QString folder; // a folder written to on that file system
        int error;
    };
    // Flushes every file system noted; what could not be flushed. Safe to run on another
    // thread than the one that noted (nothing is noted meanwhile).
    std::vector<Failure> flush();

private:
    struct Written
    {
        int fd;
        QString folder;
    };
    std::map<dev_t, Written> m_written;
    std::set<QString> m_folders; // flushed by themselves
};
