// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/versions.h"

#include "core/name_bytes.h"
#include "core/path_text.h"
#include "sync/copy_engine.h"
#include "sync/copy_file.h"
#include "sync/destination_check.h"
#include "sync/folder_beneath.h"
#include "sync/new_file_times.h"
#include "sync/written_file_systems.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder of a run's versions of root.
QString runFolder(const QString& root, const QString& run)
{
    return joinPath(joinPath(root, VersionsFolder), run);
}

// Removes the folder open as 'dir' entry by entry, then the folder 'name' in 'parent'; false
// when something stayed.
bool removeTree(int parent, const char* name)
{
    const int dir = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return ::unlinkat(parent, name, 0) == 0 || errno == ENOENT;
    DIR* d = ::fdopendir(dir);
    if (!d) {
        ::close(dir);
        return false;
    }
    bool all = true;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        if (::unlinkat(dirfd(d), e->d_name, 0) != 0)
            all = (errno == EISDIR || errno == EPERM ? removeTree(dirfd(d), e->d_name)
                                                     : errno == ENOENT) &&
                  all;
    }
    ::closedir(d);
    return ::unlinkat(parent, name, AT_REMOVEDIR) == 0 && all;
}

// The files below 'folder' (absolute), with their paths relative to it.
void listFiles(const QString& folder, const QString& relative, std::vector<KeptVersion>& into,
               const KeptVersion& base)
{
    const int dir =
        ::open(nameBytes(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR* d = dir >= 0 ? ::fdopendir(dir) : nullptr;
    if (!d) {
        if (dir >= 0)
            ::close(dir);
        return;
    }
    std::vector<QString> folders;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QString name = nameText(e->d_name);
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if (S_ISDIR(st.st_mode)) {
            folders.push_back(path);
        } else if (S_ISREG(st.st_mode)) {
            KeptVersion v = base;
            v.relativePath = path;
            v.path = joinPath(folder, name);
            v.size = st.st_size;
            v.modified = st.st_mtim.tv_sec;
            into.push_back(v);
        }
    }
    ::closedir(d);
    for (const QString& f : folders)
        listFiles(joinPath(folder, f.section(QLatin1Char('/'), -1)), f, into, base);
}

} // namespace

QString folderBelow(const QString& root, const QString& folder)
{
    if (folder == root)
        return QStringLiteral("");
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix) ? folder.mid(prefix.size()) : QString();
}

QString versionRunName(qint64 utcSeconds)
{
    const std::time_t t = std::time_t(utcSeconds);
    std::tm tm = {};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H%M%S", &tm);
    return QString::fromLatin1(text);
}

std::optional<qint64> versionRunTime(const QString& name)
{
    std::tm tm = {};
    const QByteArray text = name.toLatin1();
    const char* end = strptime(text.constData(), "%Y-%m-%d %H%M%S", &tm);
    if (!end || *end != 0 || name.size() != 17)
        return std::nullopt;
    tm.tm_isdst = -1;
    return qint64(std::mktime(&tm));
}

VersionKeeper::~VersionKeeper()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

