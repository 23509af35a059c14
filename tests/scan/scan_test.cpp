// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/known_roots.h"
#include "core/name_bytes.h"
#include "scan/compare_sides.h"
#include "scan/enumeration.h"
#include "scan/extension_filters.h"
#include "scan/text_case.h"
#include "support/permission_checks.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 T0 = 1'100'000'000;

// A case "subject yes1 yes2 / no1 no2": 'holds' is true for the words before "/", false after.
void expectCase(const QString& c, const std::function<bool(const QString&, QString)>& holds)
{
    QStringList words = c.split(' ');
    const QString subject = words.takeFirst();
    bool expected = true;
    for (const QString& word : words) {
        if (word == "/")
            expected = false;
        else
            EXPECT_EQ(holds(subject, word), expected)
                << c.toStdString() << ": " << word.toStdString();
    }
}

TEST(ScanRules, WildcardsOfBothDialects)
{
    for (const char* c : {"*.* a.txt README .bashrc", "*. README / a.txt a.",
                          "*.txt a.txt B.TXT .txt / a.txt.bak atxt", "*.TXT x.tXt",
                          "*.tar.gz a.tar.gz / a.gz", "*.t?t a.txt / a.tt", "*.?? a.cc / a.c",
                          "*.t* a.t a.tgz / a.gz", "*a*b* xxaxxbxx / xxbxxaxx", "*.[a] x.[a] / x.a",
                          "*.# x.# / x.1", "*.ÄÖ x.äö", "*.straße X.STRAßE"})
        expectCase(c, [](const QString& p, const QString& name) {
            return Wildcard(p, Wildcard::Dialect::FileName).matches(name);
        });
    // The exclusion test's dialect: exact, callers upper-case both sides.
    for (const char* c :
         {"*.BAK OLD.BAK / OLD.BAK.TXT old.bak", "*.B?K X.BOK / X.BK X.BAKUP",
          "*.## X.12 / X.1A X.1", "*.[AB] X.B / X.C", "*.[!AB] X.C / X.A", "*.[A-C]Z X.BZ / X.DZ",
          "*.[!0-9] X.A / X.5", "*.[-] X.-", "*.A[]B X.AB", "*.[!] X.!", "*.[AB / X.A X.[AB",
          "*.[!C-A] / X.B", "*.* DIR.X/F", "*. ABC. / ABC"})
        expectCase(c, [](const QString& p, const QString& text) {
            return Wildcard(p, Wildcard::Dialect::Like).matches(text);
        });
}

TEST(ScanRules, IncludeAndExcludeTexts)
{
    // A text, "=" and its items joined by "|"; only blanks are trimmed.
    for (const QString c : {"txt,,doc=txt||doc", "txt,=txt|", ",txt=|txt", "=", "   =",
                            "  txt  =txt", "a,b,,=a|b||", ",=|", "\ttxt=\ttxt"})
        EXPECT_EQ(SplitItems(c.section('=', 0, 0)), c.section('=', 1).split('|')) << qPrintable(c);
    EXPECT_EQ(includePatterns("  * "), QStringList{"*.*"});
    EXPECT_EQ(includePatterns("*,txt"), (QStringList{"*.*", "*.txt"}));
    EXPECT_TRUE(ExcludeNone("   "));
    EXPECT_FALSE(ExcludeNone(","));

    // An Exclude text, the paths it removes, "/", the paths it keeps.
    for (const char* c :
         {"bak old.bak old.bak.txt x.bakery save.bak/notes.txt / bak.txt backup", "äö X.ÄÖ"})
        expectCase(c, [](const QString& exclude, QString path) {
            toUpperInPlace(path);
            return ExclusionTest(SplitItems(exclude)).excludes(path);
        });
}

