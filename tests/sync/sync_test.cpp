// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_system_info.h"
#include "core/known_roots.h"
#include "core/name_bytes.h"
#include "core/run_lock.h"
#include "core/status_bar.h"
#include "support/fat_mount.h"
#include "support/permission_checks.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"
#include "sync/versions.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Synchronize and its copy engine on real folders: "s" and "t" of one tree. ListView1 rows
// go s -> t, ListView2 rows t -> s, as a scan would have listed them.

namespace {

class SyncTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cb = rec.callbacks();
        cb.busyChanged = [this](bool busy) { log << (busy ? "busy" : "normal"); };
        rec.directionOn = [this](Direction d) {
            const int t = d == Direction::SourceToTarget ? 2 : 3;
            log << QStringLiteral("toggle %1 after \"%2\"").arg(t).arg(panelText(state.status, 2));
            return rec.toggles[t];
        };
        cb.progressChanged = [this](int, int maximum, int value) {
            log << QStringLiteral("progress %1 of %2").arg(value).arg(maximum);
        };
    }

    // The file folder/name on the list's side, holding its name, and its row.
    void addRow(int list, const QString& folder, const QString& name, qint64 kb,
                bool checked = true)
    {
        const QString from = (list == 1 ? "s" : "t") + folder,
                      to = (list == 1 ? "t" : "s") + folder;
        TempTree::write(tree.path(from + "/" + name), name.toUtf8(), 1'000'000'000);
        ResultRow row(name, tree.path(from), tree.path(to));
        row.sizeBytes = kb * 1024; // the file itself is smaller: only the counters read it
        row.checked = checked;
        (list == 1 ? state.sourceRows : state.targetRows).append(row);
        (list == 1 ? state.SourceFileCount : state.TargetFileCount) += 1;
    }
    bool exists(const QString& rel) const { return QFileInfo::exists(tree.path(rel)); }
    QStringList copyErrors() const { return ::copyErrors(state, tree.root()); }
    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
    QStringList log;
};

