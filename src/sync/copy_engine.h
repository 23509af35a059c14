// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "sync/sync_run.h"

// Creates every level of a folder path, from the left, like mkdir -p. A level that cannot be
// made is skipped; the result is 0 when the folder is there at the end, else the reason it is
// not (the errno of the first level that could not be made: EROFS, EACCES, ENOTDIR...).
int MakeFolderPath(const QString& path);

// Copies the checked rows of one result list (ListView1 or ListView2) to their Target
// folders. First creates the Target folder of every row, checked or not; then copies row by
// row, counting FilesCopied, KBCopied and ErrorCount, adding each failed copy to ErrorsList
// and showing the progress on status panels 2 to 5 and the progress bar. A cancel request is
// noticed before each row; the copy in progress always finishes.
//
// An entry root that the rows go into and that is missing is not created by surprise (see
// entry_roots.h); the rows of such an entry are skipped. 'run' is the synchronization this
// pass belongs to.
void CopyCheckedFiles(AppState& state, const Callbacks& cb, ResultListModel& list, SyncRun& run);
