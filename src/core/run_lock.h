// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// One run of a profile at a time, across programs: ketrano-cli sync and the window's
// unattended run take the profile's lock before they scan, and a second run of the same
// profile is refused while the first one holds it.
//
// The lock is an advisory lock on a small file named after the profile file's canonical path,
// so every spelling of the same file shares one lock. A run takes it in every private folder
// of the user that it can reach: /tmp/ketrano-UID, which no environment variable moves, and
// the session's runtime folder ($XDG_RUNTIME_DIR/ketrano, /run/user/UID/ketrano) where there is
// one. So a run from cron (no XDG_RUNTIME_DIR, no session) and one from the desktop always
// meet at one lock file. The holder removes its files when it releases the lock; the kernel
// drops the lock when its holder ends, however it ends, so a file left behind by a killed run
// holds nothing.
class RunLock
{
public:
    RunLock() = default;
    ~RunLock();
    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&& other) noexcept;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock of the profile file at profilePath without waiting. Check held().
    static RunLock acquire(const QString& profilePath);

    // True when this object holds the lock.
    bool held() const { return m_fd >= 0; }
    // When not held: the process id of the run that holds it (0 when it cannot be told), or
    // -1 when the lock could not be tried at all (no usable runtime folder); error() says why.
    qint64 holderPid() const { return m_holder; }
    QString error() const { return m_error; }
    // True when another run holds the lock (not when it could not be tried).
    bool heldByAnother() const { return m_fd < 0 && m_holder >= 0; }
    // "another run of PROFILE is in progress (pid N)", for a lock held by another run.
    QString refusal(const QString& profile) const;

    // The first lock file of a profile (the folder is created when missing); empty with no
    // usable folder.
    static QString lockFilePath(const QString& profilePath);
    // Every lock file of a profile, the first one first.
    static QStringList lockFilePaths(const QString& profilePath);

private:
    void release();
    // Takes the lock of one file; false when it is held or could not be tried (m_holder says).
    bool take(const QString& path);

    int m_fd = -1; // the first lock file's; the others are in m_more
    qint64 m_holder = 0;
    QString m_error;
    QByteArray m_path; // the lock file, removed when the lock is released
    struct Held
    {
        int fd;
        QByteArray path;
    };
    std::vector<Held> m_more;
};
