// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/key_sort.h"

#include "core/memory_hint.h"

#include <algorithm>

namespace {

// One stable counting pass per digit of Bits bits, least significant first. A digit that is
// the same in every key (the high bits of small numbers, the high bytes of Latin text) costs
// one counting pass and no move.
template <int Bits>
void radixSort(SortEntry* first, SortEntry* last, std::vector<SortEntry>& scratch)
{
    constexpr size_t Buckets = size_t(1) << Bits;
    const size_t n = size_t(last - first);
    if (scratch.size() < n) {
        reserveWithHint(scratch, n);
        scratch.resize(n);
    }
    std::vector<quint32> count(Buckets);
    SortEntry* from = first;
    SortEntry* to = scratch.data();
    for (int shift = 0; shift < 64; shift += Bits) {
        const auto digit = [shift](const SortEntry& e) {
            return size_t((e.key >> shift) & (Buckets - 1));
        };
        std::fill(count.begin(), count.end(), 0);
        for (size_t i = 0; i < n; ++i)
            ++count[digit(from[i])];
        if (count[digit(from[0])] == n)
            continue;
        quint32 sum = 0;
        for (quint32& c : count)
            sum += std::exchange(c, sum);
        for (size_t i = 0; i < n; ++i)
            to[count[digit(from[i])]++] = from[i];
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + n, first);
}

} // namespace

void sortByKey(SortEntry* first, SortEntry* last, std::vector<SortEntry>& scratch)
{
    const size_t n = size_t(last - first);
    if (n >= 65536) {
        radixSort<16>(first, last, scratch);
    } else if (n >= 512) {
        radixSort<8>(first, last, scratch);
    } else if (n >= 2) {
        std::sort(first, last, [](const SortEntry& a, const SortEntry& b) {
            return a.key != b.key ? a.key < b.key : a.item < b.item;
        });
    }
}
