// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fat_mount.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString tool(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/sbin", "/usr/sbin"}) : found;
}

bool isMountPoint(const QString& folder)
{
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    return info.open(QIODevice::ReadOnly) &&
           info.readAll().contains(' ' + QFile::encodeName(QDir(folder).canonicalPath()) + ' ');
}

} // namespace

FatMount::FatMount(const QString& folder, bool readOnly, const QString& timeZone) : m_folder(folder)
{
    QDir().mkpath(folder);
    const QString image = folder + QStringLiteral(".img");
    QFile file(image);
    if (tool("fusefat").isEmpty() || tool("mkfs.vfat").isEmpty() || tool("fusermount").isEmpty())
        m_why = QStringLiteral("fusefat, mkfs.vfat or fusermount is not installed");
    else if (::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0)
        m_why = QStringLiteral("a FUSE mount needs root and /dev/fuse");
    else if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(16) << 20) ||
             QProcess::execute(tool("mkfs.vfat"), {image}) != 0)
        m_why = QStringLiteral("no FAT image: ") + file.errorString();
    if (!m_why.isEmpty())
        return;
    m_fuse.setProcessChannelMode(QProcess::MergedChannels);
    if (!timeZone.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), timeZone);
        m_fuse.setProcessEnvironment(env);
    }
    // A test that dies takes the driver along, and the driver its mount.
    m_fuse.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_fuse.start(tool("fusefat"),
                 {"-f", "-o", readOnly ? "ro,auto_unmount" : "rw+,auto_unmount", image, folder});
    for (QDeadlineTimer d(10000); m_fuse.waitForStarted() && m_fuse.state() == QProcess::Running &&
                                  !isMountPoint(folder) && !d.hasExpired();)
        QThread::msleep(5);
    if (!isMountPoint(folder))
        m_why = QStringLiteral("fusefat did not mount the image: ") + m_fuse.readAll();
}

FatMount::~FatMount()
{
    if (mounted())
        QProcess::execute(tool("fusermount"), {"-u", m_folder});
    if (m_fuse.state() != QProcess::NotRunning && !m_fuse.waitForFinished(10000) &&
        m_fuse.processId() > 0)
        m_fuse.kill();
}
