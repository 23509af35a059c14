// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_progress.h"

#include <QStringList>
#include <cmath>

namespace {

// The speed is measured over this much of the recent past: long enough to smooth the steps
// of the copy, short enough to follow a disk that slows down.
constexpr qint64 RateWindowMs = 3000;
constexpr qint64 RateLeastSpanMs = 250;

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

int columnsOf(char32_t c)
{
    const int category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || c == 0x200B ||
        (c >= 0xFE00 && c <= 0xFE0F))
        return 0;
    return isWide(c) ? 2 : 1;
}

QString twoDigits(qint64 n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString formatBytes(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(qMax<qint64>(bytes, 0)) + QStringLiteral(" B");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = double(bytes) / 1024;
    int unit = 0;
    // 1023.9 KiB would print as "1024 KiB": go on to the next unit before that.
    while (value >= 999.95 && unit < 5) {
        value /= 1024;
        ++unit;
    }
    const int decimals = value < 9.995 ? 2 : value < 99.95 ? 1 : 0;
    return QString::number(value, 'f', decimals) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString formatRate(double bytesPerSecond)
{
    if (bytesPerSecond < 0 || !std::isfinite(bytesPerSecond))
        return QStringLiteral("--");
    return formatBytes(qint64(bytesPerSecond)) + QStringLiteral("/s");
}

QString formatTimeLeft(qint64 remaining, double bytesPerSecond)
{
    if (remaining <= 0)
        return QStringLiteral("0:00");
    if (!(bytesPerSecond > 0) || !std::isfinite(bytesPerSecond))
        return QStringLiteral("--:--");
    const double seconds = std::ceil(double(remaining) / bytesPerSecond);
    if (seconds > 99 * 3600)
        return QStringLiteral(">99h");
    const qint64 s = qint64(seconds);
    if (s < 3600)
        return QString::number(s / 60) + QLatin1Char(':') + twoDigits(s % 60);
    return QString::number(s / 3600) + QLatin1Char(':') + twoDigits(s / 60 % 60) +
           QLatin1Char(':') + twoDigits(s % 60);
}

int percentOf(qint64 done, qint64 total)
{
    if (total <= 0 || done >= total)
        return 100;
    if (done <= 0)
        return 0;
    return int(qMin<qint64>(99, qint64(double(done) * 100 / double(total))));
}

int columnsOf(const QString& text)
{
    int columns = 0;
    for (const char32_t c : text.toUcs4())
        columns += columnsOf(c);
    return columns;
}

QString fitColumns(const QString& text, int columns, bool fromStart)
{
    if (columnsOf(text) <= columns)
        return text;
    const QString dots = QStringLiteral("...");
    if (columns <= dots.size())
        return dots.left(qMax(columns, 0));
    const QList<uint> chars = text.toUcs4();
    QList<uint> kept;
    int used = int(dots.size());
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[fromStart ? chars.size() - 1 - i : i];
        if (used + columnsOf(c) > columns)
            break;
        used += columnsOf(c);
        kept.append(c);
    }
    if (fromStart)
        std::reverse(kept.begin(), kept.end());
    const QString part =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
    return fromStart ? dots + part : part + dots;
}

QString copyLine(const CopyProgress& p, int columns)
{
    QString files = QStringLiteral("%1/%2 files").arg(p.filesDone).arg(p.filesTotal);
    if (p.failed > 0)
        files += QStringLiteral(" (%1 failed)").arg(p.failed);
    const QStringList fields{
        files, formatBytes(p.bytesDone) + QLatin1Char('/') + formatBytes(p.bytesTotal),
        QString::number(percentOf(p.bytesDone, p.bytesTotal)) + QLatin1Char('%'),
        formatRate(p.bytesPerSecond),
        formatTimeLeft(p.bytesTotal - p.bytesDone, p.bytesPerSecond) + QStringLiteral(" left")};
    const QString head = fields.join(QLatin1String("  "));
    if (p.file.isEmpty())
        return fitColumns(head, columns);
    const QString percent =
        p.filePercent >= 0 ? QStringLiteral(" %1%").arg(p.filePercent) : QString();
    // The name gets what the figures leave, and at least a few columns to be recognised.
    const int room = columns - columnsOf(head) - 2 - int(percent.size());
    if (room < 8)
        return fitColumns(head, columns);
    return head + QStringLiteral("  ") + fitColumns(p.file, room, true) + percent;
}

QString scanLine(int entry, int entries, qint64 sourceFiles, qint64 targetFiles, int columns)
{
    return fitColumns(QStringLiteral("Scanning entry %1 of %2: %3 source, %4 target files found")
                          .arg(entry)
                          .arg(entries)
                          .arg(sourceFiles)
                          .arg(targetFiles),
                      columns);
}

void RateMeter::add(qint64 msecs, qint64 bytes)
{
    m_samples.emplace_back(msecs, bytes);
    // One sample older than the window stays, so that the window is always spanned whole.
    while (m_samples.size() > 2 && m_samples[1].first <= msecs - RateWindowMs)
        m_samples.pop_front();
}

double RateMeter::rate() const
{
    if (m_samples.size() < 2)
        return -1;
    const auto& [firstMs, firstBytes] = m_samples.front();
    const auto& [lastMs, lastBytes] = m_samples.back();
    if (lastMs - firstMs < RateLeastSpanMs)
        return -1;
    return double(lastBytes - firstBytes) * 1000 / double(lastMs - firstMs);
}
