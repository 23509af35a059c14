// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A tmpfs of a given size (mount options "size=8m") over a folder for one test, unmounted when
// the object goes. Needs root; mounted() is false where the machine does not allow it.
class TmpfsMount
{
public:
    TmpfsMount(const QString& folder, const char* options);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return m_mounted; }
    // Changes the size of the mounted file system; false when it cannot.
    bool resize(const char* options);
    // Makes it read-only (a disk gone read-only after errors); false when it cannot.
    bool makeReadOnly();

private:
    QByteArray m_folder;
    bool m_mounted;
};
