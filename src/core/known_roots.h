// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
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

// The store as one run reads it: read once, then asked for every root.
class Store
{
public:
    static Store read();
    // The place remembered for the root, if any.
    std::optional<Place> recalled(const QString& root) const;
    // 0 when a root's place can be remembered, else why not (an errno: the state folder cannot
    // be made or written). A root with no place remembered then cannot be checked, ever.
    int unwritable() const { return m_unwritable; }

private:
    std::map<QString, Place> m_roots;
    int m_unwritable = 0;
};

// Remembers the places of several roots at once (one write of the store). 0, or the errno of
// what failed when the store could not be written.
int remember(const std::vector<std::pair<QString, Place>>& roots);

} // namespace KnownRoots
