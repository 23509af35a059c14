#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// Creates every level of a folder path, from the left, like mkdir -p. Never fails: a level
// that cannot be made is skipped, and the copies into it fail one by one.
void MakeFolderPath(const QString& path);

// Copies the checked rows of one result list (ListView1 or ListView2) to their Target
// folders. First creates the Target folder of every row, checked or not; then copies row by
// row, counting FilesCopied, KBCopied and ErrorCount, adding each failed copy to ErrorsList
// and showing the progress on status panels 2 to 5 and the progress bar. A cancel request is
// noticed before each row; the copy in progress always finishes.
void CopyCheckedFiles(AppState& state, const Callbacks& cb, ResultListModel& list);
