// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// One run of a profile at a time, across programs: ketrano-cli sync and the window's
// unattended run take the profile's lock before they scan, and a second run of the same
// profile is refused while the first one holds it.
//
// The lock is an advisory lock on a small file in the user's runtime folder
// ($XDG_RUNTIME_DIR/ketrano, else /run/user/UID/ketrano when it is the user's, else a private
// folder in /tmp), named after the profile file's canonical path, so every spelling of the
// same file shares one lock. The holder removes the file when it releases the lock; the
// kernel drops the lock when its holder ends, however it ends, so a file left behind by a
// killed run holds nothing.
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

    // The lock file of a profile (the folder is created when missing); empty with no usable
    // runtime folder.
    static QString lockFilePath(const QString& profilePath);

private:
    void release();

    int m_fd = -1;
    qint64 m_holder = 0;
    QString m_error;
    QByteArray m_path; // the lock file, removed when the lock is released
};
