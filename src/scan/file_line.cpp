// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/file_line.h"

#include "core/memory_hint.h"
#include "core/shared_string.h"

FileList::FileList(std::initializer_list<std::pair<QString, QString>> lines)
{
    for (const auto& [folder, name] : lines)
        append(folder, name);
}

void FileList::append(const QString& folder, QStringView name, qint64 modified, qint32 modifiedNs,
                      qint64 size)
{
    // The walk gives every file of a folder the same string: one look at its data pointer
    // tells a new folder (a list built by hand may repeat a folder's text instead).
    if (m_folders.empty() ||
        !(sameSharedString(m_folders.back().path, folder) || m_folders.back().path == folder)) {
        closeFolder();
        m_folders.push_back({folder, QString()});
    }
    QString& names = m_folders.back().names;
    const qsizetype at = names.size();
    names.append(name);
    names.append(QChar(0));
    appendWithHint(m_lines, FileLine{modified, size, quint32(m_folders.size() - 1), quint32(at),
                                     modifiedNs, quint16(name.size())});
}

// A folder's names grew as its files came; it takes no more room than they need.
void FileList::closeFolder()
{
    if (!m_folders.empty() && m_folders.back().names.capacity() > m_folders.back().names.size())
        m_folders.back().names.squeeze();
}

void FileList::clear()
{
    m_lines.clear();
    m_folders.clear();
}

void FileList::reserve(size_t count)
{
    reserveWithHint(m_lines, count);
}

QString FileList::nameString(const FileLine& line) const
{
    return sharedSubstring(m_folders[line.folder].names, line.nameAt, line.nameLength);
}

QString FileList::relativePath(const FileLine& line) const
{
    QString path;
    relativePathInto(line, path);
    return path;
}

void FileList::relativePathInto(const FileLine& line, QString& out) const
{
    out.resize(0); // keeps the storage, unlike clear()
    const QString& folderPath = folder(line);
    if (!folderPath.isEmpty()) {
        out += folderPath;
        out += QLatin1Char('/');
    }
    out += name(line);
}

void FileList::take(FileList& other)
{
    if (m_lines.empty() && m_folders.empty()) {
        m_lines.swap(other.m_lines);
        m_folders.swap(other.m_folders);
        return;
    }
    closeFolder();
    const auto shift = quint32(m_folders.size());
    reserveWithHint(m_lines, m_lines.size() + other.m_lines.size());
    for (FileLine line : other.m_lines) {
        line.folder += shift;
        m_lines.push_back(line);
    }
    for (FileFolder& f : other.m_folders)
        m_folders.push_back(std::move(f));
    other.clear();
}
