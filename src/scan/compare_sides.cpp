// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/compare_sides.h"

#include "core/file_system_info.h"

#include "core/memory_hint.h"
#include "core/name_bytes.h"
#include "core/path_text.h"
#include "core/shared_string.h"
#include "core/ui_yield.h"
#include "results/display_format.h"

#include <QMultiHash>

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr quint32 None = 0xffffffffu;
// No unmatched row of the other side has the line's key: it has no partner either way.
constexpr quint32 NoCandidate = 0xfffffffeu;

size_t unmatchedRows(const SideTable& table);

// The other table's unmatched rows by key: an open-addressing table from the key hash to the
// first such row (with the key, so that a look-up reads no row it does not take), and for
// each row the next one with the same hash, in table order. A taken row leaves its chain; the
// first row of a chain stays in its slot, matched, when it is the last.
class UnmatchedIndex
{
public:
    explicit UnmatchedIndex(const SideTable& table)
        : m_table(table), m_rows(unmatchedRows(table)), m_next(m_rows > 0 ? table.size() : 0, None)
    {
        // Two slots in three taken at most: a look-up that finds nothing reads a few slots side
        // by side.
        const size_t capacity = std::min<size_t>(m_rows + m_rows / 2 + 16, 0xffffffffu);
        m_slots.assign(capacity, Slot{});
        for (size_t j = m_next.size(); j-- > 0;) {
            if (j >= Ahead)
                prefetch(table.keys[j - Ahead]);
            if (table.Matched[j])
                continue;
            Slot& slot = m_slots[find(table.keys[j])];
            m_next[j] = slot.row;
            slot = {quint32(j), table.keys[j]};
        }
    }

    // Rows further on that a loop over rows asks the cache for while it deals with this one:
    // the slots of a million rows are far apart in memory.
    static constexpr size_t Ahead = 16;
    void prefetch(quint32 key) const { __builtin_prefetch(&m_slots[home(key)]); }

    // How many rows of the table were unmatched when the index was made.
    size_t rows() const { return m_rows; }

    // Takes the first unmatched row whose relative path equals the line's: byte for byte when
    // 'exact', else ignoring case. NoCandidate when no row has the line's key at all (no row
    // can become one: rows are only taken).
    quint32 take(LinePath path, quint32 key, bool exact)
    {
        quint32& slot = m_slots[find(key)].row;
        if (slot == None)
            return NoCandidate;
        quint32 previous = None;
        for (quint32 j = slot; j != None; previous = j, j = m_next[j]) {
            if (m_table.Matched[j])
                continue; // taken before
            const LinePath other = pathOf(m_table.rows, m_table.rows[j]);
            if (!(exact ? samePath(path, other) : sameUpperPath(path, other)))
                continue; // another path with the same hash
            if (previous != None)
                m_next[previous] = m_next[j];
            else if (m_next[j] != None)
                slot = m_next[j];
            return j;
        }
        return None;
    }

private:
    // Where the search for the key's slot starts.
    size_t home(quint32 key) const
    {
        const quint64 h = (quint64(key) * 0x9e3779b97f4a7c15ull) >> 32;
        return size_t((h * m_slots.size()) >> 32); // from 0 to the last slot
    }
    // The slot of the key: the one holding a row with that key, or the empty one to take.
    size_t find(quint32 key) const
    {
        for (size_t i = home(key);; i = i + 1 < m_slots.size() ? i + 1 : 0) {
            if (m_slots[i].row == None || m_slots[i].key == key)
                return i;
        }
    }

    const SideTable& m_table;
    size_t m_rows;
    struct Slot
    {
        quint32 row = None;
        quint32 key = 0;
    };
    LargeVector<Slot> m_slots;
    LargeVector<quint32> m_next;
};

// absoluteFolder() of the rows of one folder after another, built once per folder so that
// the rows share the string.
class FolderJoiner
{
public:
    FolderJoiner(const QString& root, FolderStrings* shared) : m_root(root), m_shared(shared) {}
    const QString& operator()(const QString& relativeFolder)
    {
        if (!m_relative.repeats(relativeFolder)) {
            m_folder = absoluteFolder(m_root, relativeFolder);
            if (m_shared)
                m_folder = *m_shared->insert(m_folder);
        }
        return m_folder;
    }

private:
    QString m_root;
    FolderStrings* m_shared;
    LastSharedString m_relative;
    QString m_folder;
};

// The RowFolder of the rows added to one list, one per run of rows with the same folders (in
// practice one per folder and list), which takes the names of its rows.
class RowFolders
{
public:
    explicit RowFolders(quint32 entry) : m_entry(entry) {}
    ~RowFolders()
    {
        if (m_last)
            m_last->squeeze();
    }
    // The folder and the place of the name of a row to add.
    std::pair<QExplicitlySharedDataPointer<RowFolder>, quint32>
    operator()(const QString& source, const QString& target, NameView name)
    {
        if (!m_last || !sameSharedString(m_last->sourceFolder, source) ||
            !sameSharedString(m_last->targetFolder, target)) {
            if (m_last)
                m_last->squeeze();
            m_last = new RowFolder;
            m_last->sourceFolder = source;
            m_last->targetFolder = target;
            m_last->entry = m_entry;
        }
        const quint32 at = m_last->addName(name.any());
        return {m_last, at};
    }

private:
    quint32 m_entry;
    QExplicitlySharedDataPointer<RowFolder> m_last;
};

