#include "support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

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

QString TempTree::path(const QString& relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}

void TempTree::add(const TreeFile& file)
{
    const QString full = path(file.path);
    mkdir(QFileInfo(file.path).path());
    QFile f(full);
    // resize makes a sparse file: cheap even above 2 GiB.
    require(f.open(QIODevice::WriteOnly) && (file.size == 0 || f.resize(file.size)),
            full + ": " + f.errorString());
    f.close();
    setMtime(full, file.mtime);
}

void TempTree::add(std::initializer_list<TreeFile> files)
{
    for (const TreeFile& f : files)
        add(f);
}

void TempTree::mkdir(const QString& relative)
{
    require(QDir().mkpath(path(relative)), path(relative) + ": cannot create the folder");
}

void TempTree::setMtime(const QString& path, qint64 seconds, qint64 nanoseconds)
{
    struct timespec times[2];
    times[0].tv_sec = seconds;
    times[0].tv_nsec = nanoseconds;
    times[1] = times[0];
    require(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0,
            path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray TempTree::read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
