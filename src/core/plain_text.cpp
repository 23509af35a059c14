// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/plain_text.h"

#include "core/name_bytes.h"

#include <algorithm>
#include <ctime>

QString escapeForLine(const QString& text)
{
    // Most names are printable ASCII: nothing to escape, the text is shared as it is.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return plainForLine(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (const int byte = escapedByte(text, i); byte >= 0) {
            out += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
            continue;
        }
        switch (c.unicode()) {
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        default:
            if (c.category() == QChar::Other_Control)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString isoUtcTime(qint64 utcSeconds)
{
    const std::time_t t = std::time_t(utcSeconds);
    std::tm tm = {};
    if (!gmtime_r(&t, &tm))
        return {};
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return QString::fromLatin1(buffer);
}

QString escapeField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

QString unescapeField(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('t')   ? QChar(u'\t')
               : next == QLatin1Char('n') ? QChar(u'\n')
                                          : next;
    }
    return out;
}
