#include "scan/enumeration.h"

#include "scan/test_print.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList paths(const FileList& list)
{
    QStringList out;
    for (const FileLine& l : list)
        out << l.relativePath();
    return out;
}

struct WalkCase
{
    const char* title;
    QStringList files;   // created empty
    QStringList folders; // created empty
    QString pattern;
    QStringList expected; // relative paths in walk order
};

class Walk : public testing::TestWithParam<WalkCase>
{
};

TEST_P(Walk, ListsMatchingFilesInWalkOrder)
{
    const WalkCase& c = GetParam();
    TempTree tree;
    for (const QString& f : c.files)
        tree.add({f});
    for (const QString& d : c.folders)
        tree.mkdir(d);
    AppState state;
    RecordingCallbacks rec;
    FileList list;
    ListFiles(state, rec.callbacks(), tree.root(), list, c.pattern);
    EXPECT_EQ(paths(list), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Walk,
    testing::Values(
        WalkCase{"files before subfolders, names ignoring case",
                 {"b.txt", "A.txt", "sub/z.txt", "Sub2/y.txt", "c.txt", "sub/deeper/x.txt"},
                 {},
                 "*.*",
                 {"A.txt", "b.txt", "c.txt", "sub/z.txt", "sub/deeper/x.txt", "Sub2/y.txt"}},
        WalkCase{"names that differ only in case: byte order",
                 {"xt_dscp.h", "xt_DSCP.h", "XT_dscp.h"},
                 {},
                 "*.*",
                 {"XT_dscp.h", "xt_DSCP.h", "xt_dscp.h"}},
        WalkCase{"pattern matches names, walks every folder",
                 {"a.txt", "b.doc", "sub/b.TXT", "x.txt/inner.txt", "x.txt/inner.doc"},
                 {"empty.txt"},
                 "*.txt",
                 {"a.txt", "sub/b.TXT", "x.txt/inner.txt"}},
        WalkCase{"*. lists names without a dot",
                 {"README", "a.txt", "sub/Makefile", "sub/b.c"},
                 {},
                 "*.",
                 {"README", "sub/Makefile"}},
        WalkCase{
            "hidden files are listed", {".hidden", ".conf/x"}, {}, "*.*", {".hidden", ".conf/x"}},
        WalkCase{"empty tree", {}, {"a", "b/c"}, "*.*", {}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::to_string(info.index); });

TEST(WalkRoot, TrailingSlashMissingAndEmptyRoots)
{
    TempTree tree;
    tree.add({{"f.txt"}, {"sub/g.txt"}});
    AppState state;
    RecordingCallbacks rec;
    FileList plain, slash, missing, empty;
    ListFiles(state, rec.callbacks(), tree.root(), plain, "*.*");
    ListFiles(state, rec.callbacks(), tree.root() + "/", slash, "*.*");
    ListFiles(state, rec.callbacks(), tree.path("nope"), missing, "*.*");
    ListFiles(state, rec.callbacks(), tree.path("f.txt"), missing, "*.*"); // a file, not a folder
    ListFiles(state, rec.callbacks(), QString(), empty, "*.*");
    EXPECT_EQ(paths(plain), (QStringList{"f.txt", "sub/g.txt"}));
    EXPECT_EQ(paths(slash), paths(plain));
    EXPECT_TRUE(missing.empty());
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST(WalkRoot, AppendsToTheList)
{
    TempTree tree;
    tree.add({"a.txt"});
    AppState state;
    RecordingCallbacks rec;
    FileList list;
    ListFiles(state, rec.callbacks(), tree.root(), list, "*.txt");
    ListFiles(state, rec.callbacks(), tree.root(), list, "*.txt");
    EXPECT_EQ(paths(list), (QStringList{"a.txt", "a.txt"}));
}

TEST(WalkFields, TimeAndSizeIncludingFilesAbove2GiB)
{
    TempTree tree;
    tree.add({{"zero", 0, 1'000'000'000},
              {"two-gib", 2'147'483'648LL, 1'100'000'000},
              {"big", 5'000'000'000LL, -5}});
    TempTree::setMtime(tree.path("zero"), 1'000'000'000, 123'456'789);
    AppState state;
    RecordingCallbacks rec;
    FileList list;
    ListFiles(state, rec.callbacks(), tree.root(), list, "*.*");
    ASSERT_EQ(paths(list), (QStringList{"big", "two-gib", "zero"}));
    EXPECT_EQ(list[0].size, 5'000'000'000LL);
    EXPECT_EQ(list[0].modified, -5);
    EXPECT_EQ(list[1].size, 2'147'483'648LL);
    EXPECT_EQ(list[1].modified, 1'100'000'000);
    EXPECT_EQ(list[2].size, 0);
    EXPECT_EQ(list[2].modified, 1'000'000'000);
    EXPECT_EQ(list[2].modifiedNs, 123'456'789);
}

TEST(WalkLinks, FollowsLinksSkipsSpecialFilesAndLoops)
{
    TempTree tree;
    TempTree outside;
    tree.add({{"data/a.txt", 10, 2'000}, {"data/sub/b.txt"}});
    outside.add({"elsewhere/e.txt", 7, 3'000});
    const auto link = [](const QString& target, const QString& at) {
        ASSERT_EQ(::symlink(target.toUtf8().constData(), at.toUtf8().constData()), 0);
    };
    link(tree.path("data/a.txt"), tree.path("data/link.txt"));       // file link: listed
    link(tree.path("data/missing"), tree.path("data/dangling.txt")); // dangling: ignored
    link(outside.path("elsewhere"), tree.path("data/linked"));       // folder link: walked
    link(tree.path("data"), tree.path("data/sub/loop"));             // back up: not entered
    link(".", tree.path("data/self"));                               // itself: not entered
    ASSERT_EQ(::mkfifo(tree.path("data/pipe.txt").toUtf8().constData(), 0600), 0);
    AppState state;
    RecordingCallbacks rec;
    FileList list;
    ListFiles(state, rec.callbacks(), tree.path("data"), list, "*.*");
    EXPECT_EQ(paths(list), (QStringList{"a.txt", "link.txt", "linked/e.txt", "sub/b.txt"}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].size, 10); // the link's target's size and time
    EXPECT_EQ(list[1].modified, 2'000);
    EXPECT_EQ(list[2].modified, 3'000);
}

TEST(WalkLinks, SameFolderTwiceSideBySideIsWalkedTwice)
{
    TempTree tree;
    tree.add({"real/f"});
    ASSERT_EQ(::symlink("real", tree.path("alias").toUtf8().constData()), 0);
    AppState state;
    RecordingCallbacks rec;
    FileList list;
    ListFiles(state, rec.callbacks(), tree.root(), list, "*.*");
    EXPECT_EQ(paths(list), (QStringList{"alias/f", "real/f"}));
}

// Callbacks whose yield is never throttled and sets the stop flag at yield number 'stopAt'.
Callbacks stopAtYield(AppState& state, RecordingCallbacks& rec, int stopAt)
{
    Callbacks cb = rec.callbacks();
    cb.yield = [&state, &rec, stopAt] {
        state.lastYield.invalidate();
        if (++rec.yields == stopAt)
            state.CancelRequested = true;
    };
    return cb;
}

TEST(WalkStop, AStopListsTheFilesOfCollectedFoldersOnly)
{
    TempTree tree;
    tree.add({{"a1"}, {"b/b1"}, {"b/c/c1"}, {"b/c/d/d1"}, {"e/e1"}, {"e/f/f1"}, {"z1"}});
    struct Case
    {
        int stopAt; // 0: set before the walk
        QStringList expected;
        bool cut;
    };
    const Case cases[] = {
        // the root still lists its files, no folder is collected
        {0, {"a1", "z1"}, true},
        {1, {"a1", "z1"}, true},
        // yields 1-4 look at a1, b, e, z1; yield 5 at b1, then c is not collected; e was
        // collected already, its files are listed but its subfolder f is not
        {5, {"a1", "z1", "b/b1", "e/e1"}, true},
        // yields 5-6 at b1, c; 7 at c1, then d is not collected
        {7, {"a1", "z1", "b/b1", "b/c/c1", "e/e1"}, true},
        // yield 8 comes after d was checked: d is walked, its pass ends at d1
        {8, {"a1", "z1", "b/b1", "b/c/c1", "b/c/d/d1", "e/e1"}, true},
        {100, {"a1", "z1", "b/b1", "b/c/c1", "b/c/d/d1", "e/e1", "e/f/f1"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stopAt);
        AppState state;
        state.CancelRequested = c.stopAt == 0;
        RecordingCallbacks rec;
        std::vector<FileList> lists;
        EXPECT_EQ(ListFiles(state, stopAtYield(state, rec, c.stopAt), tree.root(),
                            QStringList{"*.*"}, lists),
                  c.cut);
        EXPECT_EQ(paths(lists.at(0)), c.expected);
    }
}

TEST(EnumerateEntry, PatternByPatternSourceAndTarget)
{
    TempTree source;
    TempTree target;
    source.add({{"a.txt"}, {"b.doc"}, {"sub/c.txt"}, {"sub/d.doc"}, {"e.TXT"}});
    target.add({{"t.txt"}, {"sub/u.doc"}});
    AppState state;
    RecordingCallbacks rec;
    FileList one, two;
    enumerateEntry(state, rec.callbacks(), source.root(), target.root(),
                   {"*.txt", "*.doc", "*.txt"}, one, two);
    EXPECT_EQ(paths(one), (QStringList{"a.txt", "e.TXT", "sub/c.txt", "b.doc", "sub/d.doc", "a.txt",
                                       "e.TXT", "sub/c.txt"}));
    EXPECT_EQ(paths(two), (QStringList{"t.txt", "sub/u.doc", "t.txt"}));
}

TEST(EnumerateEntry, AfterAStopLaterWalksListTheirRootFilesOnly)
{
    TempTree source;
    TempTree target;
    source.add({{"a.txt"}, {"sub/c.txt"}});
    target.add({{"t.txt"}, {"sub/u.txt"}});
    AppState state;
    state.CancelRequested = true;
    RecordingCallbacks rec;
    FileList one, two;
    enumerateEntry(state, rec.callbacks(), source.root(), target.root(), {"*.txt", "*.*"}, one,
                   two);
    EXPECT_EQ(paths(one), (QStringList{"a.txt", "a.txt"}));
    EXPECT_EQ(paths(two), (QStringList{"t.txt", "t.txt"}));
}

} // namespace
