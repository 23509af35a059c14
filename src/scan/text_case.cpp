// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/text_case.h"

#include <algorithm>

void toUpperInPlace(QString& text)
{
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        d[i] = upperUnit(d[i]);
}

int compareIgnoringCase(QStringView a, QStringView b)
{
    const auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if ((x | y) >= 0x80) // what came before is equal: Qt's folding decides from here
            return a.sliced(i).compare(b.sliced(i), Qt::CaseInsensitive);
        if (x != y && fold(x) != fold(y))
            return fold(x) < fold(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
