// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/compare_sides.h"

#include <benchmark/benchmark.h>

// Both comparison passes over two sides of N rows, none of which match: every row of both
// sides becomes a "New File" row. Linear pairing keeps this well under two seconds for a
// million rows a side.

namespace {

FileList makeSide(const char* prefix, int rows)
{
    FileList lines;
    lines.reserve(size_t(rows));
    QString folder;
    for (int i = 0; i < rows; ++i) {
        if (i % 100 == 0) // a hundred files per folder share its string
            folder =
                QStringLiteral("%1/d%2/e%3").arg(QLatin1String(prefix)).arg(i / 10000).arg(i / 100);
        lines.append(folder, QStringLiteral("file_%1.txt").arg(i), 1'600'000'000 + i, 0,
                     qint64(i) * 37);
    }
    return lines;
}

void comparePairs(benchmark::State& bench)
{
    const int rows = int(bench.range(0));
    const Callbacks cb;
    for (auto _ : bench) {
        bench.PauseTiming();
        auto state = std::make_unique<AppState>();
        FileList one = makeSide("left", rows);
        FileList two = makeSide("right", rows);
        SideTable source, target;
        bench.ResumeTiming();

        buildSideTables(*state, cb, one, source, two, target);
        AppState& s = *state;
        ComparePass first{source,
                          target,
                          s.sourceRows,
                          s.targetRows,
                          QStringLiteral("/src"),
                          QStringLiteral("/dst"),
                          s.SourceFileCount,
                          s.SourceSizeKB,
                          s.TargetFileCount,
                          s.TargetSizeKB};
        CompareSides(s, cb, first);
        ComparePass second{target,
                           source,
                           s.targetRows,
                           s.sourceRows,
                           QStringLiteral("/dst"),
                           QStringLiteral("/src"),
                           s.TargetFileCount,
                           s.TargetSizeKB,
                           s.SourceFileCount,
                           s.SourceSizeKB};
        CompareSides(s, cb, second);
        if (s.sourceRows.size() != rows || s.targetRows.size() != rows)
            bench.SkipWithError("wrong number of rows");

        bench.PauseTiming();
        state.reset();
        bench.ResumeTiming();
    }
    bench.SetItemsProcessed(bench.iterations() * 2 * rows);
}

} // namespace

BENCHMARK(comparePairs)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
