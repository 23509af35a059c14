#include "results/result_model.h"
#include "results/result_order.h"

#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

// Rows described as data: name, folder, status, time, bytes.
struct RowSpec
{
    const char* name;
    const char* folder = "/f";
    ResultRow::Status status = ResultRow::Status::NewFile;
    qint64 modified = 0;
    qint64 bytes = 0;
};

ResultRow makeRow(const RowSpec& s)
{
    ResultRow r;
    r.name = QString::fromUtf8(s.name);
    r.sourceFolder = QString::fromUtf8(s.folder);
    r.targetFolder = QStringLiteral("/t") + r.sourceFolder;
    r.status = s.status;
    r.modified = s.modified;
    r.sizeBytes = s.bytes;
    r.sizeKB = (s.bytes + 512) / 1024;
    return r;
}

QString names(const ResultListModel& list)
{
    QStringList out;
    for (const ResultRow& r : list.rows())
        out << r.name;
    return out.join(QLatin1Char(' '));
}

constexpr auto New = ResultRow::Status::NewFile;
constexpr auto Over = ResultRow::Status::OverWrite;
constexpr qint64 Dec2019 = 1577750400; // 2019-12-31 00:00 UTC
constexpr qint64 Jan2020 = 1577836800; // 2020-01-01 00:00 UTC

