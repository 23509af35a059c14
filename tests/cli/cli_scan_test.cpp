// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_file.h"
#include "support/cli_run.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// "ketrano-cli scan ARGS" with TZ=UTC, LC_ALL=C.UTF-8 and 'env' ("NAME=" unsets NAME);
// 'during' acts while it runs.
CliRun scan(const QStringList& args, const QStringList& env = {},
            const std::function<void(QProcess&)>& during = {})
{
    return runCli(QStringList{"scan"} + args, QStringList{"TZ=UTC", "LC_ALL=C.UTF-8"} + env, {},
                  during);
}

// Files of the tree are written at 2001-09-09 01:46:40 UTC unless said otherwise.
struct Folders
{
    TempTree tree;
    QString src = tree.path("src"), dst = tree.path("dst"), prf = tree.path("scan.prf");
    explicit Folders(int n = 1)
    {
        EXPECT_TRUE(ProfileFile::write(prf, std::vector<ProfileEntry>(n, {src, dst, "*", ""})));
    }
};

TEST(CliScan, TsvRowsInListOrderEscapedInLocalTimeAndTheUsersLocaleThenPanels)
{
    Folders f;
    f.tree.add({{"src/a.txt", 1536, 1'000'000'001}, {"src/sub/n.doc"}, {"dst/A.TXT", 9}});
    f.tree.add({{"dst/t.only", 2048}, {"dst/same", 1}, {"src/same", 9}, {"src/e\t\n\r\\x"}});
    f.tree.add({{"src/big", 1'500'000}, {"src/huge", 3'000'000'000LL}});
    // The environment, the local time of 01:46 UTC and the group separator.
    for (const QString c :
         {"TZ=Asia/Tokyo LC_ALL=en_US.UTF-8|10:46|,", "LC_ALL=de_DE.UTF-8|01:46|."}) {
        const auto [code, out, err] = scan({f.prf, "--tsv"}, c.section('|', 0, 0).split(' '));
        EXPECT_EQ(out, QString("1\ta.txt\t%1\t%2\tOverWrite\t2001-09-09 %3:41\t2\n"
                               "1\tbig\t%1\t%2\tNew File\t2001-09-09 %3:40\t1,465\n"
                               "1\te\\t\\n\\r\\\\x\t%1\t%2\tNew File\t2001-09-09 %3:40\t0\n"
                               "1\thuge\t%1\t%2\tNew File\t2001-09-09 %3:40\t2,929,688\n"
                               "1\tn.doc\t%1/sub\t%2/sub\tNew File\t2001-09-09 %3:40\t0\n"
                               "2\tt.only\t%2\t%1\tNew File\t2001-09-09 %3:40\t2\n"
                               "#\tReady  \tSource Files: 5\tSource Size: 2,931,155KB\t"
                               "Target Files: 1\tTarget Size: 2KB\n")
                           .arg(f.src, f.dst, c.section('|', 1, 1))
                           .replace(',', c.section('|', 2))
                           .toUtf8());
        EXPECT_EQ(std::tuple(code, err), std::tuple(0, "")); // no progress line: no tty
    }
    const QString table = QString::fromUtf8(scan({f.prf}).out).simplified();
    const QString head = "Files Name Source Target Status Last Modified size(KB) ";
    EXPECT_TRUE(table.startsWith("Source " + head + "a.txt " + f.src)) << table.toStdString();
    EXPECT_TRUE(table.contains(" 0 Target " + head + "t.only " + f.dst));
    EXPECT_TRUE(table.endsWith(" 2 Ready Source Files: 5 Source Size: 2,931,155KB Target Files: 1 "
                               "Target Size: 2KB"));
}

TEST(CliScan, SignalsStopTheScanAndSetTheExitStatus)
{
    Folders f(400); // many entries over the same folders keep the scan busy
    for (int i = 0; i < 2000; ++i)
        f.tree.add({QStringLiteral("src/d%1/f%2").arg(i % 50).arg(i)});
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        const auto [code, out, err] = scan({f.prf, "--tsv"}, {}, [signal](QProcess& p) {
            // Once the handler is installed: the signal is in the caught signals' mask, SigCgt.
            for (; p.state() == QProcess::Running; QThread::usleep(500)) {
                const QByteArray s =
                    TempTree::read(QStringLiteral("/proc/%1/status").arg(p.processId()));
                const quint64 caught =
                    s.mid(s.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(0, 16);
                if ((caught >> (signal - 1)) & 1)
                    break;
            }
            ASSERT_GT(p.processId(), 0);
            ::kill(pid_t(p.processId()), signal);
        });
        EXPECT_EQ(code, status) << signal;
        EXPECT_EQ(out.mid(out.lastIndexOf("\n#\t") + 1, 25), "#\tCanceled\tSource Files: ")
            << qPrintable(err);
    }
}

// Names with tabs, line ends, quotes and backslashes; sizes in bytes and times in UTC: the
// same document in every locale and time zone.
TEST(CliScan, JsonIsValidAndTheSameInEveryLocale)
{
    Folders f;
    f.tree.add({{"src/tab\there", 1536}, {"src/new\nline"}, {"src/quo\"te\\back", 7}});
    f.tree.add({{"src/\u00fcber 3\u20ac.txt", 3'000'000'000LL}, {"dst/only.txt", 2048}});
    f.tree.add({{"src/both", 1, 1'000'000'000}, {"dst/both", 2, 1'000'000'001}});
    const auto [code, json, err] =
        scan({"--json", f.prf}, {"LC_ALL=", "LANG=de_DE.UTF-8", "TZ=Asia/Tokyo"});
    const auto c = scan({f.prf, "--json"}, {"LC_ALL=", "LANG=C"});
    EXPECT_EQ(std::tuple(code, err), std::tuple(0, ""));
    EXPECT_EQ(json, c.out);

    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    QStringList rows;
    for (const QJsonValue row : doc["rows"].toArray()) {
        const QJsonObject r = row.toObject();
        rows << QStringList{QString::number(r["list"].toInt()),
                            r["name"].toString(),
                            r["source"].toString() == f.src ? "src" : r["source"].toString(),
                            r["status"].toString() + ':' + r["statusText"].toString(),
                            QString::number(r["size"].toInteger()),
                            r["modified"].toString()}
                    .join('|');
    }
    EXPECT_EQ(rows, QStringList(
                        {"1|new\nline|src|new:New File|0|2001-09-09T01:46:40Z",
                         "1|quo\"te\\back|src|new:New File|7|2001-09-09T01:46:40Z",
                         "1|tab\there|src|new:New File|1536|2001-09-09T01:46:40Z",
                         "1|\u00fcber 3\u20ac.txt|src|new:New File|3000000000|2001-09-09T01:46:40Z",
                         "2|both|" + f.dst + "|overwrite:OverWrite|2|2001-09-09T01:46:41Z",
                         "2|only.txt|" + f.dst + "|new:New File|2048|2001-09-09T01:46:40Z"}));
    const QJsonObject totals = doc["totals"].toObject();
    EXPECT_EQ(std::tuple(totals["sourceFiles"].toInteger(), totals["sourceSizeKB"].toInteger(),
                         totals["sourceBytes"].toInteger(), totals["targetBytes"].toInteger()),
              std::tuple(4, 2'929'690, 3'000'001'543LL, 2050));
    EXPECT_TRUE(doc["stopped"].isNull());

    QProcess tool; // a second, strict reader (scripts/deps.sh installs python3)
    tool.start("python3", {"-m", "json.tool"});
    tool.write(json);
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

// --exit-code for monitoring, and a failed write of the output, which is never success and
// stops a sync before it copies.
TEST(CliScan, ExitCodeAndFailedOutputOfScanAndSync)
{
    Folders f;
    for (int i = 0; i < 3000; ++i) // more than a pipe and a write hold, in folders of 700
        f.tree.add({QStringLiteral("src/%1/a long file name to fill the pipe %2")
                        .arg(i / 700 % 2 ? "odd" : "even")
                        .arg(i),
                    i % 3 ? 0 : 2048});
    f.tree.mkdir("dst");
    // Every row once, in list order: the --tsv lines against the --json rows.
    const auto [code, tsv, err] = scan({f.prf, "--tsv"});
    QStringList lines = QString::fromUtf8(tsv).split('\n');
    ASSERT_EQ(std::tuple(code, lines.size()), std::tuple(0, 3000 + 2))
        << qPrintable(err); // + panel, end
    EXPECT_TRUE(lines[3000].startsWith("#\tReady  \tSource Files: 3000\tSource Size: 2,000KB"));
    const QJsonArray json = scan({f.prf, "--json"}).json()["rows"].toArray();
    ASSERT_EQ(json.size(), 3000);
    for (int i = 0; i < 3000; ++i) {
        const QJsonObject r = json[i].toObject();
        const QString line = QStringList{"1",
                                         r["name"].toString(),
                                         r["source"].toString(),
                                         r["target"].toString(),
                                         "New File",
                                         "2001-09-09 01:46:40",
                                         r["size"].toInt() ? "2" : "0"}
                                 .join('\t');
        ASSERT_EQ(lines[i], line) << i;
    }
    Folders missing; // its Target is not there: the scan refuses it and cannot tell
    missing.tree.add({"src/a"});
    Folders clash; // a file where the other side has a folder: refused, saying which
    clash.tree.add({{"src/report"}, {"dst/report/inner.txt"}});
    const QString prf = f.prf, gone = missing.prf;
    const std::string refused = "ketrano-cli: The folder " + missing.dst.toStdString() +
                                " does not exist\n",
                      pipe = "ketrano-cli: cannot write the output: Broken pipe\n",
                      full = "ketrano-cli: cannot write the output: No space left on device\n";
    const QString toHead = " | head -c 10 >/dev/null; exit ${PIPESTATUS[0]}";
    // A shell line after ketrano-cli, its exit status and what stderr says.
    const std::tuple<QString, int, std::string> cases[] = {
        {"scan -q --exit-code " + prf, 1, ""},
        {"scan -q --exit-code " + gone, 2, refused}, // as diff: 2 for trouble
        {"scan -q " + gone, 1, refused},
        {"scan -q --exit-code " + clash.prf, 2,
         "ketrano-cli: report in " + clash.src.toStdString() + " cannot be copied to " +
             clash.dst.toStdString() + ": A folder of that name is in the way\n"},
        {"scan " + prf + toHead, 1, pipe},
        {"scan --json " + prf + " >/dev/full", 1, full},
        {"scan --tsv " + prf + " >/dev/full", 1, full},
        {"scan --tsv " + prf + toHead, 1, pipe},
        {"sync " + prf + toHead, 1, pipe}};
    for (const auto& [line, status, message] : cases) {
        QProcess p;
        p.start("bash", {"-c", KETRANO_CLI " " + line});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << line.toStdString();
        EXPECT_EQ(p.exitCode(), status) << line.toStdString();
        EXPECT_EQ(p.readAllStandardError().toStdString(), message);
        EXPECT_EQ(p.readAllStandardOutput().toStdString(), "");
    }
    EXPECT_TRUE(QDir(f.dst).isEmpty());
}

} // namespace
