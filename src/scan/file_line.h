// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/memory_hint.h"

#include <QAnyStringView>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <cstring>
#include <utility>
#include <vector>

// One enumerated file: its folder below the enumeration root (an index into its list's
// folders), its name (a place in its list's names), its last-write time and its size. A walk
// of millions of files keeps millions of these, so they are small: 32 bytes, the name's
// characters in the list's name blocks.
struct FileLine
{
    qint64 modified = 0;   // last-write time, whole seconds since the epoch (UTC)
    qint64 size = 0;       // bytes
    quint32 folder = 0;    // index in FileList::folders()
    quint32 nameAt = 0;    // where the name starts in the list's names
    qint32 modifiedNs = 0; // nanoseconds of the last-write time
    // The name's length in characters; with WideName set it is kept two bytes a character,
    // else one (it is Latin-1, as most names are).
    quint16 nameLength = 0;
    static constexpr quint16 WideName = 0x8000;
};
static_assert(sizeof(FileLine) == 32);

// A name as a record list keeps it. Which way is fixed by the text (Latin-1 whenever it
// fits), so two names are the same text exactly when they are kept alike with the same bytes.
struct NameView
{
    const char* data = nullptr;
    qsizetype size = 0; // characters
    bool wide = false;  // UTF-16, else Latin-1

    char16_t operator[](qsizetype i) const
    {
        return wide ? reinterpret_cast<const char16_t*>(data)[i] : char16_t(uchar(data[i]));
    }
    // The characters of a wide name.
    QStringView wideView() const
    {
        return QStringView(reinterpret_cast<const char16_t*>(data), size);
    }
    QAnyStringView any() const
    {
        if (wide)
            return wideView();
        return QLatin1StringView(data, size);
    }
    QString toString() const { return any().toString(); }
    void appendTo(QString& out) const
    {
        if (wide)
            out.append(wideView());
        else
            out.append(QLatin1StringView(data, size));
    }
    bool operator==(const NameView& other) const
    {
        return size == other.size && wide == other.wide &&
               std::memcmp(data, other.data, size_t(size) * (wide ? 2 : 1)) == 0;
    }
};

// A folder of a record list: its relative path ("/"-separated, no leading or trailing "/", ""
// for the root).
struct FileFolder
{
    QString path;
};

// The names of a record list's lines, back to back in blocks that are mapped from the system one
// by one: a list of millions of names costs a few allocations, and the blocks of lines already
// dealt with go straight back to the system. The first block of a list is 256 KiB, the others
// 2 MiB in huge pages (a page fault each). A name that fits in Latin-1 takes a byte a
// character, any other two (UTF-16).
class NameBlocks
{
public:
    static constexpr int BlockBits = 21; // bytes a block holds at most: 2^21
    NameBlocks() = default;
    NameBlocks(NameBlocks&& other) noexcept { *this = std::move(other); }
    NameBlocks& operator=(NameBlocks&& other) noexcept;
    ~NameBlocks() { clear(); }

    // Stores a name; returns where it starts and sets its length field (FileLine::nameLength).
    // A name never spans two blocks.
    quint32 add(QStringView name, quint16& length);
    NameView at(quint32 at, quint16 length) const
    {
        return {m_blocks[at >> BlockBits].data + (at & ((1u << BlockBits) - 1)),
                qsizetype(length & ~FileLine::WideName), (length & FileLine::WideName) != 0};
    }
    // Gives back the blocks before the one that holds 'at'.
    void releaseBefore(quint32 at);
    // Moves the blocks of 'other' after these; returns by how much its places move.
    quint32 take(NameBlocks& other);
    void clear();

private:
    struct Block
    {
        char* data; // null once given back
        quint32 bytes;
    };
    std::vector<Block> m_blocks;
    quint32 m_used = 0; // bytes used in the last block
};

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
    NameView name(const FileLine& line) const { return m_names.at(line.nameAt, line.nameLength); }
    // Lets go of the names before the line's: lines before it are not read again.
    void releaseNamesBefore(const FileLine& line) { m_names.releaseBefore(line.nameAt); }
    // The name as a string of its own.
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
    LargeVector<FileLine> m_lines;
    std::vector<FileFolder> m_folders;
    NameBlocks m_names;
};
