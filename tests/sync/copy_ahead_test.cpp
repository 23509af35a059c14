// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_ahead.h"

#include "support/temp_tree.h"

#include <QDir>

#include <gtest/gtest.h>

#include <limits>

// The copies made ahead, by the workers or by the engine while it would wait, come to the
// engine in row order, each the file of its own row; what is dropped unplaced leaves nothing.

namespace {

// Files of many sizes, small ones (copied by whoever is free) around large ones (one at a
// time, by the workers only), each with bytes of its own.
std::vector<CopyAhead::Job> makeJobs(const TempTree& tree, int count)
{
    std::vector<CopyAhead::Job> jobs;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("f%1").arg(i);
        const qsizetype size = i % 40 == 7 ? (3 << 19) + i : (i * 37) % 5000;
        QByteArray data(size, char('a' + i % 26));
        data.prepend(name.toUtf8());
        TempTree::write(tree.path("src/" + name), data, 1'600'000'000);
        ResultRow row{
            .name = name, .sourceFolder = tree.path("src"), .targetFolder = tree.path("dst")};
        row.sizeBytes = data.size();
        jobs.push_back({2 * i + 1, row, tree.path("dst")});
    }
    QDir().mkpath(tree.path("dst"));
    return jobs;
}

TEST(CopyAhead, CopiesComeInRowOrderEachTheFileOfItsRow)
{
    // Workers, and every copy into an unnamed file or under a hidden name.
    for (const auto& [workers, unnamed] : {std::pair(1, true), {2, true}, {2, false}}) {
        SCOPED_TRACE(workers);
        TempTree tree;
        const std::vector<CopyAhead::Job> jobs = makeJobs(tree, 200);
        CopyAhead ahead(unnamed ? CopyPreparer()
                                : CopyPreparer(std::numeric_limits<qint64>::max(), false),
                        jobs, nullptr, workers);
        CopyPlacer placer;
        for (const CopyAhead::Job& job : jobs) {
            ASSERT_EQ(ahead.nextIndex(), job.index);
            PreparedCopy copy = ahead.take([](qint64) {});
            ASSERT_FALSE(placer.place(job.row, copy).failed()) << qPrintable(job.row.name);
            EXPECT_EQ(TempTree::read(job.row.targetPath()), TempTree::read(job.row.sourcePath()))
                << qPrintable(job.row.name);
        }
        EXPECT_EQ(ahead.nextIndex(), -1);
        EXPECT_EQ(QDir(tree.path("dst")).entryList(QDir::Files | QDir::Hidden).size(), 200);
    }
}

// A pass that ends early (a stop, the program closing) drops what was copied ahead: no file,
// no hidden partial copy is left of the rows not placed.
TEST(CopyAhead, WhatIsDroppedUnplacedLeavesNothing)
{
    TempTree tree;
    const std::vector<CopyAhead::Job> jobs = makeJobs(tree, 100);
    {
        CopyAhead ahead(CopyPreparer(std::numeric_limits<qint64>::max(), false), jobs, nullptr, 2);
        CopyPlacer placer;
        for (int i = 0; i < 3; ++i) {
            PreparedCopy copy = ahead.take([](qint64) {});
            ASSERT_FALSE(placer.place(jobs[size_t(i)].row, copy).failed());
        }
        PreparedCopy taken = ahead.take([](qint64) {}); // taken, never placed
    }
    EXPECT_EQ(QDir(tree.path("dst")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"f0", "f1", "f2"}));
}

} // namespace
