#include "core/ui_yield.h"

namespace {
constexpr qint64 YieldIntervalMs = 30;
}

void uiYieldNow(AppState& state, const Callbacks& cb)
{
    state.ListView1.flush();
    state.ListView2.flush();
    state.lastYield.start();
    if (cb.yield)
        cb.yield();
}

void uiYield(AppState& state, const Callbacks& cb)
{
    if (state.lastYield.isValid() && state.lastYield.elapsed() < YieldIntervalMs)
        return;
    uiYieldNow(state, cb);
}
