// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cerrno>

// Folders of a destination opened or made from the root of their side, so that nothing is
// written outside it: a symbolic link below the root that leads out of it (to "/etc", to
// "../..") is not followed, and a folder swapped for such a link during the run is refused
// too. A link that stays inside the root is followed. The root's own path may hold links (a
// user may name a linked folder as the root).

// The error of a folder whose path leaves the root through a link.
constexpr int LeavesRoot = EXDEV;

// Opens 'folder' (O_PATH | O_DIRECTORY) beneath 'root'; a folder that is not below 'root' (or
// an empty root) is opened as it is. Returns the descriptor, or -1 with errno set (LeavesRoot
// for a link out of the root).
int openFolderBeneath(const QString& root, const QString& folder);

// Makes every missing level of 'folder' beneath 'root' (none above it); 0 when it is there,
// else the errno of the first level that could not be opened or made (LeavesRoot for a link
// out of the root). A folder not below 'root' is made as MakeFolderPath would.
int makeFolderBeneath(const QString& root, const QString& folder);
