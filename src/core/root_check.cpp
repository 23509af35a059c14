// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/root_check.h"

#include "core/known_roots.h"
#include "core/name_bytes.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

RootState checkRoot(const QString& root, const KnownRoots::Store& known)
{
    RootState state;
    state.path = root;
    // A profile written on Windows names "C:\Data": that is no folder here, and a relative
    // path would be taken below whatever folder the program was started in.
    if (!root.startsWith(QLatin1Char('/'))) {
        state.problem = RootState::NotAbsolute;
        return state;
    }
    struct stat st;
    if (::stat(nameBytes(root).constData(), &st) != 0) {
        state.error = errno;
        state.problem = errno == ENOENT ? RootState::Missing : RootState::Unreadable;
        return state;
    }
    if (!S_ISDIR(st.st_mode)) {
        state.error = ENOTDIR;
        state.problem = RootState::Unreadable;
        return state;
    }
    state.fs = fileSystemOf(root);
    const std::optional<KnownRoots::Place> usual = known.recalled(root);
    if (usual && !state.fs.mountPoint.isEmpty() && usual->identity != state.fs.identity &&
        usual->mountPoint != state.fs.mountPoint &&
        isSameOrBelow(usual->mountPoint, state.fs.mountPoint))
        state.problem = RootState::NotOnUsualDisk;
    if (!usual && known.unwritable() != 0) {
        state.problem = RootState::NotChecked;
        state.error = known.unwritable();
    }
    return state;
}

QString rootProblemText(const RootState& root)
{
    switch (root.problem) {
    case RootState::None:
        break;
    case RootState::NotAbsolute:
        return QCoreApplication::translate("Scan", "The folder %1 is not an absolute path")
            .arg(root.path);
    case RootState::Missing:
        return QCoreApplication::translate("Scan", "The folder %1 does not exist").arg(root.path);
    case RootState::Unreadable:
        return QCoreApplication::translate("Scan", "Scan: cannot read folder %1: %2")
            .arg(root.path, QString::fromLocal8Bit(std::strerror(root.error)));
    case RootState::NotOnUsualDisk:
        return QCoreApplication::translate("Scan",
                                           "%1 is not on its usual disk: is the disk mounted?")
            .arg(root.path);
    case RootState::NotChecked:
        return QCoreApplication::translate(
                   "Scan", "%1 cannot be checked to be on its usual disk: its disk cannot be "
                           "remembered in %2: %3")
            .arg(root.path, QFileInfo(KnownRoots::storePath()).path(),
                 QString::fromLocal8Bit(std::strerror(root.error)));
    }
    return {};
}

Failure rootFailure(const RootState& root)
{
    static constexpr ErrorKind Kinds[] = {
        ErrorKind::None,           ErrorKind::RootNotAbsolute,    ErrorKind::RootMissing,
        ErrorKind::RootUnreadable, ErrorKind::RootNotOnUsualDisk, ErrorKind::RootNotChecked};
    return failure(Kinds[root.problem], root.error, rootProblemText(root));
}
