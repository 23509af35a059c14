// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <sys/types.h>

// What the program needs to know of the file system a folder lives on.
struct FileSystemInfo
{
    int error = 0;      // errno when the folder could not be looked at (then nothing else is set)
    dev_t device = 0;   // st_dev of the folder
    QString type;       // as the kernel names it in /proc/self/mountinfo: "ext4", "fuse.fusefat"
    QString mountPoint; // where that file system is mounted
    QString
        identity; // stable across mounts: "uuid:<UUID>", else "fsid:<f_fsid>", else "dev:<m>:<n>"

    // FAT keeps modification times to 2 seconds and as local wall-clock time: a time copied
    // there comes back rounded, and drivers may read it an hour off in summer.
    bool fatTimes() const;
    // Whether one syncfs puts every file written there on disk. It does for the kernel's own
    // disk file systems; it sends nothing to a FUSE driver (a stick through fusefat or
    // ntfs-3g), and network file systems (NFS, SMB, sshfs) are not known to honour it: there
    // each file is flushed by itself. An unknown type counts as not trusted.
    bool syncfsReachesData() const;
};

// The modification times a FAT root can store whatever the time zone: its clock runs from 1980
// to 2107 in local wall-clock time, kept a day inside those ends here. A time outside is
// stored at the nearest end (a driver would wrap it: 1950 read back as 2078), and two times
// are compared as the root would have stored them.
constexpr qint64 FatEarliest = 315532800 + 86400; // 1980-01-02 00:00:00 UTC
constexpr qint64 FatLatest = 4354819199 - 86400;  // 2107-12-30 23:59:59 UTC
constexpr qint64 clampToFat(qint64 seconds)
{
    return seconds < FatEarliest ? FatEarliest : seconds > FatLatest ? FatLatest : seconds;
}

// The file system that holds the folder 'path' (links followed).
FileSystemInfo fileSystemOf(const QString& path);

// True when 'folder' is 'ancestor' or lies below it (both absolute, clean paths).
bool isSameOrBelow(const QString& folder, const QString& ancestor);
