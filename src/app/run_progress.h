// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>
#include <deque>

// The progress of a synchronization by bytes over the whole run: the share done, the speed of
// the last seconds and the time left at that speed. Fed with the run's bytes as they are
// copied and the time they were copied at (milliseconds from any fixed start).
class RunProgress
{
    Q_DECLARE_TR_FUNCTIONS(RunProgress)

public:
    void start(qint64 bytesTotal, qint64 nowMs);
    // A row is done with (copied, failed or passed over): its bytes no longer lie ahead.
    void rowPassed(qint64 rowBytes, qint64 nowMs);
    // So many bytes of the file being copied are done.
    void fileProgress(qint64 bytesDone, qint64 nowMs);

    qint64 total() const { return m_total; }
    qint64 done() const { return m_passed + m_inFile; }
    // Parts per thousand done, 0..1000.
    int permille() const;
    // Bytes per second over the last seconds; 0 until there is a second's worth to tell.
    double speed() const;
    // Seconds left at that speed; -1 when it cannot be told yet.
    qint64 secondsLeft() const;
    // "42% · 12.5 MB/s · 1 min 20 s left" (the parts that can be told yet).
    QString text() const;

    static QString bytesText(double bytes);
    static QString durationText(qint64 seconds);

private:
    void sample(qint64 nowMs);

    qint64 m_total = 0;
    qint64 m_passed = 0;
    qint64 m_inFile = 0;
    qint64 m_startMs = 0;
    std::deque<std::pair<qint64, qint64>> m_samples; // (ms, bytes done) of the last seconds
};
