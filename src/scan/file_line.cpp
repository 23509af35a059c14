// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/file_line.h"

#include "core/shared_string.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <sys/mman.h>

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
        !(sameSharedString(m_folders.back().path, folder) || m_folders.back().path == folder))
        m_folders.push_back({folder});
    quint16 length = 0;
    const quint32 at = m_names.add(name, length);
    m_lines.push_back(
        FileLine{modified, size, quint32(m_folders.size() - 1), at, modifiedNs, length});
}

void FileList::clear()
{
    m_lines.clear();
    m_folders.clear();
    m_names.clear();
}

void FileList::reserve(size_t count)
{
    m_lines.reserve(count);
}

QString FileList::nameString(const FileLine& line) const
{
    return name(line).toString();
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
    name(line).appendTo(out);
}

void FileList::take(FileList& other)
{
    if (m_lines.empty() && m_folders.empty()) {
        m_lines.swap(other.m_lines);
        m_folders.swap(other.m_folders);
        m_names = std::move(other.m_names);
        return;
    }
    const auto shift = quint32(m_folders.size());
    const quint32 nameShift = m_names.take(other.m_names);
    m_lines.reserve(m_lines.size() + other.m_lines.size());
    for (FileLine line : other.m_lines) {
        line.folder += shift;
        line.nameAt += nameShift;
        m_lines.push_back(line);
    }
    for (FileFolder& f : other.m_folders)
        m_folders.push_back(std::move(f));
    other.clear();
}

namespace {

constexpr quint32 FirstBlockBytes = quint32(256) << 10;
constexpr quint32 BlockBytes = quint32(1) << NameBlocks::BlockBits;
static_assert(BlockBytes >= LargeBufferBytes, "a block of 2 MiB is mapped in huge pages");

char* newBlock(quint32 bytes)
{
    if (bytes >= LargeBufferBytes)
        return static_cast<char*>(mapLarge(bytes));
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(p);
}

void freeBlock(char* data, quint32 bytes)
{
    if (bytes >= LargeBufferBytes)
        unmapLarge(data, bytes);
    else
        ::munmap(data, bytes);
}

} // namespace

NameBlocks& NameBlocks::operator=(NameBlocks&& other) noexcept
{
    if (this != &other) {
        clear();
        m_blocks.swap(other.m_blocks);
        std::swap(m_used, other.m_used);
    }
    return *this;
}

quint32 NameBlocks::add(QStringView name, quint16& length)
{
    if (name.size() >= FileLine::WideName)
        throw std::length_error("a name longer than a record list holds");
    const bool wide =
        !std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x100; });
    // A wide name starts at an even place; either kind is followed by a NUL.
    const size_t pad = wide ? m_used % 2 : 0;
    const size_t bytes = (size_t(name.size()) + 1) * (wide ? 2 : 1);
    if (m_blocks.empty() || m_used + pad + bytes > m_blocks.back().bytes) {
        if (m_blocks.size() >= (size_t(1) << (32 - NameBlocks::BlockBits)))
            throw std::length_error("more names than a record list holds");
        // A small list keeps to its first block, of small pages.
        const quint32 size = m_blocks.empty() ? FirstBlockBytes : BlockBytes;
        m_blocks.push_back({newBlock(size), size});
        m_used = 0;
    } else {
        m_used += quint32(pad);
    }
    char* to = m_blocks.back().data + m_used;
    if (wide) {
        char16_t* units = reinterpret_cast<char16_t*>(to);
        std::copy(name.utf16(), name.utf16() + name.size(), units);
        units[name.size()] = 0;
    } else {
        for (qsizetype i = 0; i < name.size(); ++i)
            to[i] = char(name[i].unicode());
        to[name.size()] = 0;
    }
    const auto at = quint32(((m_blocks.size() - 1) << NameBlocks::BlockBits) + m_used);
    m_used += quint32(bytes);
    length = quint16(name.size()) | (wide ? FileLine::WideName : 0);
    return at;
}

void NameBlocks::releaseBefore(quint32 at)
{
    for (size_t b = 0; b < (at >> BlockBits) && b < m_blocks.size(); ++b)
        if (m_blocks[b].data) {
            freeBlock(m_blocks[b].data, m_blocks[b].bytes);
            m_blocks[b].data = nullptr;
        }
}

quint32 NameBlocks::take(NameBlocks& other)
{
    // The other's places move by whole blocks: what is left of this last block stays unused.
    if (other.m_blocks.empty())
        return 0;
    if (m_blocks.size() + other.m_blocks.size() > (size_t(1) << (32 - BlockBits)))
        throw std::length_error("more names than a record list holds");
    const auto shift = quint32(m_blocks.size() << BlockBits);
    m_blocks.insert(m_blocks.end(), other.m_blocks.begin(), other.m_blocks.end());
    m_used = other.m_used;
    other.m_blocks.clear();
    other.m_used = 0;
    return shift;
}

void NameBlocks::clear()
{
    for (const Block& b : m_blocks)
        if (b.data)
            freeBlock(b.data, b.bytes);
    m_blocks.clear();
    m_used = 0;
}
