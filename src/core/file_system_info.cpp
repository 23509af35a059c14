// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_system_info.h"

#include "core/name_bytes.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace {

// mountinfo writes a blank, tab, newline and backslash in a path as \040, \011, \012, \134.
QByteArray unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3') {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

struct MountLine
{
    QByteArray mountPoint;
    QByteArray type;
};

// The mount of the device whose mount point is the longest prefix of 'realPath'.
bool findMount(dev_t device, const QByteArray& realPath, MountLine& found)
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted =
        QByteArray::number(major(device)) + ':' + QByteArray::number(minor(device));
    bool any = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 7 || f[2] != wanted)
            continue;
        const qsizetype dash = f.indexOf("-", 6);
        if (dash < 0 || dash + 1 >= f.size())
            continue;
        const QByteArray point = unescapeMountField(f[4]);
        const bool contains = point == "/" || realPath == point || realPath.startsWith(point + '/');
        if (contains && (!any || point.size() >= found.mountPoint.size())) {
            found = {point, f[dash + 1]};
            any = true;
        }
    }
    return any;
}

// The UUID under which udev lists the block device, or empty.
QString uuidOf(dev_t device)
{
    const QDir byUuid(QStringLiteral("/dev/disk/by-uuid"));
    for (const QString& name : byUuid.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st;
        if (::stat(QFile::encodeName(byUuid.filePath(name)).constData(), &st) == 0 &&
            S_ISBLK(st.st_mode) && st.st_rdev == device)
            return name;
    }
    return {};
}

} // namespace

bool FileSystemInfo::fatTimes() const
{
    QString base = type;
    // FUSE mounts name their driver after a dot: "fuse.fusefat", "fuseblk.exfat".
    if (base.startsWith(QLatin1String("fuse")) && base.contains(QLatin1Char('.')))
        base = base.section(QLatin1Char('.'), 1);
    static const QStringList Fat = {QStringLiteral("vfat"),    QStringLiteral("msdos"),
                                    QStringLiteral("umsdos"),  QStringLiteral("fat"),
                                    QStringLiteral("fusefat"), QStringLiteral("exfat")};
    return Fat.contains(base);
}

bool FileSystemInfo::syncfsReachesData() const
{
    static const QStringList Trusted = {
        QStringLiteral("ext2"),     QStringLiteral("ext3"),     QStringLiteral("ext4"),
        QStringLiteral("xfs"),      QStringLiteral("btrfs"),    QStringLiteral("f2fs"),
        QStringLiteral("jfs"),      QStringLiteral("reiserfs"), QStringLiteral("nilfs2"),
        QStringLiteral("bcachefs"), QStringLiteral("zfs"),      QStringLiteral("vfat"),
        QStringLiteral("msdos"),    QStringLiteral("exfat"),    QStringLiteral("ntfs3"),
        QStringLiteral("hfsplus"),  QStringLiteral("udf"),      QStringLiteral("tmpfs"),
        QStringLiteral("ramfs"),    QStringLiteral("overlay")};
    return Trusted.contains(type);
}

FileSystemInfo fileSystemOf(const QString& path)
{
    FileSystemInfo info;
    const QByteArray bytes = nameBytes(path);
    struct stat st;
    struct statfs sf;
    if (::stat(bytes.constData(), &st) != 0 || ::statfs(bytes.constData(), &sf) != 0) {
        info.error = errno;
        return info;
    }
    info.device = st.st_dev;
    char* resolved = ::realpath(bytes.constData(), nullptr);
    const QByteArray realPath = resolved ? QByteArray(resolved) : bytes;
    ::free(resolved);
    MountLine mount;
    if (findMount(st.st_dev, realPath, mount)) {
        info.mountPoint = nameText(mount.mountPoint);
        info.type = QString::fromLatin1(mount.type);
    }
    info.identity = uuidOf(st.st_dev);
    if (!info.identity.isEmpty()) {
        info.identity.prepend(QLatin1String("uuid:"));
    } else {
        int fsid[2];
        static_assert(sizeof fsid == sizeof sf.f_fsid);
        std::memcpy(fsid, &sf.f_fsid, sizeof fsid);
        if (fsid[0] != 0 || fsid[1] != 0)
            info.identity = QStringLiteral("fsid:%1:%2")
                                .arg(uint(fsid[0]), 8, 16, QLatin1Char('0'))
                                .arg(uint(fsid[1]), 8, 16, QLatin1Char('0'));
        else
            info.identity = QStringLiteral("dev:%1:%2").arg(major(st.st_dev)).arg(minor(st.st_dev));
    }
    return info;
}

bool isSameOrBelow(const QString& folder, const QString& ancestor)
{
    if (ancestor == QLatin1String("/"))
        return folder.startsWith(QLatin1Char('/'));
    return folder == ancestor ||
           (folder.startsWith(ancestor) && folder.at(ancestor.size()) == QLatin1Char('/'));
}
