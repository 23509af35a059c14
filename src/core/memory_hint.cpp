// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memory_hint.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

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
    // huge page only a whole aligned 2 MiB of a mapping. The end need not be aligned: its last
    // piece is backed page by page, and only as far as it is used.
    const uintptr_t length = roundUp(bytes, Page);
    void* mapped = ::mmap(nullptr, length + HugePage - Page, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const uintptr_t start = uintptr_t(mapped);
    const uintptr_t aligned = roundUp(start, HugePage);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const uintptr_t end = start + length + HugePage - Page;
    if (end > aligned + length)
        ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
    ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void unmapLarge(void* data, size_t bytes)
{
    ::munmap(data, roundUp(bytes, Page));
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
