// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// Where each entry root lay when it was last synchronized: the identity of its file system and
// that file system's mount point. A backup disk that is not mounted leaves its mount point as
// an empty folder on the disk above it; knowing where the root used to be tells the two
// apart. Kept in $XDG_STATE_HOME/ketrano/roots (default ~/.local/state), one line per root.
namespace KnownRoots {

struct Place
{
    QString identity;
    QString mountPoint;
};

QString storePath();

// The place remembered for the root, if any.
std::optional<Place> recalled(const QString& root);

// Remembers the places of several roots at once (one write of the store). False when the
// store could not be written.
bool remember(const std::vector<std::pair<QString, Place>>& roots);

} // namespace KnownRoots
