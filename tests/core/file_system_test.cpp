#include "core/file_system_info.h"
#include "core/known_roots.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

// The file system a root lives on, and where roots lived at their last synchronization.

namespace {
int run(const QString& program, const QStringList& args)
{
    QProcess p; // a daemon that outlives it writes to nowhere, not to a closed pipe
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

TEST(FileSystemInfo, TypeMountPointAndIdentityOfRealMounts)
{
    const FileSystemInfo missing = fileSystemOf("/no/such/folder");
    EXPECT_EQ(missing.error, ENOENT);

    QTemporaryDir dir;
    const FileSystemInfo here = fileSystemOf(dir.path());
    ASSERT_EQ(here.error, 0);
    EXPECT_TRUE(isSameOrBelow(QDir(dir.path()).canonicalPath(), here.mountPoint))
        << here.mountPoint.toStdString();
    EXPECT_FALSE(here.identity.isEmpty());
    EXPECT_FALSE(here.twoSecondTimes());

    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root: tmpfs and FAT mounts not checked";
    QDir(dir.path()).mkpath("mnt/inner");
    const QString point = dir.filePath("mnt");
    ASSERT_EQ(::mount("tmpfs", point.toUtf8().constData(), "tmpfs", 0, "size=1m"), 0);
    const FileSystemInfo mounted = fileSystemOf(point);
    const FileSystemInfo below = fileSystemOf(dir.filePath("mnt/inner")); // hidden by the mount
    EXPECT_EQ(mounted.type, "tmpfs");
    EXPECT_EQ(mounted.mountPoint, QDir(point).canonicalPath());
    EXPECT_NE(mounted.identity, here.identity);
    EXPECT_EQ(below.error, ENOENT);
    ASSERT_EQ(::umount(point.toUtf8().constData()), 0);
    EXPECT_EQ(fileSystemOf(point).identity, here.identity);

    // FAT keeps times to 2 seconds; through FUSE the kernel only knows "fuse.fusefat".
    const QString fusefat = QStandardPaths::findExecutable("fusefat");
    const QString mkfs = QStandardPaths::findExecutable("mkfs.vfat", {"/usr/sbin", "/sbin"});
    if (fusefat.isEmpty() || mkfs.isEmpty() || !QFile::exists("/dev/fuse"))
        GTEST_SKIP() << "fusefat, mkfs.vfat or /dev/fuse missing: FAT detection not checked";
    const QString image = dir.filePath("fat.img");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(8 << 20));
    }
    ASSERT_EQ(run(mkfs, {image}), 0);
    const QString fatPoint = dir.filePath("fat"); // FUSE wants an empty mount point
    QDir(dir.path()).mkdir("fat");
    ASSERT_EQ(run(fusefat, {"-o", "rw+", image, fatPoint}), 0);
    FileSystemInfo fat = fileSystemOf(fatPoint);
    for (QDeadlineTimer wait(5000); fat.identity == here.identity && !wait.hasExpired();) {
        QThread::msleep(20); // the FUSE daemon mounts after it has returned
        fat = fileSystemOf(fatPoint);
    }
    EXPECT_EQ(::umount(fatPoint.toUtf8().constData()), 0);
    EXPECT_EQ(fat.type, "fuse.fusefat");
    EXPECT_TRUE(fat.twoSecondTimes());
}

TEST(KnownRoots, PlacesSurviveOddPathsAndLaterWritesKeepOtherRoots)
{
    QTemporaryDir state;
    const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    const QString odd = "/media/my disk/back\\up\tnew\nline";
    EXPECT_FALSE(KnownRoots::recalled(odd));
    ASSERT_TRUE(KnownRoots::remember(
        {{odd, {"uuid:1234", "/media/my disk"}}, {"/home/me", {"fsid:ab", "/"}}}));
    ASSERT_TRUE(KnownRoots::remember({{"/home/me", {"fsid:cd", "/home"}}}));
    const auto oddPlace = KnownRoots::recalled(odd);
    const auto home = KnownRoots::recalled("/home/me");
    ASSERT_TRUE(oddPlace && home);
    EXPECT_EQ(oddPlace->identity, "uuid:1234");
    EXPECT_EQ(oddPlace->mountPoint, "/media/my disk");
    EXPECT_EQ(home->identity, "fsid:cd");
    EXPECT_EQ(KnownRoots::storePath(), state.filePath("ketrano/roots"));
    qputenv("XDG_STATE_HOME", stateHome);
}
