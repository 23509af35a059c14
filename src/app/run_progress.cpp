// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_progress.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace {
// The speed is that of the last few seconds: it follows a change of disk or file size soon,
// without jumping with every file.
constexpr qint64 WindowMs = 5000;
constexpr qint64 FirstMs = 1000;

} // namespace

void RunProgress::start(qint64 bytesTotal, qint64 nowMs)
{
    m_total = qMax<qint64>(bytesTotal, 0);
    m_passed = 0;
    m_inFile = 0;
    m_startMs = nowMs;
    m_samples.clear();
    m_samples.emplace_back(nowMs, 0);
}

void RunProgress::rowPassed(qint64 rowBytes, qint64 nowMs)
{
    m_passed += qMax<qint64>(rowBytes, 0);
    m_inFile = 0;
    sample(nowMs);
}

void RunProgress::fileProgress(qint64 bytesDone, qint64 nowMs)
{
    m_inFile = qMax<qint64>(bytesDone, 0);
    sample(nowMs);
}

void RunProgress::sample(qint64 nowMs)
{
    m_samples.emplace_back(nowMs, done());
    while (m_samples.size() > 2 && m_samples[1].first <= nowMs - WindowMs)
        m_samples.pop_front();
}

int RunProgress::permille() const
{
    if (m_total <= 0)
        return 0;
    return int(qBound(qint64(0), done() * 1000 / m_total, qint64(1000)));
}

double RunProgress::speed() const
{
    if (m_samples.size() < 2)
        return 0;
    const auto& [firstMs, firstBytes] = m_samples.front();
    const auto& [lastMs, lastBytes] = m_samples.back();
    if (lastMs - m_startMs < FirstMs || lastMs <= firstMs)
        return 0;
    return double(lastBytes - firstBytes) * 1000.0 / double(lastMs - firstMs);
}

qint64 RunProgress::secondsLeft() const
{
    const double perSecond = speed();
    if (perSecond <= 0)
        return -1;
    return qint64(std::ceil(double(qMax<qint64>(m_total - done(), 0)) / perSecond));
}

QString RunProgress::bytesText(double bytes)
{
    return QLocale().formattedDataSize(qint64(bytes), 1, QLocale::DataSizeSIFormat);
}

QString RunProgress::durationText(qint64 seconds)
{
    if (seconds < 60)
        return tr("%1 s").arg(seconds);
    if (seconds < 3600)
        return tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    return tr("%1 h %2 min").arg(seconds / 3600).arg(seconds / 60 % 60);
}

QString RunProgress::text() const
{
    QStringList parts;
    parts << QLocale().toString(permille() / 10) + QLatin1Char('%');
    const double perSecond = speed();
    if (perSecond > 0) {
        parts << tr("%1/s").arg(bytesText(perSecond));
        parts << tr("%1 left").arg(durationText(secondsLeft()));
    }
    return parts.join(QStringLiteral(" · "));
}