// A folder's entries are sorted as Qt orders text ignoring case: by folding to lower case, so
// "_" comes before letters; a shorter name before its longer twin; past ASCII Qt decides.
TEST(ScanRules, NameOrderIgnoringCase)
{
    const QStringList names{"",       "a",     "A",  "_b", "B_",      "b",          "ab",      "aB",
                            "Ab.t",   "ab.tx", "é",  "É",  "e\u0301", "Straße",     "STRASSE", "k",
                            "\u212A", "Zz",    "zZ", "[x", "{x",      "a\U0001F600"};
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const QString& a : names)
        for (const QString& b : names)
            EXPECT_EQ(sign(compareIgnoringCase(a, b)), sign(a.compare(b, Qt::CaseInsensitive)))
                << qPrintable(a) << " / " << qPrintable(b);
}

QString paths(const FileList& list)
{
    QStringList out;
    for (const FileLine& l : list)
        out << list.relativePath(l);
    return out.join(' ');
}

TEST(ScanRules, AStopWhileExcludingAndCounterOverflow)
{
    AppState state;
    Callbacks cb;
    cb.yield = [&state] {
        state.control.CancelRequested = true;
    }; // while the first line is looked at
    FileList list{{"", "a.tmp"}, {"", "b.tmp"}, {"", "c.txt"}, {"", "d.tmp"}};
    excludeLines(state, cb, list, "tmp");
    EXPECT_EQ(paths(list), "b.tmp c.txt d.tmp");
    qint64 counter = std::numeric_limits<qint64>::max() - 1; // a counter that would overflow
    addToCounter(counter, 5);                                // keeps its last value
    EXPECT_EQ(counter, std::numeric_limits<qint64>::max() - 1);
}

// Builds a tree of words "path[=size][@seconds after T0]", "path->link target", "path|" (FIFO).
void build(TempTree& tree, const QString& layout)
{
    for (const QString& word : layout.split(' ', Qt::SkipEmptyParts)) {
        const QString path = word.section("->", 0, 0).section('|', 0, 0);
        const QByteArray at = QFile::encodeName(tree.path(path));
        if (word.contains("->"))
            ASSERT_EQ(::symlink(word.section("->", 1).toUtf8().constData(), at.constData()), 0);
        else if (word.endsWith('|'))
            ASSERT_EQ(::mkfifo(at.constData(), 0600), 0);
        else
            tree.add({path.section('@', 0, 0).section('=', 0, 0),
                      path.section('@', 0, 0).section('=', 1).toLongLong(),
                      T0 + path.section('@', 1).toLongLong()});
    }
}

// "list|name|source|target|status|kb" of each row of both lists as the views show it; base/S
// and base/T as S and T. The scan counters must count exactly these rows and their KB.
QString rows(const AppState& s, const QString& base = {})
{
    QStringList out;
    for (const ResultListModel* list : {&s.sourceRows, &s.targetRows}) {
        const bool one = list == &s.sourceRows;
        qint64 kb = 0;
        for (int i = 0; i < list->size(); ++i) {
            kb += list->at(i).sizeKB();
            QStringList fields{one ? "1" : "2"};
            for (int column : {0, 1, 2, 3})
                fields << list->index(i, column).data().toString();
            out << (fields << QString::number(list->at(i).sizeKB())).join('|');
            if (!base.isEmpty())
                out.last().replace(base + "/S", "S").replace(base + "/T", "T");
        }
        EXPECT_EQ(std::tuple(qint64(list->size()), kb),
                  one ? std::tuple(s.SourceFileCount, s.SourceSizeKB)
                      : std::tuple(s.TargetFileCount, s.TargetSizeKB));
    }
    return out.join("; ");
}

