#include "sync/sync_driver.h"

#include "core/status_bar.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Two sides, "s" and "t"; ListView1 rows go s -> t, ListView2 rows t -> s.
class SyncDriverTest : public ::testing::Test
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
        cb.panelChanged = [this](int panel, const QString& text) {
            rec.panelLog << QStringLiteral("%1:%2").arg(panel).arg(text);
        };
        // What a scan leaves on the status bar.
        setPanel(state, cb, 3, "12 Files To Copy");
        setPanel(state, cb, 5, "40 KB To Copy");
        setProgressRange(state, cb, 0, 41);
        rec.panelLog.clear();
    }

    void addRow(ResultListModel& list, const QString& fromSide, const QString& toSide,
                const QString& folder, const QString& name, qint64 kb)
    {
        const QString from = tree.path(fromSide + folder);
        QDir().mkpath(from);
        QFile f(from + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name.toUtf8());
        f.close();
        ResultRow row;
        row.name = name;
        row.sourceFolder = from;
        row.targetFolder = tree.path(toSide + folder);
        row.sizeKB = kb;
        list.append(row);
        (&list == &state.ListView1 ? state.SourceFileCount : state.TargetFileCount) += 1;
    }

    bool exists(const QString& rel) const { return QFileInfo::exists(tree.path(rel)); }

    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
    QStringList log;
};

TEST_F(SyncDriverTest, BothDirectionsStepByStep)
{
    addRow(state.ListView1, "s", "t", "/docs", "a.txt", 3);
    addRow(state.ListView2, "t", "s", "/new", "b.txt", 2);
    state.CancelRequested = true; // left over from an earlier command

    SyncCmd_Click(state, cb);

    EXPECT_EQ(rec.panelLog,
              (QStringList{"1:Copying", "2:From source to Target", "4:", "4:1 of 2",
                           "5:3 KB Copied", "2:a.txt", "3:Errors : 0", "2:From Target to Source",
                           "4:2 of 2", "5:5 KB Copied", "2:b.txt", "3:Errors : 0", "1:Ready  ",
                           "2:", "4:2 of 2  Files copied"}));
    EXPECT_EQ(log, (QStringList{"busy", "toggle 2 after \"From source to Target\"",
                                "toggle 3 after \"From Target to Source\"", "normal"}));
    EXPECT_TRUE(exists("t/docs/a.txt"));
    EXPECT_TRUE(exists("s/new/b.txt"));
    EXPECT_EQ(state.status.progressValue, 41);
    EXPECT_FALSE(state.CancelRequested);
}

TEST_F(SyncDriverTest, BothSwitchesOffCopiesNothingAndMakesNoFolder)
{
    addRow(state.ListView1, "s", "t", "/x", "a", 1);
    addRow(state.ListView2, "t", "s", "/y", "b", 1);
    state.ErrorsList.append({"old", "from", "to", "an earlier failure"});
    state.ErrorCount = 1;
    rec.toggles[2] = rec.toggles[3] = false;

    SyncCmd_Click(state, cb);

    EXPECT_FALSE(exists("t/x"));
    EXPECT_FALSE(exists("s/y"));
    EXPECT_EQ(state.ErrorsList.size(), 0);
    EXPECT_EQ(state.ErrorCount, 0);
    EXPECT_EQ(panelText(state, 1), "Ready  ");
    EXPECT_EQ(panelText(state, 4), "  Files copied");
    // Panels 3 and 5 keep what the scan left.
    EXPECT_EQ(panelText(state, 3), "12 Files To Copy");
    EXPECT_EQ(panelText(state, 5), "40 KB To Copy");
    EXPECT_EQ(state.status.progressValue, 41);
}

TEST_F(SyncDriverTest, OnlyTargetToSource)
{
    addRow(state.ListView1, "s", "t", "", "a", 1);
    addRow(state.ListView2, "t", "s", "", "b", 1);
    rec.toggles[2] = false;

    SyncCmd_Click(state, cb);

    EXPECT_FALSE(exists("t/a"));
    EXPECT_TRUE(exists("s/b"));
    EXPECT_EQ(rec.panelLog.mid(0, 4), (QStringList{"1:Copying", "2:From source to Target",
                                                   "4:", "2:From Target to Source"}));
    EXPECT_EQ(panelText(state, 4), "1 of 2  Files copied");
}

TEST_F(SyncDriverTest, CancelInTheFirstStageStillMakesTheSecondStagesFolders)
{
    addRow(state.ListView1, "s", "t", "/one", "a", 1);
    addRow(state.ListView1, "s", "t", "/one", "b", 1);
    addRow(state.ListView2, "t", "s", "/two", "c", 1);
    cb.yield = [this] { state.CancelRequested = true; }; // Esc during the first copy

    SyncCmd_Click(state, cb);

    EXPECT_TRUE(exists("t/one/a"));
    EXPECT_FALSE(exists("t/one/b"));
    EXPECT_TRUE(QFileInfo(tree.path("s/two")).isDir());
    EXPECT_FALSE(exists("s/two/c"));
    EXPECT_EQ(panelText(state, 1), "Canceled ");
    EXPECT_EQ(panelText(state, 4), "1 of 3  Files copied");
    EXPECT_EQ(state.status.progressValue, 41);
}

TEST_F(SyncDriverTest, EachRunStartsItsCountersAndErrorListAfresh)
{
    addRow(state.ListView1, "s", "t", "", "keeps.txt", 2);
    addRow(state.ListView1, "s", "t", "", "vanishes.txt", 2);
    SyncCmd_Click(state, cb);
    EXPECT_EQ(state.FilesCopied, 2);

    QFile::remove(tree.path("s/vanishes.txt"));
    QFile::remove(tree.path("t/vanishes.txt"));
    SyncCmd_Click(state, cb);
    SyncCmd_Click(state, cb);

    // The rows stay listed and checked; the same file is copied again, the failure is
    // listed once, from the last run.
    EXPECT_EQ(state.ListView1.size(), 2);
    EXPECT_EQ(state.FilesCopied, 1);
    EXPECT_EQ(state.KBCopied, 2);
    EXPECT_EQ(state.ErrorCount, 1);
    ASSERT_EQ(state.ErrorsList.size(), 1);
    EXPECT_EQ(state.ErrorsList.rows()[0].fileName, "vanishes.txt");
    EXPECT_EQ(panelText(state, 3), "Errors : 1");
    EXPECT_EQ(panelText(state, 4), "1 of 2  Files copied");
}

TEST_F(SyncDriverTest, WithoutCallbacksBothDirectionsRun)
{
    addRow(state.ListView1, "s", "t", "", "a", 1);
    addRow(state.ListView2, "t", "s", "", "b", 1);
    SyncCmd_Click(state, Callbacks{});
    EXPECT_TRUE(exists("t/a"));
    EXPECT_TRUE(exists("s/b"));
    EXPECT_EQ(panelText(state, 1), "Ready  ");
}

} // namespace
