#include "results/list_commands.h"

#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Two folders holding files of the same names, like the two sides of a profile entry:
// ListView1's rows name files in src, ListView2's rows files in tgt.
struct Lists
{
    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb = rec.callbacks();

    // One row per name; a name starting with "-" is listed unchecked.
    void fill(ResultListModel& list, const QString& folder, const QStringList& names)
    {
        for (QString name : names) {
            const bool checked = !name.startsWith(QLatin1Char('-'));
            if (!checked)
                name.remove(0, 1);
            tree.add({folder + QLatin1Char('/') + name, 10});
            ResultRow row;
            row.name = name;
            row.sourceFolder = tree.path(folder);
            row.targetFolder = tree.path(folder == QLatin1String("src") ? "tgt" : "src");
            row.checked = checked;
            list.append(row);
        }
        list.flush();
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(tree.path(relative)); }
};

QString shown(const ResultListModel& list)
{
    QStringList out;
    for (const ResultRow& r : list.rows())
        out << (r.checked ? QString() : QStringLiteral("-")) + r.name;
    return out.join(QLatin1Char(' '));
}

TEST(CheckCommands, ActOnEveryRowOfTheActiveListOnly)
{
    struct Case
    {
        const char* name;
        void (*run)(AppState&);
        const char* after;
    } cases[] = {
        {"CheckAll", CheckAll_Click, "a b c d"},
        {"UnCheckAll", UnCheckAll_Click, "-a -b -c -d"},
        {"InvertChecking", InvertChecking_Click, "-a b -c d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lists t;
        t.fill(t.state.ListView1, "src", {"a", "-b", "c", "-d"});
        t.fill(t.state.ListView2, "tgt", {"a", "-b"});
        t.state.ActiveResultList = &t.state.ListView1;
        c.run(t.state);
        EXPECT_EQ(shown(t.state.ListView1), c.after);
        EXPECT_EQ(shown(t.state.ListView2), "a -b");
    }
}

TEST(CheckCommands, InvertTwiceRestoresAndCheckUnCheckFlipsTheSelectedRow)
{
    Lists t;
    t.fill(t.state.ListView2, "tgt", {"a", "-b", "c"});
    t.state.ActiveResultList = &t.state.ListView2;
    InvertChecking_Click(t.state);
    InvertChecking_Click(t.state);
    EXPECT_EQ(shown(t.state.ListView2), "a -b c");
    CheckUnCheckFile_Click(t.state, 1);
    EXPECT_EQ(shown(t.state.ListView2), "a b c");
    CheckUnCheckFile_Click(t.state, 2);
    EXPECT_EQ(shown(t.state.ListView2), "a b -c");
    for (int none : {-1, 3})
        CheckUnCheckFile_Click(t.state, none);
    EXPECT_EQ(shown(t.state.ListView2), "a b -c");
}

TEST(ListCommands, WithoutActiveListOrWhileRunningNothingChanges)
{
    for (Running running : {Running::Idle, Running::Scan, Running::Sync}) {
        Lists t;
        t.fill(t.state.ListView1, "src", {"a", "-b"});
        t.state.running = running;
        if (running != Running::Idle)
            t.state.ActiveResultList = &t.state.ListView1;
        t.rec.answers = {true, true, true};
        CheckAll_Click(t.state);
        UnCheckAll_Click(t.state);
        InvertChecking_Click(t.state);
        CheckUnCheckFile_Click(t.state, 0);
        DeleteFile_Click(t.state, t.cb, 0);
        DeleteChecked_Click(t.state, t.cb);
        DeleteUnchecked_Click(t.state, t.cb);
        EXPECT_EQ(shown(t.state.ListView1), "a -b");
        EXPECT_TRUE(t.exists("src/a") && t.exists("src/b"));
        // Without an active list the two bulk deletes still ask; while running nothing asks.
        const QStringList asked =
            running == Running::Idle
                ? QStringList{"Permenantly Delete All Checked Files From Disk",
                              "Permenantly Delete All UnChecked Files From Disk"}
                : QStringList{};
        EXPECT_EQ(t.rec.questions, asked);
    }
}

TEST(DeleteFile, AsksAndDeletesTheFileOfTheRowsSourceFolder)
{
    Lists t;
    t.fill(t.state.ListView1, "src", {"a", "b"});
    t.fill(t.state.ListView2, "tgt", {"a", "b", "c"});
    t.state.ActiveResultList = &t.state.ListView2;
    t.state.SourceFileCount = 2;
    t.state.TargetFileCount = 3;

    t.rec.answers = {false};
    DeleteFile_Click(t.state, t.cb, 1);
    ASSERT_EQ(t.rec.questions.size(), 1);
    EXPECT_EQ(t.rec.questions[0], "Permenantly Delete [b] from  [" + t.tree.path("tgt") + "]");
    EXPECT_EQ(shown(t.state.ListView2), "a b c");
    EXPECT_TRUE(t.exists("tgt/b"));

    t.rec.answers = {true};
    DeleteFile_Click(t.state, t.cb, 1);
    EXPECT_EQ(shown(t.state.ListView2), "a c");
    EXPECT_FALSE(t.exists("tgt/b"));
    EXPECT_TRUE(t.exists("src/b"));
    EXPECT_EQ(shown(t.state.ListView1), "a b");
    EXPECT_EQ(t.state.SourceFileCount, 2);
    EXPECT_EQ(t.state.TargetFileCount, 3);

    // No selected row, or an empty list: no question.
    DeleteFile_Click(t.state, t.cb, -1);
    t.state.ListView2.clear();
    DeleteFile_Click(t.state, t.cb, 0);
    EXPECT_EQ(t.rec.questions.size(), 2);
}

TEST(DeleteFile, KeepsTheRowOfAFileThatIsStillThereAndDropsOneAlreadyGone)
{
    Lists t;
    t.fill(t.state.ListView1, "src", {"gone", "stuck"});
    // unlink cannot remove a folder, not even as root.
    QFile::remove(t.tree.path("src/stuck"));
    t.tree.add({"src/stuck/inner", 1});
    QFile::remove(t.tree.path("src/gone"));
    t.state.ActiveResultList = &t.state.ListView1;
    t.rec.answers = {true, true};
    DeleteFile_Click(t.state, t.cb, 1);
    EXPECT_EQ(shown(t.state.ListView1), "gone stuck");
    EXPECT_TRUE(t.exists("src/stuck/inner"));
    DeleteFile_Click(t.state, t.cb, 0);
    EXPECT_EQ(shown(t.state.ListView1), "stuck");
}

TEST(DeleteChecked, DeletesTheCheckedOrUncheckedRowsFiles)
{
    struct Case
    {
        bool checked;
        bool answer;
        const char* question;
        const char* rowsAfter;
        QStringList filesLeft;
    } cases[] = {
        {true,
         true,
         "Permenantly Delete All Checked Files From Disk",
         "-b -d stuck",
         {"b", "d", "stuck"}},
        {true,
         false,
         "Permenantly Delete All Checked Files From Disk",
         "a -b c -d stuck",
         {"a", "b", "c", "d", "stuck"}},
        {false,
         true,
         "Permenantly Delete All UnChecked Files From Disk",
         "a c stuck",
         {"a", "c", "stuck"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        Lists t;
        t.fill(t.state.ListView1, "src", {"a", "-b", "c", "-d", "stuck"});
        t.fill(t.state.ListView2, "tgt", {"a", "-b", "c", "-d"});
        // A checked row whose "file" is a folder: it cannot be deleted and stays listed.
        QFile::remove(t.tree.path("src/stuck"));
        t.tree.add({"src/stuck/inner", 1});
        t.state.ActiveResultList = &t.state.ListView1;
        t.rec.answers = {c.answer};
        if (c.checked)
            DeleteChecked_Click(t.state, t.cb);
        else
            DeleteUnchecked_Click(t.state, t.cb);
        EXPECT_EQ(t.rec.questions, QStringList{c.question});
        EXPECT_EQ(shown(t.state.ListView1), c.rowsAfter);
        for (const char* name : {"a", "b", "c", "d", "stuck"})
            EXPECT_EQ(t.exists(QStringLiteral("src/") + name), c.filesLeft.contains(name)) << name;
        EXPECT_EQ(shown(t.state.ListView2), "a -b c -d");
        for (const char* name : {"a", "b", "c", "d"})
            EXPECT_TRUE(t.exists(QStringLiteral("tgt/") + name));
    }
}

TEST(DeleteChecked, DropsTheRowOfACheckedFileThatWasAlreadyGone)
{
    Lists t;
    t.fill(t.state.ListView1, "src", {"a", "gone", "-b"});
    QFile::remove(t.tree.path("src/gone"));
    t.state.ActiveResultList = &t.state.ListView1;
    t.rec.answers = {false, true};
    DeleteUnchecked_Click(t.state, t.cb);
    EXPECT_EQ(shown(t.state.ListView1), "a gone -b");
    DeleteChecked_Click(t.state, t.cb);
    EXPECT_EQ(shown(t.state.ListView1), "-b");
}

} // namespace
