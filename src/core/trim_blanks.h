// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QStringView>

// The text without the blanks at its start and end. A blank is a space only: tabs and line
// breaks are part of the text (QString::trimmed() would take them too). Works on QStringView
// and QByteArrayView alike; the result views the same data.
inline bool isBlank(QChar c)
{
    return c == u' ';
}
inline bool isBlank(char c)
{
    return c == ' ';
}

template <typename View> View trimBlanks(View text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}
