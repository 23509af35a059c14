// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_data.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr size_t BufferBytes = size_t(256) << 10;
constexpr int ZeroWriteTries = 3;
static_assert(qint64(BufferBytes) <= DataStepBytes, "one read never spans two steps");

// Errors that mean "this file system (pair) cannot do that", not "this file failed".
bool unsupported(int error)
{
    return error == EOPNOTSUPP || error == ENOTTY || error == EXDEV || error == EINVAL ||
           error == ENOSYS;
}

// Counts the bytes copied and asks whether to go on after each step. Every call copies at most
// one step, so it passes at most one step boundary.
class ChunkClock
{
public:
    explicit ChunkClock(const std::function<bool()>& keepGoing) : m_keepGoing(keepGoing) {}
    // False when the copy is to stop.
    bool add(qint64 bytes)
    {
        m_bytes += bytes;
        if (m_bytes < DataStepBytes)
            return true;
        m_bytes -= DataStepBytes;
        return !m_keepGoing || m_keepGoing();
    }

private:
    const std::function<bool()>& m_keepGoing;
    qint64 m_bytes = 0;
};

bool allZeros(const char* data, size_t size)
{
    return size > 0 && data[0] == 0 && std::memcmp(data, data + 1, size - 1) == 0;
}

// 'skipZeros': a piece of nothing but zeros is not written (the destination is fresh and its
// size set at the end, so it stays a hole).
DataCopyResult readWrite(int source, int dest, qint64 from, qint64 to, std::vector<char>& buffer,
                         ChunkClock& clock, bool skipZeros = false)
{
    if (buffer.size() < BufferBytes)
        buffer.resize(BufferBytes);
    qint64 pos = from;
    while (pos < to) {
        const size_t want = size_t(std::min<qint64>(to - pos, qint64(buffer.size())));
        const ssize_t got = ::pread(source, buffer.data(), want, off_t(pos));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {DataCopyResult::Read, errno};
        }
        if (got == 0)
            return {DataCopyResult::SourceShrank, 0};
        ssize_t done = skipZeros && allZeros(buffer.data(), size_t(got)) ? got : 0;
        int nothingWritten = 0;
        while (done < got) {
            const ssize_t put =
                ::pwrite(dest, buffer.data() + done, size_t(got - done), off_t(pos + done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return {DataCopyResult::Write, errno};
            }
            // A file system that takes nothing and reports no error has no room left (some
            // FUSE drivers do that when full): tried a few times, never for ever.
            if (put == 0 && ++nothingWritten >= ZeroWriteTries)
                return {DataCopyResult::Write, ENOSPC};
            done += put;
        }
        pos += got;
        if (!clock.add(got))
            return {DataCopyResult::Stopped, 0};
    }
    return {};
}

// Copies the byte range [from, to) to the same offsets of dest.
DataCopyResult copyRange(int source, int dest, qint64 from, qint64 to, DataPathCaps& caps,
                         std::vector<char>& buffer, ChunkClock& clock)
{
    loff_t in = from;
    loff_t out = from;
    while (!caps.noCopyRange && in < to) {
        const size_t want = size_t(std::min<qint64>(to - in, DataStepBytes));
        const ssize_t n = ::copy_file_range(source, &in, dest, &out, want, 0);
        if (n > 0) {
            if (!clock.add(n))
                return {DataCopyResult::Stopped, 0};
            continue;
        }
        if (n == 0)
            return {DataCopyResult::SourceShrank, 0};
        if (errno == EINTR)
            continue;
        if (unsupported(errno))
            caps.noCopyRange = true;
        // Any other failure: the read/write path below tells which side failed.
        break;
    }
    return readWrite(source, dest, in, to, buffer, clock);
}

} // namespace

DataCopyResult copyFileData(int source, int dest, qint64 size, bool maybeSparse, DataPathCaps& caps,
                            std::vector<char>& buffer, const std::function<bool()>& keepGoing)
{
    if (size <= 0)
        return {};
    if (!caps.noClone) {
        if (::ioctl(dest, FICLONE, source) == 0)
            return {};
        if (unsupported(errno))
            caps.noClone = true;
    }
    ChunkClock clock(keepGoing);
    if (!maybeSparse)
        return copyRange(source, dest, 0, size, caps, buffer, clock);

    // Copy only the data extents; the holes between them come from the final truncate.
    qint64 pos = 0;
    while (pos < size) {
        const off_t data = ::lseek(source, off_t(pos), SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break; // nothing but a hole up to the end
            // The file system cannot tell: the rest is copied but for its runs of zeros.
            const DataCopyResult r = readWrite(source, dest, pos, size, buffer, clock, true);
            if (r.failure != DataCopyResult::None)
                return r;
            break;
        }
        if (data >= size)
            break;
        off_t hole = ::lseek(source, data, SEEK_HOLE);
        if (hole < 0 || hole > size)
            hole = off_t(size);
        // A source that takes less room than its size but tells of no hole (sshfs and other
        // FUSE drivers cannot): its runs of zeros are left out, so the copy stays sparse.
        if (data == 0 && hole == size) {
            const DataCopyResult r = readWrite(source, dest, 0, size, buffer, clock, true);
            if (r.failure != DataCopyResult::None)
                return r;
            break;
        }
        const DataCopyResult r = copyRange(source, dest, data, hole, caps, buffer, clock);
        if (r.failure != DataCopyResult::None)
            return r;
        pos = hole;
    }
    if (::ftruncate(dest, off_t(size)) != 0)
        return {DataCopyResult::Write, errno};
    return {};
}
