// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// The Synchronize command: copies the checked rows in the directions the toggles allow.
void SyncCmd_Click(AppState& state, const Callbacks& cb);
