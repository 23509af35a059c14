#include "scan/compare_sides.h"

#include "scan/path_text.h"
#include "scan/test_print.h"
#include "support/recording_callbacks.h"

#include <gtest/gtest.h>

namespace {

TEST(PathText, FolderFileNameAndJoining)
{
    struct Case
    {
        QString root, relative, joined, folder, name;
    };
    const Case cases[] = {
        {"/data", "f.txt", "/data/f.txt", "/data", "f.txt"},
        {"/data/", "f.txt", "/data/f.txt", "/data", "f.txt"},
        {"/data", "sub/f.txt", "/data/sub/f.txt", "/data/sub", "f.txt"},
        {"/", "f.txt", "/f.txt", "", "f.txt"}, // Source "" + "/" + Name is the path again
        {"/", "sub/f.txt", "/sub/f.txt", "/sub", "f.txt"},
        {"rel", "f", "rel/f", "rel", "f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.root + " + " + c.relative).toStdString());
        const QString joined = joinPath(c.root, c.relative);
        EXPECT_EQ(joined, c.joined);
        EXPECT_EQ(FolderOf(joined), c.folder);
        EXPECT_EQ(FileNameOf(joined), c.name);
        const QString relativeFolder = FolderOf(c.relative);
        EXPECT_EQ(absoluteFolder(c.root, relativeFolder), c.folder);
    }
    EXPECT_EQ(FolderOf("name"), "");
    EXPECT_EQ(FileNameOf("name"), "name");
}

FileLine line(const QString& path, qint64 modified, qint64 size = 0)
{
    return {FolderOf(path), FileNameOf(path), modified, 0, size};
}

// "name|source|target|status|modified|sizeKB" of every row of a list.
QStringList rows(const ResultListModel& list)
{
    QStringList out;
    for (const ResultRow& r : list.rows())
        out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                   .arg(r.name, r.sourceFolder, r.targetFolder, r.statusText())
                   .arg(r.modified)
                   .arg(r.sizeKB);
    return out;
}

struct Compared
{
    AppState state;
    SideTable source;
    SideTable target;
};

// Both passes over the two sides with roots /S and /T, as the scan runs them.
void compare(Compared& c, const Callbacks& cb, FileList sourceLines, FileList targetLines)
{
    buildSideTable(c.state, cb, sourceLines, c.source);
    buildSideTable(c.state, cb, targetLines, c.target);
    AppState& s = c.state;
    ComparePass first{
        c.source, c.target,          s.ListView1,    s.ListView2,       "/S",
        "/T",     s.SourceFileCount, s.SourceSizeKB, s.TargetFileCount, s.TargetSizeKB};
    CompareSides(s, cb, first);
    ComparePass second{
        c.target, c.source,          s.ListView2,    s.ListView1,       "/T",
        "/S",     s.TargetFileCount, s.TargetSizeKB, s.SourceFileCount, s.SourceSizeKB};
    CompareSides(s, cb, second);
}

struct PairCase
{
    const char* title;
    FileList source;
    FileList target;
    QStringList list1;
    QStringList list2;
};

void PrintTo(const PairCase& c, std::ostream* os)
{
    *os << c.title;
}

class Pairing : public testing::TestWithParam<PairCase>
{
};

TEST_P(Pairing, RowsOfBothLists)
{
    const PairCase& p = GetParam();
    Compared c;
    RecordingCallbacks rec;
    compare(c, rec.callbacks(), p.source, p.target);
    EXPECT_EQ(rows(c.state.ListView1), p.list1);
    EXPECT_EQ(rows(c.state.ListView2), p.list2);
    EXPECT_EQ(c.state.SourceFileCount, p.list1.size());
    EXPECT_EQ(c.state.TargetFileCount, p.list2.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Pairing,
    testing::Values(
        PairCase{"equal times, other size: nothing",
                 {line("a.txt", 100, 10)},
                 {line("a.txt", 100, 99999)},
                 {},
                 {}},
        PairCase{"source newer, names differ in case",
                 {line("a.txt", 101)},
                 {line("A.TXT", 100)},
                 {"a.txt|/S|/T|OverWrite|101|0"},
                 {}},
        PairCase{"target newer in a subfolder: the target's spelling, the source's folder",
                 {line("SUB/B.DOC", 100)},
                 {line("sub/b.doc", 105)},
                 {},
                 {"b.doc|/T/sub|/S/SUB|OverWrite|105|0"}},
        PairCase{"one-sided files on both sides",
                 {line("x/new.txt", 1), line("same", 5)},
                 {line("same", 5), line("only/t.txt", 2)},
                 {"new.txt|/S/x|/T/x|New File|1|0"},
                 {"t.txt|/T/only|/S/only|New File|2|0"}},
        PairCase{"newer target rows first in source order, then target-only rows in target order",
                 {line("b", 1), line("a", 1)},
                 {line("new2", 1), line("a", 2), line("new1", 1), line("b", 2)},
                 {},
                 {"b|/T|/S|OverWrite|2|0", "a|/T|/S|OverWrite|2|0", "new2|/T|/S|New File|1|0",
                  "new1|/T|/S|New File|1|0"}},
        PairCase{"duplicates pair with the next unmatched occurrence",
                 {line("d.txt", 3), line("D.TXT", 1), line("d.txt", 7)},
                 {line("d.txt", 2), line("d.txt", 2)},
                 {"d.txt|/S|/T|OverWrite|3|0", "d.txt|/S|/T|New File|7|0"},
                 {"d.txt|/T|/S|OverWrite|2|0"}},
        PairCase{"one second decides; the size rounds half away from zero",
                 {line("k511", 11, 511), line("k512", 11, 512), line("k1536", 11, 1536),
                  line("k1500000", 11, 1'500'000), line("big", 11, 3'000'000'000LL)},
                 {line("k511", 10), line("k512", 10), line("k1536", 10), line("k1500000", 10),
                  line("big", 12)},
                 {"k511|/S|/T|OverWrite|11|0", "k512|/S|/T|OverWrite|11|1",
                  "k1536|/S|/T|OverWrite|11|2", "k1500000|/S|/T|OverWrite|11|1465"},
                 {"big|/T|/S|OverWrite|12|0"}}),
    [](const testing::TestParamInfo<PairCase>& info) { return std::to_string(info.index); });

TEST(CompareSides, CountersDestinationAndIcons)
{
    Compared c;
    RecordingCallbacks rec;
    rec.toggles[1] = false;
    compare(c, rec.callbacks(), {line("a", 20, 1536), line("n", 5, 3'000'000'000LL)},
            {FileLine{"", "a", 10, 77, 99}, line("t", 1, 2048)});
    ASSERT_EQ(c.state.ListView1.size(), 2);
    const ResultRow& over = c.state.ListView1.at(0);
    EXPECT_TRUE(over.destExists);
    EXPECT_EQ(over.destModified, 10);
    EXPECT_EQ(over.destModifiedNs, 77);
    EXPECT_EQ(over.destSizeBytes, 99);
    EXPECT_EQ(over.sizeBytes, 1536);
    EXPECT_TRUE(over.checked);
    EXPECT_FALSE(over.hasIcon);
    const ResultRow& fresh = c.state.ListView1.at(1);
    EXPECT_FALSE(fresh.destExists);
    EXPECT_EQ(fresh.sizeKB, 2'929'688); // 64-bit sizes: 3,000,000,000 / 1024
    EXPECT_EQ(c.state.SourceFileCount, 2);
    EXPECT_EQ(c.state.SourceSizeKB, 2 + 2'929'688);
    EXPECT_EQ(c.state.TargetFileCount, 1);
    EXPECT_EQ(c.state.TargetSizeKB, 2);

    // Rows added while "Show Icons " is pressed show icons.
    Compared d;
    rec.toggles[1] = true;
    compare(d, rec.callbacks(), {line("x", 1)}, {});
    EXPECT_TRUE(d.state.ListView1.at(0).hasIcon);
}

TEST(CompareSides, StopRequest)
{
    // Set before: nothing happens.
    Compared before;
    before.state.CancelRequested = true;
    RecordingCallbacks rec;
    compare(before, rec.callbacks(), {line("a", 1)}, {line("b", 1)});
    EXPECT_EQ(before.state.ListView1.size() + before.state.ListView2.size(), 0);

    // Set at a yield during the first pass: rows added so far stay and are counted.
    Compared during;
    Callbacks cb = rec.callbacks();
    int yields = 0;
    cb.yield = [&] {
        during.state.lastYield.invalidate();
        // yields 1 and 2 are around row "a"; yield 3 comes before row "b"
        if (++yields == 3)
            during.state.CancelRequested = true;
    };
    FileList source{line("a", 1), line("b", 1), line("c", 1)};
    buildSideTable(during.state, rec.callbacks(), source, during.source);
    FileList target{line("z", 1)};
    buildSideTable(during.state, rec.callbacks(), target, during.target);
    AppState& s = during.state;
    ComparePass pass{
        during.source, during.target,     s.ListView1,    s.ListView2,       "/S",
        "/T",          s.SourceFileCount, s.SourceSizeKB, s.TargetFileCount, s.TargetSizeKB};
    s.lastYield.invalidate();
    CompareSides(s, cb, pass);
    EXPECT_EQ(rows(s.ListView1), QStringList{"a|/S|/T|New File|1|0"});
    EXPECT_EQ(s.SourceFileCount, 1);
}

TEST(CompareSides, RootFolderOfTheFileSystem)
{
    AppState s;
    RecordingCallbacks rec;
    const Callbacks cb = rec.callbacks();
    FileList rootLines{line("f.txt", 2), line("sub/g.txt", 2)};
    FileList otherLines{line("F.TXT", 1)};
    SideTable root, other;
    buildSideTable(s, cb, rootLines, root);
    buildSideTable(s, cb, otherLines, other);
    ComparePass pass{root,
                     other,
                     s.ListView1,
                     s.ListView2,
                     "/",
                     "/backup/",
                     s.SourceFileCount,
                     s.SourceSizeKB,
                     s.TargetFileCount,
                     s.TargetSizeKB};
    CompareSides(s, cb, pass);
    // Source "" + "/" + Name gives "/f.txt" back; the other root's trailing "/" is not doubled.
    EXPECT_EQ(rows(s.ListView1),
              (QStringList{"f.txt||/backup|OverWrite|2|0", "g.txt|/sub|/backup/sub|New File|2|0"}));
    EXPECT_EQ(s.ListView1.at(0).sourcePath(), "/f.txt");
}

TEST(CompareSides, CountersKeepTheirValueInsteadOfOverflowing)
{
    qint64 counter = std::numeric_limits<qint64>::max() - 1;
    addToCounter(counter, 1);
    EXPECT_EQ(counter, std::numeric_limits<qint64>::max());
    addToCounter(counter, 5);
    EXPECT_EQ(counter, std::numeric_limits<qint64>::max());
}

TEST(CompareSides, RowsOfOneFolderShareTheFolderStrings)
{
    Compared c;
    RecordingCallbacks rec;
    const QString sub = "sub"; // as the walk gives them: one string per folder
    compare(c, rec.callbacks(), {FileLine{sub, "a", 1, 0, 0}, FileLine{sub, "b", 1, 0, 0}}, {});
    ASSERT_EQ(c.state.ListView1.size(), 2);
    EXPECT_EQ(c.state.ListView1.at(0).sourceFolder.constData(),
              c.state.ListView1.at(1).sourceFolder.constData());
    EXPECT_EQ(c.state.ListView1.at(0).targetFolder.constData(),
              c.state.ListView1.at(1).targetFolder.constData());
}

} // namespace
