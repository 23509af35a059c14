// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_progress.h"

#include <gtest/gtest.h>
#include <limits>

// The texts of the progress line where a fault would show only at an edge: no speed, units
// at their borders, names wider than the terminal.

namespace {

TEST(CliProgress, TimeLeftSizesAndPercentAtTheirEdges)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<qint64, double, QString> times[] = {
        {1000, 0, "--:--"},       {1000, -1, "--:--"},
        {1000, nan, "--:--"},     {0, 0, "0:00"},
        {-5, 10, "0:00"},         {592, 10, "1:00"}, // 59.2 s: 1:00
        {3600, 1, "1:00:00"},     {3661, 1, "1:01:01"},
        {356'400, 1, "99:00:00"}, {qint64(1) << 62, 1, ">99h"}};
    for (const auto& [remaining, rate, text] : times)
        EXPECT_EQ(formatTimeLeft(remaining, rate).toStdString(), text.toStdString())
            << remaining << " at " << rate;

    const std::pair<qint64, QString> sizes[] = {{0, "0 B"},
                                                {1023, "1023 B"},
                                                {1024, "1.00 KiB"},
                                                {10239, "10.0 KiB"},
                                                {1'048'575, "1.00 MiB"}, // not "1024 KiB"
                                                {1'023'999, "0.98 MiB"},
                                                {qint64(3) << 40, "3.00 TiB"}};
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(formatBytes(bytes).toStdString(), text.toStdString()) << bytes;
    EXPECT_EQ(formatRate(-1), "--");
    EXPECT_EQ(formatRate(1536), "1.50 KiB/s");

    const std::tuple<qint64, qint64, int> percents[] = {
        {0, 0, 100},       {999, 1000, 99},   {1, 1000, 0},
        {1000, 1000, 100}, {2000, 1000, 100}, {(qint64(1) << 50) - 1, qint64(1) << 50, 99}};
    for (const auto& [done, total, percent] : percents)
        EXPECT_EQ(percentOf(done, total), percent) << done << " of " << total;
}

TEST(CliProgress, TheLineFitsTheTerminalAndKeepsTheEndOfTheName)
{
    CopyProgress p{.filesDone = 12,
                   .filesTotal = 40,
                   .failed = 1,
                   .bytesDone = 1'300'000'000,
                   .bytesTotal = 3'600'000'000LL,
                   .bytesPerSecond = 56'000'000,
                   .file = "photos/2023/sommer/img_0042.jpg",
                   .filePercent = 45};
    EXPECT_EQ(copyLine(p, 200).toStdString(),
              "12/40 files (1 failed)  1.21 GiB/3.35 GiB  36%  53.4 MiB/s  "
              "0:42 left  photos/2023/sommer/img_0042.jpg 45%");
    // Names of wide and combining characters; every width a terminal may have.
    for (const QString& name : {QString("photos/2023/sommer/img_0042.jpg"),
                                QString::fromUtf8("\u5199\u771f/\u590f\u4f11\u307f/\u6d77.jpg"),
                                QString::fromUtf8("e\u0301te\u0301/\U0001F600.png")}) {
        p.file = name;
        for (int columns = 0; columns <= 120; ++columns) {
            const QString line = copyLine(p, columns);
            EXPECT_LE(columnsOf(line), columns) << columns << ": " << qPrintable(line);
            if (line.contains("left  ")) {
                EXPECT_TRUE(line.endsWith(name.right(3) + " 45%")) << qPrintable(line);
            }
        }
    }
    EXPECT_EQ(columnsOf(QString::fromUtf8("\u6d77e\u0301")), 3);
    EXPECT_EQ(fitColumns("abcdefgh", 6, true), "...fgh");
    EXPECT_EQ(fitColumns(QString::fromUtf8("\u6d77\u6d77\u6d77"), 4), "...");
}

TEST(CliProgress, SpeedFollowsTheLastSeconds)
{
    RateMeter meter;
    meter.add(0, 0);
    meter.add(100, 1000);
    EXPECT_LT(meter.rate(), 0);                    // too short a time to tell
    for (qint64 ms = 200; ms <= 10'000; ms += 100) // 10 MB/s, then stalled from 5 s on
        meter.add(ms, std::min<qint64>(ms, 5000) * 10'000);
    EXPECT_EQ(meter.rate(), 0);
    meter.add(11'000, 50'000'000 + 20'000'000); // 20 MB in the last second
    EXPECT_NEAR(meter.rate(), 20'000'000.0 / 3.0, 1'000'000);
}

} // namespace
