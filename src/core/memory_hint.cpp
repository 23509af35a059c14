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
