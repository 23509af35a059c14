#include "support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

TempTree::TempTree() = default;

QString TempTree::path(const QString& relative) const
{
    return m_dir.path() + QLatin1Char('/') + relative;
}

void TempTree::add(const TreeFile& file)
{
    const QString full = path(file.path);
    QDir().mkpath(QFileInfo(full).path());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly)) {
        if (file.size > 0)
            f.resize(file.size); // sparse: cheap even for files above 2 GiB
        f.close();
    }
    setMtime(full, file.mtime);
}

void TempTree::add(std::initializer_list<TreeFile> files)
{
    for (const TreeFile& f : files)
        add(f);
}

void TempTree::mkdir(const QString& relative)
{
    QDir().mkpath(path(relative));
}

void TempTree::setMtime(const QString& path, qint64 seconds, qint64 nanoseconds)
{
    struct timespec times[2];
    times[0].tv_sec = seconds;
    times[0].tv_nsec = nanoseconds;
    times[1] = times[0];
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

QByteArray TempTree::read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
