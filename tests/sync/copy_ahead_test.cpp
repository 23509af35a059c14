// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_ahead.h"

#include "support/temp_tree.h"

#include <QDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

// The copies made ahead, by the workers or by the engine while it would wait, come to the
// engine in row order, each the file of its own row; what is dropped unplaced (a stop, the
// program closing) leaves nothing, not even a hidden partial copy. Small files (copied by
// whoever is free) lie around large ones (one at a time, by the workers only), each with bytes
// of its own.
TEST(CopyAhead, CopiesComeInRowOrderEachTheFileOfItsRowAndTheRestLeavesNothing)
{
    // Workers, and every copy into an unnamed file or under a hidden name.
    for (const auto& [workers, unnamed] : {std::pair(1, true), {2, true}, {2, false}}) {
        SCOPED_TRACE(testing::Message() << workers << (unnamed ? " unnamed" : " hidden"));
        TempTree tree;
        std::vector<CopyAhead::Job> jobs;
        for (int i = 0; i < 200; ++i) {
            const QString name = QStringLiteral("f%1").arg(i);
            QByteArray data(i % 40 == 7 ? (3 << 19) + i : (i * 37) % 5000, char('a' + i % 26));
            data.prepend(name.toUtf8());
            TempTree::write(tree.path("src/" + name), data, 1'600'000'000);
            ResultRow row(name, tree.path("src"), tree.path("dst"));
            row.sizeBytes = data.size();
            jobs.push_back({2 * i + 1, row, {}, tree.path("dst")});
        }
        QDir().mkpath(tree.path("dst"));
        QStringList placed;
        {
            CopyAhead ahead(unnamed ? CopyPreparer()
                                    : CopyPreparer(std::numeric_limits<qint64>::max(), false),
                            jobs, nullptr, workers);
            CopyPlacer placer;
            for (const CopyAhead::Job& job : std::vector(jobs.begin(), jobs.begin() + 150)) {
                ASSERT_EQ(ahead.nextIndex(), job.index);
                PreparedCopy copy = ahead.take([](qint64) {});
                ASSERT_FALSE(placer.place(job.row, copy).failed()) << qPrintable(job.row.name());
                EXPECT_EQ(TempTree::read(job.row.targetPath()),
                          TempTree::read(job.row.sourcePath()))
                    << qPrintable(job.row.name());
                placed << job.row.name();
            }
            PreparedCopy taken = ahead.take([](qint64) {}); // taken, never placed
        }
        QStringList there = QDir(tree.path("dst")).entryList(QDir::Files | QDir::Hidden);
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(there, placed);
    }
}

} // namespace
