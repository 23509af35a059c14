// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/scan_driver.h"

#include "core/path_text.h"
#include "core/status_bar.h"
#include "core/thread_check.h"
#include "core/ui_yield.h"
#include "results/display_format.h"
#include "scan/compare_sides.h"
#include "scan/enumeration.h"
#include "scan/extension_filters.h"

#include <cstring>

namespace {

void reportProblem(AppState& state, const QString& folder, const QString& fileName,
                   const QString& text)
{
    state.ErrorsList.append({fileName, folder, QString(), text, true});
}

// What one side's walk could not read goes to the error list, and into 'unreadable' so that
// the other side's files are not offered into it.
void reportWalk(AppState& state, const QString& root, const SideWalk& found,
                UnreadablePaths& unreadable, std::vector<ScannedEntry::Partial>& partials)
{
    for (const SideWalk::Problem& p : found.problems) {
        unreadable.add(p.relativePath);
        const QString path = absoluteFolder(root, p.relativePath);
        const QString reason = QString::fromLocal8Bit(std::strerror(p.error));
        if (p.folder)
            reportProblem(state, path, QString(),
                          QStringLiteral("Scan: cannot read folder %1: %2").arg(path, reason));
        else
            reportProblem(state, path.left(path.lastIndexOf(QLatin1Char('/'))),
                          path.mid(path.lastIndexOf(QLatin1Char('/')) + 1),
                          QStringLiteral("Scan: cannot read file %1: %2").arg(path, reason));
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
    const QString text = rootProblemText(root);
    if (root.problem == RootState::NotOnUsualDisk && !state.unattended && cb.askYesNo &&
        cb.askYesNo(text + QStringLiteral("\n\nScan it all the same?"))) {
        root.problem = RootState::None;
        return true;
    }
    reportProblem(state, root.path, QString(), text);
    return root.problem == RootState::Missing;
}

// One profile entry: walk both folders, drop the excluded lines, compare the two sides.
void scanEntry(AppState& state, const Callbacks& cb, const ProfileEntry& entry)
{
    // An entry without a Source or a Target folder names no folder pair: walking "/" in its
    // place would list the whole disk, to be copied to or from the other folder.
    if (entry.source.trimmed().isEmpty() || entry.target.trimmed().isEmpty())
        return;
    const QStringList patterns = includePatterns(entry.include);
    ScannedEntry scanned{checkRoot(entry.source), checkRoot(entry.target), {}, patterns.size() > 1};
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
                   sourceFound, targetFound);
    UnreadablePaths sourceUnreadable;
    UnreadablePaths targetUnreadable;
    std::vector<ScannedEntry::Partial>& partials = state.scannedEntries.back().partials;
    reportWalk(state, entry.source, sourceFound, sourceUnreadable, partials);
    reportWalk(state, entry.target, targetFound, targetUnreadable, partials);
    excludeLines(state, cb, FilesList1, entry.exclude);
    excludeLines(state, cb, FilesList2, entry.exclude);

    SideTable SourceTable;
    SideTable TargetTable;
    buildSideTable(state, cb, FilesList1, SourceTable);
    buildSideTable(state, cb, FilesList2, TargetTable);

    setPanel(state, cb, 1, QStringLiteral("Comparing"));
    const bool fatTimes = scanned.source.fs.fatTimes() || scanned.target.fs.fatTimes();
    // ListView1's rows are counted in the source counters, ListView2's in the target counters.
    ComparePass first{SourceTable,
                      TargetTable,
                      state.ListView1,
                      state.ListView2,
                      entry.source,
                      entry.target,
                      state.SourceFileCount,
                      state.SourceSizeKB,
                      state.TargetFileCount,
                      state.TargetSizeKB,
                      index,
                      fatTimes,
                      &targetUnreadable,
                      &targetFound.folders};
    CompareSides(state, cb, first);
    ComparePass second{TargetTable,
                       SourceTable,
                       state.ListView2,
                       state.ListView1,
                       entry.target,
                       entry.source,
                       state.TargetFileCount,
                       state.TargetSizeKB,
                       state.SourceFileCount,
                       state.SourceSizeKB,
                       index,
                       fatTimes,
                       &sourceUnreadable,
                       &sourceFound.folders};
    CompareSides(state, cb, second);
}

} // namespace

void ScanCmd_Click(AppState& state, const Callbacks& cb)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    state.CancelRequested = false;
    setPanel(state, cb, 1, QStringLiteral("Ready"));
    for (int panel = 2; panel <= 5; ++panel)
        setPanel(state, cb, panel, QString());
    setProgressRange(state, cb, 0, 1);
    setProgressValue(state, cb, 0);
    if (cb.busyChanged)
        cb.busyChanged(true);
    setPanel(state, cb, 1, QStringLiteral("Scanning"));
    state.ListView1.clear();
    state.ListView2.clear();
    state.ErrorsList.clearForScan();
    state.scannedEntries.clear();
    uiYield(state, cb);
    uiYield(state, cb); // the window resets its file icons before the scan starts
    state.SourceFileCount = 0;
    state.TargetFileCount = 0;
    state.SourceSizeKB = 0;
    state.TargetSizeKB = 0;

    const int entries = state.ProfileList.size();
    for (int e = 0; e < entries && e < state.ProfileList.size(); ++e) {
        if (state.cancelled())
            break;
        uiYield(state, cb);
        setPanel(state, cb, 1, QStringLiteral("Scanning"));
        const ProfileEntry entry = state.ProfileList.at(e);
        scanEntry(state, cb, entry);
    }

    if (cb.busyChanged)
        cb.busyChanged(false);
    setPanel(state, cb, 1,
             state.cancelled() ? QStringLiteral("Canceled") : QStringLiteral("Ready  "));
    setPanel(state, cb, 2,
             QStringLiteral("Source Files: ") + QString::number(state.SourceFileCount));
    setPanel(state, cb, 3,
             QStringLiteral("Source Size: ") + formatKB(state.SourceSizeKB) + QStringLiteral("KB"));
    setPanel(state, cb, 4,
             QStringLiteral("Target Files: ") + QString::number(state.TargetFileCount));
    setPanel(state, cb, 5,
             QStringLiteral("Target Size: ") + formatKB(state.TargetSizeKB) + QStringLiteral("KB"));
    qint64 maximum = state.SourceSizeKB;
    addToCounter(maximum, state.TargetSizeKB);
    addToCounter(maximum, 1);
    setProgressRange(state, cb, 0, maximum);
    // A chosen sort order is restored over the new rows; then the views see them all.
    state.ListView1.resort();
    state.ListView2.resort();
    state.ListView1.flush();
    state.ListView2.flush();
}
