// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/registry/registry.h"
#include "core/settings.h"
#include "support/cli_run.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

// ketrano-cli settings against the store the window reads when it starts (Settings::read)
// and writes when it closes (Settings::write). Its refusals are in cli_commands_test.sh.

namespace {

class CliSettings : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree.path("config"))); }

    static QString shown() { return QString::fromUtf8(runCli({"settings"}).out); }

    TempTree tree;
};

TEST_F(CliSettings, WhatIsSetIsWhatTheWindowReadsAndTheReverse)
{
    EXPECT_EQ(shown(), "copy-source=on\ncopy-target=on\nshow-icons=on\nkeep-versions=30\n");

    // Each step sets one value; then the window's reading and keep-versions as read.
    struct Step
    {
        QStringList set;
        bool copySource, copyTarget, showIcons;
        int keepVersions;
    };
    const Step steps[] = {{{"copy-source", "off"}, false, true, true, 30},
                          {{"show-icons", "off"}, false, true, false, 30},
                          {{"keep-versions", "0"}, false, true, false, 0},
                          {{"copy-target", "off"}, false, false, false, 0},
                          {{"copy-source", "on"}, true, false, false, 0},
                          {{"keep-versions", "36500"}, true, false, false, 36500}};
    for (const Step& s : steps) {
        const CliRun r = runCli(QStringList{"settings"} + s.set);
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(0, "", ""))
            << s.set.join(' ').toStdString();
        const Settings::Values v = Settings::read("p.prf");
        EXPECT_EQ(std::tuple(v.copySource, v.copyTarget, v.showIcons, Settings::readKeepVersions()),
                  std::tuple(s.copySource, s.copyTarget, s.showIcons, s.keepVersions))
            << s.set.join(' ').toStdString();
        EXPECT_EQ(runCli({"settings", s.set[0]}).out, (s.set.join('=') + '\n').toUtf8());
    }
    // The toggles as the window stores them: "0" pressed, "1" released.
    const QString key = tree.path("config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/"
                                  "Ketrano/");
    EXPECT_EQ(TempTree::read(key + "Copy Source") + TempTree::read(key + "Copy Target") +
                  TempTree::read(key + "Show File Names") + TempTree::read(key + "Keep Versions"),
              "01136500");

    // What the window saves when it closes is what ketrano-cli shows.
    ASSERT_TRUE(Settings::write({"p.prf", true, false, true}).isNull());
    EXPECT_EQ(shown(), "copy-source=off\ncopy-target=on\nshow-icons=on\nkeep-versions=36500\n");

    // Days kept that cannot be read are thirty; a number out of range is never written.
    for (const QString text : {"", "abc", "-1", "36501", "7.5", "99999999999"}) {
        ASSERT_TRUE(Registry::WriteValue(Settings::KeyPath, Settings::KeepVersions, text));
        EXPECT_EQ(Settings::readKeepVersions(), 30) << text.toStdString();
        EXPECT_EQ(runCli({"settings", "keep-versions"}).out, "keep-versions=30\n");
    }
    ASSERT_TRUE(Registry::WriteValue(Settings::KeyPath, Settings::KeepVersions, "12"));
    EXPECT_EQ(Settings::readKeepVersions(), 12);
    EXPECT_FALSE(Settings::writeKeepVersions(36501).isNull());
    EXPECT_EQ(Settings::readKeepVersions(), 12);
}

} // namespace