// Both comparison passes of one entry, as the scan runs them, over the lines of its two sides:
// words "folder/name@time"; names may hold bytes that are not UTF-8.
void compare(AppState& s, const char* mine, const char* theirs, const QString& thisRoot,
             const QString& otherRoot, bool fatTimes = false)
{
    SideTable a, b;
    FileList lines[2];
    for (int side : {0, 1})
        for (const QString& w : nameText(side ? theirs : mine).split(' '))
            lines[side].append(w.section('/', 0, -2), w.section('@', 0, 0).section('/', -1),
                               w.section('@', 1).toLongLong());
    buildSideTables(s, {}, lines[0], a, lines[1], b);
    const ComparePass::Counts sources{s.SourceFileCount, s.SourceSizeKB},
        targets{s.TargetFileCount, s.TargetSizeKB};
    for (const bool back : {false, true}) {
        ComparePass pass{.thisTable = back ? b : a,
                         .otherTable = back ? a : b,
                         .thisList = back ? s.targetRows : s.sourceRows,
                         .otherList = back ? s.sourceRows : s.targetRows,
                         .ThisRoot = back ? otherRoot : thisRoot,
                         .OtherRoot = back ? thisRoot : otherRoot,
                         .thisCounts = back ? targets : sources,
                         .otherCounts = back ? sources : targets,
                         .fatTimes = fatTimes};
        CompareSides(s, {}, pass);
    }
    s.sourceRows.flush();
    s.targetRows.flush();
}

// Scans of the folders S (or another) and T of one temporary tree.
struct Trees
{
    TempTree tree;
    AppState state;
    RecordingCallbacks rec;

    explicit Trees(const QString& layout = {})
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        build(tree, layout);
        tree.mkdir("S");
        tree.mkdir("T");
    }
    void entry(const QString& include = "*", const QString& exclude = "", QString from = "S")
    {
        state.profileEntries.append({tree.path(from), tree.path("T"), include, exclude});
    }
    QString scan(const Callbacks& cb)
    {
        state.control.lastYield.invalidate(); // the first yield is not throttled
        rec.scan(state, cb);
        return rows(state, tree.root());
    }
    QString scan() { return scan(rec.callbacks()); }
};

// A pass gives back the memory of the lines it has dealt with, a few MiB at a time: over
// 200,000 lines every row still has its own name, time and destination.
TEST(ScanRules, LongPassesKeepEveryLineTheyGiveMemoryBackFor)
{
    constexpr int Lines = 200'000;
    QStringList mine, theirs;
    for (int i = 0; i < Lines; ++i) {
        const QString path = QString("d%1/f%2@").arg(i / 20).arg(i);
        mine << path + QString::number(1000 + i);
        if (i % 2)
            theirs << path + QString::number(999 + i); // older: an "OverWrite"
    }
    AppState s;
    compare(s, qPrintable(mine.join(' ')), qPrintable(theirs.join(' ')), "/s", "/t");
    ASSERT_EQ(s.sourceRows.size(), Lines);
    EXPECT_EQ(s.targetRows.size(), 0);
    int wrong = 0;
    for (const ResultRow& r : s.sourceRows.rows()) {
        const int i = r.name().sliced(1).toInt();
        const bool over = i % 2;
        const Destination d = s.sourceRows.destinationOf(r);
        wrong += r.modified != 1000 + i || r.sourceFolder() != QString("/s/d%1").arg(i / 20) ||
                 d.exists != over || (over && d.modified != 999 + i);
    }
    EXPECT_EQ(wrong, 0);
}

