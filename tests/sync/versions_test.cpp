// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"
#include "profile/profile_file.h"
#include "support/cli_run.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"
#include "support/tmpfs_mount.h"
#include "sync/versions.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Nothing a synchronization replaces is lost: the old content is kept as a version below the
// root of its side, with its time and permission bits, and a version that cannot be kept
// replaces nothing. Old run folders go after the days kept; a version can be put back; files
// changed on both sides since the last synchronization are marked.

namespace {

const qint64 Old = 1'600'000'000, New = 1'700'000'000;

class VersionsTest : public ::testing::Test
{
protected:
    void SetUp() override { cb = rec.callbacks(); }
    void entry() { state.profileEntries.append({tree.path("s"), tree.path("t"), "*", ""}); }
    void run()
    {
        rec.scan(state, cb);
        rec.synchronize(state, cb);
    }
    // The versions kept below a root: "relative path=content" per version, oldest run first.
    QStringList kept(const QString& root) const
    {
        QStringList out;
        for (const KeptVersion& v : keptVersions(tree.path(root)))
            out << v.relativePath + "=" + TempTree::read(v.path);
        return out;
    }
    QStringList copyErrors() const { return ::copyErrors(state); }
    TempTree tree;
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
};

// Both directions replace: each side keeps what it lost, with its own time and bits; a second
// scan lists nothing (the versions folder is no part of the data) and the old versions stay.
// A version goes back in place and the file it replaced becomes a version; ketrano-cli lists
// them and restores the one of a run, or into another folder without replacing anything.
TEST_F(VersionsTest, AReplacedFileIsKeptWithItsTimeAndBitsAndCanBeRestored)
{
    TempTree::write(tree.path("s/d/a.txt"), "new a", New);
    TempTree::write(tree.path("t/d/a.txt"), "old a", Old, 0, 0640);
    TempTree::write(tree.path("s/deep/b.txt"), "old b", Old, 123, 0600);
    TempTree::write(tree.path("t/deep/b.txt"), "new b", New);
    entry();
    run();
    EXPECT_EQ(copyErrors(), QStringList());
    EXPECT_EQ(TempTree::read(tree.path("t/d/a.txt")), "new a");
    EXPECT_EQ(TempTree::read(tree.path("s/deep/b.txt")), "new b");
    EXPECT_EQ(kept("t"), QStringList{"d/a.txt=old a"});
    EXPECT_EQ(kept("s"), QStringList{"deep/b.txt=old b"});
    const KeptVersion b = keptVersions(tree.path("s")).at(0);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(b.path).constData(), &st), 0);
    EXPECT_EQ(std::tuple(qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec), st.st_mode & 07777),
              std::tuple(Old, qint64(123), mode_t(0600)));
    EXPECT_EQ(b.run, versionRunName(b.runTime));

    rec.scan(state, cb); // the versions folder is not listed, walked or copied
    EXPECT_EQ(state.sourceRows.size() + state.targetRows.size(), 0);
    EXPECT_FALSE(QFileInfo::exists(tree.path("t/.ketrano-versions/") + b.run + "/deep"));
    // Deeper folders of that name are data like any other.
    TempTree::write(tree.path("s/deep/.ketrano-versions/x"), "data", New);
    rec.scan(state, cb);
    EXPECT_EQ(state.sourceRows.size(), 1);

    const KeptVersion first = keptVersions(tree.path("t")).at(0);
    EXPECT_EQ(restoreVersion(first).text, QString());
    EXPECT_EQ(TempTree::read(tree.path("t/d/a.txt")), "old a");
    EXPECT_EQ(QFileInfo(tree.path("t/d/a.txt")).lastModified().toSecsSinceEpoch(), Old);
    const std::vector<KeptVersion> after = keptVersions(tree.path("t"));
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(TempTree::read(after.back().path), "new a"); // the file it replaced

    const QString profile = tree.path("p.prf");
    ASSERT_TRUE(ProfileFile::write(profile, {{tree.path("s"), tree.path("t"), "*", ""}}));
    const CliRun listed = runCli({"versions", profile, tree.path("t/d/a.txt"), "--json"});
    ASSERT_EQ(listed.status, 0) << qPrintable(listed.err);
    const QJsonArray versions = listed.json()["versions"].toArray();
    ASSERT_EQ(versions.size(), 2);
    EXPECT_EQ(versions[0]["path"].toString(), "d/a.txt");
    EXPECT_EQ(versions[0]["side"].toString(), "target");
    const CliRun back = runCli({"restore", profile, "d/a.txt", "--at", after.back().run});
    EXPECT_EQ(back.status, 0) << qPrintable(back.err);
    EXPECT_EQ(TempTree::read(tree.path("t/d/a.txt")), "new a");
    EXPECT_EQ(runCli({"restore", profile, "d/a.txt", "--to", tree.path("t/d")}).status, 1);
    EXPECT_EQ(runCli({"restore", profile, "d/a.txt", "--to", tree.path("elsewhere")}).status, 0);
    // The newest version now is the content the restore before replaced.
    EXPECT_EQ(TempTree::read(tree.path("elsewhere/a.txt")), "old a");
    EXPECT_EQ(runCli({"restore", profile, "d/none.txt"}).status, 2);
}

