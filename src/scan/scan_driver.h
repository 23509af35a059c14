// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

// The scan of a run (run_profile.h): walks every entry of the profile and fills sourceRows and
// targetRows; what it could not read or refused goes to the error list. It tells its progress
// by events (ScanStarted ... ScanFinished).
void scanProfile(AppState& state, const Callbacks& cb);