// The folders of one side by the key of their path, to tell a file of the other side that has
// a folder's path.
class FolderPaths
{
public:
    explicit FolderPaths(const FileList* folders) : m_folders(folders)
    {
        if (!folders)
            return;
        PathKeyHasher hasher;
        for (quint32 k = 0; k < folders->size(); ++k)
            m_byKey.insert(hasher(*folders, (*folders)[k]), k);
    }
    bool holds(LinePath path, quint32 key) const
    {
        for (auto it = m_byKey.constFind(key); it != m_byKey.cend() && it.key() == key; ++it)
            if (sameUpperPath(path, pathOf(*m_folders, (*m_folders)[it.value()])))
                return true;
        return false;
    }

private:
    const FileList* m_folders;
    QMultiHash<quint32, quint32> m_byKey;
};

size_t unmatchedRows(const SideTable& table)
{
    return size_t(std::count(table.Matched.begin(), table.Matched.end(), quint8(0)));
}

// Whether time a is later than time b, to the whole second. FAT keeps times to 2 seconds and
// as local wall-clock time, which Windows and Linux drivers turn into UTC an hour apart for the
// half of the year with summer time: there times less than 2 seconds apart, or an hour and
// less than 2 seconds apart, are equal.
bool later(qint64 a, qint64 b, bool fatTimes)
{
    // A disk that keeps times in 32 bits (ext4 with 128-byte inodes) stores a later time as its
    // last second and an earlier one as its first: a file there at that second is as new as
    // the disk can make it, so its partner beyond it is not copied again and again.
    constexpr qint64 Last32 = 2'147'483'647, First32 = -2'147'483'648;
    if ((b == Last32 && a > Last32) || (a == Last32 && b > Last32) ||
        (b == First32 && a < First32) || (a == First32 && b < First32))
        return false;
    if (!fatTimes)
        return a > b;
    // A time the FAT side could not store counts as the one it would have stored: a copy is
    // never sent back for a time the disk cannot hold.
    const qint64 d = clampToFat(a) - clampToFat(b);
    return d >= 2 && (d <= 3600 - 2 || d >= 3600 + 2);
}

// Whether a destination (the older file of a pair) was changed after the last synchronization:
// written since it began, or given another time or content since it ended (a copy that kept
// an old time, a restore).
bool changedSince(const SyncHistory::LastRun* last, const FileLine& file, NameView name,
                  const QString& folder)
{
    if (!last)
        return false;
    if (file.modified > last->started)
        return true;
    struct stat st;
    return ::stat(nameBytes(joinPath(folder, name.toString())).constData(), &st) == 0 &&
           qint64(st.st_ctim.tv_sec) > last->ended;
}

// The partner of each unmatched line of 'mine' among the unmatched lines of 'theirs', which
// are marked matched as they are taken: the same bytes first, then the same path ignoring
// case, so that of "a.txt" and "A.TXT" on one side, "a.txt" pairs with "a.txt" on the other
// whichever comes first. Empty when 'theirs' has no unmatched line (the second pass). The
// index is gone once they are known: the rows that come next take its room.
LargeVector<quint32> findPartners(const SideTable& mine, SideTable& theirs)
{
    UnmatchedIndex index(theirs);
    LargeVector<quint32> partner;
    if (index.rows() > 0)
        partner.assign(mine.size(), None);
    for (bool exact : {true, false})
        for (size_t i = 0; i < partner.size(); ++i) {
            if (i + UnmatchedIndex::Ahead < partner.size())
                index.prefetch(mine.keys[i + UnmatchedIndex::Ahead]);
            if (!mine.Matched[i] && partner[i] == None) {
                partner[i] = index.take(pathOf(mine.rows, mine.rows[i]), mine.keys[i], exact);
                if (partner[i] < NoCandidate)
                    theirs.Matched[partner[i]] = 1;
            }
        }
    return partner;
}

} // namespace

void UnreadablePaths::add(const QString& relativePath)
{
    m_upper.push_back(relativePath.toUpper());
}

bool UnreadablePaths::covers(LinePath line) const
{
    if (m_upper.empty())
        return false;
    QString path = line.folder.toString();
    if (!path.isEmpty())
        path += QLatin1Char('/');
    line.name.appendTo(path);
    path = std::move(path).toUpper();
    for (const QString& p : m_upper)
        if (p.isEmpty() || path == p ||
            (path.startsWith(p) && path.at(p.size()) == QLatin1Char('/')))
            return true;
    return false;
}

void addToCounter(qint64& counter, qint64 amount)
{
    qint64 sum;
    if (!__builtin_add_overflow(counter, amount, &sum))
        counter = sum;
}

