// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <vector>

// A stable sort of a million 64-bit keys in a few linear passes, for the result lists' sort.
struct SortEntry
{
    quint64 key = 0;
    quint32 item = 0; // what the key belongs to
};

// Sorts ascending by key. Entries with equal keys keep their order when they came in
// ascending item order (as they do from a previous call). 'scratch' is reused between calls.
void sortByKey(SortEntry* first, SortEntry* last, std::vector<SortEntry>& scratch);
