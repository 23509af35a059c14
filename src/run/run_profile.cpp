// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_profile.h"

#include "core/run_lock.h"
#include "core/run_log.h"
#include "core/settings.h"
#include "run/status_presenter.h"
#include "scan/scan_driver.h"
#include "sync/sync_driver.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

namespace {

// The run's own count of what happened, kept from its events before anyone else sees them.
class RunTally
{
public:
    RunTally(AppState& state, RunResult& result) : m_state(state), m_result(result) {}

    void count(const RunEvent& event)
    {
        switch (event.type) {
        case RunEvent::SyncStarted:
            m_syncing = true;
            m_state.FilesCopied = 0;
            m_state.KBCopied = 0;
            m_state.ErrorCount = 0;
            break;
        case RunEvent::SyncFinished:
            m_syncing = false;
            break;
        case RunEvent::RowPassed:
            if (event.outcome == RunEvent::Copied && event.row) {
                ++m_state.FilesCopied;
                m_state.KBCopied += event.row->sizeKB();
                m_result.filesCopied = m_state.FilesCopied;
                m_result.kbCopied = m_state.KBCopied;
                m_result.bytesCopied += event.row->sizeBytes;
            }
            break;
        case RunEvent::Problem:
            ++m_result.errors;
            // The copy counters count what went wrong while copying, and a refused run.
            if (m_syncing || (event.error && event.error->kind == ErrorKind::ProfileBusy))
                ++m_state.ErrorCount;
            break;
        default:
            break;
        }
    }

private:
    AppState& m_state;
    RunResult& m_result;
    bool m_syncing = false;
};

void writeLog(const RunRequest& request, const AppState& state, RunResult& result, qint64 started,
              const bool directions[2])
{
    RunRecord record;
    record.time = started;
    record.program = request.program;
    record.profile = state.ProfileFileName.isEmpty()
                         ? QString()
                         : QFileInfo(state.ProfileFileName).absoluteFilePath();
    record.sourceToTarget = directions[0];
    record.targetToSource = directions[1];
    record.filesCopied = result.filesCopied;
    record.kbCopied = result.kbCopied;
    record.errors = result.errors;
    record.status = result.exitStatus();
    QString error;
    if (!RunLog::append(record, &error))
        result.warnings << QStringLiteral("cannot write the run log: ") + error;
}

} // namespace

int RunResult::exitStatus() const
{
    if (busy)
        return 3;
    switch (outcome) {
    case RunOutcome::Ok:
    case RunOutcome::Warnings:
        return 0;
    case RunOutcome::Errors:
        return 1;
    case RunOutcome::Stopped:
        return stoppedStatus;
    }
    return 1;
}

RunResult runProfile(AppState& state, const RunRequest& request, const Callbacks& cb)
{
    RunResult result;
    // A synchronization of what an earlier scan listed: what that scan could not read or
    // refused is part of this run too.
    if (!request.scan)
        result.errors =
            std::count_if(state.errorRows.rows().begin(), state.errorRows.rows().end(),
                          [](const ErrorRow& e) { return e.origin == ErrorRow::Origin::Scan; });
    RunTally tally(state, result);
    StatusPresenter presenter(state, cb);
    // Every event is counted first, then shown, then passed on to the front end.
    Callbacks run = cb;
    bool directions[2] = {false, false};
    run.event = [&](const RunEvent& event) {
        tally.count(event);
        presenter.show(event);
        if (cb.event)
            cb.event(event);
    };
    const std::function<bool(Direction)> directionOn = [&](Direction d) {
        const bool on = !request.directionOn || request.directionOn(d);
        directions[d == Direction::SourceToTarget ? 0 : 1] = on;
        return on;
    };
    const qint64 started = QDateTime::currentSecsSinceEpoch();
    const auto stopOfRun = [&request] { return request.stopOfRun ? request.stopOfRun() : 0; };
    const bool unattended = state.control.unattended;
    state.control.unattended = unattended || request.unattended;
    state.control.createRoots = request.createRoots && request.copy;

    // One run that copies at a time per profile: two timers, or a timer and the window. A
    // profile without a file has no other run.
    RunLock lock;
    const bool lockable = request.copy && !state.ProfileFileName.isEmpty();
    if (lockable) {
        lock = RunLock::acquire(state.ProfileFileName);
        if (lock.heldByAnother()) {
            // Nothing is done: the refusal is the one error of this run.
            result.errors = 0;
            const QFileInfo profile(state.ProfileFileName);
            state.errorRows.clearCopyFailures();
            reportError(
                state.errorRows, run,
                errorRow(failure(ErrorKind::ProfileBusy, 0, lock.refusal(state.ProfileFileName)),
                         profile.fileName(), profile.path(), QString()));
            result.busy = true;
            result.raise(RunOutcome::Errors);
        } else if (!lock.held()) {
            result.warnings << QStringLiteral("running without the profile's lock: ") +
                                   lock.error();
        }
    }

    if (!result.busy && request.scan) {
        state.control.running = Running::Scan;
        scanProfile(state, run);
        state.control.running = Running::Idle;
    }
    for (const ResultListModel* list : {&state.sourceRows, &state.targetRows})
        result.changedOnBothSides +=
            std::count_if(list->rows().begin(), list->rows().end(),
                          [](const ResultRow& r) { return r.changedOnBothSides; });
    bool stopped = state.control.cancelled() || stopOfRun() != 0;
    const bool synchronized = !result.busy && request.copy && stopOfRun() == 0;
    if (synchronized) {
        state.control.running = Running::Sync;
        const int keepDays =
            request.keepVersionsDays >= 0 ? request.keepVersionsDays : Settings::readKeepVersions();
        result.warnings << synchronizeRows(state, run, directionOn, !lockable || lock.held(),
                                           keepDays);
        state.control.running = Running::Idle;
        stopped = state.control.cancelled() || stopOfRun() != 0;
    }
    state.control.unattended = unattended;
    state.control.createRoots = false;

    if (result.errors > 0)
        result.raise(RunOutcome::Errors);
    if (stopped && !result.busy) {
        result.raise(RunOutcome::Stopped);
        if (const int status = stopOfRun())
            result.stoppedStatus = status;
    }
    if (request.copy && !request.program.isEmpty()) {
        if (!synchronized) // the directions it would have taken
            for (const Direction d : {Direction::SourceToTarget, Direction::TargetToSource})
                directionOn(d);
        writeLog(request, state, result, started, directions);
    }
    if (!result.warnings.isEmpty() || result.changedOnBothSides > 0)
        result.raise(RunOutcome::Warnings);
    return result;
}
