// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_order.h"

#include "core/memory_hint.h"
#include "core/shared_string.h"
#include "results/key_sort.h"
#include "results/result_model.h"

#include <QChar>

#include <type_traits>

// A million rows must sort well within half a second, so no two texts are compared
// character by character: rows are ordered by a radix sort (key_sort.h) of 64-bit keys,
// for texts four case-folded UTF-16 units at a time, most significant first, and deeper
// only where the first units tie. Every step is stable, so rows that compare equal keep
// their order. The folder columns sort each folder string once, however many rows share it.

namespace {

// The UTF-16 units of a text held in Latin-1 (one byte a unit) or in UTF-16.
struct Units
{
    explicit Units(QAnyStringView t)
    {
        t.visit([this](auto v) {
            if constexpr (std::is_same_v<decltype(v), QStringView>)
                wide = v.utf16();
            else // names are never held in UTF-8
                latin1 = v.data();
            n = size_t(v.size());
        });
    }
    char16_t operator[](size_t k) const { return wide ? wide[k] : char16_t(uchar(latin1[k])); }

    const char* latin1 = nullptr;
    const char16_t* wide = nullptr;
    size_t n = 0;
};

// One UTF-16 unit of a text, case-folded; a surrogate pair folds as one character.
char16_t foldedUnit(const Units& s, size_t n, size_t k)
{
    const char16_t c = s[k];
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    if (QChar::isHighSurrogate(c) && k + 1 < n && QChar::isLowSurrogate(s[k + 1]))
        return QChar::highSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(c, s[k + 1])));
    if (QChar::isLowSurrogate(c) && k > 0 && QChar::isHighSurrogate(s[k - 1]))
        return QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(s[k - 1], c)));
    return QChar::toCaseFolded(c);
}

// The texts being sorted, one per item, folded as they are read (no folded copy of a million
// names is made).
struct FoldedTexts
{
    bool shared = false;                 // items are 'strings', else the rows' names
    std::vector<const QString*> strings; // one per distinct string
    const ResultRows* rows = nullptr;

    Units text(quint32 item) const
    {
        return Units(shared ? QAnyStringView(*strings[item]) : (*rows)[item].nameView());
    }
    // Units 4 * depth .. 4 * depth + 3 of an item as its key, padded with zeros (no name
    // holds U+0000).
    quint64 key(quint32 item, size_t depth) const
    {
        const Units s = text(item);
        const size_t n = s.n;
        quint64 key = 0;
        for (size_t k = 4 * depth; k < 4 * depth + 4; ++k)
            key = (key << 16) | (k < n ? foldedUnit(s, n, k) : 0);
        return key;
    }
    // Asks the memory early for what key() reads: the string of 'ahead' (for a name, its
    // folder's names, whose address is in the row's folder), the row itself in 'farAhead'.
    void prefetch(quint32 ahead, quint32 farAhead) const
    {
        if (!shared) {
            __builtin_prefetch(&(*rows)[farAhead]);
            const RowFolder* folder = (*rows)[ahead].folder();
            if (folder)
                __builtin_prefetch(folder->namesData());
        } else {
            __builtin_prefetch(strings[ahead]->constData());
        }
    }
    bool equal(quint32 a, quint32 b) const
    {
        const Units s = text(a);
        const Units t = text(b);
        if (s.n != t.n)
            return false;
        const size_t n = s.n;
        for (size_t k = 0; k < n; ++k)
            if (foldedUnit(s, n, k) != foldedUnit(t, n, k))
                return false;
        return true;
    }
};

// Orders entries by their items' folded texts from unit 4 * depth on.
void sortTexts(SortEntry* first, SortEntry* last, size_t depth, const FoldedTexts& texts,
               std::vector<SortEntry>& scratch)
{
    sortByKey(first, last, scratch);
    for (SortEntry* run = first; run != last;) {
        SortEntry* runEnd = run + 1;
        while (runEnd != last && runEnd->key == run->key)
            ++runEnd;
        // A key ending in a zero unit holds the texts' ends: the run's texts are equal.
        if (runEnd - run > 1 && (run->key & 0xFFFF) != 0) {
            for (SortEntry* e = run; e != runEnd; ++e) {
                if (runEnd - e > 16)
                    texts.prefetch(e[8].item, e[16].item);
                e->key = texts.key(e->item, depth + 1);
            }
            sortTexts(run, runEnd, depth + 1, texts, scratch);
        }
        run = runEnd;
    }
}

