// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_file.h"

#include "core/file_system_info.h"
#include "core/name_bytes.h"
#include "core/ui_yield.h"
#include "sync/destination_check.h"
#include "sync/folder_beneath.h"
#include "sync/partial_copy_name.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int NameAttempts = 100;

struct FileHandle
{
    int fd = -1;
    ~FileHandle()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The same version of the file: nothing written to it, nothing renamed over it.
bool sameVersion(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// A hard link that fails with these errors is one this file system cannot make (FAT and exFAT
// through FUSE, SMB shares, sshfs; an rclone mount answers EIO).
bool noHardLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EIO;
}

// A time read back this far from the one given is no rounding: a whole number of quarter
// hours (every time zone's offset is one), give or take a two-second clock.
bool isZoneShift(qint64 seconds)
{
    constexpr qint64 Quarter = 15 * 60;
    const qint64 off = seconds < 0 ? -seconds : seconds;
    const qint64 fromQuarter = (off + 2) % Quarter;
    return off >= Quarter - 2 && off <= 26 * 3600 && fromQuarter <= 4;
}

qint64 steadyNow()
{
    struct timespec t = {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The process's umask, read without changing it; -1 when the kernel does not tell.
int currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("Umask:")) {
            bool ok = false;
            const int mask = line.mid(6).trimmed().toInt(&ok, 8);
            return ok ? mask : -1;
        }
    }
    return -1;
}

} // namespace

FolderHandle::~FolderHandle()
{
    if (fd >= 0)
        ::close(fd);
}

PreparedCopy::PreparedCopy(PreparedCopy&& other) noexcept
    : error(std::move(other.error)), copied(other.copied), stamped(other.stamped),
      newFile(other.newFile), flushed(other.flushed), stampedOlder(other.stampedOlder),
      folder(std::move(other.folder)), fd(std::exchange(other.fd, -1)),
      tempName(std::move(other.tempName)), name(std::move(other.name)),
      destName(std::move(other.destName)), sourceMode(other.sourceMode),
      sourceAccessed(other.sourceAccessed),
      sourceModified(other.sourceModified), given{other.given[0], other.given[1]},
      timeShift(other.timeShift), placedFile(other.placedFile), writtenAt(other.writtenAt),
      destination(other.destination)
{}

PreparedCopy::~PreparedCopy()
{
    if (!tempName.isEmpty() && folder)
        ::unlinkat(folder->fd, tempName.constData(), 0);
    if (fd >= 0)
        ::close(fd);
}

CopyPreparer::CopyPreparer(qint64 unnamedFromBytes, bool unnamedNewFiles)
    : m_unnamedFrom(unnamedFromBytes), m_unnamedNew(unnamedNewFiles), m_uid(::geteuid()),
      m_gid(::getegid()), m_umask(currentUmask())
{}

int CopyPreparer::open(Folder& folder, const QString& path, const QString& root)
{
    if (folder.opened && path == folder.path)
        return folder.handle ? folder.handle->fd : -1;
    folder.opened = true;
    folder.path = path;
    // An empty folder is the root: its files are "/" + name.
    const int fd = openFolderBeneath(root, path);
    folder.error = fd < 0 ? errno : 0;
    folder.handle = fd >= 0 ? std::make_shared<const FolderHandle>(fd) : nullptr;
    struct stat st;
    folder.device = fd >= 0 && ::fstat(fd, &st) == 0 ? st.st_dev : 0;
    return fd;
}

