// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

#include <QStringList>
#include <functional>

// The synchronization of a run (run_profile.h): copies the checked rows of sourceRows to the
// target side and those of targetRows to the source side, each direction when 'directionOn'
// says so as its stage begins (no function: both), then puts what it wrote on disk. Failed
// copies go to the error list. 'noOtherRun': no other run of the profile is under way (the
// caller holds its lock), so partial copies that killed runs left behind may be removed. It
// tells its progress by events (SyncStarted ... SyncFinished).
//
// A destination that a copy replaces is kept as a version when 'keepVersionsDays' is more than
// 0 (versions.h); at the end, the versions older than that many days go from the roots it wrote
// to. What could not be removed comes back, for the user (never an error of the run).
QStringList synchronizeRows(AppState& state, const Callbacks& cb,
                            const std::function<bool(Direction)>& directionOn, bool noOtherRun,
                            int keepVersionsDays);
