#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// The check mark and delete commands of the result lists. Each acts on
// state.ActiveResultList and does nothing without one (the two bulk deletes still ask their
// question first). 'selected' is the row selected in the active list, -1 when none. While
// Scan or Synchronize runs every command is refused.
//
// A delete removes the row's file (Source + "/" + Name) for good with unlink. A row whose
// file is gone afterwards, deleted now or already before, leaves the list; a row whose file
// could not be deleted stays, so the list never hides a file that is still on disk.

void CheckAll_Click(AppState& state);
void UnCheckAll_Click(AppState& state);
void InvertChecking_Click(AppState& state);
void CheckUnCheckFile_Click(AppState& state, int selected);

void DeleteFile_Click(AppState& state, const Callbacks& cb, int selected);
void DeleteChecked_Click(AppState& state, const Callbacks& cb);
void DeleteUnchecked_Click(AppState& state, const Callbacks& cb);

// Deletes the row's file; true when the file is gone afterwards.
bool deleteRowFile(const ResultRow& row);
