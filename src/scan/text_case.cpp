// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/text_case.h"

void toUpperInPlace(QString& text)
{
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        d[i] = upperUnit(d[i]);
}
