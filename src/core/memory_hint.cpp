// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memory_hint.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr uintptr_t HugePage = uintptr_t(2) << 20;
constexpr uintptr_t Page = 4096;

uintptr_t roundUp(uintptr_t n, uintptr_t to)
{
    return (n + to - 1) & ~(to - 1);
}

} // namespace

void* mapLarge(size_t bytes)
{
    // Mapped with room to spare, then cut down to the aligned part: the kernel backs with a
    // huge page only a whole aligned 2 MiB of a mapping.
    const uintptr_t length = roundUp(bytes, HugePage);
    void* mapped = ::mmap(nullptr, length + HugePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const uintptr_t start = uintptr_t(mapped);
    const uintptr_t aligned = roundUp(start, HugePage);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const uintptr_t end = start + length + HugePage;
    if (end > aligned + length)
        ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void unmapLarge(void* data, size_t bytes)
{
    ::munmap(data, roundUp(bytes, HugePage));
}

void adviseHugePages(const void* begin, size_t bytes)
{
    constexpr uintptr_t Huge = HugePage;
    if (bytes < 2 * Huge)
        return;
    const uintptr_t first = (uintptr_t(begin) + Huge - 1) & ~(Huge - 1);
    const uintptr_t last = (uintptr_t(begin) + bytes) & ~(Huge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void releaseFront(const void* begin, size_t bytes, size_t& released)
{
    constexpr uintptr_t Step = HugePage;
    const uintptr_t start = uintptr_t(begin);
    // Whole pages only, from the first page that lies wholly in the buffer, and only once a
    // few MiB more are done, so that a long buffer costs a call per few MiB.
    const uintptr_t from = std::max((start + Page - 1) & ~(Page - 1), start + released);
    const uintptr_t to = (start + bytes) & ~(Step - 1);
    if (to < from + Step)
        return;
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    released = to - start;
}

#if defined(__GLIBC__)
namespace {
constexpr int HeapStep = 32 << 20;
constexpr int UsualTopPad = 128 << 10; // glibc's own
} // namespace

HugePageHeap::HugePageHeap()
{
    // Huge pages only where the heap's mapping spans whole aligned 2 MiB: growing by a few
    // pages at a time it would never do. (Setting the pad also keeps glibc from raising its
    // threshold for mapping large blocks on its own: they stay mapped, as they were at first.)
    ::mallopt(M_TOP_PAD, HeapStep);
    m_end = uintptr_t(::sbrk(0));
}

HugePageHeap::~HugePageHeap()
{
    ::mallopt(M_TOP_PAD, UsualTopPad);
}

void HugePageHeap::noticeGrowth()
{
    const uintptr_t end = uintptr_t(::sbrk(0)); // the C library's own record: no system call
    if (end == uintptr_t(-1))
        return;
    if (end > m_end) {
        const uintptr_t from = m_end & ~(Page - 1);
        ::madvise(reinterpret_cast<void*>(from), end - from, MADV_HUGEPAGE);
    }
    m_end = end; // lower after a trim: what grows again is advised again
}
#else
HugePageHeap::HugePageHeap() = default;
HugePageHeap::~HugePageHeap() = default;
void HugePageHeap::noticeGrowth() {}
#endif
