// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/sync_driver.h"

#include "core/run_lock.h"
#include "core/status_bar.h"
#include "core/thread_check.h"
#include "core/ui_yield.h"
#include "sync/copy_engine.h"
#include "sync/destination_check.h"
#include "sync/entry_roots.h"

#include <chrono>
#include <ctime>
#include <future>
#include <unistd.h>

namespace {

// A toggle the driver cannot ask about counts as pressed.
bool toggleOn(const Callbacks& cb, int toggle)
{
    return !cb.toggle || cb.toggle(toggle);
}

void setBusy(const Callbacks& cb, bool busy)
{
    if (cb.busyChanged)
        cb.busyChanged(busy);
}

// Partial copies left by a killed run may go only while no other run of the profile is under
// way. ketrano-cli and the window's unattended run hold the profile's lock for their whole
// run (this process then shows as the holder); an interactive Synchronize takes it for its
// own run. A profile without a file has no other run.
RunLock lockForCleanup(const AppState& state, bool& mayClean)
{
    bool partials = false;
    for (const ScannedEntry& entry : state.scannedEntries)
        partials = partials || !entry.partials.empty();
    mayClean = partials;
    if (!partials || state.ProfileFileName.isEmpty())
        return {};
    RunLock lock = RunLock::acquire(state.ProfileFileName);
    mayClean = lock.held() || lock.holderPid() == qint64(::getpid());
    return lock;
}

// Puts everything the run wrote on disk, one file system after the other, on a worker thread
// while the window keeps repainting (a USB stick may take a while). A file system that could
// not be flushed is an error row: its copies may not survive a power cut.
void flushWritten(AppState& state, const Callbacks& cb, SyncRun& run)
{
    // A program that is closing ends now (no "Ready" is shown): the system writes back what
    // is cached, every file it replaced was flushed before it took the old one's place, and
    // the files it created keep their older time, so the next run copies them again.
    if (run.written.empty() || state.abandonCopy)
        return;
    // Then the new files get their sources' times, and those go on disk too, so that a disk
    // unplugged after "Ready" has them.
    auto done = std::async(std::launch::async, [&run] {
        std::vector<WrittenFileSystems::Failure> failed = run.written.flush();
        if (failed.empty() && !run.newFiles.empty()) {
            giveNewFilesTheirTimes(run.newFiles);
            failed = run.written.flush();
        }
        return failed;
    });
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        uiYield(state, cb);
    const std::vector<WrittenFileSystems::Failure> failed = done.get();
    for (const WrittenFileSystems::Failure& f : failed) {
        ++state.ErrorCount;
        state.ErrorsList.append({QString(), QString(), f.folder,
                                 copyFailure("Writing the copies to disk failed", f.error)});
    }
    if (!failed.empty()) // counted after the last row: panel 3 says so too
        setPanel(state, cb, 3, QLatin1String("Errors : ") + QString::number(state.ErrorCount));
}

} // namespace

void SyncCmd_Click(AppState& state, const Callbacks& cb)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    state.CancelRequested = false;
    setBusy(cb, true);
    state.FilesCopied = 0;
    state.KBCopied = 0;
    state.ErrorCount = 0;
    state.ErrorsList.clearCopyFailures();
    setPanel(state, cb, 1, QStringLiteral("Copying"));
    setPanel(state, cb, 2, QStringLiteral("From source to Target"));
    setPanel(state, cb, 4, QString());

    SyncRun run;
    struct timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    run.started = qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    const RunLock lock = lockForCleanup(state, run.removeStalePartials);

    // Each direction's toggle is read when its stage begins, so it may be flipped meanwhile.
    bool copied = false;
    if (toggleOn(cb, 2)) {
        CopyCheckedFiles(state, cb, state.ListView1, run);
        copied = true;
    }
    setPanel(state, cb, 2, QStringLiteral("From Target to Source"));
    if (toggleOn(cb, 3)) {
        CopyCheckedFiles(state, cb, state.ListView2, run);
        copied = true;
    }
    const bool cancelled = state.cancelled();
    flushWritten(state, cb, run);
    if (copied && !cancelled)
        rememberRootPlaces(state, run);

    setBusy(cb, false);
    setPanel(state, cb, 1, cancelled ? QStringLiteral("Canceled ") : QStringLiteral("Ready  "));
    setPanel(state, cb, 2, QString());
    setPanel(state, cb, 4, panelText(state, 4) + QLatin1String("  Files copied"));
    setProgressValue(state, cb, state.status.progressMax);
}
