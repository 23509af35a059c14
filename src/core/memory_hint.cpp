// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memory_hint.h"

#include <cstdint>
#include <sys/mman.h>

void adviseHugePages(const void* begin, size_t bytes)
{
    constexpr uintptr_t Huge = uintptr_t(2) << 20;
    if (bytes < 2 * Huge)
        return;
    const uintptr_t first = (uintptr_t(begin) + Huge - 1) & ~(Huge - 1);
    const uintptr_t last = (uintptr_t(begin) + bytes) & ~(Huge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void releaseFront(const void* begin, size_t bytes, size_t& released)
{
    constexpr uintptr_t Step = uintptr_t(2) << 20;
    constexpr uintptr_t Page = 4096;
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