void AddResultRow(const Callbacks& cb, ResultListModel& list,
                  std::pair<QExplicitlySharedDataPointer<RowFolder>, quint32> folderAndName,
                  ResultRow::Status status, const FileLine& file, const FileLine* destination,
                  bool changedOnBothSides)
{
    ResultRow row(std::move(folderAndName.first), folderAndName.second);
    row.modified = file.modified;
    row.modifiedNs = file.modifiedNs;
    row.sizeBytes = file.size;
    row.status = status;
    row.checked = true;
    row.hasIcon = cb.showIcons ? cb.showIcons() : true;
    row.changedOnBothSides = changedOnBothSides;
    Destination dest;
    if (destination)
        dest = {true, destination->modified, destination->modifiedNs, destination->size};
    list.append(std::move(row), dest);
}

void CompareSides(AppState& state, const Callbacks& cb, ComparePass& pass)
{
    if (state.control.cancelled())
        return;
    SideTable& mine = pass.thisTable;
    SideTable& theirs = pass.otherTable;
    // Each unmatched row adds at most one row to this list: room for them all at once.
    ResultListModel& list = pass.thisList;
    list.reserve(list.size() + int(unmatchedRows(mine)));
    FolderJoiner thisFolder(pass.ThisRoot, pass.folderStrings);  // where this row's file is
    FolderJoiner destFolder(pass.OtherRoot, pass.folderStrings); // where it goes: the other
                                                                 // root, this spelling
    FolderJoiner thatFolder(pass.OtherRoot, pass.folderStrings); // where the partner's file is
    const FolderPaths otherFolders(pass.otherFolders);
    RowFolders thisRows(pass.entry);  // the folders of rows added to this list
    RowFolders otherRows(pass.entry); // and to the other list

    const LargeVector<quint32> partner = findPartners(mine, theirs);

    // This table's lines are read once more, in order, and then thrown away: the memory of
    // those done with, and their folders' names, goes back as the rows that replace them come.
    size_t releasedLines = 0, releasedPartners = 0;
    HugePageHeap heap; // for the rows' names and folders
    for (size_t i = 0; i < mine.size(); ++i) {
        if (i % 1024 == 0)
            heap.noticeGrowth();
        if (i % 65536 == 0 && i > 0) {
            releaseFront(mine.rows.data(), i * sizeof(FileLine), releasedLines);
            if (!partner.empty())
                releaseFront(partner.data(), i * sizeof(quint32), releasedPartners);
            mine.rows.releaseNamesBefore(mine.rows[i]); // the rows took the names they need
        }

        if (mine.Matched[i])
            continue;
        uiYield(state.control, cb);
        if (state.control.cancelled())
            return;
        const FileLine& a = mine.rows[i];
        const QString& aFolder = mine.rows.folder(a);
        const LinePath aPath = pathOf(mine.rows, a);
        const quint32 j = partner.empty() ? None : partner[i];
        mine.Matched[i] = 1;
        if (j >= NoCandidate) {
            if (otherFolders.holds(aPath, mine.keys[i]))
                reportError(state.errorRows, cb,
                            errorRow(failure(ErrorKind::FolderInTheWay), mine.rows.nameString(a),
                                     thisFolder(aFolder), destFolder(aFolder),
                                     ErrorRow::Origin::Scan));
            if (!pass.otherUnreadable || !pass.otherUnreadable->covers(aPath)) {
                AddResultRow(cb, pass.thisList,
                             thisRows(thisFolder(aFolder), destFolder(aFolder), aPath.name),
                             ResultRow::Status::NewFile, a, nullptr);
                addToCounter(pass.thisCounts.files, 1);
                addToCounter(pass.thisCounts.sizeKB, bytesToKB(a.size));
            }
        } else {
            const FileLine& b = theirs.rows[j];
            const QString& bFolder = theirs.rows.folder(b);
            if (later(a.modified, b.modified, pass.fatTimes)) {
                AddResultRow(
                    cb, pass.thisList,
                    thisRows(thisFolder(aFolder), destFolder(aFolder), aPath.name),
                    ResultRow::Status::OverWrite, a, &b,
                    changedSince(pass.lastSync, b, theirs.rows.name(b), thatFolder(bFolder)));
                addToCounter(pass.thisCounts.files, 1);
                addToCounter(pass.thisCounts.sizeKB, bytesToKB(a.size));
            } else if (later(b.modified, a.modified, pass.fatTimes)) {
                AddResultRow(
                    cb, pass.otherList,
                    otherRows(thatFolder(bFolder), thisFolder(aFolder), theirs.rows.name(b)),
                    ResultRow::Status::OverWrite, b, &a,
                    changedSince(pass.lastSync, a, aPath.name, thisFolder(aFolder)));
                addToCounter(pass.otherCounts.files, 1);
                addToCounter(pass.otherCounts.sizeKB, bytesToKB(b.size));
            }
        }
        uiYield(state.control, cb);
    }
}
