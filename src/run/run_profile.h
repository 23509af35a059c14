// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

#include <QString>
#include <functional>

// One run of a profile, the same for every front end: the window's Scan and Synchronize
// buttons, its unattended run and ketrano-cli all go through runProfile. A run scans, or
// synchronizes what the last scan listed, or both; it holds the profile's lock while it copies,
// so that no two runs write the same folders at once; it puts what it wrote on disk, writes the
// run log line and ends with a result that ranks what happened.

struct RunRequest
{
    bool scan = true;  // walk the profile's folders and list what differs
    bool copy = false; // then copy the checked rows (without scan: those of the last scan)
    // Whether a direction is on, asked when its stage begins (the window's toggles may be
    // flipped meanwhile). No function: both are on.
    std::function<bool(Direction)> directionOn{};
    // Nobody watches: nothing is asked, what the window would ask about is refused.
    bool unattended = false;
    // How many days the versions of replaced files are kept (0: none); -1: as the user saved
    // it ("Keep Versions", 30 days when nothing is saved).
    int keepVersionsDays = -1;
    // Missing entry roots that rows are to be copied into are created without asking, as the
    // window's Yes does; never one that would be made on another disk than it was on at its
    // last synchronization. A root still missing at the end is reported.
    bool createRoots = false;
    // A stop that ends the whole run, not only the command running (a signal to ketrano-cli;
    // Esc in the window stops the scan and lets the synchronization that follows run): returns
    // 0 while there is none, else the exit status it gives. A run so stopped during its scan
    // copies nothing.
    std::function<int()> stopOfRun{};
    // The program named in the run log ("ketrano", "ketrano-cli"); a run that copies adds its
    // line there.
    QString program{};
};

// What a run came to, ranked: a result only ever rises.
enum class RunOutcome { Ok, Warnings, Errors, Stopped };

struct RunResult
{
    RunOutcome outcome = RunOutcome::Ok;
    // Another run holds the profile: nothing was scanned or copied.
    bool busy = false;
    qint64 filesCopied = 0;
    qint64 kbCopied = 0;
    qint64 bytesCopied = 0;
    // Every error row of the run: what the scan could not read or refused, failed copies,
    // refused roots, failed flushes, the lock held by another run.
    qint64 errors = 0;
    // What the run could not do besides (no lock could be tried, the run log was not written,
    // old versions not removed).
    QStringList warnings;
    // Rows of the scan whose file changed on both sides since the entry's last
    // synchronization (a warning: the newer one wins, the older is kept as a version).
    qint64 changedOnBothSides = 0;

    // The exit status of a stopped run: 130 for Esc and Ctrl+C, 143 for SIGTERM, 129 for SIGHUP.
    int stoppedStatus = 130;

    void raise(RunOutcome to)
    {
        if (int(to) > int(outcome))
            outcome = to;
    }
    // The exit status of ketrano-cli and of the run log: 0 (also with warnings), 1 errors,
    // 3 another run held the profile, stoppedStatus when stopped.
    int exitStatus() const;
};

// Runs the request on 'state' (its profile, lists and error rows). 'cb' is the front end: its
// questions and dialogs, its turns of the event loop, the status bar texts that the run's
// presenter sets (status_presenter.h) and the run's events (cb.event), which come after the
// run has counted them.
RunResult runProfile(AppState& state, const RunRequest& request, const Callbacks& cb);
