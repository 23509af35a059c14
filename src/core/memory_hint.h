// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

// Asks the kernel to back a large buffer that is about to be filled with huge pages: one page
// fault per 2 MiB instead of one per 4 KiB, which matters where faults are expensive (virtual
// machines). Only a hint; buffers below a few MiB are left alone.
void adviseHugePages(const void* begin, size_t bytes);

// Gives the memory of a large buffer's first 'bytes' back to the system, a few MiB at a time,
// for a buffer that is read once, front to back, and is then thrown away: a pass over the
// millions of files of a walk holds only what it has still to read. What was given back reads
// as zeros: the caller never reads it again. 'released' (0 at first) keeps how far it went.
void releaseFront(const void* begin, size_t bytes, size_t& released);

// Buffers from this size on are mapped from the system by mapLarge, smaller ones come from the
// heap: one huge page each would take more memory than their page faults cost.
constexpr size_t LargeBufferBytes = size_t(2) << 20;

// Maps 'bytes' of fresh memory in whole huge pages (2 MiB, aligned) and asks for them: a buffer
// of millions of records then costs a page fault per 2 MiB, not one per 4 KiB. Memory is taken
// a huge page at a time as the buffer is written. Throws std::bad_alloc when there is no memory
// left.
void* mapLarge(size_t bytes);
void unmapLarge(void* data, size_t bytes);

// The allocator of LargeVector: buffers of LargeBufferBytes and more from mapLarge.
template <typename T> struct LargeBufferAllocator
{
    using value_type = T;
    LargeBufferAllocator() = default;
    template <typename U> LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept {}

    T* allocate(size_t n)
    {
        if (n * sizeof(T) < LargeBufferBytes)
            return std::allocator<T>().allocate(n);
        return static_cast<T*>(mapLarge(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept
    {
        if (n * sizeof(T) < LargeBufferBytes)
            std::allocator<T>().deallocate(p, n);
        else
            unmapLarge(p, n * sizeof(T));
    }
    template <typename U> bool operator==(const LargeBufferAllocator<U>&) const noexcept
    {
        return true;
    }
};

// A vector for the millions of lines, keys and rows of a scan.
template <typename T> using LargeVector = std::vector<T, LargeBufferAllocator<T>>;

// While it lives, the heap of the thread that made it (the window's: glibc's first arena, which
// grows at its end) grows 32 MiB at a time, and what noticeGrowth() sees added to it is backed
// with huge pages: the millions of small blocks of a scan (the names and folders of its rows)
// then cost a page fault per 2 MiB instead of one per 4 KiB.
class HugePageHeap
{
public:
    HugePageHeap();
    ~HugePageHeap();
    HugePageHeap(const HugePageHeap&) = delete;
    HugePageHeap& operator=(const HugePageHeap&) = delete;
    // Cheap (no system call unless the heap grew): call it every thousand blocks or so.
    void noticeGrowth();

private:
    uintptr_t m_end = 0; // the end of the heap when last seen
};

// Makes room for 'count' elements in a new buffer that is advised before anything is written
// to it.
template <typename T> void reserveWithHint(std::vector<T>& v, size_t count)
{
    if (count <= v.capacity())
        return;
    std::vector<T> bigger;
    bigger.reserve(count);
    adviseHugePages(bigger.data(), count * sizeof(T));
    std::move(v.begin(), v.end(), std::back_inserter(bigger));
    v.swap(bigger);
}

// push_back that grows the vector through reserveWithHint.
template <typename T> void appendWithHint(std::vector<T>& v, T&& item)
{
    if (v.size() == v.capacity())
        reserveWithHint(v, std::max<size_t>(64, 2 * v.capacity()));
    v.push_back(std::forward<T>(item));
}
