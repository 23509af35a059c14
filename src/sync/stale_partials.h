// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run/app_state.h"

#include <set>

// A run killed while it copied a file under a hidden name (see partial_copy_name.h) leaves that
// partial copy (".<name>.ketrano-partial-XXXXXX") behind; the scan lists those it finds. Removes
// the ones in the folders that the checked rows of 'list' are copied into (rows of the 'refused'
// entries aside) that are still older than the start of this run ('runStarted', nanoseconds since
// the epoch) by both their modification and their change time: a copy in progress is younger.
// The caller makes sure that no other run of the profile is under way.
void removeStalePartials(const AppState& state, const ResultListModel& list,
                         const std::set<quint32>& refused, qint64 runStarted);
