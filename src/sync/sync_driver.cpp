// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/sync_driver.h"

#include "core/known_roots.h"
#include "core/thread_check.h"
#include "core/ui_yield.h"
#include "sync/copy_engine.h"
#include "sync/destination_check.h"
#include "sync/entry_roots.h"

#include <QFileInfo>

#include <ctime>

namespace {

// Puts everything the run wrote on disk, one file system after the other, on a worker thread
// while the window keeps repainting (a USB stick may take a while). A file system that could
// not be flushed is an error row: its copies may not survive a power cut.
void flushWritten(AppState& state, const Callbacks& cb, SyncRun& run)
{
    // A program that is closing ends now (no "Ready" is shown): the system writes back what
    // is cached, every file it replaced was flushed before it took the old one's place, and
    // the files it created keep their older time, so the next run copies them again.
    if (run.written.empty() || state.control.abandonCopy)
        return;
    emitEvent(cb, {.type = RunEvent::Flushing});
    // Then the new files get their sources' times, and those go on disk too, so that a disk
    // unplugged after "Ready" has them.
    const std::vector<WrittenFileSystems::Failure> failed = whileWaiting(
        [&run] {
            std::vector<WrittenFileSystems::Failure> failed = run.written.flush();
            if (failed.empty() && !run.newFiles.empty()) {
                giveNewFilesTheirTimes(run.newFiles);
                failed = run.written.flush();
            }
            return failed;
        },
        [&state, &cb] { uiYield(state.control, cb); });
    for (const WrittenFileSystems::Failure& f : failed)
        reportError(
            state.errorRows, cb,
            errorRow(failure(ErrorKind::FlushFailed, f.error), QString(), QString(), f.folder));
}

struct CheckedTotal
{
    qint64 files = 0;
    qint64 bytes = 0;
};

// The checked rows of a list and their bytes: what a direction has before it.
CheckedTotal checkedTotal(const ResultListModel& list)
{
    CheckedTotal total;
    for (const ResultRow& row : list.rows())
        if (row.checked) {
            ++total.files;
            total.bytes += row.sizeBytes;
        }
    return total;
}

} // namespace

QStringList synchronizeRows(AppState& state, const Callbacks& cb,
                            const std::function<bool(Direction)>& directionOn, bool noOtherRun,
                            int keepVersionsDays)
{
    KETRANO_ON_WINDOW_THREAD(&state.sourceRows);
    state.control.CancelRequested = false;
    state.errorRows.clearCopyFailures();
    // What the run has before it, for a progress that tells the time left: the checked rows of
    // both lists (a direction found off when it begins says so with DirectionSkipped).
    const CheckedTotal sources = checkedTotal(state.sourceRows);
    const CheckedTotal targets = checkedTotal(state.targetRows);
    emitEvent(cb, {.type = RunEvent::SyncStarted,
                   .count = sources.files + targets.files,
                   .bytesTotal = sources.bytes + targets.bytes});

    SyncRun run;
    struct timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    run.started = qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    run.removeStalePartials = noOtherRun;
    run.versions = std::make_unique<VersionKeeper>(qint64(now.tv_sec), keepVersionsDays);

    // Each direction is asked for when its stage begins, so a toggle may be flipped meanwhile.
    bool copied = false;
    for (const Direction d : {Direction::SourceToTarget, Direction::TargetToSource}) {
        emitEvent(cb, {.type = RunEvent::DirectionStarted, .direction = d});
        if (!directionOn || directionOn(d)) {
            CopyCheckedFiles(state, cb,
                             d == Direction::SourceToTarget ? state.sourceRows : state.targetRows,
                             run);
            copied = true;
        } else {
            const CheckedTotal skipped = d == Direction::SourceToTarget ? sources : targets;
            emitEvent(cb, {.type = RunEvent::DirectionSkipped,
                           .direction = d,
                           .count = skipped.files,
                           .bytesTotal = skipped.bytes});
        }
    }
    const bool cancelled = state.control.cancelled();
    if (state.control.createRoots)
        reportRootsLeftMissing(state, cb);
    flushWritten(state, cb, run);
    if (copied && !cancelled) {
        const Failure notRemembered = rememberRootPlaces(state, run);
        if (notRemembered.failed())
            reportError(state.errorRows, cb,
                        errorRow(notRemembered, QString(), QString(),
                                 QFileInfo(KnownRoots::storePath()).path()));
        rememberSynchronized(state, run);
    }
    QStringList warnings;
    if (!run.writtenRoots.empty() && !state.control.abandonCopy)
        warnings = whileWaiting(
            [&run, keepVersionsDays, now = qint64(now.tv_sec)] {
                QStringList failed;
                for (const QString& root : run.writtenRoots)
                    failed << removeOldVersions(root, keepVersionsDays, now);
                return failed;
            },
            [&state, &cb] { uiYield(state.control, cb); });
    emitEvent(cb, {.type = RunEvent::SyncFinished, .stopped = cancelled});
    return warnings;
}
