// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ui_yield.h"

#include "core/thread_check.h"

namespace {
constexpr qint64 YieldIntervalMs = 30;
}

void uiYieldNow(AppState& state, const Callbacks& cb)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    state.ListView1.flush();
    state.ListView2.flush();
    state.lastYield.start();
    if (cb.yield)
        cb.yield();
}

bool uiYieldDue(const AppState& state)
{
    return !state.lastYield.isValid() || state.lastYield.elapsed() >= YieldIntervalMs;
}

void uiYield(AppState& state, const Callbacks& cb)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    if (uiYieldDue(state))
        uiYieldNow(state, cb);
}