// A version that cannot be kept fails its row and replaces nothing: the versions folder
// cannot be made (a file in its place), the disk is full. With 0 days none is kept at all.
TEST_F(VersionsTest, NothingIsReplacedWithoutItsVersion)
{
    TempTree::write(tree.path("s/a.txt"), "new", New);
    TempTree::write(tree.path("t/a.txt"), "old", Old);
    TempTree::write(tree.path("t/.ketrano-versions"), "a file in the way", Old);
    entry();
    run();
    EXPECT_EQ(copyErrors(),
              QStringList{"Keeping the replaced file as a version failed: Not a directory"});
    EXPECT_EQ(state.errorRows.rows().back().kind, ErrorKind::VersionNotKept);
    EXPECT_EQ(TempTree::read(tree.path("t/a.txt")), "old");
    EXPECT_EQ(QDir(tree.path("t")).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temp

    QFile::remove(tree.path("t/.ketrano-versions"));
    Settings::writeKeepVersions(0);
    run();
    EXPECT_EQ(TempTree::read(tree.path("t/a.txt")), "new");
    EXPECT_FALSE(QFileInfo::exists(tree.path("t/.ketrano-versions")));
    Settings::writeKeepVersions(Settings::KeepVersionsDefault);

    // Room for the copy, none for the folder of its version.
    const TmpfsMount disk(tree.path("full"), "size=1m,nr_inodes=4");
    if (!disk.mounted())
        GTEST_SKIP() << "a full disk is not checked: mounting a tmpfs needs root and a machine "
                        "that allows it";
    TempTree::write(tree.path("full/a.txt"), "old", Old);
    state.profileEntries.clear();
    state.profileEntries.append({tree.path("s"), tree.path("full"), "*", ""});
    run();
    EXPECT_EQ(copyErrors(), QStringList{"Keeping the replaced file as a version failed: No space "
                                        "left on device"});
    EXPECT_EQ(TempTree::read(tree.path("full/a.txt")), "old");
}

// Run folders older than the days kept go from the roots a run wrote to; younger ones and
// folders that are not run folders stay.
TEST_F(VersionsTest, OldRunFoldersGoAfterTheDaysKept)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QString versions = tree.path("t/.ketrano-versions/");
    for (const auto& [name, age] :
         {std::pair(versionRunName(now - 40 * 86400), 40), {versionRunName(now - 29 * 86400), 29}})
        TempTree::write(versions + name + "/sub/f.txt", QByteArray::number(age), Old);
    TempTree::write(versions + "notes/x", "not a run", Old);
    EXPECT_EQ(removeOldVersions(tree.path("t"), 30, now), QStringList());
    EXPECT_EQ(kept("t"), QStringList{"sub/f.txt=29"});
    EXPECT_TRUE(QFileInfo::exists(versions + "notes/x"));
    EXPECT_EQ(removeOldVersions(tree.path("t"), 0, now), QStringList());
    EXPECT_EQ(kept("t"), QStringList());
    EXPECT_TRUE(QFileInfo::exists(versions + "notes/x"));
    // A synchronization clears the roots it writes to.
    TempTree::write(versions + versionRunName(now - 31 * 86400) + "/f.txt", "gone", Old);
    TempTree::write(tree.path("s/new.txt"), "n", New);
    entry();
    run();
    EXPECT_EQ(kept("t"), QStringList());
}

// A file edited on both sides after a synchronization is marked at the next scan (its newer
// side still wins); the first run of an entry marks nothing, and so does a file changed on one
// side only.
TEST_F(VersionsTest, ChangesOnBothSidesAreMarked)
{
    for (const QString name : {"both.txt", "one.txt", "touched.txt"}) {
        TempTree::write(tree.path("s/" + name), "s1", New);
        TempTree::write(tree.path("t/" + name), "t1", Old);
    }
    entry();
    rec.scan(state, cb);
    for (const ResultRow& r : state.sourceRows.rows())
        EXPECT_FALSE(r.changedOnBothSides) << qPrintable(r.name()); // the first run
    rec.synchronize(state, cb);
    QThread::sleep(1); // change times are compared with the end of the run in whole seconds

    const qint64 later = QDateTime::currentSecsSinceEpoch() + 100;
    TempTree::write(tree.path("t/both.txt"), "t2", later);
    TempTree::write(tree.path("s/both.txt"), "s2", later + 10);
    TempTree::write(tree.path("s/one.txt"), "s2", later + 10);
    // Content changed with an old time kept (cp -p): the change time tells.
    TempTree::write(tree.path("t/touched.txt"), "t2", Old);
    TempTree::write(tree.path("s/touched.txt"), "s2", later + 10);
    rec.scan(state, cb);
    QStringList marked;
    for (const ResultRow& r : state.sourceRows.rows())
        marked << r.name() + (r.changedOnBothSides ? "!" : "");
    marked.sort();
    EXPECT_EQ(marked, QStringList({"both.txt!", "one.txt", "touched.txt!"}));
    EXPECT_EQ(
        state.sourceRows.data(state.sourceRows.index(0, ResultListModel::Status), Qt::DisplayRole),
        "OverWrite");
}

} // namespace
