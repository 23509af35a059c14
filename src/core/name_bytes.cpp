// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/name_bytes.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00; // + the byte 0x80..0xFF

// A lone low surrogate U+DC80..U+DCFF; the same unit after a high surrogate is half of a
// character beyond U+FFFF (U+10080, say).
bool isEscape(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    return c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !QChar::isHighSurrogate(text[i - 1].unicode()));
}

// The length of the valid UTF-8 sequence at s[i], or 0 when none starts there. Overlong
// forms, surrogates and values beyond U+10FFFF are not valid.
qsizetype validSequence(const unsigned char* s, qsizetype i, qsizetype n)
{
    const unsigned char b = s[i];
    if (b < 0x80)
        return 1;
    auto cont = [&](qsizetype k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
    if (b >= 0xC2 && b <= 0xDF)
        return cont(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (!cont(1) || !cont(2))
            return 0;
        if (b == 0xE0 && s[i + 1] < 0xA0)
            return 0; // overlong
        if (b == 0xED && s[i + 1] >= 0xA0)
            return 0; // a surrogate
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        if (b == 0xF0 && s[i + 1] < 0x90)
            return 0; // overlong
        if (b == 0xF4 && s[i + 1] >= 0x90)
            return 0; // beyond U+10FFFF
        return 4;
    }
    return 0;
}

// QString::fromUtf8 drops a byte-order mark (U+FEFF) at the start of what it is given; in a
// name it is a character like any other, so it is kept.
QString utf8Text(QByteArrayView bytes)
{
    QString marks;
    while (bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') {
        marks += QChar(char16_t(0xFEFF));
        bytes = bytes.sliced(3);
    }
    return marks.isEmpty() ? QString::fromUtf8(bytes) : marks + QString::fromUtf8(bytes);
}

} // namespace

QString nameText(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return utf8Text(bytes);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    qsizetype runStart = 0; // start of the valid bytes not yet converted
    for (qsizetype i = 0; i < n;) {
        const qsizetype length = validSequence(s, i, n);
        if (length > 0) {
            i += length;
            continue;
        }
        text += utf8Text(bytes.sliced(runStart, i - runStart));
        text += QChar(char16_t(EscapeBase + s[i]));
        runStart = ++i;
    }
    text += utf8Text(bytes.sliced(runStart));
    return text;
}

int escapedByte(QStringView text, qsizetype i)
{
    return isEscape(text, i) ? int(text[i].unicode() - EscapeBase) : -1;
}

bool holdsRawBytes(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isEscape(text, i))
            return true;
    return false;
}

QByteArray nameBytes(QStringView text)
{
    if (!holdsRawBytes(text))
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isEscape(text, i))
            continue;
        bytes += text.sliced(runStart, i - runStart).toUtf8();
        bytes += char(text[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    bytes += text.sliced(runStart).toUtf8();
    return bytes;
}

QString displayName(const QString& text)
{
    if (!holdsRawBytes(text))
        return text;
    QString shown = text;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isEscape(text, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}
