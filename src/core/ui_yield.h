// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "core/run_control.h"

#include <chrono>
#include <future>
#include <utility>

// Lets the window repaint and notice Esc during a long command. Cheap to call per file (it
// reads a coarse clock): it only shows pending result rows and processes events when about 30 ms
// have passed since the last time.
void uiYield(RunControl& control, const Callbacks& cb);

// Whether uiYield would process events now.
bool uiYieldDue(const RunControl& control);

// The same without the throttle, for the few documented places that must process events now.
void uiYieldNow(RunControl& control, const Callbacks& cb);

// Calls 'waiting' about every 10 ms until 'done' is ready (the window repaints meanwhile);
// returns its result. Work that found no free thread (deferred) runs here.
template <typename T, typename Waiting> T waitFor(std::future<T>& done, Waiting&& waiting)
{
    while (done.wait_for(std::chrono::milliseconds(10)) == std::future_status::timeout)
        waiting();
    return done.get();
}

// Runs 'work' on a thread of its own and calls 'waiting' about every 10 ms until it is done;
// returns what the work returned. Without a free thread the work runs here, when its result is
// asked for.
template <typename Work, typename Waiting> auto whileWaiting(Work&& work, Waiting&& waiting)
{
    constexpr auto policy = std::launch::async | std::launch::deferred;
    auto done = std::async(policy, std::forward<Work>(work));
    return waitFor(done, std::forward<Waiting>(waiting));
}
