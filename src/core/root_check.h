// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/failure.h"
#include "core/file_system_info.h"
#include "core/known_roots.h"

#include <QString>

// An entry's Source or Target root folder, looked at before it is scanned or written to. A
// root is never created or filled by surprise: a missing one may be an unmounted disk's mount
// point that was removed, and a root found on another file system than at its last
// synchronization, on the disk above its usual mount point, is the empty mount point of a
// disk that is not mounted.
struct RootState
{
    enum Problem { None, NotAbsolute, Missing, Unreadable, NotOnUsualDisk, NotChecked };
    QString path;
    Problem problem = None;
    int error = 0;     // errno of Unreadable, or why NotChecked could not be remembered
    FileSystemInfo fs; // of a root that is there
};

// 'known' is the store of the roots' usual disks, read once per scan. A root that has no usual
// disk remembered while none can be remembered (the state folder cannot be written) is
// NotChecked: a bare mount point could never be told from its disk.
RootState checkRoot(const QString& root, const KnownRoots::Store& known);

// The error list's text for a root with a problem (null for None), and its kind.
QString rootProblemText(const RootState& root);
Failure rootFailure(const RootState& root);
