// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

#include <functional>

// The synchronization of a run (run_profile.h): copies the checked rows of sourceRows to the
// target side and those of targetRows to the source side, each direction when 'directionOn'
// says so as its stage begins (no function: both), then puts what it wrote on disk. Failed
// copies go to the error list. 'noOtherRun': no other run of the profile is under way (the
// caller holds its lock), so partial copies that killed runs left behind may be removed. It
// tells its progress by events (SyncStarted ... SyncFinished).
void synchronizeRows(AppState& state, const Callbacks& cb,
                     const std::function<bool(Direction)>& directionOn, bool noOtherRun);
