// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/failure.h"
#include "results/result_row.h"
#include "sync/copy_data.h"
#include "sync/versions.h"
#include "sync/written_file_systems.h"

#include <QString>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sys/types.h>
#include <utility>
#include <vector>

// The destination as a successful copy left it.
struct CopiedFile
{
    qint64 modified = 0; // seconds since the epoch
    qint64 modifiedNs = 0;
    qint64 sizeBytes = 0;
};

// A folder opened for the *at() calls of the copies into or out of it.
struct FolderHandle
{
    int fd = -1;
    explicit FolderHandle(int descriptor) : fd(descriptor) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
};

// How much older than its source a new file is until its run has put it on disk: far enough
// back that a two-second clock still sees the source as newer, and even, so that the clock
// rounds both times alike.
constexpr time_t NewFileTimeBack = 10;

// One file copied into its temporary file, waiting to take the destination's place, or the
// reason it could not be. Dropped before it is placed, it takes its temporary file along.
struct PreparedCopy
{
    Failure error;        // none when ready to be placed
    CopiedFile copied;    // the time and size the destination is to have, as the clock keeps it
    CopiedFile stamped;   // the time the temporary file carries
    bool newFile = false; // takes a name that is free
    // Flushed by itself (fsync) before it is placed, where one flush of the file system does
    // not reach the data: a new file then has its source's time at once.
    bool flushed = false;
    bool stampedOlder = false; // a new file stamped older than its source until the run's flush
    std::shared_ptr<const FolderHandle> folder;
    int fd = -1;         // the temporary file
    QByteArray tempName; // empty while the temporary file has no name
    QByteArray name;     // the row's name on disk
    QByteArray destName; // the destination's name (the row's, or its spelling on disk)
    mode_t sourceMode = 0;
    struct timespec sourceAccessed = {};
    struct timespec sourceModified = {};
    // The access and modification times given to the temporary file, and how far the file
    // system turned out to shift the times it is given (see CopyPlacer::place).
    struct timespec given[2] = {};
    qint64 timeShift = 0;
    std::pair<dev_t, ino_t> placedFile = {0, 0}; // the file that took the destination's name
    qint64 writtenAt = 0;    // steady clock, nanoseconds: when the last byte was written
    Destination destination; // as the scan found it: the one to be replaced, if any

    PreparedCopy() = default;
    explicit PreparedCopy(Failure why) : error(std::move(why)) {}
    PreparedCopy(PreparedCopy&& other) noexcept;
    PreparedCopy& operator=(PreparedCopy&&) = delete;
    ~PreparedCopy();
};

// Copies files so that a destination is never half-written: the data goes into a temporary
// file in the destination folder, gets the source's modification time and permission bits,
// and only then takes the destination's name, in one step. A new file is written into an
// unnamed temporary file (O_TMPFILE), which vanishes with the process if it is killed, and
// takes its name by a hard link of the file itself: no name to make and rename away, and the
// link fails when a file took the name since the scan. A file that replaces another is renamed
// over it from a hidden name ".<name>.ketrano-partial-XXXXXX": a small one is written under
// that name, a large one into an unnamed file that gets the name only once written. Where the
// file system has no unnamed files (FAT, FUSE, network shares), every copy is written under a
// hidden name. Before that the destination is checked to be as the scan found it, and a
// read-only destination is never replaced; after the data is written the source is checked not
// to have changed meanwhile. The data of a file that replaces another is on disk before it
// takes the name, so a power cut leaves the old file or the new one, never an empty one. A new
// file takes its name with a time older than its source's and gets the source's time only once
// the run has put it on disk (SyncRun::newFiles): a power cut before that leaves it to be
// copied again, never taken for done. One flush of the file system serves all copies written
// before it. Any failure leaves the destination as it was and no temporary file behind.
//
// The two steps have an owner each, so that one thread may prepare copies while another
// places them: a CopyPreparer copies the data into the temporary file (the copy-ahead worker
// owns it), a CopyPlacer gives the temporary file the destination's name (the window thread
// owns it). Neither uses anything of the other; a PreparedCopy passes from one to the other
// whole. Each serves the copies of one pass and remembers what the file systems involved
// cannot do.

class CopyPreparer
{
public:
    // Replacing copies of at least this size use an unnamed temporary file where the file
    // system has one.
    static constexpr qint64 DefaultUnnamedFromBytes = qint64(8) << 20;

