#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <initializer_list>

// A folder tree for a test, described as data: each file a relative path, its size and its
// modification time (UTC seconds since the epoch).
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
    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const;
    // Creates the file with 'size' bytes and sets its modification time.
    void add(const TreeFile& file);
    void add(std::initializer_list<TreeFile> files);
    void mkdir(const QString& relative);
    static void setMtime(const QString& path, qint64 seconds, qint64 nanoseconds = 0);
    static QByteArray read(const QString& path);

private:
    QTemporaryDir m_dir;
};
