// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <set>
#include <sys/types.h>
#include <vector>

// Versions of replaced files. Before a copy replaces a destination, the destination's content
// is kept below the root of that side of the entry, in
//   <root>/.ketrano-versions/<run start, local time, "YYYY-MM-DD HHMMSS">/<relative path>
// with its own time and permission bits: as a hard link made just before the rename that
// replaces the destination (no data is copied), or, where the file system has no hard links,
// moved there right before the new file takes its name. Run folders older than the days the
// user keeps versions are removed at the end of a run that wrote to the root.

// The folder of versions directly below a root: never part of the data (not walked, listed or
// copied).
inline const QString VersionsFolder = QStringLiteral(".ketrano-versions");

// The folder's path below the root ("" for the root itself, null when it is not below it).
QString folderBelow(const QString& root, const QString& folder);

// "YYYY-MM-DD HHMMSS" of a time (UTC seconds) in local time, and back.
QString versionRunName(qint64 utcSeconds);
std::optional<qint64> versionRunTime(const QString& name);

// Keeps the versions of one synchronization: one run folder per root, its folders made as
// versions need them. Used on the thread that places the copies.
class VersionKeeper
{
public:
    VersionKeeper(qint64 runStartedSeconds, int keepDays)
        : m_runStarted(runStartedSeconds), m_keepDays(keepDays)
    {}
    ~VersionKeeper();
    VersionKeeper(const VersionKeeper&) = delete;
    VersionKeeper& operator=(const VersionKeeper&) = delete;

    // Versions are kept at all (a setting of 0 days keeps none).
    bool keeps() const { return m_keepDays > 0; }

    // The file 'name' in the open folder 'dir' is about to be replaced: keeps it as a hard
    // link in the versions folder of 'root' (the folder 'dir' is 'relativeFolder' below it).
    // 'noLinks' comes back true when the file system has no hard links (nothing was done:
    // then moveAway is the way).
    Failure link(int dir, const QByteArray& name, const QString& root,
                 const QString& relativeFolder, bool& noLinks);
    // Moves the file into the versions folder instead (no hard links); putBack undoes it.
    Failure moveAway(int dir, const QByteArray& name, const QString& root,
                     const QString& relativeFolder);
    void putBack(int dir, const QByteArray& name);
    // Removes the link just made (the replace failed after all).
    void unlink(const QByteArray& name);

private:
    // The open versions folder for a file of 'relativeFolder' below 'root' in the run folder
    // 'later' seconds after this run's start, made when missing; -1 with errno set when it
    // cannot be made.
    int folder(const QString& root, const QString& relativeFolder, int later = 0);
    // Keeps the file through 'keep' (a link or a move into the open folder given); a name that
    // an earlier run of the same second holds already goes to the next second's run folder.
    Failure keepInto(const QString& root, const QString& relativeFolder,
                     const std::function<int(int folder)>& keep);

    qint64 m_runStarted;
    int m_keepDays;
    QString m_folderPath; // the folder open as m_folder
    int m_folder = -1;
};

// A kept version of a file.
struct KeptVersion
{
    QString root;         // the root whose versions folder holds it
    QString run;          // its run folder: "YYYY-MM-DD HHMMSS"
    qint64 runTime = 0;   // the run's start, UTC seconds
    QString relativePath; // the file's path below the root
    QString path;         // where the version is
    qint64 size = 0;
    qint64 modified = 0; // seconds since the epoch
};

// Every version kept below the root, oldest run first, or those of one relative path.
std::vector<KeptVersion> keptVersions(const QString& root, const QString& relativePath = {});

// Removes the run folders of the root's versions older than 'keepDays' days before 'now'
// (UTC seconds); what could not be removed, for the user.
QStringList removeOldVersions(const QString& root, int keepDays, qint64 now);

// Puts the version back in place of the file it was (or, when 'toFolder' is given, into that
// folder under its own name). The file it replaces is kept as a version itself first, in a run
// folder of now. The copy is as safe as a synchronization's, and on disk when this returns.
Failure restoreVersion(const KeptVersion& version, const QString& toFolder = {});
