// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/run_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A folder that only this user can write: owned by us, not a symbolic link, mode 0700.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat st = {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

QByteArray makePrivateFolder(const QByteArray& path)
{
    ::mkdir(path.constData(), 0700);
    return isPrivateFolder(path) ? path : QByteArray();
}

// The folders the lock files go into, the one that every run of the user can reach first:
// /tmp itself, not $TMPDIR. cron gives no XDG_RUNTIME_DIR, and a session's runtime folder comes
// and goes with the session; each that is there gets a lock file too.
QList<QByteArray> lockFolders()
{
    QList<QByteArray> folders;
    const auto add = [&folders](const QByteArray& folder) {
        const QByteArray made = makePrivateFolder(folder);
        char* real = made.isEmpty() ? nullptr : ::realpath(made.constData(), nullptr);
        if (real && !folders.contains(QByteArray(real)))
            folders << QByteArray(real);
        ::free(real);
    };
    const QByteArray uid = QByteArray::number(::geteuid());
    add("/tmp/ketrano-" + uid);
    const QByteArray fromEnv = qgetenv("XDG_RUNTIME_DIR");
    if (fromEnv.startsWith('/') && isPrivateFolder(fromEnv))
        add(fromEnv + "/ketrano");
    const QByteArray session = "/run/user/" + uid;
    if (isPrivateFolder(session))
        add(session + "/ketrano");
    return folders;
}

qint64 readPid(int fd)
{
    char buffer[32] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    return n > 0 ? QByteArray(buffer, int(n)).trimmed().toLongLong() : 0;
}

} // namespace

RunLock::~RunLock()
{
    release();
}

RunLock::RunLock(RunLock&& other) noexcept
    : m_fd(other.m_fd), m_holder(other.m_holder), m_error(std::move(other.m_error)),
      m_path(std::move(other.m_path)), m_more(std::move(other.m_more))
{
    other.m_fd = -1;
    other.m_more.clear();
}

RunLock& RunLock::operator=(RunLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_holder = other.m_holder;
        m_error = std::move(other.m_error);
        m_path = std::move(other.m_path);
        m_more = std::move(other.m_more);
        other.m_fd = -1;
        other.m_more.clear();
    }
    return *this;
}

void RunLock::release()
{
    // Removed while still locked, so no run takes the lock of a file that is going away
    // unnoticed (see take).
    for (const Held& more : m_more) {
        ::unlink(more.path.constData());
        ::close(more.fd);
    }
    m_more.clear();
    if (m_fd < 0)
        return;
    ::unlink(m_path.constData());
    ::close(m_fd); // drops the lock
    m_fd = -1;
}

QString RunLock::refusal(const QString& profile) const
{
    return QStringLiteral("another run of %1 is in progress (pid %2)")
        .arg(profile, m_holder > 0 ? QString::number(m_holder) : QStringLiteral("unknown"));
}

QStringList RunLock::lockFilePaths(const QString& profilePath)
{
    const QFileInfo info(profilePath);
    const QString canonical = info.canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(key), QCryptographicHash::Sha256).toHex();
    QStringList paths;
    for (const QByteArray& folder : lockFolders())
        paths << QFile::decodeName(folder) + QStringLiteral("/run-") +
                     QString::fromLatin1(hash.left(32)) + QStringLiteral(".lock");
    return paths;
}

QString RunLock::lockFilePath(const QString& profilePath)
{
    const QStringList paths = lockFilePaths(profilePath);
    return paths.isEmpty() ? QString() : paths.first();
}

RunLock RunLock::acquire(const QString& profilePath)
{
    RunLock lock;
    const QStringList paths = lockFilePaths(profilePath);
    if (paths.isEmpty()) {
        lock.m_holder = -1;
        lock.m_error = QStringLiteral("no private folder for the run lock");
        return lock;
    }
    // All of them, or none: a run that another one holds any of gives back what it took. A
    // file that could not be tried is passed over while another one is held.
    QString untried;
    for (const QString& path : paths) {
        RunLock one;
        if (!one.take(path)) {
            if (one.m_holder == -1) {
                untried = one.m_error;
                continue;
            }
            lock.release();
            lock.m_holder = one.m_holder;
            lock.m_error = one.m_error;
            return lock;
        }
        if (lock.m_fd < 0) {
            lock.m_fd = std::exchange(one.m_fd, -1);
            lock.m_path = one.m_path;
        } else {
            lock.m_more.push_back({std::exchange(one.m_fd, -1), one.m_path});
        }
    }
    if (lock.m_fd < 0) {
        lock.m_holder = -1;
        lock.m_error = untried;
    }
    return lock;
}

bool RunLock::take(const QString& path)
{
    RunLock& lock = *this;
    const QByteArray encoded = QFile::encodeName(path);
    const auto fail = [&lock, &path](int fd) {
        lock.m_holder = -1;
        lock.m_error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        if (fd >= 0)
            ::close(fd);
        return false;
    };
    // The holder removes the file when it is done. A run that opened the file just before
    // that gets a lock on a removed file: it notices and tries the new one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(encoded.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return fail(fd);
        // A lock on the open file description: a second open of the same file, in this
        // process or another, does not get it.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                return fail(fd);
            // The holder writes its id right after it took the lock: give it a moment.
            for (int i = 0; i < 50 && lock.m_holder <= 0; ++i) {
                lock.m_holder = readPid(fd);
                if (lock.m_holder <= 0)
                    QThread::msleep(2);
            }
            lock.m_holder = qMax<qint64>(lock.m_holder, 0);
            ::close(fd);
            return false;
        }
        struct stat opened = {}, named = {};
        if (::fstat(fd, &opened) != 0)
            return fail(fd);
        if (::stat(encoded.constData(), &named) != 0 || named.st_ino != opened.st_ino ||
            named.st_dev != opened.st_dev) {
            ::close(fd);
            continue;
        }
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        [[maybe_unused]] const int truncated = ::ftruncate(fd, 0);
        [[maybe_unused]] const ssize_t written =
            ::pwrite(fd, pid.constData(), size_t(pid.size()), 0);
        lock.m_fd = fd;
        lock.m_path = encoded;
        return true;
    }
    errno = EAGAIN;
    return fail(-1);
}
