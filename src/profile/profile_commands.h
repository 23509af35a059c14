// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

// The main toolbar's profile commands. The window sets its caption from what they return.

// "Profile has changed, Do you want to save?" when ProfileChanged; Yes saves.
void saveQuestion(AppState& state, const Callbacks& cb);
// Save question, empty profile and result lists, status panels and progress bar as at
// start-up; returns the new caption.
QString NewProfile(AppState& state, const Callbacks& cb);
// Open dialog and load, with the result lists, status panels and progress bar as at start-up;
// returns the new caption, or a null string when the dialog was cancelled (then the profile,
// its file name, ProfileChanged and the results stay as they were).
QString OpenProfile(AppState& state, const Callbacks& cb);
// Save dialog and atomic write. Cancel saves nothing; a failed write leaves the old file,
// tells the user and keeps the profile marked as changed. True when the profile was saved;
// only then do ProfileFileName and ProfileChanged change.
bool SaveProfile(AppState& state, const Callbacks& cb);

// "Ketrano Backup [" + file name + "]".
QString profileCaption(const QString& profileFileName);
// Empty, or exactly "*.prf": no profile file chosen.
bool isNoProfileFile(const QString& profileFileName);

// Appends the sound entries of ProfileFileName to ProfileList; the damaged records it skipped
// are listed in profileProblems and as rows of the error list, for the window to say so.
void loadCurrentProfile(AppState& state);
