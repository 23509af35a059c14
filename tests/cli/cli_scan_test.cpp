#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

// Runs the built ketrano-cli scan on real folders and checks its output and exit status.

namespace {

constexpr qint64 T0 = 1'100'000'000; // 2004-11-09 11:33:20 UTC

struct CliRun
{
    int exitCode = -1;
    QStringList lines;
    QString out;
    QString err;
};

class CliScan : public testing::Test
{
protected:
    QString source() const { return tree.path("src"); }
    QString target() const { return tree.path("dst"); }

    void profile(const std::vector<ProfileEntry>& entries)
    {
        ASSERT_TRUE(ProfileFile::write(profilePath, entries));
    }

    QProcess* start(const QStringList& args, const QStringList& env)
    {
        auto* p = new QProcess;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("TZ", "UTC");
        e.insert("LC_ALL", "C.UTF-8");
        for (const QString& kv : env)
            e.insert(kv.section('=', 0, 0), kv.section('=', 1));
        p->setProcessEnvironment(e);
        p->start(QStringLiteral(KETRANO_CLI), args);
        return p;
    }

    static CliRun finish(QProcess* p)
    {
        EXPECT_TRUE(p->waitForFinished(60000));
        CliRun r;
        r.exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
        r.out = QString::fromUtf8(p->readAllStandardOutput());
        r.lines = r.out.split('\n');
        if (r.lines.last().isEmpty())
            r.lines.removeLast();
        r.err = QString::fromUtf8(p->readAllStandardError());
        delete p;
        return r;
    }

    CliRun run(const QStringList& args, const QStringList& env = {})
    {
        return finish(start(args, env));
    }

