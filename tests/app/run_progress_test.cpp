// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_progress.h"

#include <QtTest>

// The bar's percent, speed and time left, from bytes fed at given times (no clock involved).
class RunProgressTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void speedAndTimeLeft_data()
    {
        // Steps "ms:bytes" (a row passed) or "ms~bytes" (bytes of the file being copied).
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("text");
        const std::tuple<const char*, qint64, const char*, const char*> rows[] = {
            {"nothing yet", 1'000'000, "", "0%"},
            {"under a second: no speed yet", 1'000'000, "500:100000", "10%"},
            {"steady", 10'000'000, "1000:1000000 2000:1000000", "20% · 1.0 MB/s · 8 s left"},
            {"in a large file", 100'000'000, "1000~1000000 2000~2000000",
             "2% · 1.0 MB/s · 1 min 38 s left"},
            // The speed is that of the last seconds: a slow start is forgotten.
            {"faster now", 1'000'000'000,
             "1000:1000 2000:1000 3000:1000 4000:1000 5000:1000 6000:1000 7000:100000000 "
             "8000:100000000",
             "20% · 40.0 MB/s · 20 s left"},
            {"minutes left", 1'000'000'000, "2000:10000000", "1% · 5.0 MB/s · 3 min 18 s left"},
            {"hours left", 100'000'000'000, "1000:10000000", "0% · 10.0 MB/s · 2 h 46 min left"},
            {"done", 2000, "1000:1000 2000:1000", "100% · 1.0 kB/s · 0 s left"},
            {"nothing to copy", 0, "1000:0", "0%"}};
        for (const auto& [name, total, steps, text] : rows)
            QTest::newRow(name) << total << QString(steps) << QString(text);
    }

    void speedAndTimeLeft()
    {
        QFETCH(qint64, total);
        QFETCH(QString, steps);
        QFETCH(QString, text);
        RunProgress progress;
        progress.start(total, 0);
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            const bool inFile = step.contains('~');
            const QStringList parts = step.split(inFile ? '~' : ':');
            if (inFile)
                progress.fileProgress(parts[1].toLongLong(), parts[0].toLongLong());
            else
                progress.rowPassed(parts[1].toLongLong(), parts[0].toLongLong());
        }
        QCOMPARE(progress.text(), text);
        QVERIFY(progress.permille() >= 0 && progress.permille() <= 1000);
    }
};

QTEST_MAIN(RunProgressTest)
#include "run_progress_test.moc"
