// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
#include <utility>

// When each entry (a Source and Target pair) was last synchronized to its end: a destination
// changed since then was changed on both sides, when its source is newer too. Kept in
// $XDG_STATE_HOME/ketrano/synced (default ~/.local/state), one line per entry, beside the
// known roots.
namespace SyncHistory {

struct LastRun
{
    qint64 started = 0; // UTC seconds
    qint64 ended = 0;
};

using Entries = std::map<std::pair<QString, QString>, LastRun>;

QString storePath();

// Every entry remembered (none when the store cannot be read).
Entries load();

// Remembers the runs of several entries at once (one write of the store). False when the
// store could not be written.
bool remember(const Entries& runs);

} // namespace SyncHistory
