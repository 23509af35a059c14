#include "sync/sync_driver.h"

#include "core/status_bar.h"
#include "core/thread_check.h"
#include "sync/copy_engine.h"

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

    // Each direction's toggle is read when its stage begins, so it may be flipped meanwhile.
    if (toggleOn(cb, 2))
        CopyCheckedFiles(state, cb, state.ListView1);
    setPanel(state, cb, 2, QStringLiteral("From Target to Source"));
    if (toggleOn(cb, 3))
        CopyCheckedFiles(state, cb, state.ListView2);

    setBusy(cb, false);
    setPanel(state, cb, 1,
             state.cancelled() ? QStringLiteral("Canceled ") : QStringLiteral("Ready  "));
    setPanel(state, cb, 2, QString());
    setPanel(state, cb, 4, panelText(state, 4) + QLatin1String("  Files copied"));
    setProgressValue(state, cb, state.status.progressMax);
}
