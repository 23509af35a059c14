// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/display_format.h"

#include <QDateTime>
#include <QLocale>

namespace {

// Removes the time-zone token "t" (and blanks around it) from a Qt time format, keeping
// quoted literal text as it is.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

struct GeneralDateFormat
{
    QString localeName;
    QString date;
    QString time;
};

const GeneralDateFormat& generalDateFormat(const QLocale& locale)
{
    static thread_local GeneralDateFormat cached;
    if (cached.date.isEmpty() || cached.localeName != locale.name()) {
        cached.localeName = locale.name();
        QString date = locale.dateFormat(QLocale::ShortFormat);
        // The general date always shows four-digit years.
        if (!date.contains(QLatin1String("yyyy")))
            date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        cached.date = date;
        cached.time = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    }
    return cached;
}

} // namespace

QString formatKB(qint64 kb)
{
    return QLocale().toString(kb);
}

QString formatGeneralDate(qint64 utcSeconds)
{
    const QLocale locale;
    const GeneralDateFormat& f = generalDateFormat(locale);
    const QDateTime local = QDateTime::fromSecsSinceEpoch(utcSeconds);
    const QString date = locale.toString(local.date(), f.date);
    if (local.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + locale.toString(local.time(), f.time);
}
