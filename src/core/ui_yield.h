// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// Lets the window repaint and notice Esc during a long command. Cheap to call per file: it
// only shows pending result rows and processes events when about 30 ms have passed since
// the last time.
void uiYield(AppState& state, const Callbacks& cb);

// Whether uiYield would process events now.
bool uiYieldDue(const AppState& state);

// The same without the throttle, for the few documented places that must process events now.
void uiYieldNow(AppState& state, const Callbacks& cb);
