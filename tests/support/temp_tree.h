// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>
#include <ostream>
#include <sys/types.h>

// GoogleTest prints a QString or QByteArray that differs as its text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}

// A folder tree for a test, described as data: each file a relative path, its size and its
// modification time (UTC seconds since the epoch). Paths may hold bytes that are not UTF-8, as
// nameText() holds them.
struct TreeFile
{
    QString path;
    qint64 size = 0;
    qint64 mtime = 1'000'000'000;
};

// Anything that fails while the tree is built stops the test program with the reason.
class TempTree
{
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const;
    // Creates the file with 'size' bytes and sets its modification time.
    void add(const TreeFile& file);
    void add(std::initializer_list<TreeFile> files);
    void mkdir(const QString& relative);
    static void setMtime(const QString& path, qint64 seconds, qint64 nanoseconds = 0);
    // The whole file; empty when it cannot be read.
    static QByteArray read(const QString& path);
    // Creates the folder (an absolute path) and the folders above it.
    static void makeFolders(const QString& folder);
    // Writes the file (and the folders above it) with the time and permission bits given.
    static void write(const QString& path, const QByteArray& data, qint64 mtime, long ns = 0,
                      mode_t mode = 0644);

private:
    QTemporaryDir m_dir;
};
