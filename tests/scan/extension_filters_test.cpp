#include "scan/extension_filters.h"

#include "scan/test_print.h"
#include "scan/text_case.h"
#include "support/recording_callbacks.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtensionItems, CountAndSplit)
{
    struct Case
    {
        QString text;
        int count;
        QStringList items;
    };
    const Case cases[] = {
        {"txt, doc", 2, {"txt", "doc"}},
        {"txt,,doc", 3, {"txt", "", "doc"}},
        {"txt,", 2, {"txt", ""}},
        {",txt", 2, {"", "txt"}},
        {"", 1, {""}},
        {"   ", 1, {""}},
        {"  txt  ", 1, {"txt"}},
        {"a,b,,", 4, {"a", "b", "", ""}},
        {",", 2, {"", ""}},
        {"\ttxt", 1, {"\ttxt"}}, // only blanks are trimmed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CountItems(c.text), c.count);
        EXPECT_EQ(SplitItems(c.text), c.items);
    }
}

TEST(ExtensionItems, ExtractField)
{
    EXPECT_EQ(ExtractField("a.txt|1/2/2004 3:4:5|10", 1, 5), "a.txt");
    EXPECT_EQ(ExtractField("  ab  cd  ", 1, 6), "ab");
    EXPECT_EQ(ExtractField("  ab  cd  ", 5, 100), "cd");
    EXPECT_EQ(ExtractField("abc", 4, 2), "");
    EXPECT_EQ(ExtractField("abc", 2, 0), "");
    EXPECT_EQ(ExtractField("", 0, -1), "");
    EXPECT_EQ(ExtractField("abc", 0, 2), "");
}

TEST(ExtensionItems, IncludePatternsAndFlags)
{
    EXPECT_TRUE(IncludeAll("*"));
    EXPECT_TRUE(IncludeAll("  *  "));
    EXPECT_FALSE(IncludeAll("*,txt"));
    EXPECT_EQ(includePatterns("  * "), QStringList{"*.*"});
    EXPECT_EQ(includePatterns("*,txt"), (QStringList{"*.*", "*.txt"}));
    EXPECT_EQ(includePatterns("txt, doc"), (QStringList{"*.txt", "*.doc"}));
    EXPECT_EQ(includePatterns("txt,txt"), (QStringList{"*.txt", "*.txt"}));
    EXPECT_EQ(includePatterns(""), QStringList{"*."});
    EXPECT_TRUE(ExcludeNone(""));
    EXPECT_TRUE(ExcludeNone("   "));
    EXPECT_FALSE(ExcludeNone(" tmp"));
    EXPECT_FALSE(ExcludeNone(","));
}

TEST(ExclusionTest, WhichPathsAnExcludeTextRemoves)
{
    struct Case
    {
        QString exclude;
        QString path;
        bool removed;
    };
    const Case cases[] = {
        {"tmp", "a.tmp", true},
        {"tmp", "a.TMP", true},
        {"tmp", "dir.tmp/b.txt", true},
        {"tmp", "tmp.txt", false},
        {"bak", "old.bak", true},
        {"bak", "old.bak.txt", true},
        {"bak", "x.bakery", true},
        {"bak", "save.bak/notes.txt", true},
        {"bak", "bak.txt", false},
        {"bak", "backup", false},
        {"b?k", "x.bak", true},
        {"b?k", "x.bok", true},
        {"b?k", "x.bakup", false},
        {"b?k", "x.bk", false},
        {"#", "x.7", true},
        {"#", "x.a", false},
        {"[ab]z", "x.bz", true},
        {"[!ab]z", "x.bz", false},
        {"[!ab]z", "x.cz", true},
        {"tmp,", "noext", false},
        {"tmp,", "a.doc", true}, // the empty item removes every path with a dot
        {"tmp,", "sub.d/noext", true},
        {"doc, TXT", "A.txt", true},
        {"zip", "a.ZIP", true},
        {"äö", "X.ÄÖ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.exclude + " / " + c.path).toStdString());
        QString upper = c.path;
        toUpperInPlace(upper);
        EXPECT_EQ(ExclusionTest(SplitItems(c.exclude)).excludes(upper), c.removed);
    }
}

FileList lines(const QStringList& paths)
{
    FileList list;
    for (const QString& p : paths) {
        const qsizetype slash = p.lastIndexOf('/');
        list.push_back({slash < 0 ? QString() : p.left(slash), p.mid(slash + 1), 0, 0, 0});
    }
    return list;
}

QStringList paths(const FileList& list)
{
    QStringList out;
    for (const FileLine& l : list)
        out << l.relativePath();
    return out;
}

TEST(ExcludeLines, RemovesNamedLinesAndKeepsOrder)
{
    AppState state;
    RecordingCallbacks rec;
    FileList list = lines({"a.tmp", "b.txt", "sub/c.TMP", "tmp.txt", "d.tmp.keep"});
    excludeLines(state, rec.callbacks(), list, " tmp ");
    EXPECT_EQ(paths(list), (QStringList{"b.txt", "tmp.txt"}));

    FileList untouched = lines({"a.tmp"});
    excludeLines(state, rec.callbacks(), untouched, "  ");
    EXPECT_EQ(paths(untouched), QStringList{"a.tmp"});

    FileList empty;
    excludeLines(state, rec.callbacks(), empty, "tmp");
    EXPECT_TRUE(empty.empty());
}

TEST(ExcludeLines, StopRequestLeavesTheRemainingLines)
{
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb = rec.callbacks();
    // The stop arrives while the first line is looked at: it is still filtered, the rest stay.
    cb.yield = [&state] { state.CancelRequested = true; };
    FileList list = lines({"a.tmp", "b.tmp", "c.txt", "d.tmp"});
    excludeLines(state, cb, list, "tmp");
    EXPECT_EQ(paths(list), (QStringList{"b.tmp", "c.txt", "d.tmp"}));

    // Already set: nothing is filtered.
    FileList other = lines({"a.tmp", "b.txt"});
    excludeLines(state, cb, other, "tmp");
    EXPECT_EQ(paths(other), (QStringList{"a.tmp", "b.txt"}));
}

} // namespace
