#include "scan/compare_sides.h"

#include "app/ui_yield.h"
#include "results/display_format.h"
#include "scan/path_text.h"

#include <QHash>

namespace {

constexpr quint32 None = 0xffffffffu;

// The other table's unmatched rows by key: for each key hash the first such row, and for each
// row the next one with the same hash, in table order. A row leaves its chain when matched.
class UnmatchedIndex
{
public:
    explicit UnmatchedIndex(const SideTable& table) : m_table(table), m_next(table.size(), None)
    {
        for (size_t j = table.size(); j-- > 0;) {
            if (table.Matched[j])
                continue;
            auto it = m_first.find(table.keys[j]);
            if (it == m_first.end()) {
                m_first.insert(table.keys[j], quint32(j));
            } else {
                m_next[j] = *it;
                *it = quint32(j);
            }
        }
    }

    // Takes the first unmatched row whose relative path equals the line's, ignoring case.
    quint32 take(const FileLine& line, quint64 key)
    {
        auto it = m_first.find(key);
        if (it == m_first.end())
            return None;
        quint32 previous = None;
        for (quint32 j = *it; j != None; previous = j, j = m_next[j]) {
            if (!sameUpperPath(line, m_table.rows[j]))
                continue; // another path with the same hash
            if (previous == None)
                *it = m_next[j];
            else
                m_next[previous] = m_next[j];
            if (*it == None)
                m_first.erase(it);
            return j;
        }
        return None;
    }

private:
    const SideTable& m_table;
    QHash<quint64, quint32> m_first;
    std::vector<quint32> m_next;
};

// absoluteFolder() of the rows of one folder after another, built once per folder so that
// the rows share the string.
class FolderJoiner
{
public:
    explicit FolderJoiner(const QString& root) : m_root(root) {}
    const QString& operator()(const QString& relativeFolder)
    {
        if (relativeFolder.constData() != m_key || relativeFolder.size() != m_keySize) {
            m_key = relativeFolder.constData();
            m_keySize = relativeFolder.size();
            m_folder = absoluteFolder(m_root, relativeFolder);
        }
        return m_folder;
    }

private:
    QString m_root;
    const QChar* m_key = nullptr;
    qsizetype m_keySize = -1;
    QString m_folder;
};

bool cancelled(const AppState& state)
{
    return state.CancelRequested.load(std::memory_order_relaxed);
}

} // namespace

void addToCounter(qint64& counter, qint64 amount)
{
    qint64 sum;
    if (!__builtin_add_overflow(counter, amount, &sum))
        counter = sum;
}

void AddResultRow(const Callbacks& cb, ResultListModel& list, const QString& sourceFolder,
                  const QString& name, const QString& targetFolder, ResultRow::Status status,
                  const FileLine& file, const FileLine* destination)
{
    ResultRow row;
    row.name = name;
    row.sourceFolder = sourceFolder;
    row.targetFolder = targetFolder;
    row.modified = file.modified;
    row.modifiedNs = file.modifiedNs;
    row.sizeBytes = file.size;
    row.sizeKB = bytesToKB(file.size);
    if (destination) {
        row.destExists = true;
        row.destModified = destination->modified;
        row.destModifiedNs = destination->modifiedNs;
        row.destSizeBytes = destination->size;
    }
    row.status = status;
    row.checked = true;
    row.hasIcon = cb.toggle ? cb.toggle(1) : true;
    list.append(std::move(row));
}

void CompareSides(AppState& state, const Callbacks& cb, ComparePass& pass)
{
    if (cancelled(state))
        return;
    SideTable& mine = pass.thisTable;
    SideTable& theirs = pass.otherTable;
    UnmatchedIndex index(theirs);
    FolderJoiner thisFolder(pass.ThisRoot);  // where this row's file is
    FolderJoiner destFolder(pass.OtherRoot); // where it goes: the other root, this spelling
    FolderJoiner thatFolder(pass.OtherRoot); // where the partner's file is
    for (size_t i = 0; i < mine.size(); ++i) {
        if (mine.Matched[i])
            continue;
        uiYield(state, cb);
        if (cancelled(state))
            return;
        const FileLine& a = mine.rows[i];
        const quint32 j = index.take(a, mine.keys[i]);
        mine.Matched[i] = 1;
        if (j == None) {
            AddResultRow(cb, pass.thisList, thisFolder(a.folder), a.name, destFolder(a.folder),
                         ResultRow::Status::NewFile, a, nullptr);
            addToCounter(pass.thisFileCount, 1);
            addToCounter(pass.thisSizeKB, bytesToKB(a.size));
        } else {
            const FileLine& b = theirs.rows[j];
            theirs.Matched[j] = 1;
            if (a.modified > b.modified) {
                AddResultRow(cb, pass.thisList, thisFolder(a.folder), a.name, destFolder(a.folder),
                             ResultRow::Status::OverWrite, a, &b);
                addToCounter(pass.thisFileCount, 1);
                addToCounter(pass.thisSizeKB, bytesToKB(a.size));
            } else if (b.modified > a.modified) {
                AddResultRow(cb, pass.otherList, thatFolder(b.folder), b.name, thisFolder(a.folder),
                             ResultRow::Status::OverWrite, b, &a);
                addToCounter(pass.otherFileCount, 1);
                addToCounter(pass.otherSizeKB, bytesToKB(b.size));
            }
        }
        uiYield(state, cb);
    }
}
