// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/tmpfs_mount.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>

TmpfsMount::TmpfsMount(const QString& folder, const char* options)
    : m_folder(QFile::encodeName(folder)),
      m_mounted(QDir().mkpath(folder) &&
                ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options) == 0)
{}

TmpfsMount::~TmpfsMount()
{
    if (m_mounted)
        ::umount2(m_folder.constData(), MNT_DETACH);
}

bool TmpfsMount::resize(const char* options)
{
    return m_mounted && ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT, options) == 0;
}

bool TmpfsMount::makeReadOnly()
{
    return m_mounted &&
           ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
