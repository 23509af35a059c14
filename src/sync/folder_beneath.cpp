// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/folder_beneath.h"

#include "core/file_system_info.h"
#include "core/name_bytes.h"
#include "sync/copy_engine.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Kernels before 5.6 have no openat2: then the levels are opened one by one, none through a
// link (stricter: a link inside the root is refused as well). Copies and the giving of times
// open folders from several threads.
std::atomic<bool> s_noOpenat2{false};

int openLevels(int rootFd, const QByteArray& relative)
{
    int fd = ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0);
    for (const QByteArray& level : relative.split('/')) {
        if (fd < 0 || level.isEmpty())
            continue;
        const int next =
            ::openat(fd, level.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        if (next < 0) {
            struct stat st;
            // A level that is a link ends in ENOTDIR with O_NOFOLLOW | O_PATH | O_DIRECTORY.
            errno = error == ENOTDIR && ::fstatat(rootFd, relative.constData(), &st, 0) == 0 &&
                            S_ISDIR(st.st_mode)
                        ? LeavesRoot
                        : error;
            return -1;
        }
        fd = next;
    }
    return fd;
}

// Opens 'relative' below the open root; -1 with errno (LeavesRoot for a link out of it).
int openBelow(int rootFd, const QByteArray& relative)
{
    if (relative.isEmpty())
        return ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0);
    if (!s_noOpenat2) {
        struct open_how how = {};
        how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        const long fd = ::syscall(SYS_openat2, rootFd, relative.constData(), &how, sizeof how);
        if (fd >= 0)
            return int(fd);
        if (errno != ENOSYS) {
            // EXDEV: the path leaves the root (an absolute link, or ".." above it). ELOOP
            // here is a magic link of /proc.
            if (errno == ELOOP)
                errno = LeavesRoot;
            return -1;
        }
        s_noOpenat2 = true;
    }
    return openLevels(rootFd, relative);
}

// The path of 'folder' relative to 'root', or null when it is not below it.
QByteArray relativeBytes(const QString& given, const QString& folder)
{
    QString root = given; // "/mnt/usb/" names the folder "/mnt/usb"
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    if (root.isEmpty() || !isSameOrBelow(folder, root))
        return {};
    const qsizetype skip = root == QLatin1String("/") ? 1 : root.size() + 1;
    return folder.size() <= root.size() ? QByteArray("") : nameBytes(folder.mid(skip));
}

int openRoot(const QString& root)
{
    return ::open(nameBytes(root).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

int openFolderBeneath(const QString& root, const QString& folder)
{
    const QByteArray relative = relativeBytes(root, folder);
    if (relative.isNull()) {
        const QByteArray path = folder.isEmpty() ? QByteArray("/") : nameBytes(folder);
        return ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    const int rootFd = openRoot(root);
    if (rootFd < 0)
        return -1;
    const int fd = openBelow(rootFd, relative);
    const int error = errno;
    ::close(rootFd);
    errno = error;
    return fd;
}

int makeFolderBeneath(const QString& root, const QString& folder)
{
    const QByteArray relative = relativeBytes(root, folder);
    if (relative.isNull())
        return MakeFolderPath(folder);
    // A root that is missing here is one the user agreed to have created.
    int rootFd = openRoot(root);
    if (rootFd < 0 && errno == ENOENT && MakeFolderPath(root) == 0)
        rootFd = openRoot(root);
    if (rootFd < 0)
        return errno;
    // Mostly the folder is there already: one call.
    int fd = openBelow(rootFd, relative);
    int error = fd >= 0 ? 0 : errno;
    if (fd < 0 && error == ENOENT) {
        // Level by level: each made in the one above, opened beneath the root.
        error = 0;
        for (qsizetype end = 0; error == 0 && end < relative.size();) {
            end = relative.indexOf('/', end + 1);
            if (end < 0)
                end = relative.size();
            const QByteArray upTo = relative.left(end);
            const int level = openBelow(rootFd, upTo);
            if (level >= 0) {
                ::close(level);
                continue;
            }
            if (errno != ENOENT) {
                error = errno;
                break;
            }
            const qsizetype slash = upTo.lastIndexOf('/');
            const int parent = openBelow(rootFd, slash < 0 ? QByteArray("") : upTo.left(slash));
            if (parent < 0) {
                error = errno;
                break;
            }
            // mkdirat never follows a link in its last level (it fails with EEXIST).
            if (::mkdirat(parent, upTo.mid(slash + 1).constData(), 0777) != 0 && errno != EEXIST)
                error = errno;
            ::close(parent);
        }
        if (error == 0) {
            fd = openBelow(rootFd, relative);
            error = fd >= 0 ? 0 : errno;
        }
    }
    if (fd >= 0)
        ::close(fd);
    ::close(rootFd);
    return error;
}
