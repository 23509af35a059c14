// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <vector>

// One enumerated file: its folder below the enumeration root (an index into its list's
// folders), its name (a place in that folder's names), its last-write time and its size. A
// walk of millions of files keeps millions of these, so they are small: 32 bytes, the name's
// characters in the folder's arena.
struct FileLine
{
    qint64 modified = 0;   // last-write time, whole seconds since the epoch (UTC)
    qint64 size = 0;       // bytes
    quint32 folder = 0;    // index in FileList::folders()
    quint32 nameAt = 0;    // where the name starts in its folder's names
    qint32 modifiedNs = 0; // nanoseconds of the last-write time
    quint16 nameLength = 0;
};
static_assert(sizeof(FileLine) == 32);

// A folder of a record list: its relative path ("/"-separated, no leading or trailing "/", ""
// for the root) and the names of its files, back to back, each followed by a NUL. The names
// string is shared with the result rows made from its lines (sharedSubstring), so a row's
// name costs no copy.
struct FileFolder
{
    QString path;
    QString names;
};

// A record list: FilesList1 (source side) or FilesList2 (target side). Lines are appended
// folder by folder: a line whose folder is the same string as the last line's goes into the
// same folder.
class FileList
{
public:
    FileList() = default;
    // For building small lists by hand: (folder, name) pairs.
    FileList(std::initializer_list<std::pair<QString, QString>> lines);

    void append(const QString& folder, QStringView name, qint64 modified = 0, qint32 modifiedNs = 0,
                qint64 size = 0);

    size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    void clear();
    void reserve(size_t count);
    // Keeps the first 'count' lines.
    void resize(size_t count) { m_lines.resize(count); }
    const FileLine* data() const { return m_lines.data(); }
    const FileLine& operator[](size_t i) const { return m_lines[i]; }
    FileLine& operator[](size_t i) { return m_lines[i]; }
    auto begin() const { return m_lines.begin(); }
    auto end() const { return m_lines.end(); }
    const std::vector<FileFolder>& folders() const { return m_folders; }

    const QString& folder(const FileLine& line) const { return m_folders[line.folder].path; }
    QStringView name(const FileLine& line) const
    {
        return QStringView(m_folders[line.folder].names).sliced(line.nameAt, line.nameLength);
    }
    // The names of the line's folder, NUL after each.
    const QString& names(const FileLine& line) const { return m_folders[line.folder].names; }
    // The name as a string of its own that shares the folder's names.
    QString nameString(const FileLine& line) const;
    // The relative path: folder, "/" and name, or the bare name for a file in the root.
    QString relativePath(const FileLine& line) const;
    // Writes the relative path into 'out', reusing its storage.
    void relativePathInto(const FileLine& line, QString& out) const;

    // Moves the lines (and their folders) of 'other' to the end of this list.
    void take(FileList& other);
    // Removes the lines for which remove(line) is true, keeping the order of the others.
    template <typename Pred> void eraseIf(Pred remove) { std::erase_if(m_lines, remove); }

private:
    void closeFolder();

    std::vector<FileLine> m_lines;
    std::vector<FileFolder> m_folders;
};
