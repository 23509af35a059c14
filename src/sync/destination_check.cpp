// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/destination_check.h"

#include "core/name_bytes.h"
#include "scan/text_case.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool asScanned(const struct stat& st, const Destination& d)
{
    return st.st_size == d.sizeBytes && st.st_mtim.tv_sec == d.modified &&
           st.st_mtim.tv_nsec == d.modifiedNs;
}

// Equal ignoring letter case, as the scan pairs names: a name that is not valid UTF-8 has no
// letter case and equals only itself.
bool sameIgnoringCase(const QString& a, const QString& b)
{
    if (a.size() != b.size() || holdsRawBytes(a) || holdsRawBytes(b))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (upperUnit(a[i].unicode()) != upperUnit(b[i].unicode()))
            return false;
    return true;
}

// Calls 'found' with every other name of the folder that equals 'name' ignoring case, and
// tells whether the folder holds 'name' itself, byte for byte.
bool forEachCaseVariant(int dir, const QByteArray& name,
                        const std::function<void(const QByteArray&)>& found)
{
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return false;
    }
    const QString wanted = nameText(name);
    bool exact = false;
    while (const dirent* e = ::readdir(folder)) {
        const QByteArray candidate(e->d_name);
        if (candidate == name)
            exact = true;
        else if (sameIgnoringCase(nameText(candidate), wanted))
            found(candidate);
    }
    ::closedir(folder);
    return exact;
}

// The one other name in the folder that equals 'name' ignoring case and whose file is as the
// scan found the destination; empty when there is none, or more than one.
QByteArray caseVariant(int dir, const QByteArray& name, const Destination& destination)
{
    QByteArray found;
    int matches = 0;
    forEachCaseVariant(dir, name, [&](const QByteArray& candidate) {
        struct stat st;
        if (::fstatat(dir, candidate.constData(), &st, 0) == 0 && S_ISREG(st.st_mode) &&
            asScanned(st, destination)) {
            found = candidate;
            ++matches;
        }
    });
    return matches == 1 ? found : QByteArray();
}

} // namespace

Failure folderFailure(ErrorKind kind, int error)
{
    return error == ENOTDIR ? failure(ErrorKind::FileInTheWay, error) : failure(kind, error);
}

Failure checkDestination(int dir, QByteArray& name, const Destination& destination,
                         mode_t sourceMode)
{
    struct stat st;
    if (::fstatat(dir, name.constData(), &st, 0) != 0) {
        if (errno != ENOENT)
            return failure(ErrorKind::DestinationCheckFailed, errno);
        if (!destination.exists)
            return {};
        const QByteArray other = caseVariant(dir, name, destination);
        if (other.isEmpty() || ::fstatat(dir, other.constData(), &st, 0) != 0)
            return failure(ErrorKind::DestinationDeleted);
        name = other;
    }
    if (!destination.exists)
        return failure(ErrorKind::DestinationCreated);
    // The counterpart of the read-only attribute: nobody, root included, replaces it. A copy
    // of a read-only source is read-only too; it stays the source's copy, to be replaced.
    if ((st.st_mode & 0222) == 0 && (st.st_mode & 07777) != (sourceMode & 07777))
        return failure(ErrorKind::DestinationReadOnly);
    if (!asScanned(st, destination))
        return failure(ErrorKind::DestinationChanged);
    return {};
}

Failure nameTaken(int dir, const QByteArray& name)
{
    QByteArray variant;
    const bool exact =
        forEachCaseVariant(dir, name, [&variant](const QByteArray& v) { variant = v; });
    struct stat st;
    if (::fstatat(dir, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
        return failure(ErrorKind::FolderInTheWay);
    if (exact || variant.isEmpty())
        return failure(ErrorKind::DestinationCreated);
    return failure(ErrorKind::CaseClash, 0,
                   QCoreApplication::translate(
                       "Sync", "The destination folder does not tell letter case apart: it "
                               "holds %1 already")
                       .arg(displayName(nameText(variant))));
}
