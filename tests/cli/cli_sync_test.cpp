#include "core/settings.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

// Runs the built ketrano-cli sync on real folders and checks its output, exit status and the
// files it leaves.

namespace {

struct CliRun
{
    int exitCode = -1;
    QStringList lines;
    QString err;
};

class CliSyncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree.path("config")));
        profile = tree.path("backup.prf");
        ASSERT_TRUE(ProfileFile::write(profile, {{src(), dst(), "*", ""}}));
        QDir().mkpath(src());
        QDir().mkpath(dst());
    }

    QString src(const QString& rel = {}) const { return tree.path("left" + rel); }
    QString dst(const QString& rel = {}) const { return tree.path("right" + rel); }

    void write(const QString& path, const QByteArray& data, qint64 mtime)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
        f.close();
        TempTree::setMtime(path, mtime);
    }

    CliRun sync(QStringList args)
    {
        QProcess p;
        p.start(QStringLiteral(KETRANO_CLI), QStringList{"sync"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        CliRun r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static QStringList linesStartingWith(const QStringList& lines, const QString& prefix)
    {
        QStringList out;
        for (const QString& l : lines)
            if (l.startsWith(prefix))
                out << l;
        return out;
    }

    TempTree tree;
    QString profile;
};

TEST_F(CliSyncTest, BadUsageAndUnreadableProfilesCreateNothing)
{
    const QString missing = tree.path("missing.prf");
    const QList<QStringList> cases = {
        {},
        {profile, "--bogus"},
        {profile, "--source-to-target"},
        {profile, "--target-to-source", "maybe"},
        {profile, profile},
        {missing},
        {tree.path("left")}, // a folder
    };
    write(src("/a.txt"), "a", 1'600'000'000);
    for (const QStringList& args : cases) {
        SCOPED_TRACE(qPrintable(args.join(' ')));
        const CliRun r = sync(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.lines.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dst("/a.txt")));
    EXPECT_FALSE(QFileInfo::exists(tree.path("config/ketrano")));
}

TEST_F(CliSyncTest, CopiesBothWaysThenFindsNothingLeft)
{
    write(src("/sub dir/ä b.txt"), "left side", 1'600'000'000);
    write(dst("/only right/c.txt"), "right side", 1'600'000'100);
    write(src("/both.txt"), "newer", 1'700'000'000);
    write(dst("/both.txt"), "older", 1'500'000'000);

    const CliRun first = sync({profile, "--tsv"});
    EXPECT_EQ(first.exitCode, 0) << qPrintable(first.err);
    EXPECT_EQ(linesStartingWith(first.lines, "1\t").size(), 2);
    EXPECT_EQ(linesStartingWith(first.lines, "2\t").size(), 1);
    EXPECT_TRUE(linesStartingWith(first.lines, "E\t").isEmpty());
    ASSERT_EQ(linesStartingWith(first.lines, "#").size(), 1);
    EXPECT_EQ(first.lines.last(), "#\tReady  \t\tErrors : 0\t3 of 3  Files copied\t0 KB Copied");

    EXPECT_EQ(TempTree::read(dst("/sub dir/ä b.txt")), "left side");
    EXPECT_EQ(TempTree::read(dst("/both.txt")), "newer");
    EXPECT_EQ(TempTree::read(src("/only right/c.txt")), "right side");

    const CliRun second = sync({profile, "--tsv"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(linesStartingWith(second.lines, "1\t").isEmpty());
    EXPECT_TRUE(linesStartingWith(second.lines, "2\t").isEmpty());
    EXPECT_EQ(second.lines.last(),
              "#\tReady  \t\tSource Size: 0KB\t  Files copied\tTarget Size: 0KB");
}

TEST_F(CliSyncTest, FailedCopiesAreListedAndExitOne)
{
    write(src("/locked.txt"), "new", 1'700'000'000);
    write(dst("/locked.txt"), "old", 1'600'000'000);
    ::chmod(QFile::encodeName(dst("/locked.txt")).constData(), 0444);
    write(src("/fine.txt"), "fine", 1'700'000'000);

    const CliRun r = sync({profile, "--tsv"});

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        linesStartingWith(r.lines, "E\t"),
        QStringList{"E\tlocked.txt\t" + src() + "\t" + dst() + "\tThe destination is read-only"});
    EXPECT_EQ(TempTree::read(dst("/locked.txt")), "old");
    EXPECT_EQ(TempTree::read(dst("/fine.txt")), "fine");
    EXPECT_TRUE(r.lines.last().startsWith("#\tReady  \t\tErrors : 1\t1 of 2  Files copied"));

    const CliRun readable = sync({profile});
    EXPECT_EQ(readable.exitCode, 1);
    EXPECT_TRUE(readable.lines.contains("Failed Copies"));
    EXPECT_TRUE(readable.lines.contains("Errors : 1"));
}

TEST_F(CliSyncTest, DirectionsFollowTheSavedTogglesUnlessOverridden)
{
    Settings::write({QString(), true, true, false}); // "Copy Target" released
    const QString stored = tree.path("config/ketrano/registry/HKEY_CURRENT_USER/Software/"
                                     "Quillmark/Ketrano/Copy Target");
    ASSERT_EQ(TempTree::read(stored), "1");
    write(src("/to-right.txt"), "r", 1'600'000'000);
    write(dst("/to-left.txt"), "l", 1'600'000'000);

    EXPECT_EQ(sync({profile}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(dst("/to-right.txt")));
    EXPECT_FALSE(QFileInfo::exists(src("/to-left.txt")));

    EXPECT_EQ(sync({profile, "--target-to-source", "on", "--source-to-target", "off"}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(src("/to-left.txt")));
    EXPECT_EQ(TempTree::read(stored), "1"); // the override is not saved
}

TEST_F(CliSyncTest, CtrlCLetsTheCopyInProgressFinishAndExits130)
{
    for (int i = 0; i < 4000; ++i)
        write(src(QStringLiteral("/many/f%1").arg(i, 4, 10, QLatin1Char('0'))),
              QByteArray(1000 + i, 'x'), 1'600'000'000);
    QProcess p;
    // Into a file: a full pipe nobody reads would stop the program before it copies.
    p.setStandardOutputFile(tree.path("out.tsv"));
    p.start(QStringLiteral(KETRANO_CLI), {"sync", profile, "--tsv"});
    ASSERT_TRUE(p.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(dst("/many/f0000")) && p.state() == QProcess::Running &&
           waited.elapsed() < 30000)
        QThread::msleep(1);
    const pid_t pid = pid_t(p.processId()); // 0 once it has ended: kill(0) hits this test
    ASSERT_GT(pid, 0) << "ketrano-cli ended before Ctrl+C";
    ::kill(pid, SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));

    EXPECT_EQ(p.exitCode(), 130);
    // Whatever was copied is whole; nothing else was left in the folder.
    QDirIterator it(dst("/many"), QDir::Files | QDir::Hidden);
    int copied = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        EXPECT_TRUE(name.startsWith('f')) << qPrintable(name);
        EXPECT_EQ(QFileInfo(path).size(), QFileInfo(src("/many/" + name)).size());
        ++copied;
    }
    EXPECT_GT(copied, 0);
    const QString out = QString::fromUtf8(TempTree::read(tree.path("out.tsv")));
    if (copied < 4000) {
        EXPECT_TRUE(out.contains("#\tCanceled \t")) << qPrintable(out.right(200));
    }
}

} // namespace
