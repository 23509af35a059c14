// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/side_table.h"

#include "core/name_bytes.h"
#include "core/ui_yield.h"
#include "scan/text_case.h"

#include <functional>

namespace {

constexpr quint64 FnvOffset = 14695981039346656037ull;
constexpr quint64 FnvPrime = 1099511628211ull;

quint64 hashUpper(quint64 h, QStringView text)
{
    for (QChar c : text) {
        h ^= upperUnit(c.unicode());
        h *= FnvPrime;
    }
    return h;
}

quint64 hashUpper(quint64 h, NameView name)
{
    for (qsizetype i = 0; i < name.size; ++i) {
        h ^= upperUnit(name[i]);
        h *= FnvPrime;
    }
    return h;
}

char16_t unitOf(QChar c)
{
    return c.unicode();
}
char16_t unitOf(char16_t c)
{
    return c;
}

// The keys of the lines, until a stop; the table takes the lines it has keys for.
void buildTable(const std::atomic<bool>& stop, FileList& lines, SideTable& table,
                const std::function<void()>& perLine)
{
    table.clear();
    PathKeyHasher hasher;
    size_t built = 0;
    table.keys.reserve(lines.size());
    for (; built < lines.size(); ++built) {
        if (stop.load(std::memory_order_relaxed))
            break;
        if (perLine)
            perLine();
        table.keys.push_back(hasher(lines, lines[built]));
    }
    lines.resize(built);
    table.rows.take(lines);
    table.Matched.assign(built, 0);
}

} // namespace

void SideTable::clear()
{
    // Gives the memory back: a table of a million rows holds tens of megabytes.
    rows = FileList();
    LargeVector<quint8>().swap(Matched);
    LargeVector<quint32>().swap(keys);
}

quint32 PathKeyHasher::operator()(const FileList& list, const FileLine& line)
{
    // The lines of one folder follow each other: hash the folder once.
    if (m_list != &list || m_folder != line.folder) {
        m_list = &list;
        m_folder = line.folder;
        const QString& folder = list.folder(line);
        m_folderState = hashUpper(FnvOffset, folder);
        if (!folder.isEmpty())
            m_folderState = hashUpper(m_folderState, u"/");
    }
    const quint64 h = hashUpper(m_folderState, list.name(line));
    return quint32(h ^ (h >> 32));
}

bool sameUpperPath(LinePath a, LinePath b)
{
    if (a.folder.size() != b.folder.size() || a.name.size != b.name.size)
        return false;
    auto same = [](const auto& x, const auto& y, qsizetype size) {
        for (qsizetype i = 0; i < size; ++i)
            if (upperUnit(unitOf(x[i])) != upperUnit(unitOf(y[i])))
                return false;
        return true;
    };
    if (!same(a.name, b.name, a.name.size) || !same(a.folder, b.folder, a.folder.size()))
        return false;
    // Letter case is a matter of text: a name that is not valid UTF-8 pairs only with the
    // same bytes (and is kept in UTF-16: the marks of its bytes are not Latin-1).
    if (a.name == b.name && a.folder == b.folder)
        return true;
    const auto raw = [](NameView name) { return name.wide && holdsRawBytes(name.wideView()); };
    return !raw(a.name) && !holdsRawBytes(a.folder) && !raw(b.name) && !holdsRawBytes(b.folder);
}

bool samePath(LinePath a, LinePath b)
{
    return a.name == b.name && a.folder == b.folder;
}

void buildSideTables(AppState& state, const Callbacks& cb, FileList& sourceLines, SideTable& source,
                     FileList& targetLines, SideTable& target)
{
    // The target's table on a thread of its own, which touches nothing but its lines, its
    // table and the stop flag; the source's here, yielding to the window as it goes.
    const std::atomic<bool>& stop = state.control.CancelRequested;
    constexpr auto policy = std::launch::async | std::launch::deferred;
    auto targetDone = std::async(policy, buildTable, std::cref(stop), std::ref(targetLines),
                                 std::ref(target), std::function<void()>());
    buildTable(stop, sourceLines, source, [&] { uiYield(state.control, cb); });
    waitFor(targetDone, [&] { uiYield(state.control, cb); });
}