int CopyPreparer::openTemporary(int dir, dev_t device, const QByteArray& name, bool unnamed,
                                mode_t mode, QByteArray& tempName)
{
    if (unnamed && !m_noUnnamedTemporary.count(device)) {
        const int fd = ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return -1;
        m_noUnnamedTemporary.insert(device);
    }
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const QByteArray candidate = partialCopyName(name);
        const int fd = ::openat(dir, candidate.constData(),
                                O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            tempName = candidate;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

CopyPreparer::DeviceNeeds CopyPreparer::needsOf(dev_t device, const QString& folder)
{
    const auto known = m_needs.find(device);
    if (known != m_needs.end())
        return known->second;
    const FileSystemInfo fs = fileSystemOf(folder);
    return m_needs[device] = {fs.error != 0 || !fs.syncfsReachesData(), fs.fatTimes()};
}

PreparedCopy CopyPreparer::prepare(const ResultRow& row, const Destination& destination,
                                   const std::function<bool()>& keepGoing,
                                   const QString& targetRoot)
{
    const QByteArray name = nameBytes(row.name());
    const int from = open(m_source, row.sourceFolder());
    if (from < 0)
        return PreparedCopy(failure(ErrorKind::SourceUnreadable, m_source.error));
    // O_NONBLOCK: a source that became a FIFO must not hang the copy in open().
    FileHandle source{
        ::openat(from, name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (source.fd < 0)
        return PreparedCopy(failure(ErrorKind::SourceUnreadable, errno));
    struct stat st;
    if (::fstat(source.fd, &st) != 0)
        return PreparedCopy(failure(ErrorKind::SourceUnreadable, errno));
    if (S_ISDIR(st.st_mode))
        return PreparedCopy(failure(ErrorKind::SourceUnreadable, EISDIR));
    if (!S_ISREG(st.st_mode))
        return PreparedCopy(failure(ErrorKind::SourceNotRegular));

    const int dir = open(m_target, row.targetFolder(), targetRoot);
    if (dir < 0 && m_target.error == LeavesRoot)
        return PreparedCopy(failure(ErrorKind::LinkOutOfRoot));
    if (dir < 0)
        return PreparedCopy(folderFailure(ErrorKind::FolderNotOpened, m_target.error));
    PreparedCopy copy;
    copy.folder = m_target.handle;
    copy.name = name;
    copy.destName = name;
    copy.sourceMode = st.st_mode;
    copy.sourceAccessed = st.st_atim;
    copy.destination = destination;
    // A file to be replaced must be as the scan found it (checked again when it is placed).
    if (destination.exists) {
        const Failure refused = checkDestination(dir, copy.destName, destination, st.st_mode);
        if (refused.failed())
            return PreparedCopy(refused);
    }
    copy.newFile = !destination.exists;
    const bool unnamed = copy.newFile ? m_unnamedNew : st.st_size >= m_unnamedFrom;
    copy.fd = openTemporary(dir, m_target.device, name, unnamed, st.st_mode & 0777, copy.tempName);
    if (copy.fd < 0)
        return PreparedCopy(failure(ErrorKind::WriteFailed, errno));

    DataPathCaps& caps = m_caps[{st.st_dev, m_target.device}];
    const bool maybeSparse = qint64(st.st_blocks) * 512 < qint64(st.st_size);
    const DataCopyResult data =
        copyFileData(source.fd, copy.fd, st.st_size, maybeSparse, caps, m_buffer, keepGoing);
    switch (data.failure) {
    case DataCopyResult::None:
        break;
    case DataCopyResult::Read:
        return PreparedCopy(failure(ErrorKind::SourceUnreadable, data.error));
    case DataCopyResult::Write:
        return PreparedCopy(failure(ErrorKind::WriteFailed, data.error));
    case DataCopyResult::SourceShrank:
        return PreparedCopy(failure(ErrorKind::SourceChanged));
    case DataCopyResult::Stopped:
        return PreparedCopy(failure(ErrorKind::Stopped));
    }
    // A source written to (or replaced under its name) while it was read gives a copy that is
    // neither the old nor the new version; it would also carry the old time, so that the next
    // scan might find the pair equal. The clone of a file system that has them is checked too:
    // the clone may have been taken after a change that came after the open. One look by name
    // tells both: a name that still leads to the file read gives that very file's state.
    struct stat after;
    if (::fstatat(from, name.constData(), &after, 0) != 0 || !sameVersion(st, after))
        return PreparedCopy(failure(ErrorKind::SourceChanged));

    // Owner (only root may give a file away), then permission bits (the umask and the owner
    // change may have taken some), then times. File systems without Unix permissions refuse
    // the first two; the copy is good all the same.
    const bool chowned = m_uid == 0 && (st.st_uid != m_uid || st.st_gid != m_gid);
    if (chowned && ::fchown(copy.fd, st.st_uid, st.st_gid) != 0)
        errno = 0;
    const mode_t created = st.st_mode & 0777 & ~mode_t(m_umask < 0 ? 0777 : m_umask);
    if ((m_umask < 0 || chowned || created != (st.st_mode & 07777)) &&
        ::fchmod(copy.fd, st.st_mode & 07777) != 0)
        errno = 0;
    const DeviceNeeds needs = needsOf(m_target.device, row.targetFolder());
    copy.flushed = needs.flushEach;
    copy.stampedOlder = copy.newFile && !copy.flushed;
    copy.sourceModified = st.st_mtim;
    // A time FAT cannot store goes there as its nearest end, never wrapped.
    if (needs.fatTimes && clampToFat(st.st_mtim.tv_sec) != st.st_mtim.tv_sec)
        copy.sourceModified = {time_t(clampToFat(st.st_mtim.tv_sec)), 0};
    copy.given[0] = st.st_atim;
    if (needs.fatTimes)
        copy.given[0] = {time_t(clampToFat(st.st_atim.tv_sec)), st.st_atim.tv_nsec};
    copy.given[1] = copy.sourceModified;
    copy.given[1].tv_sec -= copy.stampedOlder ? NewFileTimeBack : 0;
    if (::futimens(copy.fd, copy.given) != 0)
        return PreparedCopy(failure(ErrorKind::WriteFailed, errno));
    copy.copied = {copy.sourceModified.tv_sec, copy.sourceModified.tv_nsec, st.st_size};
    copy.stamped = {copy.given[1].tv_sec, copy.given[1].tv_nsec, st.st_size};
    const Failure kept = readBackTime(copy);
    if (kept.failed())
        return PreparedCopy(kept);
    // Where one flush of the file system does not reach the data, each file is flushed
    // before it takes a name; a flush that fails is this copy's failure.
    if (copy.flushed && ::fsync(copy.fd) != 0)
        return PreparedCopy(failure(ErrorKind::WriteFailed, errno));
    // A file system may tell of a failed write only when the file is closed (NFS, FUSE
    // drivers that write at their flush), and it tells at every close: an unnamed new file,
    // which keeps its descriptor until it takes its name, closes a duplicate now.
    if (copy.newFile && copy.tempName.isEmpty()) {
        const int twin = ::fcntl(copy.fd, F_DUPFD_CLOEXEC, 0);
        if (twin < 0 || (::close(twin) != 0 && errno != EINTR))
            return PreparedCopy(failure(ErrorKind::WriteFailed, errno));
    }
    copy.writtenAt = steadyNow();
    return copy;
}

// What the file system kept of the time it was given (a coarse clock rounds it). A new file's
// own time comes at the end of the run.
Failure CopyPreparer::readBackTime(PreparedCopy& copy)
{
    struct stat written;
    if (::fstat(copy.fd, &written) != 0)
        return {};
    // Some drivers shift the times they are given by the time zone's offset (fusefat keeps
    // them as UTC wall-clock time and reads them back as local standard time): given again,
    // moved the other way, the file reads back as its source's time.
    const qint64 shift = qint64(written.st_mtim.tv_sec) - qint64(copy.given[1].tv_sec);
    if (isZoneShift(shift)) {
        copy.given[1].tv_sec -= time_t(shift);
        copy.timeShift = shift;
        if (::futimens(copy.fd, copy.given) != 0 || ::fstat(copy.fd, &written) != 0)
            return failure(ErrorKind::WriteFailed, errno);
    }
    copy.stamped = {written.st_mtim.tv_sec, written.st_mtim.tv_nsec, written.st_size};
    // A clock rounds the source's time as it rounded the earlier one it was given.
    copy.copied = copy.stamped;
    copy.copied.modified += copy.stampedOlder ? NewFileTimeBack : 0;
    copy.placedFile = {written.st_dev, written.st_ino};
    return {};
}

int CopyPlacer::linkUnnamed(int fd, int dir, const QByteArray& name)
{
    if (!m_noEmptyPathLink) {
        if (::linkat(fd, "", dir, name.constData(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return -1;
    }
    // Without CAP_DAC_READ_SEARCH the kernel links an unnamed file only through /proc.
    char procPath[40];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, dir, name.constData(), AT_SYMLINK_FOLLOW) != 0)
        return -1;
    m_noEmptyPathLink = true;
    return 0;
}

Failure CopyPlacer::place(const ResultRow& row, PreparedCopy& copy,
                          const std::function<void()>& waiting, const QString& versionRoot)
{
    if (copy.error.failed())
        return copy.error;
    const dev_t device = copy.placedFile.first;
    const int dir = copy.folder->fd;
    if (m_written)
        m_written->note(device, copy.fd, row.targetFolder(), !copy.flushed);
    Failure failed;
    if (!copy.destination.exists) {
        failed = copy.tempName.isEmpty() ? linkNew(copy, dir) : closeWritten(copy);
        if (!failed.failed() && !copy.tempName.isEmpty())
            failed = create(copy, dir, device);
    } else {
        // The copy may have taken a while: look at the destination once more.
        failed = checkDestination(dir, copy.destName, copy.destination, copy.sourceMode);
        const int flushError =
            !failed.failed() && !copy.flushed ? flushBefore(copy, device, waiting) : 0;
        if (flushError != 0)
            failed = failure(ErrorKind::WriteFailed, flushError);
        // Give an unnamed file a hidden name first, so that the rename replaces the
        // destination at once.
        if (!failed.failed())
            failed = nameUnnamed(copy, dir);
        if (!failed.failed())
            failed = closeWritten(copy);
        // Nothing is replaced without its version.
        bool versionKept = false, moved = false;
        if (!failed.failed() && m_versions && m_versions->keeps() && !versionRoot.isEmpty()) {
            failed = keepVersion(row, copy, dir, device, versionRoot, moved);
            versionKept = !failed.failed();
        }
        if (!failed.failed()) {
            if (::renameat(dir, copy.tempName.constData(), dir, copy.destName.constData()) == 0) {
                copy.tempName.clear();
            } else {
                failed = failure(ErrorKind::ReplaceFailed, errno);
                if (versionKept && moved)
                    m_versions->putBack(dir, copy.destName);
                else if (versionKept)
                    m_versions->unlink(copy.destName);
            }
        }
    }
    if (failed.failed())
        return failed;
    keepTime(copy, dir, device);
    m_flushed[device].bytesSince += copy.copied.sizeBytes;
    return {};
}

Failure CopyPlacer::nameUnnamed(PreparedCopy& copy, int dir)
{
    for (int attempt = 0; copy.tempName.isEmpty(); ++attempt) {
        const QByteArray candidate = partialCopyName(copy.name);
        if (linkUnnamed(copy.fd, dir, candidate) == 0)
            copy.tempName = candidate;
        else if (errno != EEXIST || attempt + 1 == NameAttempts)
            return failure(copy.newFile ? ErrorKind::CreateFailed : ErrorKind::ReplaceFailed,
                           errno);
    }
    return {};
}

// A file system may tell of a failed write only when the file is closed (NFS, FUSE drivers
// that write at their flush): the file is closed before it takes the destination's name, and
// a close that fails leaves the destination as it was.
Failure CopyPlacer::closeWritten(PreparedCopy& copy)
{
    const int fd = std::exchange(copy.fd, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        return failure(ErrorKind::WriteFailed, errno);
    return {};
}

// Where the file system has hard links, the destination gets a second name in the versions
// folder, and the rename that replaces it stays one step. Where it has none, the destination
// is moved there right before the new file takes its name: a crash in between leaves the old
// content in the versions folder, never nowhere.
Failure CopyPlacer::keepVersion(const ResultRow& row, PreparedCopy& copy, int dir, dev_t device,
                                const QString& versionRoot, bool& moved)
{
    const QString relative = folderBelow(versionRoot, row.targetFolder());
    bool noLinks = m_noHardLinks.count(device) > 0;
    moved = false;
    if (!noLinks) {
        const Failure linked = m_versions->link(dir, copy.destName, versionRoot, relative, noLinks);
        if (!noLinks)
            return linked;
        m_noHardLinks.insert(device);
    }
    moved = true;
    return m_versions->moveAway(dir, copy.destName, versionRoot, relative);
}

// The old version of a file to be replaced goes when the new one takes its name: the new data
// (with its time, or the next scan would see another) must be on disk by then. One flush of
// the file system puts there every copy written before it, the few that the copy-ahead has
// ready too: far cheaper than an fsync per file, each of which waits for a journal commit.
// With little written since the last flush it is quick and runs here; after much (new files
// are flushed only at the end of the run) it runs on a thread of its own while the window
// repaints. The result is 0 or the errno of the flush.
int CopyPlacer::flushBefore(const PreparedCopy& copy, dev_t device,
                            const std::function<void()>& waiting)
{
    constexpr qint64 QuickFlushBytes = qint64(8) << 20;
    Flushed& flushed = m_flushed[device];
    if (copy.writtenAt < flushed.at)
        return 0;
    const qint64 now = steadyNow();
    const int fd = copy.fd;
    const auto flush = [fd] { return ::syncfs(fd) == 0 ? 0 : errno; };
    int error = 0;
    if (flushed.bytesSince + copy.copied.sizeBytes <= QuickFlushBytes || !waiting)
        error = flush();
    else
        error = whileWaiting(flush, waiting);
    if (error == 0)
        flushed = {now, 0};
    return error;
}

// Some file systems stamp a renamed file with the time of the rename (fusefat does): the next
// scan would find the copy newer than its source. Looked at once per file system; where the
// time is lost, it is given back to every file placed.
void CopyPlacer::keepTime(const PreparedCopy& copy, int dir, dev_t device)
{
    const char* dest = copy.destName.constData();
    if (!m_timeChecked.count(device)) {
        m_timeChecked.insert(device);
        struct stat st;
        if (::fstatat(dir, dest, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            (st.st_mtim.tv_sec == copy.stamped.modified &&
             st.st_mtim.tv_nsec == copy.stamped.modifiedNs))
            return;
        m_renameLosesTime.insert(device);
    }
    if (!m_renameLosesTime.count(device))
        return;
    // The times given before the rename (both: fusefat takes an omitted access time for "now"
    // for both).
    ::utimensat(dir, dest, copy.given, AT_SYMLINK_NOFOLLOW);
}

// A new file in an unnamed temporary file takes the destination's name by a hard link of the
// file itself, which never replaces a file that took the name after the scan. What a close
// could tell was told when the copy closed a duplicate (CopyPreparer::prepare): nothing was
// written since, this close only lets the file go.
Failure CopyPlacer::linkNew(PreparedCopy& copy, int dir)
{
    if (linkUnnamed(copy.fd, dir, copy.destName) != 0)
        return errno == EEXIST ? nameTaken(dir, copy.destName)
                               : failure(ErrorKind::CreateFailed, errno);
    ::close(std::exchange(copy.fd, -1));
    return {};
}

// A new destination never replaces a file that took its name after the scan.
Failure CopyPlacer::create(PreparedCopy& copy, int dir, dev_t device)
{
    const char* dest = copy.destName.constData();
    const char* temp = copy.tempName.constData();
    if (!m_noExclusiveRename.count(device)) {
        if (::renameat2(dir, temp, dir, dest, RENAME_NOREPLACE) == 0) {
            copy.tempName.clear();
            return {};
        }
        if (errno == EEXIST)
            return nameTaken(dir, copy.destName);
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return failure(ErrorKind::CreateFailed, errno);
        m_noExclusiveRename.insert(device);
    }
    if (!m_noHardLinks.count(device)) {
        // A hard link never replaces either; the temporary name goes when 'copy' does.
        if (::linkat(dir, temp, dir, dest, 0) == 0)
            return {};
        if (errno == EEXIST)
            return nameTaken(dir, copy.destName);
        if (!noHardLinks(errno))
            return failure(ErrorKind::CreateFailed, errno);
        m_noHardLinks.insert(device);
    }
    // Neither (FAT or exFAT through FUSE, SMB shares, sshfs): the name must still be free, then
    // a plain rename. This cannot guard against a file that another program (or, on a shared
    // folder, another machine) creates under that name between the check and the rename: the
    // rename replaces it. Locally that is a moment of microseconds.
    struct stat st;
    if (::fstatat(dir, dest, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return nameTaken(dir, copy.destName);
    if (errno != ENOENT)
        return failure(ErrorKind::CreateFailed, errno);
    if (::renameat(dir, temp, dir, dest) != 0)
        return failure(ErrorKind::CreateFailed, errno);
    copy.tempName.clear();
    return {};
}