int VersionKeeper::folder(const QString& root, const QString& relativeFolder, int later)
{
    const QString path =
        joinPath(runFolder(root, versionRunName(m_runStarted + later)), relativeFolder);
    if (m_folder >= 0 && path == m_folderPath)
        return m_folder;
    if (m_folder >= 0)
        ::close(m_folder);
    m_folderPath = path;
    m_folder = ::open(nameBytes(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0 && errno == ENOENT) {
        if (const int error = MakeFolderPath(path)) {
            errno = error;
            return -1;
        }
        m_folder = ::open(nameBytes(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    return m_folder;
}

Failure VersionKeeper::keepInto(const QString& root, const QString& relativeFolder,
                                const std::function<int(int folder)>& keep)
{
    // Two runs (or a run and a restore) may start within one second: a version is never
    // replaced, the later one goes to the next second's folder.
    constexpr int Seconds = 10;
    int error = EEXIST;
    for (int later = 0; later < Seconds && error == EEXIST; ++later) {
        const int versions = folder(root, relativeFolder, later);
        if (versions < 0)
            return failure(ErrorKind::VersionNotKept, errno);
        error = keep(versions);
    }
    return error == 0 ? Failure() : failure(ErrorKind::VersionNotKept, error);
}

Failure VersionKeeper::link(int dir, const QByteArray& name, const QString& root,
                            const QString& relativeFolder, bool& noLinks)
{
    noLinks = false;
    const Failure kept = keepInto(root, relativeFolder, [&](int versions) {
        if (::linkat(dir, name.constData(), versions, name.constData(), 0) == 0)
            return 0;
        const int error = errno;
        noLinks = error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
                  error == EIO; // an rclone mount
        return noLinks ? 0 : error;
    });
    return noLinks ? Failure() : kept;
}

Failure VersionKeeper::moveAway(int dir, const QByteArray& name, const QString& root,
                                const QString& relativeFolder)
{
    struct stat before;
    if (::fstatat(dir, name.constData(), &before, AT_SYMLINK_NOFOLLOW) != 0)
        return failure(ErrorKind::VersionNotKept, errno);
    int movedTo = -1;
    const Failure kept = keepInto(root, relativeFolder, [&](int versions) {
        // A version of that name is never replaced: it is the only copy of that content.
        if (::renameat2(dir, name.constData(), versions, name.constData(), RENAME_NOREPLACE) != 0) {
            if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                return errno;
            struct stat st;
            if (::fstatat(versions, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                return EEXIST;
            if (::renameat(dir, name.constData(), versions, name.constData()) != 0)
                return errno;
        }
        movedTo = versions;
        return 0;
    });
    // Some file systems stamp a renamed file with the time of the rename (fusefat does): the
    // version keeps the time it had. Where the driver shifts the times it is given (by a time
    // zone's offset), the time is given once more, moved the other way, to read back as before.
    struct stat st;
    const auto readBack = [&] {
        return ::fstatat(movedTo, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    };
    if (movedTo >= 0 && readBack() &&
        (st.st_mtim.tv_sec != before.st_mtim.tv_sec ||
         st.st_mtim.tv_nsec != before.st_mtim.tv_nsec)) {
        struct timespec times[2] = {before.st_atim, before.st_mtim};
        if (::utimensat(movedTo, name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0 && readBack()) {
            const time_t shift = st.st_mtim.tv_sec - before.st_mtim.tv_sec;
            if (shift > 2 || shift < -2) {
                times[1].tv_sec -= shift;
                ::utimensat(movedTo, name.constData(), times, AT_SYMLINK_NOFOLLOW);
            }
        }
    }
    return kept;
}

void VersionKeeper::putBack(int dir, const QByteArray& name)
{
    if (m_folder >= 0)
        ::renameat(m_folder, name.constData(), dir, name.constData());
}

void VersionKeeper::unlink(const QByteArray& name)
{
    if (m_folder >= 0)
        ::unlinkat(m_folder, name.constData(), 0);
}

std::vector<KeptVersion> keptVersions(const QString& root, const QString& relativePath)
{
    std::vector<KeptVersion> all;
    const QString versions = joinPath(root, VersionsFolder);
    QStringList runs;
    const int dir =
        ::open(nameBytes(versions).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (DIR* d = dir >= 0 ? ::fdopendir(dir) : nullptr) {
        while (const dirent* e = ::readdir(d))
            if (versionRunTime(QString::fromLatin1(e->d_name)))
                runs << QString::fromLatin1(e->d_name);
        ::closedir(d);
    } else if (dir >= 0) {
        ::close(dir);
    }
    runs.sort(); // the names sort as their times
    for (const QString& run : runs) {
        KeptVersion base;
        base.root = root;
        base.run = run;
        base.runTime = *versionRunTime(run);
        listFiles(joinPath(versions, run), QString(), all, base);
    }
    if (!relativePath.isEmpty())
        std::erase_if(all, [&](const KeptVersion& v) { return v.relativePath != relativePath; });
    return all;
}

QStringList removeOldVersions(const QString& root, int keepDays, qint64 now)
{
    QStringList failed;
    const QString versions = joinPath(root, VersionsFolder);
    const int dir =
        ::open(nameBytes(versions).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) {
        if (errno != ENOENT)
            failed << withSystemMessage(displayName(versions), errno);
        return failed;
    }
    DIR* d = ::fdopendir(dir);
    if (!d) {
        ::close(dir);
        return failed;
    }
    QStringList old;
    while (const dirent* e = ::readdir(d)) {
        const QString name = QString::fromLatin1(e->d_name);
        const std::optional<qint64> time = versionRunTime(name);
        if (time && *time < now - qint64(keepDays) * 86400)
            old << name;
    }
    for (const QString& name : old)
        if (!removeTree(dirfd(d), name.toLatin1().constData()))
            failed << QCoreApplication::translate("Sync", "Removing old versions in %1 failed: %2")
                          .arg(displayName(joinPath(versions, name)),
                               QString::fromLocal8Bit(std::strerror(errno)));
    ::closedir(d);
    // Nothing kept any more: the folder goes too (it is no one's data).
    ::rmdir(nameBytes(versions).constData());
    return failed;
}

Failure restoreVersion(const KeptVersion& version, const QString& toFolder)
{
    const QString relativeFolder = version.relativePath.contains(QLatin1Char('/'))
                                       ? version.relativePath.section(QLatin1Char('/'), 0, -2)
                                       : QString();
    ResultRow row(version.relativePath.section(QLatin1Char('/'), -1),
                  version.path.left(version.path.lastIndexOf(QLatin1Char('/'))),
                  toFolder.isEmpty() ? absoluteFolder(version.root, relativeFolder) : toFolder);
    row.sizeBytes = version.size;
    // Into its place: beneath the root it was kept in, never through a link out of it.
    const QString root = toFolder.isEmpty() ? version.root : QString();
    if (const int error = makeFolderBeneath(root, row.targetFolder()))
        return error == LeavesRoot ? failure(ErrorKind::LinkOutOfRoot)
                                   : folderFailure(ErrorKind::FolderNotCreated, error);
    // The file to be replaced, as it is now. Somewhere else than its place, nothing is
    // replaced: the version would have no run folder to go to.
    struct stat st;
    Destination destination;
    if (::stat(nameBytes(row.targetPath()).constData(), &st) == 0) {
        if (!toFolder.isEmpty())
            return failure(ErrorKind::DestinationCreated, EEXIST,
                           QStringLiteral("%1 exists already: restore into another folder")
                               .arg(displayName(row.targetPath())));
        destination = {true, st.st_mtim.tv_sec, qint32(st.st_mtim.tv_nsec), st.st_size};
    }
    WrittenFileSystems written;
    VersionKeeper keeper(QDateTime::currentSecsSinceEpoch(), 1);
    CopyPlacer placer(&written, &keeper);
    PreparedCopy copy = CopyPreparer().prepare(
        row, destination, [] { return true; }, root);
    const Failure placed = placer.place(row, copy, {}, version.root);
    if (placed.failed())
        return placed;
    std::vector<WrittenFileSystems::Failure> flushed = written.flush();
    if (flushed.empty() && copy.stampedOlder) {
        struct timespec modified = copy.sourceModified;
        modified.tv_sec -= time_t(copy.timeShift);
        giveNewFilesTheirTimes({{root,
                                 row.targetFolder(),
                                 copy.destName,
                                 copy.placedFile,
                                 {copy.sourceAccessed, modified}}});
        flushed = written.flush();
    }
    return flushed.empty() ? Failure() : failure(ErrorKind::FlushFailed, flushed.front().error);
}
