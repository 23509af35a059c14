#include "sync/copy_engine.h"
#include "sync/sync_driver.h"

#include "core/status_bar.h"
#include "scan/scan_driver.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Synchronize and its copy engine on real folders: "s" and "t" of one tree. ListView1 rows
// go s -> t, ListView2 rows t -> s, as a scan would have listed them.

namespace {

class SyncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cb = rec.callbacks();
        cb.busyChanged = [this](bool busy) { log << (busy ? "busy" : "normal"); };
        cb.toggle = [this](int t) {
            log << QStringLiteral("toggle %1 after \"%2\"").arg(t).arg(panelText(state, 2));
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
        tree.add({from + "/" + name, 0});
        QFile f(tree.path(from + "/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name.toUtf8());
        f.close();
        const ResultRow row{.name = name,
                            .sourceFolder = tree.path(from),
                            .targetFolder = tree.path(to),
                            .sizeBytes = name.size(),
                            .sizeKB = kb,
                            .checked = checked};
        (list == 1 ? state.ListView1 : state.ListView2).append(row);
        (list == 1 ? state.SourceFileCount : state.TargetFileCount) += 1;
    }
    bool exists(const QString& rel) const { return QFileInfo::exists(tree.path(rel)); }

    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
    QStringList log;
};

TEST(MakeFolderPath, CreatesEveryLevelAndNeverFails)
{
    TempTree t;
    MakeFolderPath(t.path("a/b c/d/é"));
    EXPECT_TRUE(QFileInfo(t.path("a/b c/d/é")).isDir());
    MakeFolderPath(t.path("a/b c/d/é")); // exists: nothing happens
    MakeFolderPath(t.path("x/y/"));      // trailing slash
    EXPECT_TRUE(QFileInfo(t.path("x/y")).isDir());
    t.add({"file", 3});
    MakeFolderPath(t.path("file/sub/deeper")); // a regular file is in the way
    EXPECT_TRUE(QFileInfo(t.path("file")).isFile());
    MakeFolderPath(QString());
}

// Every step a user sees, in order: both stages, a row per panel update, checked or not.
TEST_F(SyncTest, BothDirectionsStepByStep)
{
    setProgressRange(state, cb, 0, 1240); // the scan's 1,234 + 7 KB listed, less a little
    addRow(1, "/docs", "a.txt", 1234);
    addRow(1, "/two", "skipped", 7, false);
    addRow(2, "/new", "b.txt", 10);
    state.CancelRequested = true; // left over from an earlier command
    log.clear();

    SyncCmd_Click(state, cb);

    EXPECT_EQ(
        rec.panelLog,
        (QStringList{"1:Copying", "2:From source to Target", "4:", "4:1 of 3", "5:1,234 KB Copied",
                     "2:a.txt", "3:Errors : 0", "4:1 of 3", "5:1,234 KB Copied", "2:skipped",
                     "3:Errors : 0", "2:From Target to Source", "4:2 of 3", "5:1,244 KB Copied",
                     "2:b.txt", "3:Errors : 0", "1:Ready  ", "2:", "4:2 of 3  Files copied"}));
    // 1,244 is beyond the bar's end: the bar keeps its value until the run fills it.
    EXPECT_EQ(log, (QStringList{"busy", "toggle 2 after \"From source to Target\"",
                                "progress 1234 of 1240", "progress 1234 of 1240",
                                "toggle 3 after \"From Target to Source\"", "normal",
                                "progress 1240 of 1240"}));
    EXPECT_EQ(TempTree::read(tree.path("t/docs/a.txt")), "a.txt");
    EXPECT_TRUE(exists("s/new/b.txt"));
    EXPECT_TRUE(QFileInfo(tree.path("t/two")).isDir()); // an unchecked row's folder is made
    EXPECT_FALSE(exists("t/two/skipped"));
    EXPECT_EQ(std::tuple(state.FilesCopied, state.KBCopied, state.ErrorCount),
              std::tuple(2, 1244, 0));
    EXPECT_FALSE(state.CancelRequested);
}

// Toggles 2 and 3 (-1: no toggle callback, which counts as pressed), then the files copied
// and panel 4.
struct Toggles
{
    const char* name;
    int sourceToTarget, targetToSource;
    const char *copied, *panel4;
};
class SyncToggles : public SyncTest, public ::testing::WithParamInterface<Toggles>
{
};

TEST_P(SyncToggles, ChooseTheDirections)
{
    const Toggles& c = GetParam();
    addRow(1, "/x", "a", 1);
    addRow(2, "/y", "b", 1);
    state.ErrorsList.append({"old", "from", "to", "an earlier failure"});
    setPanel(state, cb, 3, "Source Size: 2KB");
    rec.toggles[2] = c.sourceToTarget == 1;
    rec.toggles[3] = c.targetToSource == 1;
    SyncCmd_Click(state, c.sourceToTarget < 0 ? Callbacks{} : cb);
    QStringList copied;
    for (const char* file : {"t/x/a", "s/y/b"})
        if (exists(file))
            copied << file;
    EXPECT_EQ(copied.join(' '), c.copied);
    EXPECT_EQ(panelText(state, 4), c.panel4);
    EXPECT_EQ(exists("t/x"), c.sourceToTarget != 0); // no folder made for an off direction
    EXPECT_EQ(state.ErrorsList.size(), 0);
    EXPECT_EQ(panelText(state, 1), "Ready  ");
    EXPECT_EQ(panelText(state, 3) == "Source Size: 2KB", !*c.copied); // the scan's, if no copy
}
INSTANTIATE_TEST_SUITE_P(
    Sync, SyncToggles,
    ::testing::Values(Toggles{"BothOff", 0, 0, "", "  Files copied"},
                      Toggles{"TargetToSourceOnly", 0, 1, "s/y/b", "1 of 2  Files copied"},
                      Toggles{"NoToggleCallback", -1, -1, "t/x/a s/y/b", "2 of 2  Files copied"}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed copy becomes an error row and takes no turn of the window; the next run lists
// it again, once, with counters of its own.
TEST_F(SyncTest, FailedCopiesAreErrorRowsOfTheirRun)
{
    tree.add({"t/blocked", 1}); // a file where a folder belongs
    addRow(1, "/d", "gone.txt", 3);
    addRow(1, "/blocked/inner", "one", 1);
    addRow(1, "/d", "fine", 2);
    QFile::remove(tree.path("s/d/gone.txt"));
    cb.yield = [this] {
        state.lastYield.invalidate(); // every turn reaches the window
        ++rec.yields;
    };
    for (int run = 0; run < 2; ++run) {
        SyncCmd_Click(state, cb);
        EXPECT_EQ(std::tuple(state.FilesCopied, state.KBCopied, state.ErrorCount),
                  std::tuple(1, 2, 2));
        ASSERT_EQ(state.ErrorsList.size(), 2);
        const ErrorRow& e = state.ErrorsList.rows()[0];
        EXPECT_EQ(QStringList({e.fileName, e.source, e.target, e.error}),
                  QStringList({"gone.txt", tree.path("s/d"), tree.path("t/d"),
                               "Reading the source failed: No such file or directory"}));
        EXPECT_EQ(state.ErrorsList.rows()[1].error,
                  "Opening the destination folder failed: Not a directory");
        EXPECT_EQ(panelText(state, 3), "Errors : 2");
        EXPECT_EQ(panelText(state, 4), "1 of 3  Files copied");
    }
    EXPECT_EQ(rec.yields, 2); // one per file copied
    EXPECT_TRUE(QFileInfo(tree.path("t/blocked")).isFile());
}

// A stop is noticed at the top of a row: the copy whose turn saw it is counted, nothing
// copied ahead of it is left (not even a temporary), and the second stage still makes its
// folders.
TEST_F(SyncTest, AStopEndsTheRunAfterTheCopyInProgress)
{
    setProgressRange(state, cb, 0, 41);
    for (const char* name : {"1", "2", "3", "4", "5"})
        addRow(1, "/s", name, 1);
    addRow(2, "/back", "b", 1);
    int turns = 0;
    cb.yield = [&] {
        state.lastYield.invalidate();
        if (++turns == 3)
            state.CancelRequested = true;
    };

    SyncCmd_Click(state, cb);

    EXPECT_EQ(state.FilesCopied, 3);
    EXPECT_EQ(QDir(tree.path("t/s")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"1", "2", "3"}));
    EXPECT_TRUE(QFileInfo(tree.path("s/back")).isDir());
    EXPECT_FALSE(exists("s/back/b"));
    EXPECT_EQ(panelText(state, 1), "Canceled ");
    EXPECT_EQ(panelText(state, 4), "3 of 6  Files copied");
    EXPECT_EQ(state.status.progressValue, 41);
}

// Scan, Synchronize, scan again: the two sides are equal, to the nanosecond and the
// permission bits, and the second scan lists nothing.
TEST_F(SyncTest, AfterARoundTripTheSidesAreEqual)
{
    const std::tuple<const char*, qint64, qint64, mode_t> files[] = {
        {"s/a/b/c/deep.txt", 10, 1'600'000'000, 0644}, {"s/top.txt", 3000, 1'600'000'001, 0600},
        {"t/x/y/back.doc", 20, 1'600'000'002, 0755},   {"s/same.txt", 5, 1'700'000'000, 0644},
        {"t/same.txt", 9, 1'600'000'000, 0644},        {"s/older.txt", 5, 1'500'000'000, 0644},
        {"t/older.txt", 7, 1'650'000'000, 0640}};
    for (const auto& [path, size, mtime, mode] : files) {
        tree.add({path, size});
        ::chmod(QFile::encodeName(tree.path(path)).constData(), mode);
        TempTree::setMtime(tree.path(path), mtime, 250'000'000);
    }
    rec.toggles[1] = false;
    state.ProfileList.append({tree.path("s"), tree.path("t"), "*", ""});
    const auto snapshot = [this](const char* side) {
        QStringList files;
        for (QDirIterator it(tree.path(side), QDir::Files | QDir::Hidden,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            struct stat st;
            ::stat(QFile::encodeName(it.next()).constData(), &st);
            files << QStringLiteral("%1 %2 %3.%4 %5")
                         .arg(it.filePath().mid(tree.path(side).size()))
                         .arg(st.st_size)
                         .arg(st.st_mtim.tv_sec)
                         .arg(st.st_mtim.tv_nsec)
                         .arg(st.st_mode, 0, 8);
        }
        files.sort();
        return files;
    };

    ScanCmd_Click(state, cb);
    EXPECT_EQ(state.ListView1.size() + state.ListView2.size(), 5);
    SyncCmd_Click(state, cb);
    EXPECT_EQ(state.ErrorCount, 0);
    EXPECT_EQ(snapshot("s"), snapshot("t"));
    EXPECT_EQ(snapshot("s").size(), 5);
    ScanCmd_Click(state, cb);
    EXPECT_EQ(state.ListView1.size() + state.ListView2.size(), 0);
}

} // namespace
