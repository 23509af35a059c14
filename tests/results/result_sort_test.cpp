// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_model.h"

#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

constexpr auto New = ResultRow::Status::NewFile;
constexpr auto Over = ResultRow::Status::OverWrite;

QString names(const ResultListModel& list)
{
    QStringList out;
    for (const ResultRow& r : list.rows())
        out << r.name();
    return out.join(' ');
}

TEST(ResultSort, ResortPlacesRowsAddedLaterAndPersistentIndexesFollowTheirRows)
{
    const auto sized = [](int kb) {
        ResultRow row(QString::number(kb), "/f", "/t");
        row.sizeBytes = kb * 1024;
        return row;
    };
    ResultListModel list("ListView2");
    for (int kb : {300, 100, 200})
        list.append(sized(kb));
    list.flush();
    list.resort(); // no column chosen yet: the order of adding stays
    EXPECT_EQ(names(list), "300 100 200");
    const QPersistentModelIndex hundred = list.index(1, ResultListModel::Name);
    list.sort(ResultListModel::SizeKB);
    EXPECT_EQ(names(list), "100 200 300");
    EXPECT_EQ(hundred.row(), 0);

    for (int kb : {50, 250, 1000}) // a later scan appends in its own order
        list.append(sized(kb));
    list.resort();
    EXPECT_EQ(names(list), "50 100 200 250 300 1000");
    EXPECT_EQ(list.rowCount(), 6);
    EXPECT_EQ(list.index(hundred.row(), 0).data().toString(), "100");

    QSignalSpy layout(&list, &QAbstractItemModel::layoutChanged);
    list.resort(); // already in order: the views are not disturbed
    EXPECT_EQ(layout.count(), 0);
}

// Every path of the radix sort and long cycles of rows moving in place, against a stable sort
// of case-folded texts: long shared prefixes, letters beyond ASCII and 16 bits, folder strings
// shared by runs of rows and equal to others in another spelling, huge sizes, times before 1970.
TEST(ResultSort, LargeListsSortLikeAPlainStableSort)
{
    std::mt19937 rng(11);
    const QStringList stems = {"IMG_2023", "img_2023",   "Report",     "report-final", "été",
                               "ÉTÉ",      "\U00010400", "\U00010428", "zz",           "a",
                               ""};
    std::vector<QString> folders;
    for (int f = 0; f < 75; ++f) // the last 25 in capitals
        folders.push_back(QString(f < 50 ? "/Data/Sub%1" : "/DATA/SUB%1").arg(f % 25));
    ResultRows rows(100'000);
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString name = stems[int(rng() % stems.size())] + QString::number(rng() % 5000);
        const QString& source = folders[(i / 37) % folders.size()];
        rows[i] =
            ResultRow(rng() % 2 ? name.toUpper() : name, source, folders[rng() % folders.size()]);
        rows[i].modified = qint64(rng() % 4'000'000'000ull) - 1'000'000'000;
        rows[i].modifiedNs = qint32(i); // the row's number, to follow it
        rows[i].sizeBytes = 1024 * (rng() % 4 ? qint64(rng() % 100) : (qint64(rng()) << 20));
        rows[i].status = rng() % 3 ? New : Over;
    }
    const auto text = [](const ResultRow& r, int column) {
        return column == 0 ? r.name() : column == 1 ? r.sourceFolder() : r.targetFolder();
    };
    for (int column = 0; column < ResultListModel::ColumnCount; ++column) {
        SCOPED_TRACE(column);
        std::vector<QString> folded;
        for (const ResultRow& r : rows)
            if (column <= ResultListModel::Target)
                folded.push_back(text(r, column).toCaseFolded());
        std::vector<int> expected(rows.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const ResultRow &x = rows[size_t(a)], &y = rows[size_t(b)];
            switch (column) {
            case ResultListModel::Status:
                return x.status == New && y.status == Over;
            case ResultListModel::LastModified:
                return x.modified < y.modified;
            case ResultListModel::SizeKB:
                return x.sizeKB() < y.sizeKB();
            default:
                return QString::compare(folded[size_t(a)], folded[size_t(b)]) < 0;
            }
        });
        ResultListModel list("ListView1");
        for (const ResultRow& r : rows)
            list.append(r);
        list.sort(column);
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(list.at(int(i)).modifiedNs, expected[i]) << i;
    }
}

} // namespace

// The names of a folder's rows are kept one byte a character until one needs two: every name
// must then still be found where it was put, whole.
TEST(ResultRows, NamesOfAFolderInOneByteOrTwo)
{
    const QStringList names = {"a.txt", "café.doc", "b", "日本.txt", "ÿ", "\U00010400.png"};
    QExplicitlySharedDataPointer<RowFolder> folder(new RowFolder);
    ResultRows rows;
    for (int i = 0; i < names.size(); ++i) {
        rows.emplace_back(folder, folder->addName(names[i]));
        for (int k = 0; k <= i; ++k) {
            EXPECT_EQ(rows[size_t(k)].name(), names[k]) << i;
            EXPECT_TRUE(rows[size_t(k)].nameView() == names[k]) << i;
        }
    }
}