// A record list keeps its names back to back in blocks: every name must come back whole,
// with its own folder, after lists are joined, also across blocks, and the names handed out
// must outlive the list.
TEST(ScanRules, RecordListNamesAndFolders)
{
    const QString longFolder = QString("deep/").repeated(800) + "end";
    const QString longName = QString(250, QChar('n')) + ".txt";
    const QString raw = nameText("caf\xE9\xFF");
    const std::vector<std::pair<QString, QString>> lines = {
        {"", "a"},    {"", raw}, {longFolder, longName}, {longFolder, "b"},
        {"x/y", raw}, {"", "c"}, {"", "caf\u00e9"},      {"", "\u65e5\u672c"}};
    FileList first;
    FileList second;
    for (size_t i = 0; i < lines.size(); ++i)
        (i < 3 ? first : second).append(lines[i].first, lines[i].second, qint64(i), 7, 100 + i);
    first.take(second);
    ASSERT_EQ(first.size(), lines.size());
    ASSERT_TRUE(second.empty());
    std::vector<QString> names;
    for (size_t i = 0; i < lines.size(); ++i) {
        const FileLine& l = first[i];
        EXPECT_EQ(first.folder(l), lines[i].first) << i;
        EXPECT_EQ(first.name(l).toString(), lines[i].second) << i;
        EXPECT_EQ(std::tuple(l.modified, l.modifiedNs, l.size),
                  std::tuple(qint64(i), 7, qint64(100 + i)));
        names.push_back(first.nameString(l));
    }
    EXPECT_EQ(first.relativePath(first[3]), longFolder + "/b");
    EXPECT_EQ(first.relativePath(first[0]), "a");
    first = FileList(); // the rows' names outlive the list
    names[0].append("zz");
    names[1][0] = QChar('C');
    for (size_t i = 0; i < names.size(); ++i) {
        const QString expected = i == 0   ? QString("azz")
                                 : i == 1 ? QString(raw).replace(0, 1, "C")
                                          : lines[i].second;
        EXPECT_EQ(names[i], expected) << i;
        EXPECT_EQ(names[i].utf16()[names[i].size()], 0) << i; // terminated for C interfaces
    }
    EXPECT_EQ(nameBytes(names[4]), "caf\xE9\xFF");

    // Lists of more than one block each, joined: every name keeps its place, among them
    // names of two bytes a character at odd and even places.
    const auto name = [](int k) { return QString("name%1").arg(k) + (k % 3 ? "" : "\u65e5"); };
    FileList big, more;
    for (int k = 0; k < 40'000; ++k)
        (k < 20'000 ? big : more).append(QString("d%1").arg(k / 500), name(k));
    big.take(more);
    int wrong = 0;
    for (int k = 0; k < 40'000; ++k)
        wrong += big.name(big[size_t(k)]).toString() != name(k) ||
                 big.folder(big[size_t(k)]) != QString("d%1").arg(k / 500);
    EXPECT_EQ(wrong, 0);
}

TEST(ScanTrees, ListTheExpectedRows)
{
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // a folder's files, then its subfolders depth first; by name ignoring case, then bytes
        {"*", "",
         "S/b.txt S/A.txt S/sub/z.txt S/Sub2/y.txt S/sub/deeper/x.txt S/xt_dscp.h S/xt_DSCP.h "
         "S/XT_dscp.h S/XT_DSCP.h S/.hidden",
         "1|.hidden|S|T|New File|0; 1|A.txt|S|T|New File|0; 1|b.txt|S|T|New File|0; "
         "1|XT_DSCP.h|S|T|New File|0; 1|XT_dscp.h|S|T|New File|0; 1|xt_DSCP.h|S|T|New File|0; "
         "1|xt_dscp.h|S|T|New File|0; "
         "1|z.txt|S/sub|T/sub|New File|0; 1|x.txt|S/sub/deeper|T/sub/deeper|New File|0; "
         "1|y.txt|S/Sub2|T/Sub2|New File|0"},
        // include items in order; a pattern never hides a folder, a folder is never a file
        {" txt , doc", "", "S/a.txt S/b.doc S/c.xls S/sub/b.TXT S/x.txt/in.txt S/x.txt/in.doc",
         "1|a.txt|S|T|New File|0; 1|b.TXT|S/sub|T/sub|New File|0; "
         "1|in.txt|S/x.txt|T/x.txt|New File|0; 1|b.doc|S|T|New File|0; "
         "1|in.doc|S/x.txt|T/x.txt|New File|0"},
        {"", "", "S/README S/a.txt S/sub/Makefile", // the names without a dot
         "1|README|S|T|New File|0; 1|Makefile|S/sub|T/sub|New File|0"},
        // a duplicate item: each occurrence pairs with the next unmatched one
        {"txt,txt", "", "S/a.txt S/b.txt@1 T/b.txt",
         "1|a.txt|S|T|New File|0; 1|b.txt|S|T|OverWrite|0; 1|a.txt|S|T|New File|0; "
         "1|b.txt|S|T|OverWrite|0"},
        // exclude: an extension anywhere in the path, a pattern, on both sides
        {"*", " tmp, b?k",
         "S/a.tmp S/b.TMP S/dir.tmp/c.txt S/tmp.txt T/y.tmp S/x.bak S/x.bok S/x.bakup S/x.bk",
         "1|tmp.txt|S|T|New File|0; 1|x.bakup|S|T|New File|0; 1|x.bk|S|T|New File|0"},
        {"*", "tmp,", "S/a.txt S/noext S/sub.d/plain", "1|noext|S|T|New File|0"},
        {"*", "", "S/s511=511 S/s512=512 S/s2g=2147483648",
         "1|s2g|S|T|New File|2097152; 1|s511|S|T|New File|0; 1|s512|S|T|New File|1"},
        // pairs ignore case; the later one is listed in its own spelling; equal times: nothing
        {"*", "",
         "S/a.txt=10@1 T/A.TXT=10 S/B.doc=10 T/b.DOC=3072@60 S/same=5 T/same=9999 S/sub/x "
         "T/SUB/X=2048@1",
         "1|a.txt|S|T|OverWrite|0; 2|b.DOC|T|S|OverWrite|3; 2|X|T/SUB|S/sub|OverWrite|2"},
        // the partner of the same bytes first (d.txt, though D.TXT comes first), then the
        // first unmatched one ignoring case; newer target rows, then target-only rows
        {"*", "", "S/x/new.txt=2048 S/a S/D.TXT S/d.txt@2 T/0only T/a@1 T/d.txt@1 T/y/z/o.txt=3000",
         "1|D.TXT|S|T|New File|0; 1|d.txt|S|T|OverWrite|0; 1|new.txt|S/x|T/x|New File|2; "
         "2|a|T|S|OverWrite|0; 2|0only|T|S|New File|0; 2|o.txt|T/y/z|S/y/z|New File|3"},
        {"*", "", "S/a.txt@1 S/A.TXT@5 T/a.txt T/B.txt@1 T/b.TXT@2 S/b.txt",
         "1|A.TXT|S|T|New File|0; 1|a.txt|S|T|OverWrite|0; 2|B.txt|T|S|OverWrite|0; "
         "2|b.TXT|T|S|New File|0"},
        // names kept a byte a character (Latin-1) pair with those that need two, ignoring case
        {"*", "", "S/ÿé.txt@1 T/ŸÉ.TXT S/日.txt T/日.txt@1 S/café T/café",
         "1|ÿé.txt|S|T|OverWrite|0; 2|日.txt|T|S|OverWrite|0"},
        // links are followed; dangling links and FIFOs skipped; no folder open higher up entered
        {"*", "",
         "S/a.txt=2048 S/real/f elsewhere/e.txt S/link.txt->a.txt S/dangling.txt->missing "
         "S/linked->../elsewhere S/real/up->.. S/alias->real S/self->. S/pipe.txt| "
         "S/pipe.link->pipe.txt",
         "1|a.txt|S|T|New File|2; 1|link.txt|S|T|New File|2; 1|f|S/alias|T/alias|New File|0; "
         "1|e.txt|S/linked|T/linked|New File|0; 1|f|S/real|T/real|New File|0"}};
    for (const auto& [include, exclude, tree, expected] : cases) {
        SCOPED_TRACE(tree);
        Trees t(tree);
        t.entry(include, exclude);
        EXPECT_EQ(t.scan(), expected);
        EXPECT_TRUE(t.rec.messages.isEmpty());
    }
}

// Nothing unreadable passes for empty and nothing is offered into it; no root nests in the
// other; a root that is missing or not on its usual disk is reported, one ending in "/" too.
TEST(ScanTrees, WhatCannotBeReadOrIsNotThereIsReportedNotListed)
{
    // The tree, a folder locked, the entry's Source and Target, the rows and the errors.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, QString>
        cases[] = {
            {"S/a.txt S/docs/b.txt T/docs/b.txt T/docs/c.txt", "T/docs", "S", "T",
             "1|a.txt|S|T|New File|0", "Scan: cannot read folder T/docs: Permission denied"},
            {"S/priv/x.txt T/priv/y.txt T/z.txt", "S/priv", "S", "T", "2|z.txt|T|S|New File|0",
             "Scan: cannot read folder S/priv: Permission denied"},
            {"S/a.txt T/b.txt", "T", "S", "T", "", "Scan: cannot read folder T: Permission denied"},
            {"S/a.txt@9 S/backup/a.txt S/backup/old.txt", "", "S", "S/backup",
             "1|a.txt|S|S/backup|OverWrite|0; 2|old.txt|S/backup|S|New File|0", ""},
            {"T/src/a.txt T/b.txt", "", "T/src", "T",
             "1|a.txt|T/src|T|New File|0; 2|b.txt|T|T/src|New File|0", ""},
            {"S/a.txt S/sub/b.txt", "", "S/", "T/not/yet",
             "1|a.txt|S|T/not/yet|New File|0; 1|b.txt|S/sub|T/not/yet/sub|New File|0",
             "The folder T/not/yet does not exist"},
            {"S/a.txt T/usb/Backup/old.txt", "", "S", "T/usb/Backup", "",
             "T/usb/Backup is not on its usual disk: is the disk mounted?"},
        };
    for (const auto& [tree, locked, source, target, expected, errors] : cases) {
        SCOPED_TRACE(tree);
        Trees t(tree);
        PermissionChecks asAnyUser; // root would read a locked folder all the same
        // T/usb was the mount point of the disk that held T/usb/Backup: now it is unmounted.
        KnownRoots::remember({{t.tree.path("T/usb/Backup"), {"uuid:gone", t.tree.path("T/usb")}}});
        t.state.profileEntries.append({t.tree.path(source), t.tree.path(target), "*", ""});
        t.state.profileEntries.append({t.tree.path("S"), "  ", "*", ""}); // no folder: passed over
        t.state.profileEntries.append({"", t.tree.path("S"), "*", ""});
        const QByteArray folder = QFile::encodeName(t.tree.path(locked));
        ASSERT_EQ(::chmod(folder.constData(), *locked ? 0 : 0755), 0);
        const QString rowsFound = t.scan();
        ::chmod(folder.constData(), 0755);
        QStringList texts;
        for (const ErrorRow& e : t.state.errorRows.rows())
            texts << QString(e.error).replace(t.tree.root() + "/", "");
        EXPECT_EQ(rowsFound, expected);
        EXPECT_EQ(texts.join("; "), errors);
        // Only a root not on its usual disk is asked about (No: it is not scanned).
        EXPECT_EQ(t.rec.questions.join("").replace(t.tree.root() + "/", ""),
                  errors.contains("usual") ? errors + "\n\nScan it all the same?" : "");
        EXPECT_EQ(t.rec.messages, QStringList());
    }
}

// Names that are not UTF-8 pair only with the same bytes; on FAT, times 1 s apart are equal,
// and so are times an hour apart (summer time read differently), but not an hour and 2 s.
// (Times within FAT's years: out of them, times compare as FAT would store them.) A time
// beyond 2038 and a disk's last 32-bit second (y, z) are the same time. The rows' folders
// join roots that are "/", end in "/" or are relative.
TEST(ScanTrees, PairingByBytesFatTimesAndRoots)
{
    for (const auto& [fat, thisRoot, otherRoot, shownThis, shownOther] :
         {std::tuple(false, "/", "/backup/", "", "/backup"),
          {true, "/data/", "rel", "/data", "rel"}}) {
        AppState s;
        compare(s,
                "a@1600000011 b@1600000012 caf\xE9@1600000005 x\xE9@1600000005 CAF\xE8@1600000005 "
                "h@1600003610 i@1600003613 y@4102444800 z@2147483647 sub/g@1",
                "a@1600000010 b@1600000010 caf\xE9@1600000001 x\xE8@1600000001 caf\xE8@1600000001 "
                "h@1600000010 i@1600000010 y@2147483647 z@4102444800",
                thisRoot, otherRoot, fat);
        EXPECT_EQ(rows(s),
                  QString((fat ? "" : "1|a|/s|/t|OverWrite|0; ") +
                          QString::fromUtf8(
                              "1|b|/s|/t|OverWrite|0; 1|caf\uFFFD|/s|/t|OverWrite|0; "
                              "1|x\uFFFD|/s|/t|New File|0; 1|CAF\uFFFD|/s|/t|New File|0; ") +
                          (fat ? "" : "1|h|/s|/t|OverWrite|0; ") +
                          QString::fromUtf8("1|i|/s|/t|OverWrite|0; "
                                            "1|g|/s/sub|/t/sub|New File|0; "
                                            "2|x\uFFFD|/t|/s|New File|0; "
                                            "2|caf\uFFFD|/t|/s|New File|0"))
                      .replace("|/s", QString("|") + shownThis)
                      .replace("|/t", QString("|") + shownOther));
        EXPECT_EQ(nameBytes(s.sourceRows.at(fat ? 3 : 4).name()), "CAF\xE8");
        EXPECT_EQ(s.sourceRows.at(fat ? 0 : 1).sourcePath(), QString(thisRoot) + "b");
    }
}

TEST(ScanDriver, StatusTextsBusyPointerAndProgressRangeInOrder)
{
    const char* emptyProfile =
        "1Ready;2;3;4;5;0-1;0-1;busy;1Scanning;idle;1Ready  ;2Source Files: 0;"
        "3Source Size: 0KB;4Target Files: 0;5Target Size: 0KB;0-1";
    const char* oneEntry =
        "1Ready;2;3;4;5;0-1;0-1;busy;1Scanning;1Scanning;1Comparing;idle;1Ready  ;"
        "2Source Files: 1;3Source Size: 1,234KB;4Target Files: 1;"
        "5Target Size: 56KB;0-1291";
    for (const char* expected : {emptyProfile, oneEntry}) {
        Trees t("S/a=1263616 T/b=57344"); // 1,234 KB and 56 KB
        t.state.sourceRows.append({});
        t.state.targetRows.append({});
        if (expected == oneEntry)
            t.entry();
        QStringList log;
        Callbacks cb;
        cb.panelChanged = [&](int p, const QString& s) { log << QString::number(p) + s; };
        cb.busyChanged = [&](bool on) { log << (on ? "busy" : "idle"); };
        cb.progressChanged = [&](int min, int max, int value) {
            log << QStringLiteral("%1-%2").arg(min).arg(max) + (value ? "!" : "");
        };
        EXPECT_EQ(t.scan(cb),
                  expected == oneEntry ? "1|a|S|T|New File|1234; 2|b|T|S|New File|56" : "");
        EXPECT_EQ(log.join(';'), expected);
    }
}

TEST(ScanDriver, EntriesAccumulateAndStopPoints)
{
    Trees t("S/one.txt=2048 S/uno.txt=1024 S2/two.txt=1024");
    t.entry();
    t.entry("*", "", "S2");
    EXPECT_EQ(t.scan(), "1|one.txt|S|T|New File|2; 1|uno.txt|S|T|New File|1; "
                        "1|two.txt|S2|T|New File|1");
    // A stop at the k-th yield after panel 1 shows the text for the n-th time (k = 0: at once),
    // and the rows then listed.
    for (const auto& [when, n, k, expected] :
         {std::tuple("Scanning", 1, 1, ""),
          {"Comparing", 1, 2, "1|one.txt|S|T|New File|2"},
          {"Scanning", 3, 0, "1|one.txt|S|T|New File|2; 1|uno.txt|S|T|New File|1"}}) {
        SCOPED_TRACE(when);
        Callbacks cb;
        int shown = 0, yields = -1;
        cb.panelChanged = [&](int panel, const QString& text) {
            EXPECT_FALSE(t.state.control.CancelRequested &&
                         text == "Scanning"); // no entry after a stop
            if (panel == 1 && text == when && ++shown == n && (yields = 0) == k)
                t.state.control.CancelRequested = true;
        };
        cb.yield = [&] {
            t.state.control.lastYield.invalidate(); // every yield counts
            if (yields >= 0 && ++yields == k)
                t.state.control.CancelRequested = true;
        };
        EXPECT_EQ(t.scan(cb), expected);
        // The other panels show the counters, which rows() checks.
        EXPECT_EQ(t.state.status.panels[0], "Canceled");
    }
    EXPECT_EQ(t.scan().count(';'), 2); // the next scan clears the stop flag
    EXPECT_EQ(t.state.status.panels[0], "Ready  ");
}

TEST(ScanDriver, RowFieldsAndIconsFollowTheToggleRowByRow)
{
    Trees t("T/a=99 S/sub/m");
    t.tree.add({{"S/a", 1536, 20}, {"S/sub/n", 0, -5}});
    TempTree::setMtime(t.tree.path("T/a"), 10, 77);
    t.entry();
    Callbacks cb = t.rec.callbacks();
    int asked = 0;
    cb.showIcons = [&] { return ++asked > 1; }; // pressed after row 1
    t.scan(cb);
    ASSERT_EQ(t.state.sourceRows.size(), 3);
    const ResultRow &a = t.state.sourceRows.at(0), &m = t.state.sourceRows.at(1),
                    &n = t.state.sourceRows.at(2);
    const Destination ad = t.state.sourceRows.destination(0);
    EXPECT_EQ(std::tuple(a.modified, a.sizeBytes, ad.exists, ad.modified, ad.modifiedNs,
                         ad.sizeBytes, a.checked, a.hasIcon),
              std::tuple(20, 1536, true, 10, 77, 99, true, false));
    EXPECT_EQ(std::tuple(n.modified, t.state.sourceRows.destination(2).exists, n.checked, m.hasIcon,
                         n.hasIcon),
              std::tuple(-5, false, true, true, true));
    EXPECT_EQ(m.folder(), n.folder()); // the rows of a folder share its strings
}

TEST(ScanWalk, AStopListsTheFilesOfTheFoldersAlreadyCollected)
{
    TempTree tree;
    build(tree, "a1 b/b1 b/c/c1 b/c/d/d1 e/e1 e/f/f1 z1");
    // The entry that sets the flag (0: before the walk). Entries 1-4 are a1, b, e, z1; 5 is b1,
    // then c is not collected, while e was: its files are listed, its subfolder f not.
    for (const QString c :
         {"0 a1 z1", "5 a1 z1 b/b1 e/e1", "7 a1 z1 b/b1 b/c/c1 e/e1",
          "8 a1 z1 b/b1 b/c/c1 b/c/d/d1 e/e1", "100 a1 z1 b/b1 b/c/c1 b/c/d/d1 e/e1 e/f/f1"}) {
        SCOPED_TRACE(c.toStdString());
        const int stopAt = c.section(' ', 0, 0).toInt();
        const QString expected = c.section(' ', 1);
        std::atomic<bool> stop = stopAt == 0;
        int checks = 0;
        std::vector<FileList> lists;
        EXPECT_EQ(ListFiles(stop, tree.root(), QStringList{"*.*"}, lists,
                            [&] { stop = stop || ++checks == stopAt; }),
                  stopAt < 100);
        EXPECT_EQ(paths(lists.at(0)), expected);
    }
}

} // namespace