TEST(ResultSort, EachColumnSortsAscendingAndKeepsTheOrderOfEqualRows)
{
    const std::vector<RowSpec> rows = {
        {"b", "/x/B", Over, Jan2020 + 5, 10 * 1024}, {"A", "/x/a", New, Jan2020, 9 * 1024},
        {"a", "/x/A", Over, Dec2019, 1234 * 1024},   {"C", "/x/b", New, Jan2020, 2 * 1024},
        {"_", "/x/_", New, Jan2020 + 1, 100},
    };
    struct Case
    {
        int column;
        const char* order;
    } cases[] = {
        {ResultListModel::Name, "_ A a b C"},
        {ResultListModel::Source, "_ A a b C"},
        {ResultListModel::Target, "_ A a b C"},
        {ResultListModel::Status, "A C _ b a"},
        // Chronological although "12/31/2019" sorts after "1/1/2020" as text.
        {ResultListModel::LastModified, "a A C _ b"},
        // By number: 0 before 2 before 9 before 10 before 1,234.
        {ResultListModel::SizeKB, "_ C A b a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        ResultListModel list(QStringLiteral("ListView1"));
        for (const RowSpec& r : rows)
            list.append(makeRow(r));
        list.sort(c.column);
        EXPECT_EQ(list.sortColumn(), c.column);
        EXPECT_EQ(names(list), c.order);
        EXPECT_EQ(list.rowCount(), int(rows.size()));
    }
}

TEST(ResultSort, TextIgnoresCaseBeyondTheFirstCharactersAndOutsideAscii)
{
    ResultListModel list(QStringLiteral("ListView1"));
    for (const char* n : {"abcdZ", "ABCDa", "abcd", "abc", "ÉTÉ", "été2", "été", "\U00010428b",
                          "\U00010400a", "zzz", "Ärger", "ärger0"})
        list.append(makeRow({n}));
    list.sort(ResultListModel::Name);
    // Folded characters compare by their code; the two Deseret letters fold to one.
    EXPECT_EQ(names(list), QString::fromUtf8("abc abcd ABCDa abcdZ zzz Ärger ärger0 ÉTÉ été été2 "
                                             "\U00010400a \U00010428b"));
}

TEST(ResultSort, RowsSharingAFolderStringSortAsOneRunAndStayStable)
{
    ResultListModel list(QStringLiteral("ListView1"));
    const QString lower = QStringLiteral("/data/x");
    const QString upper = QStringLiteral("/DATA/X");
    const QString other = QStringLiteral("/data/w");
    const std::pair<const char*, const QString*> rows[] = {
        {"1", &lower}, {"2", &lower}, {"3", &other}, {"4", &upper}, {"5", &upper}, {"6", &lower},
    };
    for (const auto& [name, folder] : rows) {
        ResultRow r = makeRow({name});
        r.sourceFolder = *folder; // shared, as the scan shares the folders of its rows
        list.append(r);
    }
    list.sort(ResultListModel::Source);
    EXPECT_EQ(names(list), "3 1 2 4 5 6");
}

TEST(ResultSort, ResortPlacesRowsAddedLaterAndPersistentIndexesFollowTheirRows)
{
    ResultListModel list(QStringLiteral("ListView2"));
    for (qint64 b : {300, 100, 200})
        list.append(makeRow({qPrintable(QString::number(b)), "/f", New, 0, b * 1024}));
    list.flush();
    const QPersistentModelIndex hundred = list.index(1, ResultListModel::Name);
    list.sort(ResultListModel::SizeKB);
    EXPECT_EQ(names(list), "100 200 300");
    EXPECT_EQ(hundred.row(), 0);

    // A later scan appends in its own order; its end restores the chosen order.
    for (qint64 b : {50, 250, 1000})
        list.append(makeRow({qPrintable(QString::number(b)), "/f", New, 0, b * 1024}));
    list.resort();
    EXPECT_EQ(names(list), "50 100 200 250 300 1000");
    EXPECT_EQ(list.rowCount(), 6);
    EXPECT_EQ(hundred.row(), 1);
    EXPECT_EQ(list.index(hundred.row(), 0).data().toString(), "100");

    // Already in order: the views are not disturbed.
    QSignalSpy layout(&list, &QAbstractItemModel::layoutChanged);
    list.resort();
    EXPECT_EQ(layout.count(), 0);
}

TEST(ResultSort, WithoutAChosenColumnRowsKeepTheirOrder)
{
    ResultListModel list(QStringLiteral("ListView1"));
    for (const char* n : {"c", "a", "b"})
        list.append(makeRow({n}));
    list.resort();
    EXPECT_EQ(names(list), "c a b");
    EXPECT_EQ(list.sortColumn(), -1);
    list.sort(ResultListModel::ColumnCount);
    EXPECT_EQ(names(list), "c a b");
}

// Lists large enough for every path of the radix sort, against a plain stable sort: names
// with long shared prefixes and mixed case, folders shared by runs of rows and equal in
// another spelling, sizes beyond 32 bits, times before 1970.
TEST(ResultSort, LargeListsSortLikeAPlainStableSort)
{
    std::mt19937 rng(11);
    const QStringList stems = {"IMG_2023", "img_2023", "Report", "report-final", "ä", "Ä",
                               "zz",       "a",        ""};
    std::vector<QString> folders;
    for (int f = 0; f < 50; ++f)
        folders.push_back(QStringLiteral("/Data/Sub%1").arg(f % 25));
    for (int f = 0; f < 25; ++f) // the same folders in capitals, other strings
        folders.push_back(QStringLiteral("/DATA/SUB%1").arg(f));
    std::vector<ResultRow> rows(100'000);
    for (size_t i = 0; i < rows.size(); ++i) {
        ResultRow& r = rows[i];
        r.name = stems[int(rng() % stems.size())] + QString::number(rng() % 5000);
        if (rng() % 2)
            r.name = r.name.toUpper();
        r.sourceFolder = folders[(i / 37) % folders.size()];
        r.targetFolder = folders[rng() % folders.size()];
        r.status = rng() % 3 ? ResultRow::Status::NewFile : ResultRow::Status::OverWrite;
        r.modified = qint64(rng() % 4'000'000'000ull) - 1'000'000'000;
        r.sizeKB = rng() % 4 ? qint64(rng() % 100) : (qint64(rng()) << 20);
    }
    std::vector<QString> folded[3];
    for (const ResultRow& r : rows) {
        folded[0].push_back(r.name.toCaseFolded());
        folded[1].push_back(r.sourceFolder.toCaseFolded());
        folded[2].push_back(r.targetFolder.toCaseFolded());
    }
    for (int column = 0; column < ResultListModel::ColumnCount; ++column) {
        SCOPED_TRACE(column);
        std::vector<int> expected(rows.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const ResultRow& x = rows[size_t(a)];
            const ResultRow& y = rows[size_t(b)];
            switch (column) {
            case ResultListModel::Status:
                return x.status == ResultRow::Status::NewFile &&
                       y.status == ResultRow::Status::OverWrite;
            case ResultListModel::LastModified:
                return x.modified < y.modified;
            case ResultListModel::SizeKB:
                return x.sizeKB < y.sizeKB;
            default:
                return QString::compare(folded[column][size_t(a)], folded[column][size_t(b)]) < 0;
            }
        });
        EXPECT_TRUE(sortedRowOrder(rows, column) == expected);
    }
}

} // namespace
