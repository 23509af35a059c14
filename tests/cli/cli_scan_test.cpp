#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using Output = std::tuple<int, std::string, std::string>; // exit code, stdout, stderr

// "ketrano-cli scan ARGS" with TZ=UTC, LC_ALL=C.UTF-8 and 'env'; 'during' acts while it runs.
Output scan(const QStringList& args, const QStringList& env = {},
            const std::function<void(QProcess&)>& during = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : QStringList{"TZ=UTC", "LC_ALL=C.UTF-8"} + env)
        e.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(e);
    p.start(KETRANO_CLI, QStringList{"scan"} + args);
    if (during && p.waitForStarted())
        during(p);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
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
                           .toStdString());
        EXPECT_EQ(std::tuple(code, err), std::tuple(0, "")); // no progress line: no tty
    }
    const QString table = QString::fromStdString(std::get<1>(scan({f.prf}))).simplified();
    const QString head = "Files Name Source Target Status Last Modified size(KB) ";
    EXPECT_TRUE(table.startsWith("Source " + head + "a.txt " + f.src)) << table.toStdString();
    EXPECT_TRUE(table.contains(" 0 Target " + head + "t.only " + f.dst));
    EXPECT_TRUE(table.endsWith(" 2 Ready Source Files: 5 Source Size: 2,931,155KB Target Files: 1 "
                               "Target Size: 2KB"));
}

TEST(CliScan, BadInputExitsWithTwoAndCreatesNothing)
{
    Folders f;
    f.tree.mkdir("dir.prf");
    const QString m = f.tree.path("missing.prf"), d = f.tree.path("dir.prf");
    // The arguments, then what the message on stderr names.
    for (QString c : {"%1 %1", "%2 --tsv %2", "usage", "%3 --bogus --bogus", "%3 %3 profile"}) {
        QStringList args = c.replace("%1", m).replace("%2", d).replace("%3", f.prf).split(' ');
        const auto [code, out, err] = scan(args.mid(0, args.size() - 1));
        EXPECT_EQ(std::tuple(code, out), std::tuple(2, ""));
        EXPECT_NE(err.find(args.last().toStdString()), std::string::npos) << err;
    }
    EXPECT_FALSE(QFile::exists(m));
}

TEST(CliScan, CtrlCStopsTheScanAndExitsWith130)
{
    Folders f(400); // many entries over the same folders keep the scan busy
    for (int i = 0; i < 2000; ++i)
        f.tree.add({QStringLiteral("src/d%1/f%2").arg(i % 50).arg(i)});
    const auto [code, out, err] = scan({f.prf, "--tsv"}, {}, [](QProcess& p) {
        // Ctrl+C once the handler is installed: SIGINT is in the caught signals' mask, SigCgt.
        for (; p.state() == QProcess::Running; QThread::usleep(500)) {
            QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
            const QByteArray s = status.open(QIODevice::ReadOnly) ? status.readAll() : "";
            const quint64 caught = s.mid(s.indexOf("SigCgt:") + 7, 17).trimmed().toULongLong(0, 16);
            if ((caught >> (SIGINT - 1)) & 1)
                break;
        }
        const pid_t pid = pid_t(p.processId()); // 0 once it has ended: kill(0) hits this test
        ASSERT_GT(pid, 0) << "ketrano-cli ended before Ctrl+C";
        ::kill(pid, SIGINT);
    });
    EXPECT_EQ(code, 130);
    EXPECT_EQ(out.substr(out.rfind("\n#\t") + 1, 25), "#\tCanceled\tSource Files: ") << err;
}

} // namespace
