// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_file.h"
#include "support/cli_run.h"
#include "support/temp_tree.h"

#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

// What every JSON document of ketrano-cli holds, whichever command wrote it.

namespace {

TEST(CliJson, EveryDocumentHasVersionOneAndSyncCountsWhatItCopied)
{
    TempTree tree;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree.path("config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(tree.path("state")));
    const QString prf = tree.path("p.prf");
    ASSERT_TRUE(ProfileFile::write(prf, {{tree.path("src"), tree.path("dst"), "*", ""}}));
    tree.add({{"src/new.txt", 3000}, {"src/both", 5, 1'000'000'001}, {"dst/both", 2}});

    const CliRun sync = runCli({"sync", "--json", prf});
    ASSERT_EQ(sync.status, 0) << qPrintable(sync.err);
    // Its rows are written as the scan's (cli_scan_test); its totals add what it copied.
    const QJsonObject totals = sync.json()["totals"].toObject();
    EXPECT_EQ(std::tuple(totals["filesCopied"].toInteger(), totals["bytesCopied"].toInteger(),
                         totals["sourceBytes"].toInteger(), totals["targetBytes"].toInteger()),
              std::tuple(2, 3005, 3005, 0));

    // The copy over "both" kept a version of it, and the run has its line in the log.
    const QStringList commands[] = {{"sync", "--json", prf},
                                    {"scan", "--json", prf},
                                    {"versions", "--json", prf},
                                    {"log", "--json"}};
    for (const QStringList& args : commands) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.status, 0) << qPrintable(args.join(' ')) << qPrintable(r.err);
        EXPECT_EQ(r.json()["version"].toInt(), 1) << qPrintable(args.join(' ')) << r.out.data();
    }
    EXPECT_EQ(runCli({"versions", "--json", prf}).json()["versions"].toArray().size(), 1);
}

} // namespace
