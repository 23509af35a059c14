#include "scan/scan_driver.h"
#include "sync/sync_driver.h"

#include "core/status_bar.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Scan, Synchronize, scan again: after a synchronization in both directions the two sides
// are equal and the second scan lists nothing.

namespace {

struct Side
{
    QString rel;
    qint64 size;
    qint64 mtime;
    mode_t mode = 0644;
};

struct RoundTrip
{
    const char* title;
    std::vector<Side> source;
    std::vector<Side> target;
};

void addFile(TempTree& tree, const QString& side, const Side& f)
{
    const QString path = tree.path(side + "/" + f.rel);
    tree.add({side + "/" + f.rel, f.size, f.mtime});
    if (f.size > 0 && f.size < (1 << 20)) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(int(f.size), char('a' + f.rel.size() % 26)));
        file.close();
    }
    ::chmod(QFile::encodeName(path).constData(), f.mode);
    TempTree::setMtime(path, f.mtime, 250'000'000);
}

// Relative path -> (size, mtime seconds and nanoseconds, mode) of every file below root.
std::map<QString, std::tuple<qint64, qint64, qint64, mode_t>> snapshot(const QString& root)
{
    std::map<QString, std::tuple<qint64, qint64, qint64, mode_t>> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st;
        ::stat(QFile::encodeName(path).constData(), &st);
        files[path.mid(root.size())] = {st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                                        st.st_mode};
    }
    return files;
}

class SyncRoundTripTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        cb = rec.callbacks();
        rec.toggles[1] = false;
    }
    void useProfile(const TempTree& tree)
    {
        state.ProfileList.append({tree.path("src"), tree.path("dst"), "*", ""});
    }

    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
};

TEST_F(SyncRoundTripTest, BothSidesEqualAfterwards)
{
    const std::vector<RoundTrip> cases = {
        {"new files in folders to be created, both ways",
         {{"a/b/c/deep.txt", 10, 1'600'000'000}, {"top.txt", 3000, 1'600'000'001, 0600}},
         {{"x/y/back.doc", 20, 1'600'000'002, 0755}}},
        {"newer sides overwrite older ones",
         {{"same.txt", 5, 1'700'000'000}, {"older here.txt", 5, 1'500'000'000}},
         {{"same.txt", 9, 1'600'000'000}, {"older here.txt", 7, 1'650'000'000, 0640}}},
        {"names with blanks and letters beyond ASCII",
         {{"Fotos 2024/Ünïcödé Straße.jpg", 40, 1'600'000'000},
          {"日本/ファイル.txt", 7, 1'600'000'000}},
         {{"Mit Leerzeichen/ä ö ü.txt", 4, 1'600'000'000}}},
        {"a sparse file above 2 GiB", {{"big/disk.img", (qint64(9) << 28) + 5, 1'600'000'000}}, {}},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.title);
        TempTree tree;
        tree.mkdir("src");
        tree.mkdir("dst");
        for (const Side& f : c.source)
            addFile(tree, "src", f);
        for (const Side& f : c.target)
            addFile(tree, "dst", f);
        AppState s;
        s.ProfileList.append({tree.path("src"), tree.path("dst"), "*", ""});

        ScanCmd_Click(s, cb);
        ASSERT_GT(s.ListView1.size() + s.ListView2.size(), 0);
        SyncCmd_Click(s, cb);
        EXPECT_EQ(s.ErrorCount, 0);
        for (const ErrorRow& e : s.ErrorsList.rows())
            ADD_FAILURE() << qPrintable(e.fileName + ": " + e.error);
        EXPECT_EQ(panelText(s, 1), "Ready  ");

        EXPECT_EQ(snapshot(tree.path("src")), snapshot(tree.path("dst")));
        ScanCmd_Click(s, cb);
        EXPECT_EQ(s.ListView1.size(), 0);
        EXPECT_EQ(s.ListView2.size(), 0);
    }
}

TEST_F(SyncRoundTripTest, DestinationEditedBetweenScanAndSynchronizeIsKept)
{
    TempTree tree;
    addFile(tree, "src", {"report.txt", 10, 1'700'000'000});
    addFile(tree, "dst", {"report.txt", 4, 1'600'000'000});
    useProfile(tree);

    ScanCmd_Click(state, cb);
    ASSERT_EQ(state.ListView1.size(), 1);
    QFile edited(tree.path("dst/report.txt"));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly | QIODevice::Append));
    edited.write("user's edit");
    edited.close();
    SyncCmd_Click(state, cb);

    ASSERT_EQ(state.ErrorsList.size(), 1);
    EXPECT_EQ(state.ErrorsList.rows()[0].error, "The destination changed after the scan");
    EXPECT_TRUE(TempTree::read(tree.path("dst/report.txt")).endsWith("user's edit"));
    EXPECT_EQ(panelText(state, 3), "Errors : 1");
    EXPECT_EQ(panelText(state, 4), "0 of 1  Files copied");
}

TEST_F(SyncRoundTripTest, UncheckedRowsStayDifferent)
{
    TempTree tree;
    addFile(tree, "src", {"keep.txt", 1, 1'600'000'000});
    addFile(tree, "src", {"skip.txt", 1, 1'600'000'000});
    useProfile(tree);
    ScanCmd_Click(state, cb);
    ASSERT_EQ(state.ListView1.size(), 2);
    for (int i = 0; i < state.ListView1.size(); ++i)
        state.ListView1.setChecked(i, state.ListView1.at(i).name == "keep.txt");
    SyncCmd_Click(state, cb);
    ScanCmd_Click(state, cb);
    ASSERT_EQ(state.ListView1.size(), 1);
    EXPECT_EQ(state.ListView1.at(0).name, "skip.txt");
}

} // namespace
