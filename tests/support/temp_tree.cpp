// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_tree.h"

#include "core/name_bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A tree that cannot be built leaves the test checking something else: stop it, loudly.
void require(bool done, const QString& what)
{
    if (!done)
        qFatal("TempTree: %s", qPrintable(what));
}
} // namespace

TempTree::TempTree()
{
    require(m_dir.isValid(), "no temporary folder: " + m_dir.errorString());
}

TempTree::~TempTree()
{
    // QDir cannot remove a name that is not UTF-8; the bytes can.
    std::error_code ignored;
    std::filesystem::remove_all(nameBytes(m_dir.path()).toStdString(), ignored);
}

QString TempTree::path(const QString& relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}

// Names may hold bytes that are not UTF-8 (nameText): every path goes through nameBytes.
void TempTree::add(const TreeFile& file)
{
    const QString full = path(file.path);
    const qsizetype slash = file.path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        mkdir(file.path.left(slash));
    const int fd =
        ::open(nameBytes(full).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    // ftruncate makes a sparse file: cheap even above 2 GiB.
    require(fd >= 0 && ::ftruncate(fd, off_t(file.size)) == 0,
            full + ": " + QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    setMtime(full, file.mtime);
}

void TempTree::add(std::initializer_list<TreeFile> files)
{
    for (const TreeFile& f : files)
        add(f);
}

void TempTree::mkdir(const QString& relative)
{
    makeFolders(path(relative));
}

void TempTree::setMtime(const QString& path, qint64 seconds, qint64 nanoseconds)
{
    const timespec when{time_t(seconds), long(nanoseconds)}, times[2] = {when, when};
    require(::utimensat(AT_FDCWD, nameBytes(path).constData(), times, 0) == 0,
            path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray TempTree::read(const QString& path)
{
    QByteArray data;
    const int fd = ::open(nameBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return data;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    ::close(fd);
    return data;
}

void TempTree::makeFolders(const QString& folder)
{
    const QByteArray full = nameBytes(folder);
    for (qsizetype slash = full.indexOf('/', 1); slash >= 0; slash = full.indexOf('/', slash + 1))
        ::mkdir(full.left(slash).constData(), 0755);
    require(::mkdir(full.constData(), 0755) == 0 || errno == EEXIST,
            folder + ": cannot create the folder");
}

void TempTree::write(const QString& path, const QByteArray& data, qint64 mtime, long ns,
                     mode_t mode)
{
    makeFolders(path.left(path.lastIndexOf(QLatin1Char('/'))));
    const int fd =
        ::open(nameBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    require(fd >= 0 && ::write(fd, data.constData(), size_t(data.size())) == data.size() &&
                ::fchmod(fd, mode) == 0,
            path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    setMtime(path, mtime, ns);
}