// The items of a folder column: one per string, however many rows share it.
class SharedStrings
{
public:
    quint32 itemOf(const QString& s, FoldedTexts& texts)
    {
        if (m_used * 2 >= m_slots.size())
            grow();
        size_t i = slotOf(s.constData());
        while (m_slots[i].string && !sameSharedString(*m_slots[i].string, s))
            i = (i + 1) & (m_slots.size() - 1);
        if (!m_slots[i].string) {
            m_slots[i] = {&s, quint32(texts.strings.size())};
            texts.strings.push_back(&s);
            ++m_used;
        }
        return m_slots[i].item;
    }

private:
    struct Slot
    {
        const QString* string = nullptr; // a row's string: the rows outlive the sort
        quint32 item = 0;
    };
    size_t slotOf(const QChar* p) const
    {
        return size_t((quintptr(p) >> 3) * 0x9E3779B97F4A7C15ull >> 20) & (m_slots.size() - 1);
    }
    void grow()
    {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(std::max<size_t>(1024, old.size() * 2), Slot{});
        for (const Slot& s : old) {
            if (!s.string)
                continue;
            size_t i = slotOf(s.string->constData());
            while (m_slots[i].string)
                i = (i + 1) & (m_slots.size() - 1);
            m_slots[i] = s;
        }
    }
    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

// By the rows' names, or (with 'textOf') by a folder string the rows share.
std::vector<int> byText(const ResultRows& rows,
                        const QString& (*textOf)(const ResultRow&) = nullptr)
{
    FoldedTexts texts;
    texts.rows = &rows;
    texts.shared = textOf != nullptr;
    const bool shared = texts.shared;
    std::vector<quint32> itemOf;
    if (shared) {
        SharedStrings strings;
        itemOf.resize(rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            const QString& t = textOf(rows[r]);
            const bool same = r > 0 && sameSharedString(t, textOf(rows[r - 1]));
            itemOf[r] = same ? itemOf[r - 1] : strings.itemOf(t, texts);
        }
    }
    const size_t items = shared ? texts.strings.size() : rows.size();
    std::vector<SortEntry> entries;
    reserveWithHint(entries, items);
    entries.resize(items);
    for (size_t i = 0; i < items; ++i) {
        if (i + 16 < items)
            texts.prefetch(quint32(i + 8), quint32(i + 16));
        entries[i] = {texts.key(quint32(i), 0), quint32(i)};
    }
    std::vector<SortEntry> scratch;
    sortTexts(entries.data(), entries.data() + items, 0, texts, scratch);

    std::vector<int> order;
    reserveWithHint(order, rows.size());
    if (!shared) { // the items are the rows
        for (const SortEntry& e : entries)
            order.push_back(int(e.item));
        return order;
    }
    // Rank the strings (equal texts one rank), then place the rows by rank, in row order.
    std::vector<quint32> rank(items);
    quint32 ranks = 0;
    for (size_t i = 0; i < items; ++i) {
        if (i > 0 && !texts.equal(entries[i - 1].item, entries[i].item))
            ++ranks;
        rank[entries[i].item] = ranks;
    }
    std::vector<quint32> start(size_t(ranks) + 2, 0);
    for (quint32 item : itemOf)
        ++start[rank[item] + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    order.resize(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        order[start[rank[itemOf[r]]]++] = int(r);
    return order;
}

template <typename KeyOf> std::vector<int> byNumber(const ResultRows& rows, KeyOf key)
{
    std::vector<SortEntry> entries;
    reserveWithHint(entries, rows.size());
    entries.resize(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) { // signed to unsigned, order kept
        entries[r].key = quint64(key(rows[r])) ^ (quint64(1) << 63);
        entries[r].item = quint32(r);
    }
    std::vector<SortEntry> scratch;
    sortByKey(entries.data(), entries.data() + entries.size(), scratch);
    std::vector<int> order;
    reserveWithHint(order, rows.size());
    for (const SortEntry& e : entries)
        order.push_back(int(e.item));
    return order;
}

} // namespace

std::vector<int> sortedRowOrder(const ResultRows& rows, int column)
{
    switch (column) {
    case ResultListModel::Name:
        return byText(rows);
    case ResultListModel::Source:
        return byText(rows, [](const ResultRow& r) -> const QString& { return r.sourceFolder(); });
    case ResultListModel::Target:
        return byText(rows, [](const ResultRow& r) -> const QString& { return r.targetFolder(); });
    case ResultListModel::Status:
        // By what the last synchronization did (failed rows first, then those not copied,
        // then the copied ones), and within that "New File" before "OverWrite". Before any
        // synchronization every row is alike in the first and the order is the text's.
        return byNumber(rows, [](const ResultRow& r) {
            const qint64 outcome = r.outcome == ResultRow::Outcome::Failed      ? 0
                                   : r.outcome == ResultRow::Outcome::NotCopied ? 1
                                   : r.outcome == ResultRow::Outcome::NotRun    ? 2
                                                                                : 3;
            return outcome * 2 + (r.status == ResultRow::Status::NewFile ? 0 : 1);
        });
    case ResultListModel::LastModified:
        return byNumber(rows, [](const ResultRow& r) { return r.modified; });
    case ResultListModel::SizeKB:
        return byNumber(rows, [](const ResultRow& r) { return r.sizeKB(); });
    default: {
        std::vector<int> order(rows.size());
        for (size_t r = 0; r < rows.size(); ++r)
            order[r] = int(r);
        return order;
    }
    }
}
