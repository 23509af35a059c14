// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// A fresh FAT image (kept beside the folder) mounted over a folder through fusefat for one
// test, unmounted when the object goes. Where the machine does not allow it (no root, no
// /dev/fuse, no fusefat or mkfs.vfat), mounted() is false and why() says what was missing,
// for the test's skip message. The driver runs in the time zone given (TZ), as a user's would.
class FatMount
{
public:
    explicit FatMount(const QString& folder, bool readOnly = false, const QString& timeZone = {});
    ~FatMount();
    FatMount(const FatMount&) = delete;
    FatMount& operator=(const FatMount&) = delete;

    bool mounted() const { return m_why.isEmpty(); }
    QString why() const { return m_why; }

private:
    QString m_folder;
    QString m_why;
    QProcess m_fuse; // fusefat in the foreground
};
