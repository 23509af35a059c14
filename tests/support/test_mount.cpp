#include "support/test_mount.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool isMountPoint(const QString& folder)
{
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    if (!info.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = ' ' + QFile::encodeName(QDir(folder).canonicalPath()) + ' ';
    for (const QByteArray& line : info.readAll().split('\n'))
        if (line.contains(wanted))
            return true;
    return false;
}

} // namespace

TestMount::TestMount(TestMount&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_mounted(std::exchange(other.m_mounted, false)),
      m_why(std::move(other.m_why)), m_fuse(std::move(other.m_fuse))
{}

TestMount::~TestMount()
{
    if (m_mounted) {
        const QByteArray folder = QFile::encodeName(m_folder);
        if (m_fuse)
            QProcess::execute(QStringLiteral("fusermount"), {QStringLiteral("-u"), m_folder});
        else if (::umount2(folder.constData(), 0) != 0)
            ::umount2(folder.constData(), MNT_DETACH);
    }
    if (m_fuse && m_fuse->state() != QProcess::NotRunning && !m_fuse->waitForFinished(10000)) {
        const qint64 pid = m_fuse->processId();
        if (pid > 0)
            m_fuse->kill();
        m_fuse->waitForFinished(5000);
    }
}

TestMount TestMount::tmpfs(const QString& folder, const QString& options)
{
    TestMount m;
    m.m_folder = folder;
    QDir().mkpath(folder);
    if (::geteuid() != 0) {
        m.m_why = QStringLiteral("mounting a tmpfs needs root");
        return m;
    }
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                options.toUtf8().constData()) != 0) {
        m.m_why =
            QStringLiteral("mount -t tmpfs failed: ") + QString::fromLocal8Bit(strerror(errno));
        return m;
    }
    m.m_mounted = true;
    return m;
}

TestMount TestMount::fat(const QString& folder, int megabytes)
{
    TestMount m;
    m.m_folder = folder;
    QDir().mkpath(folder);
    for (const char* tool : {"fusefat", "mkfs.vfat", "fusermount"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
            QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/sbin", "/usr/sbin"})
                .isEmpty()) {
            m.m_why = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return m;
        }
    }
    if (::geteuid() != 0 || ::access("/dev/fuse", R_OK | W_OK) != 0) {
        m.m_why = QStringLiteral("a FUSE mount needs root and /dev/fuse");
        return m;
    }
    const QString image = folder + QStringLiteral(".img");
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(megabytes) << 20)) {
        m.m_why = image + QStringLiteral(": ") + file.errorString();
        return m;
    }
    file.close();
    QString mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"));
    if (mkfs.isEmpty())
        mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"), {"/sbin", "/usr/sbin"});
    if (QProcess::execute(mkfs, {QStringLiteral("-n"), QStringLiteral("KETRANO"), image}) != 0) {
        m.m_why = QStringLiteral("mkfs.vfat failed");
        return m;
    }
    m.m_fuse = std::make_unique<QProcess>();
    m.m_fuse->setProcessChannelMode(QProcess::MergedChannels);
    m.m_fuse->start(QStringLiteral("fusefat"), {QStringLiteral("-f"), QStringLiteral("-o"),
                                                QStringLiteral("rw+"), image, folder});
    if (!m.m_fuse->waitForStarted() || !m.waitForMount()) {
        m.m_why = QStringLiteral("fusefat did not mount the image: ") +
                  QString::fromLocal8Bit(m.m_fuse->readAll());
        return m;
    }
    m.m_mounted = true;
    return m;
}

bool TestMount::waitForMount()
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000 && m_fuse->state() == QProcess::Running) {
        if (isMountPoint(m_folder))
            return true;
        QThread::msleep(5);
    }
    return false;
}

bool TestMount::remountReadOnly()
{
    return m_mounted && ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
