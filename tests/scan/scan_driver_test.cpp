#include "scan/scan_driver.h"

#include "app/status_bar.h"

#include "scan/test_print.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// A scan over two trees described as data. Rows are written "L|name|source|target|status|kb"
// with the two roots shown as S and T.
class Scan : public testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void entry(const QString& include = "*", const QString& exclude = "")
    {
        state.ProfileList.append({source.root(), target.root(), include, exclude});
    }

    QStringList run()
    {
        const Callbacks cb = rec.callbacks();
        ScanCmd_Click(state, cb);
        return rows();
    }

    QStringList rows() const
    {
        QStringList out;
        for (const ResultListModel* list : {&state.ListView1, &state.ListView2}) {
            for (const ResultRow& r : list->rows())
                out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                           .arg(list == &state.ListView1 ? "1" : "2", r.name,
                                shortFolder(r.sourceFolder), shortFolder(r.targetFolder),
                                r.statusText())
                           .arg(r.sizeKB);
        }
        return out;
    }

    QString shortFolder(QString folder) const
    {
        folder.replace(source.root(), "S");
        folder.replace(target.root(), "T");
        return folder;
    }

    QStringList panels() const
    {
        return QStringList(state.status.panels.begin(), state.status.panels.end());
    }

    TempTree source;
    TempTree target;
    AppState state;
    RecordingCallbacks rec;
};

struct TreeCase
{
    const char* title;
    std::vector<TreeFile> source;
    std::vector<TreeFile> target;
    QString include;
    QString exclude;
    QStringList expected;
};

void PrintTo(const TreeCase& c, std::ostream* os)
{
    *os << c.title;
}

class ScanTrees : public Scan, public testing::WithParamInterface<TreeCase>
{
};

TEST_P(ScanTrees, ListsTheExpectedRows)
{
    const TreeCase& c = GetParam();
    for (const TreeFile& f : c.source)
        source.add(f);
    for (const TreeFile& f : c.target)
        target.add(f);
    entry(c.include, c.exclude);
    EXPECT_EQ(run(), c.expected);
    EXPECT_EQ(panelText(state, 1), "Ready  ");
}

constexpr qint64 T0 = 1'100'000'000;

