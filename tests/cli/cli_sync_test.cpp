// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/known_roots.h"
#include "core/settings.h"
#include "profile/profile_file.h"
#include "support/backup_fixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

// Runs the built ketrano-cli sync on real folders and checks its output, exit status and the
// files it leaves.

namespace {

class CliSyncTest : public BackupFixture
{
protected:
    CliSyncTest() : BackupFixture("ketrano-cli-sync") {}
    static CliRun sync(const QStringList& args) { return runCli(QStringList{"sync"} + args); }
    // The error rows of --tsv.
    static QStringList errorRows(const CliRun& r)
    {
        return r.lines().filter(QRegularExpression("^E\t"));
    }
};

TEST_F(CliSyncTest, FailedCopiesAreListedAndExitOne)
{
    TempTree::write(src("/locked.txt"), "new", 1'700'000'000);
    TempTree::write(dst("/locked.txt"), "old", 1'600'000'000, 0, 0444);
    TempTree::write(src("/fine.txt"), "fine", 1'700'000'000);

    const CliRun r = sync({profile, "--tsv"});

    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errorRows(r), QStringList{"E\tlocked.txt\t" + src() + "\t" + dst() +
                                        "\tThe destination is read-only"});
    EXPECT_EQ(TempTree::read(dst("/locked.txt")), "old");
    EXPECT_EQ(TempTree::read(dst("/fine.txt")), "fine");
    EXPECT_TRUE(r.lines().last().startsWith("#\tReady  \t\tErrors : 1\t1 of 2  Files copied"));

    const CliRun readable = sync({profile});
    EXPECT_EQ(readable.status, 1);
    EXPECT_TRUE(readable.lines().contains("Failed Copies"));
    EXPECT_TRUE(readable.lines().contains("Errors : 1"));

    // Quiet: only the failure and a summary, on stderr.
    const CliRun quiet = sync({"--quiet", profile});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.lines(), QStringList());
    EXPECT_EQ(quiet.err, "ketrano-cli: locked.txt not copied from " + src() + " to " + dst() +
                             ": The destination is read-only\nketrano-cli: sync of " + profile +
                             ": 0 files copied (0 KB), 1 failed\n");

    const CliRun json = sync({"--json", profile});
    EXPECT_EQ(std::tuple(json.status, json.json()["exitStatus"].toInt()), std::tuple(1, 1));
}

// A backup folder that is missing: the disk is not mounted, or a first run's folder was never
// made. Without --create-roots it is not created; with it, it is, unless it was on another
// disk at its last synchronization or nothing was copied into it.
TEST_F(CliSyncTest, AMissingRootIsCreatedOnlyWhenAskedAndOnItsUsualDisk)
{
    const QString usb = path("usb/Backup");
    QDir().mkpath(path("usb")); // the empty mount point
    ASSERT_TRUE(ProfileFile::write(profile, {{src(), usb, "*", ""}}));
    TempTree::write(src("/a.txt"), "a", 1'600'000'000);
    const QString refused = "E\t\t" + src() + "\t" + usb + "\tThe folder " + usb;
    // The options, the exit status, the error rows, whether the folder exists afterwards.
    const std::tuple<QStringList, int, QString, bool> cases[] = {
        {{},
         1,
         refused + " does not exist (an unattended run does not create it): 1 file was "
                   "not copied",
         false},
        {{"--create-roots", "--source-to-target=off"}, 1, refused + " does not exist", false},
        {{"--create-roots"}, 0, "", true},
        {{"--create-roots", "elsewhere"},
         1,
         refused + " does not exist, and made now it would not be on its usual disk: is the "
                   "disk mounted?",
         false}};
    for (auto [options, status, errors, created] : cases) {
        SCOPED_TRACE(options.join(' ').toStdString());
        QDir(usb).removeRecursively();
        if (options.removeAll("elsewhere")) { // last synchronized on a disk not mounted now
            ASSERT_EQ(KnownRoots::remember({{usb, {"uuid:not-this-one", usb}}}), 0);
        }
        const CliRun r = sync(QStringList{profile, "--tsv"} + options);
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(errorRows(r).join('\n'), errors);
        EXPECT_EQ(QFileInfo::exists(usb + "/a.txt"), created);
        EXPECT_EQ(QFileInfo::exists(usb), created);
        // The scan tells of the missing folder only where the run will not make it.
        EXPECT_EQ(r.err.contains("The folder " + usb + " does not exist\n"), options.isEmpty())
            << qPrintable(r.err);
    }
    // Quiet, the entry is told by its two folders.
    QDir(usb).removeRecursively();
    EXPECT_TRUE(sync({"-q", profile})
                    .err.contains("\nketrano-cli: " + src() + " to " + usb + ": The folder " + usb +
                                  " does not exist"));
}

TEST_F(CliSyncTest, DirectionsFollowTheSavedTogglesUnlessOverridden)
{
    Settings::write({QString(), true, true, false}); // "Copy Target" released
    const QString stored = path("config/ketrano/registry/HKEY_CURRENT_USER/Software/"
                                "Quillmark/Ketrano/Copy Target");
    ASSERT_EQ(TempTree::read(stored), "1");
    TempTree::write(src("/to-right.txt"), "r", 1'600'000'000);
    TempTree::write(dst("/to-left.txt"), "l", 1'600'000'000);

    const CliRun saved = sync({profile});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.lines().mid(0, 2), QStringList({"Source to target: on (saved setting)",
                                                    "Target to source: off (saved setting)"}));
    EXPECT_TRUE(QFileInfo::exists(dst("/to-right.txt")));
    EXPECT_FALSE(QFileInfo::exists(src("/to-left.txt")));

    const CliRun overridden =
        sync({profile, "--target-to-source", "on", "--source-to-target=off", "--json"});
    EXPECT_EQ(overridden.status, 0);
    const QJsonObject doc = overridden.json();
    EXPECT_EQ(doc["directions"]["targetToSource"].toObject(),
              QJsonObject({{"on", true}, {"from", "--target-to-source"}}));
    EXPECT_EQ(doc["directions"]["sourceToTarget"]["on"].toBool(true), false);
    EXPECT_TRUE(QFileInfo::exists(src("/to-left.txt")));
    EXPECT_EQ(TempTree::read(stored), "1"); // the override is not saved
}

// Ctrl+C, SIGTERM and SIGHUP during a large and during a small copy: what happened is printed,
// and every destination is whole (the copy in progress finished, or given up after SIGTERM and
// SIGHUP, never left half-written).
TEST_F(CliSyncTest, StopsLetTheCopyInProgressFinishAndLeaveNothingBehind)
{
    // Copied first, on the worker thread.
    TempTree::write(src("/a big.bin"), QByteArray(64 << 20, 'b'), 1'600'000'000);
    for (int i = 0; i < 4000; ++i)
        TempTree::write(src(QStringLiteral("/many/f%1").arg(i, 4, 10, QLatin1Char('0'))),
                        QByteArray(1000 + i, 'x'), 1'600'000'000);
    // The signal, the exit status, and what must exist before it is sent: the folders are
    // made before the first copy, f0000 is copied after the large file.
    const std::tuple<int, int, QString> cases[] = {{SIGTERM, 143, dst("/many")},
                                                   {SIGINT, 130, dst("/many/f0000")},
                                                   {SIGHUP, 129, dst("/many/f0000")}};
    for (const auto& [signal, status, ready] : cases) {
        SCOPED_TRACE(signal);
        QDir(dst()).removeRecursively();
        QDir().mkpath(dst());
        const CliRun r =
            runCli({"sync", profile, "--tsv"}, {}, {}, [sig = signal, ready = ready](QProcess& p) {
                // Read as it comes: a full pipe would stop the program before it copies.
                for (QDeadlineTimer d(30000); !QFileInfo::exists(ready) && !d.hasExpired() &&
                                              p.state() == QProcess::Running;)
                    p.waitForReadyRead(1);
                ASSERT_GT(p.processId(), 0);
                ::kill(pid_t(p.processId()), sig);
            });
        EXPECT_EQ(r.status, status);
        // Each file there is its source whole; no partial copy is left.
        const Tree copied = snapshot(dst()), sources = snapshot(src());
        for (const auto& [name, hash] : copied)
            EXPECT_TRUE(sources.count(name) && sources.at(name) == hash) << name.constData();
        EXPECT_EQ(snapshot(dst(), true), Tree());
        if (copied.size() < 4001) {
            EXPECT_TRUE(r.out.contains("\n#\tCanceled \t")) << r.out.right(200).constData();
        }
    }
}

} // namespace