    TempTree tree;
    QString profilePath = tree.path("scan.prf");
};

TEST_F(CliScan, TsvRowsInListOrderThenPanels)
{
    tree.add({{"src/a.txt", 1536, T0 + 1},
              {"src/sub/n.doc", 0, T0},
              {"dst/A.TXT", 9, T0},
              {"dst/t.only", 2048, T0},
              {"dst/same", 1, T0},
              {"src/same", 1, T0}});
    profile({{source(), target(), "*", ""}});
    const CliRun r = run({"scan", profilePath, "--tsv"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString s = source(), t = target();
    EXPECT_EQ(
        r.lines,
        (QStringList{"1\ta.txt\t" + s + "\t" + t + "\tOverWrite\t2004-11-09 11:33:21\t2",
                     "1\tn.doc\t" + s + "/sub\t" + t + "/sub\tNew File\t2004-11-09 11:33:20\t0",
                     "2\tt.only\t" + t + "\t" + s + "\tNew File\t2004-11-09 11:33:20\t2",
                     "#\tReady  \tSource Files: 2\tSource Size: 2KB\tTarget Files: 1\t"
                     "Target Size: 2KB"}));
    EXPECT_TRUE(r.err.isEmpty()); // no progress line when stderr is not a terminal
}

TEST_F(CliScan, LocalTimeAndTheUsersLocale)
{
    tree.add({{"src/big", 1'500'000, T0}, {"src/huge", 3'000'000'000LL, T0}});
    profile({{source(), target(), "*", ""}});
    struct Case
    {
        QStringList env;
        QString time, big, huge, size;
    };
    const Case cases[] = {
        {{"TZ=Asia/Tokyo", "LC_ALL=en_US.UTF-8"},
         "2004-11-09 20:33:20",
         "1,465",
         "2,929,688",
         "Source Size: 2,931,153KB"},
        {{"LC_ALL=de_DE.UTF-8"},
         "2004-11-09 11:33:20",
         "1.465",
         "2.929.688",
         "Source Size: 2.931.153KB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.env.join(' ').toStdString());
        const CliRun r = run({"scan", "--tsv", profilePath}, c.env);
        ASSERT_EQ(r.lines.size(), 3);
        EXPECT_EQ(r.lines[0].split('\t').mid(5), (QStringList{c.time, c.big}));
        EXPECT_EQ(r.lines[1].split('\t').mid(5), (QStringList{c.time, c.huge}));
        EXPECT_EQ(r.lines[2].split('\t').value(3), c.size);
    }
}

TEST_F(CliScan, FieldsAreEscapedSoEveryRowIsOneLine)
{
    tree.add({{"src/tab\there", 0, T0},
              {"src/line\nfeed", 0, T0},
              {"src/back\\slash", 0, T0},
              {"src/cr\rx", 0, T0}});
    profile({{source(), target(), "*", ""}});
    const CliRun r = run({"scan", profilePath, "--tsv"});
    ASSERT_EQ(r.lines.size(), 5);
    QStringList names;
    for (const QString& l : r.lines.mid(0, 4)) {
        EXPECT_EQ(l.count('\t'), 6);
        names << l.section('\t', 1, 1);
    }
    EXPECT_EQ(names, (QStringList{"back\\\\slash", "cr\\rx", "line\\nfeed", "tab\\there"}));
}

TEST_F(CliScan, ReadableTables)
{
    tree.add({{"src/a.txt", 2048, T0}, {"dst/b.txt", 0, T0}});
    profile({{source(), target(), "*", ""}});
    const CliRun r = run({"scan", profilePath});
    EXPECT_EQ(r.exitCode, 0);
    const int sourceAt = int(r.lines.indexOf("Source Files"));
    const int targetAt = int(r.lines.indexOf("Target Files"));
    ASSERT_GE(sourceAt, 0);
    ASSERT_GT(targetAt, sourceAt);
    EXPECT_TRUE(r.lines[sourceAt + 1].startsWith("Name"));
    EXPECT_TRUE(r.lines[sourceAt + 1].contains("Last Modified"));
    EXPECT_TRUE(r.lines[sourceAt + 1].endsWith("size(KB)"));
    EXPECT_TRUE(r.lines[sourceAt + 2].startsWith("a.txt "));
    EXPECT_TRUE(r.lines[sourceAt + 2].contains("New File"));
    EXPECT_TRUE(r.lines[sourceAt + 2].endsWith(" 2"));
    EXPECT_TRUE(r.lines[targetAt + 2].startsWith("b.txt "));
    EXPECT_EQ(r.lines.mid(r.lines.size() - 5),
              (QStringList{"Ready  ", "Source Files: 1", "Source Size: 2KB", "Target Files: 1",
                           "Target Size: 0KB"}));
}

TEST_F(CliScan, BadInputExitsWithTwoAndCreatesNothing)
{
    tree.mkdir("folder.prf");
    struct Case
    {
        QStringList args;
        QString mentions;
    };
    const Case cases[] = {
        {{"scan", tree.path("missing.prf")}, tree.path("missing.prf")},
        {{"scan", tree.path("folder.prf"), "--tsv"}, tree.path("folder.prf")},
        {{"scan"}, "scan"},
        {{"scan", profilePath, "--bogus"}, "--bogus"},
        {{"scan", profilePath, profilePath}, "profile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(c.mentions)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(tree.path("missing.prf")));
}

// Whether the process has a handler for SIGINT (it installs one just before scanning).
bool catchesInterrupt(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGINT - 1)) & 1;
    return false;
}

TEST_F(CliScan, CtrlCStopsTheScanAndExitsWith130)
{
    for (int i = 0; i < 2000; ++i)
        tree.add({QStringLiteral("src/d%1/f%2").arg(i % 50).arg(i), 0, T0});
    // Many entries over the same folders keep the scan busy long enough to be interrupted.
    profile(std::vector<ProfileEntry>(400, {source(), target(), "*", ""}));
    QProcess* p = start({"scan", profilePath, "--tsv"}, {});
    ASSERT_TRUE(p->waitForStarted());
    const qint64 pid = p->processId();
    while (!catchesInterrupt(pid) && p->state() == QProcess::Running)
        QThread::usleep(500);
    ::kill(pid_t(pid), SIGINT);
    const CliRun r = finish(p);
    EXPECT_EQ(r.exitCode, 130);
    ASSERT_FALSE(r.lines.isEmpty());
    EXPECT_TRUE(r.lines.last().startsWith("#\tCanceled\tSource Files: "));
    EXPECT_LT(r.lines.size(), 400 * 2000 + 1); // it did not run to the end
}

} // namespace
