// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_engine.h"

#include "core/name_bytes.h"
#include "core/ui_yield.h"
#include "sync/copy_ahead.h"
#include "sync/destination_check.h"
#include "sync/entry_roots.h"
#include "sync/folder_beneath.h"
#include "sync/stale_partials.h"

#include <QHash>

#include <algorithm>
#include <map>

#include <cerrno>
#include <sys/stat.h>

namespace {

// 0 when the folder was made or is there, else why not.
int makeFolder(const QByteArray& path)
{
    return ::mkdir(path.constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

// An Include that names one extension twice ("txt,txt", "jpg,JPG", "*,txt") lists a file
// twice, with the same destination. For each row the index of the earlier checked row with
// the same file and destination, else -1; empty when no entry of the list can repeat a file.
std::vector<int> repeatedRows(const AppState& state, const ResultListModel& list)
{
    const auto canRepeat = [&state](const ResultRow& row) {
        return row.entry() < state.scannedEntries.size() &&
               state.scannedEntries[row.entry()].severalPatterns;
    };
    if (std::none_of(list.rows().begin(), list.rows().end(), canRepeat))
        return {};
    std::vector<int> firstOf(size_t(list.size()), -1);
    QHash<QString, int> seen;
    for (int i = 0; i < list.size(); ++i) {
        const ResultRow& row = list.at(i);
        if (!row.checked || !canRepeat(row))
            continue;
        const QString key = row.sourcePath() + QChar(u'\0') + row.targetFolder();
        const auto it = seen.constFind(key);
        if (it == seen.constEnd())
            seen.insert(key, i);
        else
            firstOf[size_t(i)] = it.value();
    }
    return firstOf;
}

} // namespace

int MakeFolderPath(const QString& path)
{
    // The folder of a file right below "/" is empty: the root, which is always there.
    const QByteArray encoded = nameBytes(path);
    if (encoded.isEmpty())
        return 0;
    // Mostly the folder exists already, or only its last level is missing: one call.
    if (makeFolder(encoded) == 0)
        return 0;
    // The first level that cannot be made tells why: the levels below it fail as missing.
    int first = 0;
    for (qsizetype slash = encoded.indexOf('/', 1); slash > 0;
         slash = encoded.indexOf('/', slash + 1)) {
        const int error = makeFolder(encoded.left(slash));
        if (first == 0)
            first = error;
    }
    const int last = makeFolder(encoded);
    return last == 0 ? 0 : first != 0 ? first : last;
}

void CopyCheckedFiles(AppState& state, const Callbacks& cb, ResultListModel& list, SyncRun& run)
{
    // Missing entry roots are asked about (or refused) before anything is created.
    const std::set<quint32> refused = refuseMissingRoots(state, cb, list, run);
    const auto skipped = [&refused](const ResultRow& row) {
        return refused.count(row.entry()) > 0;
    };
    // The root of the side the rows go to: where the versions of what they replace are kept.
    const bool intoTarget = &list == &state.sourceRows;
    const auto destinationRoot = [&state, intoTarget](const ResultRow& row) {
        if (row.entry() >= state.scannedEntries.size())
            return QString();
        const ScannedEntry& e = state.scannedEntries[row.entry()];
        return intoTarget ? e.target.path : e.source.path;
    };
    // Pass 1: the Target folder of every row. Rows of one folder mostly follow each other, and
    // a folder tried once gives the same result the second time: try each folder once. What
    // could not be made is kept, so that its copies fail with the reason. Folders are made
    // beneath their root: never through a link that leads out of it.
    QHash<QString, int> tried;
    QString previous;
    for (const ResultRow& row : list.rows()) {
        if ((!previous.isNull() && row.targetFolder() == previous) || skipped(row))
            continue;
        previous = row.targetFolder();
        if (!tried.contains(previous))
            tried.insert(previous, makeFolderBeneath(destinationRoot(row), previous));
    }
    if (run.removeStalePartials)
        removeStalePartials(state, list, refused, run.started);

    // Pass 2: the copies. The window refuses every command that would change the list while
    // this runs, so the rows and their check marks are taken once. The files are copied a few
    // rows ahead on a worker thread; each is put in its destination's place here, in order.
    const int count = list.size();
    std::vector<CopyAhead::Job> jobs;
    const std::vector<int> firstOf = repeatedRows(state, list);
    for (int i = 0; i < count; ++i) {
        const ResultRow& row = list.at(i);
        if (row.checked && !skipped(row) && tried.value(row.targetFolder()) == 0 &&
            (firstOf.empty() || firstOf[size_t(i)] < 0))
            jobs.push_back({i, row, list.destination(i), destinationRoot(row)});
    }
    std::map<int, Failure> failedFirsts; // the rows repeated later whose copy failed
    CopyAhead ahead(CopyPreparer(), std::move(jobs), &state.control.abandonCopy);
    CopyPlacer placer(&run.written, run.versions.get());
    const Direction direction =
        &list == &state.sourceRows ? Direction::SourceToTarget : Direction::TargetToSource;
    const auto passed = [&cb, &list, direction](int i, RunEvent::Outcome outcome) {
        emitEvent(cb, {.type = RunEvent::RowPassed,
                       .direction = direction,
                       .outcome = outcome,
                       .index = i,
                       .row = &list.at(i)});
    };
    const auto failed = [&](int i, const Failure& why) {
        const ResultRow& row = list.at(i);
        reportError(state.errorRows, cb,
                    errorRow(why, row.name(), row.sourceFolder(), row.targetFolder()));
        passed(i, RunEvent::Failed);
    };
    const std::function<void()> waiting = [&state, &cb] { uiYield(state.control, cb); };
    for (int i = 0; i < count && i < list.size(); ++i) {
        if (state.control.cancelled())
            break;
        const ResultRow row = list.at(i);
        const int folderError = tried.value(row.targetFolder());
        if (!row.checked || skipped(row)) {
            passed(i, RunEvent::NotCopied);
        } else if (folderError == LeavesRoot) {
            failed(i, failure(ErrorKind::LinkOutOfRoot));
        } else if (folderError != 0) {
            failed(i, folderFailure(ErrorKind::FolderNotCreated, folderError));
        } else if (!firstOf.empty() && firstOf[size_t(i)] >= 0) {
            // The file and its destination of a row just copied (or not): the same outcome.
            const int first = firstOf[size_t(i)];
            const auto firstFailed = failedFirsts.find(first);
            if (firstFailed == failedFirsts.end()) {
                const Destination done = list.destination(first);
                list.setDestination(i, done.modified, done.modifiedNs, done.sizeBytes);
                passed(i, RunEvent::Copied);
            } else {
                failed(i, firstFailed->second);
            }
        } else if (ahead.nextIndex() == i) {
            emitEvent(cb, {.type = RunEvent::FileStarted,
                           .direction = direction,
                           .index = i,
                           .bytesTotal = row.sizeBytes,
                           .row = &list.at(i)});
            // During a large file the bar follows its bytes at each turn of the window; the
            // panels keep their texts until the file is done.
            const std::function<void(qint64)> copying = [&](qint64 bytesSoFar) {
                if (!uiYieldDue(state.control))
                    return;
                if (bytesSoFar > 0)
                    emitEvent(cb, {.type = RunEvent::FileProgress,
                                   .direction = direction,
                                   .index = i,
                                   .bytesDone = bytesSoFar,
                                   .bytesTotal = row.sizeBytes,
                                   .row = &list.at(i)});
                uiYieldNow(state.control, cb);
            };
            PreparedCopy copy = ahead.take(copying);
            if (state.control.abandonCopy)
                break; // the program ends: the copy is given up, its temporary file removed
            const QString root = destinationRoot(row);
            const Failure error = placer.place(row, copy, waiting, root);
            if (!error.failed()) {
                run.writtenRoots.insert(root);
                list.setDestination(i, copy.copied.modified, copy.copied.modifiedNs,
                                    copy.copied.sizeBytes);
                if (copy.stampedOlder) {
                    struct timespec modified = copy.sourceModified;
                    modified.tv_sec -= time_t(copy.timeShift);
                    run.newFiles.push_back({root,
                                            row.targetFolder(),
                                            copy.destName,
                                            copy.placedFile,
                                            {copy.sourceAccessed, modified}});
                }
                uiYield(state.control, cb);
                passed(i, RunEvent::Copied);
            } else {
                if (!firstOf.empty())
                    failedFirsts[i] = error;
                failed(i, error);
            }
        }
    }
}
