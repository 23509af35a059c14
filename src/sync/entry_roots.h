// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "sync/sync_run.h"

#include <set>

// The root folders of the profile entries as a synchronization meets them. A root that is
// missing may be the mount point of a disk that is not mounted (or was removed along with it):
// it is never created by surprise.

// Looks again at the root that the rows of 'list' go into (the Target root for ListView1, the
// Source root for ListView2), entry by entry. A root that is missing now is created only when
// the user says so, asked once per root and run ("The folder ... does not exist. Create it and
// copy N files into it?"); an unattended run does not create it. A root that is on another
// file system than at the scan (the disk was unmounted meanwhile) is not written either. Each
// refused root gets one error row; the result is the entries whose rows are not to be copied.
std::set<quint32> refuseMissingRoots(AppState& state, const Callbacks& cb,
                                     const ResultListModel& list, SyncRun& run);

// At the end of a synchronization told to create missing roots, whose scan left them to it:
// every root that is still missing, and that no error row of the run speaks of yet (it had
// nothing to copy into it, its direction was off, the run was stopped), gets the scan's error
// row after all.
void reportRootsLeftMissing(AppState& state, const Callbacks& cb);

// After a synchronization that ran to its end: remembers, per root of the entries it
// synchronized, the file system the root lives on now, so that a later run notices the root
// showing on another one (the empty mount point of a disk that is not mounted). A failure to
// remember them is returned: without it that guard is off, which is an error of the run.
Failure rememberRootPlaces(const AppState& state, const SyncRun& run);

// After a synchronization that ran to its end: remembers when it ran for every entry it
// synchronized, so that the next scan tells a file changed on both sides since.
void rememberSynchronized(const AppState& state, const SyncRun& run);
