// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Letter case as the scan compares names: one UTF-16 unit at a time, by the Unicode upper-case
// mapping of that character (letters outside the Basic Multilingual Plane keep their case).
// Never allocates, so it can run once per file of a large tree.

inline char16_t upperUnit(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    return QChar::toUpper(c);
}

// Upper-cases text in place (its length never changes).
void toUpperInPlace(QString& text);

// Orders names as QStringView::compare(Qt::CaseInsensitive) does (by Unicode case folding),
// with a quick path for the plain ASCII that nearly every file name is: a folder's entries
// are sorted by this, and a full folding of every character took a twentieth of the walk.
int compareIgnoringCase(QStringView a, QStringView b);
