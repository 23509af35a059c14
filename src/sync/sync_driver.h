#pragma once

#include "app/app_state.h"
#include "app/callbacks.h"

// The Synchronize command: copies the checked rows in the directions the toggles allow.
void SyncCmd_Click(AppState& state, const Callbacks& cb);
