// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/backup_fixture.h"

#include "profile/profile_file.h"

#include <filesystem>

void BackupFixture::SetUp()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(path("state")));
    ASSERT_TRUE(QDir().mkpath(src()) && QDir().mkpath(dst()));
    ASSERT_TRUE(ProfileFile::write(profile, {{src(), dst(), "*", ""}}));
}

void BackupFixture::TearDown()
{
    std::filesystem::remove_all(QFile::encodeName(dir.path()).toStdString());
}

void BackupFixture::expectSettled() const
{
    const CliRun r = runCli({"sync", "--quiet", profile});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(snapshot(dst()), snapshot(src()));
    EXPECT_EQ(snapshot(dst(), true), Tree());
}