    // 'unnamedNewFiles' false: new files take hidden names too, as where the file system has
    // no unnamed files.
    explicit CopyPreparer(qint64 unnamedFromBytes = DefaultUnnamedFromBytes,
                          bool unnamedNewFiles = true);

    // Copies row.sourcePath() into a temporary file beside row.targetPath(). 'keepGoing' runs
    // every few MiB of a large file; false stops the copy. 'targetRoot', when given, is the root
    // of the side written to: the destination folder is opened beneath it, never through a
    // link that leads out of it.
    // 'destination' is the row's destination as scanned.
    PreparedCopy prepare(const ResultRow& row, const Destination& destination,
                         const std::function<bool()>& keepGoing, const QString& targetRoot = {});

private:
    // The source and destination folders of the last copy stay open.
    struct Folder
    {
        QString path;
        bool opened = false;
        std::shared_ptr<const FolderHandle> handle;
        int error = 0;
        dev_t device = 0;
    };
    static int open(Folder& folder, const QString& path, const QString& root = {});
    // What the file system of a destination folder needs: a flush per file, FAT's times.
    struct DeviceNeeds
    {
        bool flushEach = false;
        bool fatTimes = false;
    };
    DeviceNeeds needsOf(dev_t device, const QString& folder);
    static Failure readBackTime(PreparedCopy& copy);
    int openTemporary(int dir, dev_t device, const QByteArray& name, bool unnamed, mode_t mode,
                      QByteArray& tempName);

    Folder m_source;
    Folder m_target;
    qint64 m_unnamedFrom;
    bool m_unnamedNew;
    uid_t m_uid;
    gid_t m_gid;
    int m_umask; // -1: unknown
    std::set<dev_t> m_noUnnamedTemporary;
    std::map<dev_t, DeviceNeeds> m_needs;
    std::map<std::pair<dev_t, dev_t>, DataPathCaps> m_caps;
    std::vector<char> m_buffer;
};

class CopyPlacer
{
public:
    // 'written', when given, learns the file system of every file placed; 'versions', when
    // given, keeps every destination that a copy replaces.
    explicit CopyPlacer(WrittenFileSystems* written = nullptr, VersionKeeper* versions = nullptr)
        : m_written(written), m_versions(versions)
    {}

    // Puts a prepared copy in the destination's place if the destination is still as the
    // scan found it. Returns no failure on success, else what failed. 'waiting',
    // when given, runs about every 10 ms while a flush takes its time (the window repaints).
    // A destination it replaces is kept as a version below 'versionRoot' (the root of that
    // side of the row's entry) first; when that fails, nothing is replaced.
    Failure place(const ResultRow& row, PreparedCopy& prepared,
                  const std::function<void()>& waiting = {}, const QString& versionRoot = {});

private:
    int linkUnnamed(int fd, int dir, const QByteArray& name);
    Failure create(PreparedCopy& copy, int dir, dev_t device);
    Failure linkNew(PreparedCopy& copy, int dir);
    Failure nameUnnamed(PreparedCopy& copy, int dir);
    static Failure closeWritten(PreparedCopy& copy);
    void keepTime(const PreparedCopy& copy, int dir, dev_t device);
    int flushBefore(const PreparedCopy& copy, dev_t device, const std::function<void()>& waiting);

    // Keeps the destination as a version, by a link or by moving it away; 'moved' tells which.
    Failure keepVersion(const ResultRow& row, PreparedCopy& copy, int dir, dev_t device,
                        const QString& versionRoot, bool& moved);

    WrittenFileSystems* m_written;
    VersionKeeper* m_versions;
    bool m_noEmptyPathLink = false;
    // Devices whose file system has no exclusive rename (RENAME_NOREPLACE), no hard links.
    std::set<dev_t> m_noExclusiveRename;
    std::set<dev_t> m_noHardLinks;
    // Devices looked at after a first file was placed, and those whose file system stamps a
    // renamed file with the time of the rename (fusefat).
    std::set<dev_t> m_timeChecked;
    std::set<dev_t> m_renameLosesTime;
    // Per device: the steady clock when its file system was last flushed (what was written
    // before that is on disk), and the bytes placed there since.
    struct Flushed
    {
        qint64 at = -1;
        qint64 bytesSince = 0;
    };
    std::map<dev_t, Flushed> m_flushed;
};
