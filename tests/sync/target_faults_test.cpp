// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_system_info.h"
#include "core/known_roots.h"
#include "core/run_lock.h"
#include "support/backup_fixture.h"
#include "support/fat_mount.h"
#include "support/temp_tree.h"
#include "support/tmpfs_mount.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Targets that lie, fail late, lead elsewhere or cannot be remembered, met by ketrano-cli sync
// as cron runs it: every run copies whole or fails with exit 1, the old data kept, and nothing
// outside the target is written. The faults of the file system are preloaded into the program
// (support/fault_preload.cpp).

namespace fs = std::filesystem;

namespace {

class TargetFaults : public BackupFixture
{
protected:
    TargetFaults() : BackupFixture("ketrano-faults") {}

    // The environment of a run with a fault of the files written below 'below'.
    static QStringList faulty(const QString& fault, const QString& below, const QString& log = {})
    {
        return {"LD_PRELOAD=" KETRANO_FAULTS, "KETRANO_FAULT=" + fault,
                "KETRANO_FAULT_PATH=" + below + "/", "KETRANO_FAULT_LOG=" + log};
    }
    // The reasons of the run's failed rows, by file name.
    static std::map<QString, QString> reasons(const CliRun& r)
    {
        std::map<QString, QString> byName;
        for (const QJsonValue f : r.json()["failures"].toArray())
            byName[f["name"].toString()] = f["reason"].toString();
        return byName;
    }
};

// Writes that fail: part-way (a file size limit, a target that fills up), only when the file
// is closed (a full disk told at close), or that take nothing and say nothing (a write that
// returns 0). Each file that fails keeps its old version whole or is not created, its row says
// why (a script tells a full disk by its kind and number, whatever the language), the rest is
// copied, and the run ends (never loops). A target without unnamed files (FAT, FUSE drivers and
// network shares refuse O_TMPFILE): every copy, new or replacing, small or large, is written
// under a hidden name and renamed into place.
TEST_F(TargetFaults, WritesThatFailKeepTheOldVersionAndNoUnnamedFilesMeansHiddenNames)
{
    const QString full = "Writing the destination failed: No space left on device",
                  tooLarge = "Writing the destination failed: File too large";
    const std::map<QString, QString> allFull = {
        {"big.bin", full}, {"new.txt", full}, {"old.bin", full}, {"old.txt", full}};
    // The fault, the rows that fail and why, the error number they tell.
    const std::tuple<std::string, std::map<QString, QString>, int> cases[] = {
        {"close", allFull, ENOSPC},
        {"zero-write", allFull, ENOSPC},
        {"no-tmpfile", {}, 0},
        {"a file size limit", {{"big.bin", tooLarge}, {"old.bin", tooLarge}}, EFBIG},
        {"a full disk", {{"big.bin", full}, {"old.bin", full}}, ENOSPC}};
    for (const auto& [fault, failed, error] : cases) {
        SCOPED_TRACE(fault);
        fs::remove_all(QFile::encodeName(dst()).toStdString());
        std::optional<TmpfsMount> disk; // shows an empty target
        if (fault == "a full disk" && !disk.emplace(dst(), "size=8m").mounted())
            GTEST_SKIP() << "needs root to mount a small tmpfs: " << qPrintable(qt_error_string());
        put(dst("/old.txt"), "the old version");
        put(src("/old.txt"), "the new version", 1'700'000'000);
        put(dst("/old.bin"), QByteArray(1 << 20, 'o'));
        put(src("/old.bin"), QByteArray(16 << 20, 'n'), 1'700'000'000);
        put(src("/new.txt"), "a new file");
        put(src("/big.bin"), QByteArray(9 << 20, 'b')); // an unnamed temporary file
        const Tree before = snapshot(dst());
        Tree kept = snapshot(src()); // what did not fail copied, the rest as it was
        for (const auto& [name, why] : failed)
            before.count("/" + name.toUtf8())
                ? void(kept["/" + name.toUtf8()] = before.at("/" + name.toUtf8()))
                : void(kept.erase("/" + name.toUtf8()));
        const QString log = path(QString::fromStdString(fault) + ".log");
        const bool injected = !disk && fault != "a file size limit";
        const struct rlimit limit = {4 << 20, 4 << 20};
        QElapsedTimer took;
        took.start();
        const CliRun r =
            runCli({"sync", "--json", profile},
                   injected ? faulty(QString::fromStdString(fault), dst(), log) : QStringList(),
                   [&] { injected || disk || ::setrlimit(RLIMIT_FSIZE, &limit); });
        EXPECT_EQ(r.status, failed.empty() ? 0 : 1) << qPrintable(r.err);
        EXPECT_EQ(reasons(r), failed) << r.out.constData();
        for (const QJsonValue f : r.json()["failures"].toArray())
            EXPECT_EQ(std::pair(f["kind"].toString(), f["errno"].toInt()),
                      std::pair(QString("write-failed"), error));
        EXPECT_EQ(r.json()["totals"].toObject()["errors"].toInt(), int(failed.size()));
        EXPECT_EQ(snapshot(dst()), kept);
        EXPECT_EQ(snapshot(dst(), true), Tree());
        EXPECT_LT(took.elapsed(), 30000);
        const QString calls = QString::fromUtf8(TempTree::read(log));
        for (const QString name : {"old.txt", "new.txt", "old.bin", "big.bin"})
            EXPECT_TRUE(!failed.empty() || !injected ||
                        calls.contains(QRegularExpression(QRegularExpression::escape("." + name) +
                                                          "\\.ketrano-partial-\\S+ " +
                                                          QRegularExpression::escape(name))))
                << qPrintable(name) << " not renamed into place:\n"
                << qPrintable(calls);
        ASSERT_TRUE(!disk || disk->resize("size=64m")); // room again
        expectSettled();
    }
}

// SIGTERM during one large, slow copy (a system shutting down): that file is given up at once,
// its destination left as it was, and the program ends within seconds.
TEST_F(TargetFaults, SigtermGivesUpALargeSlowCopyAtOnce)
{
    put(dst("/big.bin"), QByteArray(1 << 20, 'o'));
    put(src("/big.bin"), QByteArray(64 << 20, 'n'), 1'700'000'000); // 25 s at 2.5 MiB/s
    const Tree before = snapshot(dst());
    QElapsedTimer sinceSignal;
    const CliRun r =
        runCli({"sync", "--quiet", profile}, faulty("slow-write", dst()), {}, [&](QProcess& p) {
            QThread::msleep(1500); // well into the copy
            ASSERT_EQ(p.state(), QProcess::Running);
            sinceSignal.start();
            ::kill(pid_t(p.processId()), SIGTERM);
        });
    const qint64 stoppedAfter = sinceSignal.elapsed();
    EXPECT_EQ(r.status, 143) << qPrintable(r.err);
    EXPECT_GE(stoppedAfter, 0);
    EXPECT_LT(stoppedAfter, 5000);
    EXPECT_EQ(snapshot(dst()), before);
    EXPECT_EQ(snapshot(dst(), true), Tree());
    expectSettled();
}

// A stick through FUSE (fusefat), where one syncfs reaches nothing: each file is flushed by
// itself before it takes its name, and a flush that fails is that row's failure. Times FAT
// cannot store (before 1980, after 2107) go there as its nearest end, not wrapped, and are
// never copied back: the next scan finds nothing to do either way.
TEST_F(TargetFaults, OnFuseEveryFileIsFlushedBeforeItIsPlaced)
{
    const FatMount stick(dst());
    if (!stick.mounted())
        GTEST_SKIP() << qPrintable(stick.why());
    QFile old(dst("/old.txt")); // FAT keeps no permission bits for TempTree to set
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old version") == 15);
    old.close();
    TempTree::setMtime(dst("/old.txt"), 1'600'000'000);
    const QStringList names = {"old.txt", "a.txt", "b.txt", "c.txt"};
    for (const QString& name : names)
        put(src("/" + name), name.toUtf8() + " from the source", 1'700'000'000);
    // The time given, the time kept and by how much it may be off: outside FAT's years, the
    // first or last second FAT holds (1980-01-01, 2107-12-31), give or take the time zone.
    const std::tuple<const char*, qint64, qint64, qint64> times[] = {
        {"/1950.txt", -631152000, 315532800, 2 * 86400},
        {"/2200.txt", 7258118400, 4354819199, 2 * 86400},
        {"/2000.txt", 946684800, 946684800, 2}};
    for (const auto& [name, time, kept, slack] : times)
        put(src(name), name, time);
    const QString log = path("calls.log");
    const CliRun r = runCli({"sync", "--quiet", profile}, faulty("none", dst(), log));
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    for (const auto& [name, time, kept, slack] : times)
        EXPECT_LE(std::abs(QFileInfo(dst(name)).lastModified().toSecsSinceEpoch() - kept), slack)
            << name;
    const CliRun again = runCli({"scan", "--json", "--exit-code", profile});
    EXPECT_EQ(again.status, 0) << again.out.constData();
    // "fsync <partial>", then "rename <partial> <name>", for every file.
    const QStringList calls = QString::fromUtf8(TempTree::read(log)).split('\n');
    for (const QString& name : names) {
        const qsizetype renamed = calls.indexOf(
            QRegularExpression("rename \\." + QRegularExpression::escape(name) +
                               "\\.ketrano-partial-\\S+ " + QRegularExpression::escape(name)));
        const qsizetype flushed = calls.indexOf(QRegularExpression(
            "fsync .*/\\." + QRegularExpression::escape(name) + "\\.ketrano-partial-\\S+"));
        EXPECT_GE(flushed, 0) << qPrintable(name + " not flushed:\n" + calls.join('\n'));
        EXPECT_GT(renamed, flushed) << qPrintable(name + " placed before its flush");
    }
    EXPECT_EQ(TempTree::read(dst("/a.txt")), "a.txt from the source");

    put(src("/d.txt"), "d", 1'700'000'000);
    put(src("/old.txt"), "newer still", 1'800'000'000);
    const CliRun failed = runCli({"sync", "--json", profile}, faulty("fsync", dst()));
    const QString eio = "Writing the destination failed: Input/output error";
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(reasons(failed), (std::map<QString, QString>{{"d.txt", eio}, {"old.txt", eio}}))
        << failed.out.constData();
    EXPECT_EQ(TempTree::read(dst("/old.txt")), "old.txt from the source");
    EXPECT_FALSE(QFile::exists(dst("/d.txt")));
}

// A sparse source on a file system that tells of no hole (sshfs): its runs of zeros stay holes
// in the copy, and the copy is the same bytes.
TEST_F(TargetFaults, ASparseSourceThatTellsOfNoHoleStaysSparse)
{
    const QByteArray file = QFile::encodeName(src("/disk.img"));
    put(src("/disk.img"), "a boot sector");
    ASSERT_EQ(::truncate(file.constData(), qint64(64) << 20), 0);
    QFile f(src("/disk.img"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(qint64(40) << 20) && f.write("data") == 4);
    f.close();
    TempTree::setMtime(src("/disk.img"), 1'600'000'000);
    const CliRun r = runCli({"sync", "--quiet", profile},
                            {"LD_PRELOAD=" KETRANO_FAULTS, "KETRANO_FAULT=no-holes"});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(contentHash(QFile::encodeName(dst("/disk.img"))), contentHash(file));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(dst("/disk.img")).constData(), &st), 0);
    EXPECT_EQ(st.st_size, qint64(64) << 20);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(4) << 20) << "the holes were written";
}

// Folders of the target that are links: one out of the target (absolute, and by ".."), one
// that stays inside. Nothing outside is written or created, the rows through a link out fail
// saying so, the link inside is written through. A source link to "/" or to a folder above
// the root is not walked.
TEST_F(TargetFaults, WritesNeverFollowALinkOutOfTheTarget)
{
    const QString outside = path("outside");
    put(outside + "/passwd", "root:x:0:0");
    QDir().mkpath(dst("/real"));
    const auto link = [](const QString& at, const QString& to) {
        EXPECT_EQ(::symlink(QFile::encodeName(to).constData(), QFile::encodeName(at).constData()),
                  0);
    };
    for (const auto& [folder, to] :
         {std::pair("/abs", outside), {"/up", "../outside"}, {"/inner", "real"}}) {
        link(dst(folder), to);
        put(src(folder + QString("/passwd")), "evil::0:0", 1'700'000'000);
        put(src(folder + QString("/deeper/new.txt")), "n");
    }
    const Tree outsideBefore = snapshot(outside);

    const CliRun r = runCli({"sync", "--json", profile});
    EXPECT_EQ(r.status, 1) << qPrintable(r.err);
    const QString out = "The destination folder leads out of its root through a symbolic link";
    std::map<QString, int> refused;
    for (const QJsonValue f : r.json()["failures"].toArray()) {
        EXPECT_EQ(f["reason"].toString(), out) << qPrintable(f["target"].toString());
        EXPECT_EQ(f["kind"].toString(), "link-out-of-root");
        ++refused[f["target"].toString().mid(dst().size()).section('/', 1, 1)];
    }
    EXPECT_EQ(refused, (std::map<QString, int>{{"abs", 2}, {"up", 2}}));
    EXPECT_EQ(snapshot(outside), outsideBefore);
    EXPECT_FALSE(QFile::exists(outside + "/deeper"));
    EXPECT_EQ(TempTree::read(dst("/real/passwd")), "evil::0:0");
    EXPECT_EQ(TempTree::read(dst("/real/deeper/new.txt")), "n");

    // Scanned only: a walk into "/" would not end (/proc) and list the whole disk.
    link(src("/slash"), "/");
    link(src("/above"), "../..");
    const CliRun scanned = runCli({"scan", "--json", profile});
    EXPECT_EQ(scanned.status, 0) << qPrintable(scanned.err);
    for (const QJsonValue row : scanned.json()["rows"].toArray())
        EXPECT_FALSE(row["source"].toString().contains("/slash") ||
                     row["source"].toString().contains("/above"))
            << qPrintable(row["source"].toString());
}

// Runs as cron starts them. One run of a profile at a time, whatever the environment: a run
// started by cron (no XDG_RUNTIME_DIR) meets one started in a session (its own runtime
// folder), both ways. A state folder that cannot be written (cron with HOME=/nonexistent, a
// full or read-only disk) must not turn the unmounted-disk guard off. Without a usual disk
// remembered, a root cannot be checked: nothing is copied. With one remembered but no new one
// saved, the copies are made and the run fails saying so.
TEST_F(TargetFaults, CronRunsShareTheLockAndAStateFolderThatCannotBeWrittenIsAnError)
{
    put(src("/a.txt"), "a");
    const QString runtime = path("runtime");
    ASSERT_TRUE(QDir().mkpath(runtime));
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    for (const bool holderHasRuntime : {true, false}) {
        SCOPED_TRACE(holderHasRuntime ? "held in a session" : "held from cron");
        holderHasRuntime ? qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime))
                         : qunsetenv("XDG_RUNTIME_DIR");
        const RunLock held = RunLock::acquire(profile);
        ASSERT_TRUE(held.held()) << qPrintable(held.error());
        const CliRun r =
            runCli({"sync", "--quiet", profile},
                   {holderHasRuntime ? "XDG_RUNTIME_DIR=" : "XDG_RUNTIME_DIR=" + runtime});
        EXPECT_EQ(r.status, 3) << qPrintable(r.err);
        EXPECT_FALSE(QFile::exists(dst("/a.txt")));
    }
    saved.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", saved);

    put(path("not a folder"), "a file in the way");
    const CliRun unchecked =
        runCli({"sync", "--quiet", profile},
               {"XDG_STATE_HOME=" + path("not a folder/state"), "HOME=/nonexistent"});
    EXPECT_EQ(unchecked.status, 1);
    EXPECT_TRUE(unchecked.err.contains(dst() +
                                       " cannot be checked to be on its usual disk: its "
                                       "disk cannot be remembered in " +
                                       path("not a folder/state/ketrano") + ": Not a directory"))
        << qPrintable(unchecked.err);
    EXPECT_EQ(snapshot(dst()), Tree());

    // The usual disks remembered, at a mount point that changed since; then the disk holding
    // the state goes read-only.
    TmpfsMount state(path("ro-state/ketrano"), "size=1m");
    if (!state.mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs: " << qPrintable(qt_error_string());
    qputenv("XDG_STATE_HOME", QFile::encodeName(path("ro-state")));
    const QString identity = fileSystemOf(src()).identity;
    ASSERT_EQ(KnownRoots::remember({{src(), {identity, "/was"}}, {dst(), {identity, "/was"}}}), 0);
    ASSERT_TRUE(state.makeReadOnly());
    const CliRun unsaved =
        runCli({"sync", "--quiet", profile}, {"XDG_STATE_HOME=" + path("ro-state")});
    EXPECT_EQ(unsaved.status, 1);
    EXPECT_TRUE(unsaved.err.contains("Remembering the disks of the roots in " +
                                     path("ro-state/ketrano/roots") +
                                     " failed: Read-only file system"))
        << qPrintable(unsaved.err);
    EXPECT_EQ(TempTree::read(dst("/a.txt")), "a");
}

} // namespace
