#include "sync/destination_check.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool asScanned(const struct stat& st, const ResultRow& row)
{
    return st.st_size == row.destSizeBytes && st.st_mtim.tv_sec == row.destModified &&
           st.st_mtim.tv_nsec == row.destModifiedNs;
}

// The one other name in the folder that equals 'name' ignoring case and whose file is as the
// scan found the destination; empty when there is none, or more than one.
QByteArray caseVariant(int dir, const QByteArray& name, const ResultRow& row)
{
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR* folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return {};
    }
    const QString wanted = QFile::decodeName(name).toUpper();
    QByteArray found;
    int matches = 0;
    while (const dirent* e = ::readdir(folder)) {
        const QByteArray candidate(e->d_name);
        if (candidate == name || QFile::decodeName(candidate).toUpper() != wanted)
            continue;
        struct stat st;
        if (::fstatat(dir, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode) && asScanned(st, row)) {
            found = candidate;
            ++matches;
        }
    }
    ::closedir(folder);
    return matches == 1 ? found : QByteArray();
}

} // namespace

QString copyFailure(const char* what, int error)
{
    return QLatin1String(what) + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error));
}

QString destinationCreatedText()
{
    return QStringLiteral("The destination was created after the scan");
}

QString checkDestination(int dir, QByteArray& name, const ResultRow& row)
{
    struct stat st;
    if (::fstatat(dir, name.constData(), &st, 0) != 0) {
        if (errno != ENOENT)
            return copyFailure("Checking the destination failed", errno);
        if (!row.destExists)
            return {};
        const QByteArray other = caseVariant(dir, name, row);
        if (other.isEmpty() || ::fstatat(dir, other.constData(), &st, 0) != 0)
            return QStringLiteral("The destination was deleted after the scan");
        name = other;
    }
    if (!row.destExists)
        return destinationCreatedText();
    // The counterpart of the read-only attribute: nobody, root included, replaces it.
    if ((st.st_mode & 0222) == 0)
        return QStringLiteral("The destination is read-only");
    if (!asScanned(st, row))
        return QStringLiteral("The destination changed after the scan");
    return {};
}
