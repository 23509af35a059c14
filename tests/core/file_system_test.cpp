// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_system_info.h"
#include "core/known_roots.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

// The file system a root lives on, and where roots lived at their last synchronization.

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
    EXPECT_FALSE(here.fatTimes());

    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root: a tmpfs mount not checked";
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
}

TEST(KnownRoots, PlacesSurviveOddPathsAndLaterWritesKeepOtherRoots)
{
    QTemporaryDir state;
    const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    const QString odd = "/media/my disk/back\\up\tnew\nline";
    EXPECT_FALSE(KnownRoots::Store::read().recalled(odd));
    ASSERT_EQ(KnownRoots::remember(
                  {{odd, {"uuid:1234", "/media/my disk"}}, {"/home/me", {"fsid:ab", "/"}}}),
              0);
    ASSERT_EQ(KnownRoots::remember({{"/home/me", {"fsid:cd", "/home"}}}), 0);
    const KnownRoots::Store known = KnownRoots::Store::read();
    const auto oddPlace = known.recalled(odd);
    const auto home = known.recalled("/home/me");
    ASSERT_TRUE(oddPlace && home);
    EXPECT_EQ(std::tuple(oddPlace->identity, oddPlace->mountPoint, home->identity),
              std::tuple("uuid:1234", "/media/my disk", "fsid:cd"));
    EXPECT_EQ(KnownRoots::storePath(), state.filePath("ketrano/roots"));
    qputenv("XDG_STATE_HOME", stateHome);
}
