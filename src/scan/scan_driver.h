// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// The Scan command: walks every entry of the profile and fills ListView1 and ListView2.
void ScanCmd_Click(AppState& state, const Callbacks& cb);