// Every step a user sees, in order: both stages, a row per panel update, checked or not.
TEST_F(SyncTest, BothDirectionsStepByStep)
{
    setProgressRange(state.status, cb, 0, 1240); // the scan's 1,234 + 7 KB listed, less a little
    addRow(1, "/docs/deep", "a.txt", 1234);      // two levels made
    addRow(1, "/two", "skipped", 7, false);
    addRow(2, "/new", "b.txt", 10);
    state.control.CancelRequested = true; // left over from an earlier command
    log.clear();
    // A new file has its source's time only once the run has put it on disk.
    const auto seconds = [this](const char* file) {
        return QFileInfo(tree.path(file)).lastModified().toSecsSinceEpoch();
    };
    qint64 beforeTheFlush = 0;
    rec.directionOn = [&, directionOn = rec.directionOn](Direction d) {
        beforeTheFlush = d == Direction::TargetToSource ? seconds("t/docs/deep/a.txt") : 0;
        return directionOn(d);
    };

    rec.synchronize(state, cb);

    EXPECT_EQ(
        rec.panelLog,
        (QStringList{"1:Copying", "2:From source to Target", "4:", "4:1 of 3", "5:1,234 KB Copied",
                     "2:a.txt", "3:Errors : 0", "4:1 of 3", "5:1,234 KB Copied", "2:skipped",
                     "3:Errors : 0", "2:From Target to Source", "4:2 of 3", "5:1,244 KB Copied",
                     "2:b.txt", "3:Errors : 0", "1:Ready  ", "2:", "4:2 of 3  Files copied"}));
    // 1,244 is beyond the bar's end: the bar keeps its value until the run fills it. Each
    // toggle is read only as its stage begins.
    EXPECT_EQ(log, (QStringList{"busy", "toggle 2 after \"From source to Target\"",
                                "progress 1234 of 1240", "progress 1234 of 1240",
                                "toggle 3 after \"From Target to Source\"", "normal",
                                "progress 1240 of 1240"}));
    EXPECT_EQ(TempTree::read(tree.path("t/docs/deep/a.txt")), "a.txt");
    EXPECT_EQ(std::tuple(beforeTheFlush, seconds("t/docs/deep/a.txt"), seconds("s/new/b.txt")),
              std::tuple(1'000'000'000 - 10, 1'000'000'000, 1'000'000'000));
    EXPECT_EQ(state.sourceRows.destination(0).modified, 1'000'000'000); // as it is on disk
    EXPECT_TRUE(QFileInfo(tree.path("t/two")).isDir()); // an unchecked row's folder is made
    EXPECT_FALSE(exists("t/two/skipped"));
    EXPECT_EQ(std::tuple(state.FilesCopied, state.KBCopied, state.ErrorCount),
              std::tuple(2, 1244, 0));
    EXPECT_FALSE(state.control.CancelRequested);
}

// A failed copy becomes an error row; the next run lists it again, once, with counters of
// its own. A folder that cannot be made says why: the first level that cannot be made.
TEST_F(SyncTest, FailedCopiesAreErrorRowsOfTheirRun)
{
    tree.add({"t/blocked", 1}); // a file where a folder belongs
    addRow(1, "/d", "gone.txt", 3);
    addRow(1, "/blocked/inner", "one", 1);
    addRow(1, "/d", "fine", 2);
    addRow(1, "/locked/new/deeper", "two", 1);
    tree.mkdir("t/locked");
    ::chmod(nameBytes(tree.path("t/locked")).constData(), 0555);
    PermissionChecks checks; // root would make the folder all the same
    QFile::remove(tree.path("s/d/gone.txt"));
    for (int run = 0; run < 2; ++run) {
        rec.synchronize(state, cb);
        EXPECT_EQ(std::tuple(state.FilesCopied, state.KBCopied, state.ErrorCount),
                  std::tuple(1, 2, 3));
        ASSERT_EQ(state.errorRows.size(), 3);
        const ErrorRow& e = state.errorRows.rows()[0];
        EXPECT_EQ(QStringList({e.fileName, e.source, e.target}),
                  QStringList({"gone.txt", tree.path("s/d"), tree.path("t/d")}));
        EXPECT_EQ(copyErrors(),
                  QStringList({"Reading the source failed: No such file or directory",
                               "A file of that name is in the way",
                               "Creating the destination folder failed: Permission denied"}));
        EXPECT_EQ(panelText(state.status, 3), "Errors : 3");
        EXPECT_EQ(panelText(state.status, 4), "1 of 4  Files copied");
    }
    EXPECT_TRUE(QFileInfo(tree.path("t/blocked")).isFile());
}

// An Include that names an extension twice lists a file twice: the second row counts with the
// first, no false alarm. A file where the other side has a folder is refused both ways, said at
// the scan and by each failed row; the failures stay listed over the next scan.
TEST_F(SyncTest, DoubledIncludesAndAFileWhereTheOtherSideHasAFolder)
{
    tree.add(
        {{"s/a.txt", 2048, 1'700'000'000}, {"t/a.txt", 1, 1'600'000'000}, {"s/new.TXT", 1024}});
    tree.add({{"s/clash", 1}, {"t/clash/inner.txt", 1}, {"t/only.txt", 1}});
    state.profileEntries.append({tree.path("s"), tree.path("t"), "txt,TXT,", ""});
    rec.scan(state, cb);
    QStringList notices;
    for (const ErrorRow& e : state.errorRows.rows())
        notices << e.fileName + ": " + e.error;
    EXPECT_EQ(notices, QStringList{"clash: A folder of that name is in the way"});
    EXPECT_EQ(std::tuple(state.sourceRows.size(), state.targetRows.size()), std::tuple(5, 4));

    rec.synchronize(state, cb);
    const QStringList failed{"A folder of that name is in the way",
                             "A file of that name is in the way",
                             "A file of that name is in the way"};
    EXPECT_EQ(copyErrors(), failed); // clash into t; clash/inner.txt twice into s
    EXPECT_EQ(std::tuple(state.FilesCopied, state.KBCopied, state.ErrorCount),
              std::tuple(6, 2 * 2 + 2 * 1 + 0, 3));
    EXPECT_EQ(TempTree::read(tree.path("t/a.txt")).size(), 2048);
    EXPECT_TRUE(QFileInfo(tree.path("t/clash")).isDir());
    EXPECT_TRUE(QFileInfo(tree.path("s/clash")).isFile());

    rec.scan(state, cb); // only the clash is left, and the failures are still listed
    EXPECT_EQ(std::tuple(state.sourceRows.size(), state.targetRows.size()), std::tuple(1, 2));
    EXPECT_EQ(copyErrors(), failed);
}

// A stop is noticed at the top of a row: the copy whose turn saw it is counted, nothing
// copied ahead of it is left (not even a temporary), and the second stage still makes its
// folders.
TEST_F(SyncTest, AStopEndsTheRunAfterTheCopyInProgress)
{
    setProgressRange(state.status, cb, 0, 41);
    for (const char* name : {"1", "2", "3", "4", "5"})
        addRow(1, "/s", name, 1);
    addRow(2, "/back", "b", 1);
    int turns = 0;
    cb.yield = [&] {
        state.control.lastYield.invalidate();
        if (++turns == 3)
            state.control.CancelRequested = true;
    };

    rec.synchronize(state, cb);

    EXPECT_EQ(state.FilesCopied, 3);
    EXPECT_EQ(QDir(tree.path("t/s")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"1", "2", "3"}));
    EXPECT_TRUE(QFileInfo(tree.path("s/back")).isDir());
    EXPECT_FALSE(exists("s/back/b"));
    EXPECT_EQ(panelText(state.status, 1), "Canceled ");
    EXPECT_EQ(panelText(state.status, 4), "3 of 6  Files copied");
    EXPECT_EQ(state.status.progressValue, 41);
}

// An entry root missing at the synchronization (a backup disk not mounted: its mount point
// "usb" is there, "usb/Backup" is not) is never created by an unattended run; the window asks
// once per root. A case: unattended or the answer, the two entries' Targets, what happens
// between scan and sync, the question's file count, the error row, what is copied.
TEST_F(SyncTest, AMissingRootIsCreatedOnlyWhenTheUserSaysSo)
{
    const QString missing = "The folder usb/Backup does not exist",
                  question = "The folder " + tree.path("usb/Backup") +
                             " does not exist. Create it and copy %1 files into it?";
    const std::tuple<const char*, const char*, const char*, int, QString, QString> cases[] = {
        {"No", "usb/Backup t2", "", 2, missing + ": 2 files were not copied", "t2/c"},
        {"Yes", "usb/Backup t2", "", 2, "", "usb/Backup/a usb/Backup/b t2/c"},
        {"Yes", "usb/Backup usb/Backup", "", 3, "", "usb/Backup/a usb/Backup/b usb/Backup/c"},
        {"unattended", "usb/Backup t2", "gone", 0,
         missing + " (an unattended run does not create it): 2 files were not copied", "t2/c"},
        {"unattended", "usb t2", "moved", 0,
         "usb is no longer on the disk it was on at the scan: is the disk mounted?", "t2/c"},
    };
    for (const auto& [how, targets, between, asked, error, copied] : cases) {
        SCOPED_TRACE(QStringList({how, targets, between}).join(' ').toStdString());
        QFile::remove(KnownRoots::storePath());
        QDir(tree.root()).removeRecursively();
        tree.add({{"s/a", 1}, {"s/b", 1}, {"s2/c", 1}});
        for (const char* folder : {"usb", "t2", *between == 'g' ? "usb/Backup" : "t2"})
            tree.mkdir(folder);
        const QStringList target = QString(targets).split(' ');
        state.profileEntries.clear();
        state.profileEntries.append({tree.path("s"), tree.path(target[0]), "*", ""});
        state.profileEntries.append({tree.path("s2"), tree.path(target[1]), "*", ""});
        state.control.unattended = QString(how) == "unattended";
        rec.answers = {QString(how) == "Yes"};
        rec.questions.clear();
        rec.scan(state, cb);
        if (*between == 'g')
            QDir(tree.path("usb/Backup")).removeRecursively();
        if (*between == 'm')
            state.scannedEntries[0].target.fs.device += 1;

        rec.synchronize(state, cb);

        EXPECT_EQ(rec.questions, asked ? QStringList(question.arg(asked)) : QStringList());
        EXPECT_EQ(copyErrors().join(""), error);
        EXPECT_EQ(state.ErrorCount, error.isEmpty() ? 0 : 1);
        for (const char* f : {"usb/Backup/a", "usb/Backup/b", "usb/Backup/c", "usb/a", "t2/c"})
            EXPECT_EQ(exists(f), copied.split(' ').contains(f)) << f;
        // Where the synchronized roots live is remembered; a root not written to is not.
        const auto usb = KnownRoots::Store::read().recalled(tree.path(target[0]));
        EXPECT_EQ(usb ? usb->identity : "",
                  copied.startsWith("usb") ? fileSystemOf(tree.path("usb")).identity : "");
        EXPECT_TRUE(KnownRoots::Store::read().recalled(tree.path("s2")).has_value());
    }
}

// Hidden partial copies that killed runs left in a folder this run writes to go, unless they
// are younger than the run (b), in a folder not written to (c), or another run holds the
// profile.
TEST_F(SyncTest, StalePartialCopiesAreRemovedByTheNextRun)
{
    const QStringList partials = {"t/.a.ketrano-partial-AAAAAA", "t/.b.ketrano-partial-BBBBBB",
                                  "t/other/.c.ketrano-partial-CCCCCC"};
    state.ProfileFileName = tree.path("profile.prf");
    state.profileEntries.append({tree.path("s"), tree.path("t"), "*", ""});
    for (bool anotherRun : {true, false}) {
        SCOPED_TRACE(anotherRun ? "another run holds the profile" : "no other run");
        QFile::remove(tree.path("t/a")); // to be copied into t again
        tree.add({{"s/a", 1}, {partials[0], 1}, {partials[1], 1}, {partials[2], 1}});
        TempTree::setMtime(tree.path(partials[1]), QDateTime::currentSecsSinceEpoch() + 600);
        rec.scan(state, cb);
        QProcess holder; // holds the profile's lock, as another program's run would
        if (anotherRun) {
            holder.start("flock", {"-n", RunLock::lockFilePath(state.ProfileFileName), "-c",
                                   "echo locked; exec cat"});
            ASSERT_TRUE(holder.waitForReadyRead(10000));
        }
        rec.synchronize(state, cb);
        holder.closeWriteChannel();
        holder.waitForFinished();
        for (const QString& p : partials)
            EXPECT_EQ(exists(p), anotherRun || p != partials[0]) << qPrintable(p);
    }
}

// A FAT stick through FUSE: no exclusive rename, no hard links, no letter case, times to 2
// seconds, a rename that forgets the time. Every new file is made, the case twin copied second
// fails instead of replacing the first, replaced files are replaced, and a scan after a run
// lists only the twin.
// A FAT stick keeps local wall-clock times, which drivers read back shifted: fusefat by the
// zone's standard offset, Windows and Linux an hour apart in summer. Copied in summer and in
// winter, in a zone an hour east and one five hours west, every file is copied once and the
// next scan lists nothing that was copied.
class FatSyncTest : public SyncTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(FatSyncTest, AFatStickThroughFuse)
{
    const FatMount fat(tree.path("fat"), false, GetParam());
    if (!fat.mounted())
        GTEST_SKIP() << "FAT through FUSE not checked: " << fat.why().toStdString();
    for (const auto& [path, mtime] : {std::pair("s/a.txt", 1'600'000'000), // September
                                      {"s/A.TXT", 1'600'000'010},
                                      {"s/sub/b.txt", 1'580'000'001}, // January
                                      {"s/odd", 1'600'000'003}})
        TempTree::write(tree.path(path), path, mtime, 500'000'000);
    state.profileEntries.append({tree.path("s"), tree.path("fat/Backup"), "*", ""});
    rec.answers = {true}; // create the folder on the stick
    rec.scan(state, cb);
    rec.synchronize(state, cb);
    EXPECT_EQ(copyErrors(), QStringList{"The destination folder does not tell letter case apart: "
                                        "it holds A.TXT already"});
    EXPECT_EQ(TempTree::read(tree.path("fat/Backup/A.TXT")), "s/A.TXT");
    // As the source's, to the two seconds FAT keeps.
    EXPECT_NEAR(QFileInfo(tree.path("fat/Backup/odd")).lastModified().toSecsSinceEpoch(),
                1'600'000'003, 1);

    TempTree::write(tree.path("s/sub/b.txt"), "newer", 1'700'000'000);
    const qint64 before =
        QFileInfo(tree.path("fat/Backup/sub/b.txt")).lastModified().toSecsSinceEpoch();
    rec.scan(state, cb);
    EXPECT_EQ(state.sourceRows.size() + state.targetRows.size(), 2); // b.txt and the twin
    rec.synchronize(state, cb);
    EXPECT_EQ(TempTree::read(tree.path("fat/Backup/sub/b.txt")), "newer");
    // No hard links on FAT: the replaced file was moved into the versions folder, its time kept.
    const std::vector<KeptVersion> versions = keptVersions(tree.path("fat/Backup"));
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0].relativePath, "sub/b.txt");
    EXPECT_EQ(TempTree::read(versions[0].path), "s/sub/b.txt");
    EXPECT_NEAR(QFileInfo(versions[0].path).lastModified().toSecsSinceEpoch(), before, 2);
    EXPECT_EQ(QDir(tree.path("fat/Backup/sub")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"b.txt"});
    rec.scan(state, cb); // the replaced file too
    EXPECT_EQ(state.sourceRows.size() + state.targetRows.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(SummerTime, FatSyncTest,
                         ::testing::Values("Europe/Berlin", "America/New_York"));

TEST_F(SyncTest, AReadOnlyFatStick)
{
    // A read-only file system says so, for a folder to be made and for a file.
    const FatMount readOnly(tree.path("t/ro"), true);
    if (!readOnly.mounted())
        GTEST_SKIP() << "FAT through FUSE not checked: " << readOnly.why().toStdString();
    addRow(1, "/ro/new", "one", 1);
    addRow(1, "/ro", "two", 1);
    rec.synchronize(state, cb);
    EXPECT_EQ(copyErrors(),
              QStringList({"Creating the destination folder failed: Read-only file system",
                           "Writing the destination failed: Read-only file system"}));
}

} // namespace
