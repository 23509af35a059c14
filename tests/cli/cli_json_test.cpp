// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/name_bytes.h"
#include "core/run_log.h"
#include "profile/profile_file.h"
#include "support/cli_run.h"
#include "support/temp_tree.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

// What every JSON document of ketrano-cli holds, whichever command wrote it, and the run log's
// lines as log --json reads them back.

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

// The lines RunLog writes, read back by ketrano-cli log --json.
TEST(CliLog, JsonHoldsEachRunWithTypedFieldsAndLeavesOutWhatIsNotARun)
{
    TempTree tree;
    qputenv("XDG_STATE_HOME", QFile::encodeName(tree.path("state")));
    // A profile name with a field separator, a backslash, a control character and a byte that
    // is not UTF-8; more kilobytes than 32 bits hold.
    const QString profile = nameText("/home/me/a\tb\\c \x01\xff.prf");
    const RunRecord first{"ketrano", profile, true, false, 12, 3'000'000'000, 1, 1, 1'000'000'000};
    const RunRecord second{"ketrano-cli", "/p.prf", false, true, 0, 0, 0, 143, 1'700'000'000};
    ASSERT_TRUE(RunLog::append(first));
    {
        QFile log(RunLog::path());
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write("not a run\n");
        log.write("2025-06-01T02:30:00Z\tketrano-cli\t/p\tsource-to-target=on\tfiles=1\n");
    }
    ASSERT_TRUE(RunLog::append(second));

    const CliRun all = runCli({"log", "--json"});
    EXPECT_EQ(all.status, 1); // the output lacks some lines
    EXPECT_EQ(all.err.count("ketrano-cli: log: " + RunLog::path() + ": not a run, left out: "), 2)
        << all.err.toStdString();
    EXPECT_TRUE(all.err.contains("left out: not a run\n"));
    const QJsonObject doc = all.json();
    EXPECT_EQ(doc["log"].toString(), RunLog::path());
    const QJsonArray runs = doc["runs"].toArray();
    ASSERT_EQ(runs.size(), 2);
    const auto object = [](const char* json) { return QJsonDocument::fromJson(json).object(); };
    EXPECT_EQ(runs[0].toObject(), object(R"({"time": "2001-09-09T01:46:40Z", "program": "ketrano",
        "profile": "/home/me/a\tb\\c \u0001\uFFFD.prf", "sourceToTarget": true,
        "targetToSource": false, "files": 12, "kb": 3000000000, "errors": 1, "status": 1})"));
    EXPECT_EQ(runs[1].toObject(),
              object(R"({"time": "2023-11-14T22:13:20Z", "program": "ketrano-cli",
        "profile": "/p.prf", "sourceToTarget": false, "targetToSource": true, "files": 0, "kb": 0,
        "errors": 0, "status": 143})"));

    const CliRun last = runCli({"log", "--json", "-n", "1"});
    EXPECT_EQ(std::tuple(last.status, last.err), std::tuple(0, ""));
    EXPECT_EQ(last.json()["runs"].toArray(), QJsonArray({runs[1]}));
}

} // namespace
