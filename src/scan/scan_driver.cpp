// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_driver.h"

#include "core/path_text.h"
#include "core/thread_check.h"
#include "core/ui_yield.h"
#include "scan/compare_sides.h"
#include "scan/enumeration.h"
#include "scan/extension_filters.h"

#include <QCoreApplication>
#include <cstring>

namespace {

void reportProblem(AppState& state, const Callbacks& cb, const Failure& failure,
                   const QString& folder, const QString& fileName = {})
{
    reportError(state.errorRows, cb,
                errorRow(failure, fileName, folder, QString(), ErrorRow::Origin::Scan));
}

// What one side's walk could not read goes to the error list, and into 'unreadable' so that
// the other side's files are not offered into it.
void reportWalk(AppState& state, const Callbacks& cb, const QString& root, const SideWalk& found,
                UnreadablePaths& unreadable, std::vector<ScannedEntry::Partial>& partials)
{
    for (const SideWalk::Problem& p : found.problems) {
        unreadable.add(p.relativePath);
        const QString path = absoluteFolder(root, p.relativePath);
        const QString reason = QString::fromLocal8Bit(std::strerror(p.error));
        if (p.folder)
            reportProblem(
                state, cb,
                failure(ErrorKind::FolderUnreadable, p.error,
                        QCoreApplication::translate("Scan", "Scan: cannot read folder %1: %2")
                            .arg(path, reason)),
                path);
        else
            reportProblem(
                state, cb,
                failure(ErrorKind::FileUnreadable, p.error,
                        QCoreApplication::translate("Scan", "Scan: cannot read file %1: %2")
                            .arg(path, reason)),
                path.left(path.lastIndexOf(QLatin1Char('/'))),
                path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    }
    for (const SideWalk::Partial& p : found.partials)
        partials.push_back({absoluteFolder(root, p.relativeFolder), p.name, p.modified});
}

// A root that is there, or missing (its files are new files on the other side: a new backup
// folder, to be created when the user agrees). Anything else is refused: the entry is not
// walked. A root that is not on its usual disk may still be walked when the user says so.
bool rootUsable(AppState& state, const Callbacks& cb, RootState& root)
{
    if (root.problem == RootState::None)
        return true;
    // Created by the synchronization, or reported by it when it is not.
    if (root.problem == RootState::Missing && state.control.createRoots)
        return true;
    const QString text = rootProblemText(root);
    const bool askable =
        root.problem == RootState::NotOnUsualDisk || root.problem == RootState::NotChecked;
    if (askable && !state.control.unattended && cb.askYesNo &&
        cb.askYesNo(text + QCoreApplication::translate("Scan", "\n\nScan it all the same?"))) {
        root.problem = RootState::None;
        return true;
    }
    reportProblem(state, cb, rootFailure(root), root.path);
    return root.problem == RootState::Missing;
}

// One profile entry: walk both folders, drop the excluded lines, compare the two sides.
void scanEntry(AppState& state, const Callbacks& cb, int profileIndex, const ProfileEntry& entry,
               const SyncHistory::Entries& history, const KnownRoots::Store& known)
{
    // An entry without a Source or a Target folder names no folder pair: walking "/" in its
    // place would list the whole disk, to be copied to or from the other folder.
    if (entry.source.trimmed().isEmpty() || entry.target.trimmed().isEmpty())
        return;
    const QStringList patterns = includePatterns(entry.include);
    ScannedEntry scanned{
        checkRoot(entry.source, known), checkRoot(entry.target, known), {}, patterns.size() > 1};
    const bool usable =
        rootUsable(state, cb, scanned.source) & rootUsable(state, cb, scanned.target);
    const quint32 index = quint32(state.scannedEntries.size());
    state.scannedEntries.push_back(scanned);
    if (!usable)
        return;

    FileList FilesList1;
    FileList FilesList2;
    SideWalk sourceFound;
    SideWalk targetFound;
    enumerateEntry(state, cb, entry.source, entry.target, patterns, FilesList1, FilesList2,
                   sourceFound, targetFound, profileIndex);
    UnreadablePaths sourceUnreadable;
    UnreadablePaths targetUnreadable;
    std::vector<ScannedEntry::Partial>& partials = state.scannedEntries.back().partials;
    reportWalk(state, cb, entry.source, sourceFound, sourceUnreadable, partials);
    reportWalk(state, cb, entry.target, targetFound, targetUnreadable, partials);
    excludeLines(state, cb, FilesList1, entry.exclude);
    excludeLines(state, cb, FilesList2, entry.exclude);

    SideTable SourceTable;
    SideTable TargetTable;
    buildSideTables(state, cb, FilesList1, SourceTable, FilesList2, TargetTable);

    emitEvent(cb, {.type = RunEvent::Comparing, .entry = profileIndex});
    const bool fatTimes = scanned.source.fs.fatTimes() || scanned.target.fs.fatTimes();
    // Changes on both sides are told once the entry has been synchronized.
    const auto last = history.find({entry.source, entry.target});
    const SyncHistory::LastRun* lastSync = last == history.end() ? nullptr : &last->second;
    FolderStrings folderStrings;
    // sourceRows' rows are counted in the source counters, targetRows' in the target counters.
    ComparePass first{.thisTable = SourceTable,
                      .otherTable = TargetTable,
                      .thisList = state.sourceRows,
                      .otherList = state.targetRows,
                      .ThisRoot = entry.source,
                      .OtherRoot = entry.target,
                      .thisCounts = {state.SourceFileCount, state.SourceSizeKB},
                      .otherCounts = {state.TargetFileCount, state.TargetSizeKB},
                      .entry = index,
                      .fatTimes = fatTimes,
                      .otherUnreadable = &targetUnreadable,
                      .otherFolders = &targetFound.folders,
                      .lastSync = lastSync,
                      .folderStrings = &folderStrings};
    CompareSides(state, cb, first);
    // The first pass paired or listed every source line (or was stopped, and then the second
    // does nothing): the second needs none of them, and the rows hold what they show.
    SourceTable.clear();
    ComparePass second{.thisTable = TargetTable,
                       .otherTable = SourceTable,
                       .thisList = state.targetRows,
                       .otherList = state.sourceRows,
                       .ThisRoot = entry.target,
                       .OtherRoot = entry.source,
                       .thisCounts = {state.TargetFileCount, state.TargetSizeKB},
                       .otherCounts = {state.SourceFileCount, state.SourceSizeKB},
                       .entry = index,
                       .fatTimes = fatTimes,
                       .otherUnreadable = &sourceUnreadable,
                       .otherFolders = &sourceFound.folders,
                       .lastSync = lastSync,
                       .folderStrings = &folderStrings};
    CompareSides(state, cb, second);
}

} // namespace

void scanProfile(AppState& state, const Callbacks& cb)
{
    KETRANO_ON_WINDOW_THREAD(&state.sourceRows);
    state.control.CancelRequested = false;
    emitEvent(cb, {.type = RunEvent::ScanStarted});
    state.sourceRows.clear();
    state.targetRows.clear();
    state.errorRows.clearForScan();
    state.scannedEntries.clear();
    uiYield(state.control, cb);
    uiYield(state.control, cb); // the window resets its file icons before the scan starts
    state.SourceFileCount = 0;
    state.TargetFileCount = 0;
    state.SourceSizeKB = 0;
    state.TargetSizeKB = 0;

    const SyncHistory::Entries history = SyncHistory::load();
    const KnownRoots::Store known = KnownRoots::Store::read();
    const int entries = state.profileEntries.size();
    for (int e = 0; e < entries && e < state.profileEntries.size(); ++e) {
        if (state.control.cancelled())
            break;
        uiYield(state.control, cb);
        emitEvent(cb, {.type = RunEvent::EntryStarted, .entry = e});
        const ProfileEntry entry = state.profileEntries.at(e);
        scanEntry(state, cb, e, entry, history, known);
    }

    // A chosen sort order is restored over the new rows; then the views see them all.
    state.sourceRows.resort();
    state.targetRows.resort();
    state.sourceRows.flush();
    state.targetRows.flush();
    emitEvent(cb, {.type = RunEvent::ScanFinished, .stopped = state.control.cancelled()});
}
