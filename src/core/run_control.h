// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/coarse_timer.h"
#include "core/thread_check.h"

#include <atomic>
#include <functional>

// What a long command is doing right now. While it is not Idle, commands that would change
// the result lists or the profile are refused.
enum class Running { Idle, Scan, Sync };

// How a running Scan or Synchronize is steered: its stop flags, whether anybody watches it,
// and the throttle of its turns of the event loop.
struct RunControl
{
    // Set by Esc, by a double-click on status panel 1 and by Ctrl+C in ketrano-cli (from a
    // signal handler, hence atomic); cleared when Scan or Synchronize starts.
    std::atomic<bool> CancelRequested{false};
    // Set when the program ends during a synchronization: the file being copied is given up
    // (its temporary file removed, its destination left as it was, not counted) instead of
    // finished. Read by the copy-ahead worker, hence atomic. Esc leaves it alone.
    std::atomic<bool> abandonCopy{false};
    Running running = Running::Idle;
    // A run nobody watches (a profile on the window's command line, ketrano-cli): nothing is
    // asked; what the window would ask about is refused and reported as an error row.
    bool unattended = false;
    // A run told to create missing entry roots (ketrano-cli sync --create-roots): Yes to the
    // window's question without asking it. The scan leaves a missing root to the
    // synchronization, which creates it or says why not.
    bool createRoots = false;

    // CancelRequested as the loops test it at their heads.
    bool cancelled() const { return CancelRequested.load(std::memory_order_relaxed); }

    // The last turn of the event loop, and what to do before each (show pending rows).
    CoarseTimer lastYield;
    std::function<void()> beforeYield;
    ThreadOwner owner;
};
