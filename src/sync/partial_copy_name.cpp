// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/partial_copy_name.h"

#include <QRandomGenerator>
#include <QString>

namespace {
constexpr char Marker[] = ".ketrano-partial-";
constexpr int MarkerLength = int(sizeof(Marker)) - 1;
constexpr int SuffixLength = 6;
constexpr int NameMax = 255;
constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isSuffixLetter(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
} // namespace

QByteArray partialCopyName(const QByteArray& name)
{
    int keep = qMin(int(name.size()), NameMax - 1 - MarkerLength - SuffixLength);
    while (keep > 0 && keep < name.size() && (uchar(name[keep]) & 0xC0) == 0x80)
        --keep; // not inside a UTF-8 sequence
    QByteArray result;
    result.reserve(1 + keep + MarkerLength + SuffixLength);
    result.append('.').append(name.constData(), keep).append(Marker, MarkerLength);
    // One draw gives all the letters: 62^6 is below 2^36.
    constexpr quint64 LetterCount = sizeof(Letters) - 1;
    quint64 draw = QRandomGenerator::global()->generate64();
    for (int i = 0; i < SuffixLength; ++i, draw /= LetterCount)
        result.append(Letters[draw % LetterCount]);
    return result;
}

bool isPartialCopyName(QStringView name)
{
    const qsizetype markerAt = name.size() - SuffixLength - MarkerLength;
    if (markerAt < 1 || !name.startsWith(QLatin1Char('.')))
        return false;
    if (name.mid(markerAt, MarkerLength) != QLatin1String(Marker))
        return false;
    for (QChar c : name.right(SuffixLength))
        if (!isSuffixLetter(c))
            return false;
    return true;
}
