// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ui_yield.h"

#include "core/thread_check.h"

namespace {
constexpr qint64 YieldIntervalMs = 30;
}

void uiYieldNow(RunControl& control, const Callbacks& cb)
{
    KETRANO_ON_OWNER_THREAD(control.owner);
    if (control.beforeYield)
        control.beforeYield();
    control.lastYield.start();
    if (cb.yield)
        cb.yield();
}

bool uiYieldDue(const RunControl& control)
{
    return !control.lastYield.isValid() || control.lastYield.elapsed() >= YieldIntervalMs;
}

void uiYield(RunControl& control, const Callbacks& cb)
{
    KETRANO_ON_OWNER_THREAD(control.owner);
    if (uiYieldDue(control))
        uiYieldNow(control, cb);
}
