#include "sync/copy_engine.h"

#include "core/status_bar.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

class CopyEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cb = rec.callbacks();
    }

    QString src(const QString& rel = {}) const { return tree.path("src" + rel); }
    QString dst(const QString& rel = {}) const { return tree.path("dst" + rel); }

    // A source file and its row in ListView1, to be copied into dst + folder.
    void addRow(const QString& folder, const QString& name, qint64 sizeKB, bool checked = true,
                const QByteArray& data = "data")
    {
        const QString from = src(folder);
        QDir().mkpath(from);
        QFile f(from + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        ResultRow row;
        row.name = name;
        row.sourceFolder = from;
        row.targetFolder = dst(folder);
        row.sizeKB = sizeKB;
        row.sizeBytes = data.size();
        row.checked = checked;
        state.ListView1.append(row);
    }

    QStringList panelsSince(int from) const { return rec.panelLog.mid(from); }

    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
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
    EXPECT_FALSE(QFileInfo::exists(t.path("file/sub")));
    MakeFolderPath(QString());
}

TEST_F(CopyEngineTest, CountsAndShowsEveryRowCheckedOrNot)
{
    state.SourceFileCount = 4;
    state.TargetFileCount = 13;
    setProgressRange(state, cb, 0, 5000);
    addRow("/one", "a.txt", 1234);
    addRow("/two", "skipped.txt", 7, false);
    addRow("/one", "tiny.txt", 0);
    const int before = rec.panelLog.size();

    CopyCheckedFiles(state, cb, state.ListView1);

    EXPECT_EQ(panelsSince(before),
              (QStringList{"4:1 of 17", "5:1,234 KB Copied", "2:a.txt", "3:Errors : 0", "4:1 of 17",
                           "5:1,234 KB Copied", "2:skipped.txt", "3:Errors : 0", "4:2 of 17",
                           "5:1,234 KB Copied", "2:tiny.txt", "3:Errors : 0"}));
    EXPECT_EQ(state.FilesCopied, 2);
    EXPECT_EQ(state.KBCopied, 1234);
    EXPECT_EQ(state.ErrorCount, 0);
    EXPECT_EQ(state.status.progressValue, 1234);
    EXPECT_TRUE(QFileInfo::exists(dst("/one/a.txt")));
    EXPECT_TRUE(QFileInfo::exists(dst("/one/tiny.txt")));
    // An unchecked row's folder is made all the same; its file is not copied.
    EXPECT_TRUE(QFileInfo(dst("/two")).isDir());
    EXPECT_FALSE(QFileInfo::exists(dst("/two/skipped.txt")));
}

TEST_F(CopyEngineTest, CountersOnlyRise)
{
    state.FilesCopied = 10;
    state.KBCopied = 100;
    state.ErrorCount = 3;
    addRow("", "a", 5);
    CopyCheckedFiles(state, cb, state.ListView1);
    EXPECT_EQ(state.FilesCopied, 11);
    EXPECT_EQ(state.KBCopied, 105);
    EXPECT_EQ(state.ErrorCount, 3);
}

TEST_F(CopyEngineTest, ProgressAboveTheMaximumIsIgnored)
{
    setProgressRange(state, cb, 0, 10);
    addRow("", "first", 6);
    addRow("", "second", 6);
    CopyCheckedFiles(state, cb, state.ListView1);
    EXPECT_EQ(state.KBCopied, 12);
    EXPECT_EQ(state.status.progressValue, 6);
}

TEST_F(CopyEngineTest, FailedCopiesBecomeErrorRowsAndDoNotYield)
{
    state.SourceFileCount = 2;
    addRow("/d", "gone.txt", 3);
    addRow("/d", "gone too.txt", 4);
    QFile::remove(src("/d/gone.txt"));
    QFile::remove(src("/d/gone too.txt"));

    CopyCheckedFiles(state, cb, state.ListView1);

    EXPECT_EQ(state.ErrorCount, 2);
    EXPECT_EQ(state.FilesCopied, 0);
    EXPECT_EQ(state.KBCopied, 0);
    EXPECT_EQ(rec.yields, 0);
    ASSERT_EQ(state.ErrorsList.size(), 2);
    const ErrorRow& e = state.ErrorsList.rows()[1];
    EXPECT_EQ(e.fileName, "gone too.txt");
    EXPECT_EQ(e.source, src("/d"));
    EXPECT_EQ(e.target, dst("/d"));
    EXPECT_EQ(e.error, "Reading the source failed: No such file or directory");
    EXPECT_EQ(rec.panelLog.last(), "3:Errors : 2");
    EXPECT_EQ(rec.panelLog.at(rec.panelLog.size() - 4), "4:0 of 2");
}

TEST_F(CopyEngineTest, FolderThatCannotBeMadeFailsEachOfItsRows)
{
    QDir().mkpath(dst());
    QFile blocker(dst("/blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    addRow("/blocked/inner", "one", 1);
    addRow("/blocked/inner", "two", 1);
    addRow("/fine", "three", 1);

    CopyCheckedFiles(state, cb, state.ListView1);

    EXPECT_EQ(state.ErrorCount, 2);
    EXPECT_EQ(state.FilesCopied, 1);
    ASSERT_EQ(state.ErrorsList.size(), 2);
    EXPECT_EQ(state.ErrorsList.rows()[0].error,
              "Opening the destination folder failed: Not a directory");
    EXPECT_TRUE(QFileInfo(dst("/blocked")).isFile());
}

TEST_F(CopyEngineTest, EmptyListDoesNothing)
{
    CopyCheckedFiles(state, cb, state.ListView1);
    EXPECT_TRUE(rec.panelLog.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dst()));
}

// Cancel is noticed only at the top of a row: the copy whose yield saw the request is
// counted, the rows after it are not visited, and a second list still gets its folders.
TEST_F(CopyEngineTest, CancelStopsBeforeTheNextRowAfterTheCopyInProgress)
{
    for (const char* name : {"1", "2", "3", "4", "5"})
        addRow("/s", name, 1);
    int turns = 0;
    cb.yield = [&] {
        state.lastYield.invalidate(); // every copy's turn reaches the window
        if (++turns == 3)
            state.CancelRequested = true;
    };

    CopyCheckedFiles(state, cb, state.ListView1);

    EXPECT_EQ(state.FilesCopied, 3);
    // Nothing of what was copied ahead of the stop is left, not even a temporary file.
    EXPECT_EQ(QDir(dst("/s")).entryList(QDir::Files | QDir::Hidden), QStringList({"1", "2", "3"}));
    EXPECT_EQ(panelText(state, 2), "3");

    ResultRow back;
    back.name = "b";
    back.sourceFolder = dst("/s");
    back.targetFolder = src("/back/here");
    state.ListView2.append(back);
    const int before = rec.panelLog.size();
    CopyCheckedFiles(state, cb, state.ListView2);
    EXPECT_TRUE(QFileInfo(src("/back/here")).isDir());
    EXPECT_EQ(rec.panelLog.size(), before);
    EXPECT_EQ(state.FilesCopied, 3);
}

} // namespace