INSTANTIATE_TEST_SUITE_P(
    Table, ScanTrees,
    testing::Values(
        TreeCase{"matching ignores case, newer side wins, equal times list nothing",
                 {{"a.txt", 10, T0 + 1}, {"B.doc", 10, T0}, {"same", 5, T0}},
                 {{"A.TXT", 10, T0}, {"b.DOC", 10, T0 + 60}, {"same", 99, T0}},
                 "*",
                 "",
                 {"1|a.txt|S|T|OverWrite|0", "2|b.DOC|T|S|OverWrite|0"}},
        TreeCase{"one-sided files in subfolders",
                 {{"x/new.txt", 2048, T0}, {"keep", 0, T0}},
                 {{"keep", 0, T0}, {"y/z/old.txt", 3000, T0}},
                 "*",
                 "",
                 {"1|new.txt|S/x|T/x|New File|2", "2|old.txt|T/y/z|S/y/z|New File|3"}},
        TreeCase{"include items, each pattern walked source then target",
                 {{"a.txt"}, {"b.doc"}, {"c.xls"}, {"sub/d.TXT"}},
                 {{"e.doc"}},
                 " txt , doc ",
                 "",
                 {"1|a.txt|S|T|New File|0", "1|d.TXT|S/sub|T/sub|New File|0",
                  "1|b.doc|S|T|New File|0", "2|e.doc|T|S|New File|0"}},
        TreeCase{"a duplicate include item lists files twice",
                 {{"a.txt", 0, T0}, {"b.txt", 0, T0 + 1}},
                 {{"b.txt", 0, T0}},
                 "txt,txt",
                 "",
                 {"1|a.txt|S|T|New File|0", "1|b.txt|S|T|OverWrite|0", "1|a.txt|S|T|New File|0",
                  "1|b.txt|S|T|OverWrite|0"}},
        TreeCase{"an empty include lists the names without a dot",
                 {{"README"}, {"a.txt"}, {"sub/Makefile"}},
                 {},
                 "",
                 "",
                 {"1|README|S|T|New File|0", "1|Makefile|S/sub|T/sub|New File|0"}},
        TreeCase{"include *,txt walks every name and the txt files again",
                 {{"a.txt"}, {"b"}},
                 {},
                 "*,txt",
                 "",
                 {"1|a.txt|S|T|New File|0", "1|b|S|T|New File|0", "1|a.txt|S|T|New File|0"}},
        TreeCase{"exclude by extension anywhere in the path",
                 {{"a.tmp"}, {"b.TMP"}, {"dir.tmp/c.txt"}, {"tmp.txt"}},
                 {{"x.tmp"}},
                 "*",
                 "tmp",
                 {"1|tmp.txt|S|T|New File|0"}},
        TreeCase{"exclude with a pattern",
                 {{"x.bak"}, {"x.bok"}, {"x.bakup"}, {"x.bk"}},
                 {},
                 "*",
                 "b?k",
                 {"1|x.bakup|S|T|New File|0", "1|x.bk|S|T|New File|0"}},
        TreeCase{"a trailing comma in exclude removes every name with a dot",
                 {{"a.txt"}, {"noext"}, {"sub.d/plain"}},
                 {},
                 "*",
                 "tmp,",
                 {"1|noext|S|T|New File|0"}},
        TreeCase{"sizes around the rounding points and above 2 GiB",
                 {{"s511", 511, T0},
                  {"s512", 512, T0},
                  {"s1536", 1536, T0},
                  {"s1500000", 1'500'000, T0},
                  {"s3g", 3'221'225'472LL, T0}},
                 {},
                 "*",
                 "",
                 {"1|s1500000|S|T|New File|1465", "1|s1536|S|T|New File|2",
                  "1|s3g|S|T|New File|3145728", "1|s511|S|T|New File|0", "1|s512|S|T|New File|1"}}),
    [](const testing::TestParamInfo<TreeCase>& info) { return std::to_string(info.index); });

TEST_F(Scan, EmptyProfileClearsListsAndShowsZeroTotals)
{
    state.ListView1.append({});
    state.ListView2.append({});
    EXPECT_TRUE(run().isEmpty());
    EXPECT_EQ(panels(), (QStringList{"Ready  ", "Source Files: 0", "Source Size: 0KB",
                                     "Target Files: 0", "Target Size: 0KB"}));
    EXPECT_EQ(state.status.progressMin, 0);
    EXPECT_EQ(state.status.progressMax, 1);
    EXPECT_EQ(state.status.progressValue, 0);
}

TEST_F(Scan, StatusTextsTotalsAndProgressRange)
{
    source.add({{"a", 1'263'616, T0}}); // 1,234 KB
    target.add({{"b", 57'344, T0}});    // 56 KB
    entry();
    bool busyAtEnd = true;
    QStringList busy;
    Callbacks cb = rec.callbacks();
    cb.busyChanged = [&](bool on) { busy << (on ? "on" : "off"); };
    cb.progressChanged = [&](int, int, int) { busyAtEnd = busy.size() == 2; };
    ScanCmd_Click(state, cb);
    EXPECT_EQ(busy, (QStringList{"on", "off"}));
    EXPECT_TRUE(busyAtEnd); // the range is set after the pointer is back
    EXPECT_EQ(panels(), (QStringList{"Ready  ", "Source Files: 1", "Source Size: 1,234KB",
                                     "Target Files: 1", "Target Size: 56KB"}));
    EXPECT_EQ(state.status.progressMax, 1291);
    EXPECT_EQ(rec.panelLog.mid(0, 7),
              (QStringList{"1:Ready", "2:", "3:", "4:", "5:", "1:Scanning", "1:Scanning"}));
    EXPECT_TRUE(rec.panelLog.contains("1:Comparing"));
}

TEST_F(Scan, EntriesAccumulateInProfileOrder)
{
    TempTree second;
    source.add({"one.txt", 2048, T0});
    second.add({"two.txt", 1024, T0});
    entry();
    state.ProfileList.append({second.root(), target.root(), "*", ""});
    EXPECT_EQ(run(), (QStringList{"1|one.txt|S|T|New File|2",
                                  "1|two.txt|" + second.root() + "|T|New File|1"}));
    EXPECT_EQ(panelText(state, 2), "Source Files: 2");
    EXPECT_EQ(panelText(state, 3), "Source Size: 3KB");
}

TEST_F(Scan, MissingAndEmptyFolders)
{
    source.add({{"a.txt"}, {"sub/b.txt"}});
    state.ProfileList.append({source.root(), target.path("not/yet"), "*", ""});
    // An entry without a Target names no folder pair and lists nothing.
    state.ProfileList.append({source.root(), "  ", "*", ""});
    state.ProfileList.append({"", target.root(), "*", ""});
    EXPECT_EQ(run(), (QStringList{"1|a.txt|S|T/not/yet|New File|0",
                                  "1|b.txt|S/sub|T/not/yet/sub|New File|0"}));
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST_F(Scan, RootGivenWithTrailingSlash)
{
    source.add({"sub/f", 0, T0});
    state.ProfileList.append({source.root() + "/", target.root() + "/", "*", ""});
    EXPECT_EQ(run(), QStringList{"1|f|S/sub|T/sub|New File|0"});
}

TEST_F(Scan, StopBeforeTheSecondEntry)
{
    TempTree second;
    source.add({"one.txt", 2048, T0});
    second.add({"two.txt", 1024, T0});
    entry();
    state.ProfileList.append({second.root(), target.root(), "*", ""});
    Callbacks cb = rec.callbacks();
    int scanning = 0;
    cb.panelChanged = [&](int panel, const QString& text) {
        // "Scanning" comes at the start and at each entry: stop as the second entry begins
        if (panel == 1 && text == "Scanning" && ++scanning == 3)
            state.CancelRequested = true;
    };
    ScanCmd_Click(state, cb);
    EXPECT_EQ(rows(), QStringList{"1|one.txt|S|T|New File|2"});
    EXPECT_EQ(panels(), (QStringList{"Canceled", "Source Files: 1", "Source Size: 2KB",
                                     "Target Files: 0", "Target Size: 0KB"}));
    EXPECT_EQ(state.status.progressMax, 3);

    // The next scan clears the flag and runs to its end.
    rec.panelLog.clear();
    EXPECT_EQ(run().size(), 2);
    EXPECT_EQ(panelText(state, 1), "Ready  ");
}

TEST_F(Scan, StopDuringComparison)
{
    source.add({{"a", 0, T0}, {"b", 0, T0}, {"c", 0, T0}});
    entry();
    Callbacks cb = rec.callbacks();
    bool comparing = false;
    int yields = 0;
    cb.panelChanged = [&](int panel, const QString& text) {
        comparing = comparing || (panel == 1 && text == "Comparing");
    };
    cb.yield = [&] {
        state.lastYield.invalidate();
        // the comparison yields before and after each row: stop after the first row
        if (comparing && ++yields == 2)
            state.CancelRequested = true;
    };
    ScanCmd_Click(state, cb);
    EXPECT_EQ(rows(), QStringList{"1|a|S|T|New File|0"});
    EXPECT_EQ(panelText(state, 1), "Canceled");
    EXPECT_EQ(panelText(state, 2), "Source Files: 1");
}

TEST_F(Scan, StopAtTheFirstYieldListsNothing)
{
    source.add({"a"});
    entry();
    Callbacks cb = rec.callbacks();
    cb.yield = [&] { state.CancelRequested = true; };
    ScanCmd_Click(state, cb);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(panelText(state, 1), "Canceled");
}

TEST_F(Scan, RowsAreShownAtTheEnd)
{
    source.add({{"a"}, {"b"}});
    entry();
    run();
    EXPECT_EQ(state.ListView1.rowCount(), 2); // flushed to the views
}

} // namespace
