// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Strings that many rows share (the folder of every file in it) are one QString whose data
// all those rows point to. Whether two strings are that one string is told from their data
// pointer and length alone, without reading a character, which is what makes "the same
// folder as the row before" cheap enough to ask once per file.
//
// Lifetime rule: a data pointer names a string only while some QString holding that data is
// alive; once the last holder is gone the memory may hold a new string of the same length.
// So compare only strings that are alive, and remember a string by keeping a copy of the
// QString (as LastSharedString does), never by its pointer alone.

inline bool sameSharedString(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

// The string seen last. It keeps its own reference, so it stays valid whatever happens to
// the rows it came from.
class LastSharedString
{
public:
    // True when 's' is the string of the last call; otherwise 's' becomes the last one.
    bool repeats(const QString& s)
    {
        if (m_seen && sameSharedString(s, m_last))
            return true;
        m_last = s;
        m_seen = true;
        return false;
    }

private:
    QString m_last;
    bool m_seen = false;
};

// The characters [at, at + length) of 'whole' as a string that shares whole's storage (one
// more reference to it, no copy), so that the names of many files can live in one string and
// still be handed out as strings of their own. Changing the result detaches it as usual; the
// storage lives while any of the strings does. The substring is followed by whatever 'whole'
// holds after it: a caller that wants it NUL-terminated (as QString::utf16() promises) puts a
// NUL there.
inline QString sharedSubstring(const QString& whole, qsizetype at, qsizetype length)
{
    QString::DataPointer& d = const_cast<QString&>(whole).data_ptr();
    if (!d.d_ptr() || at + length >= whole.size())
        return whole.sliced(at, length); // static data, or no NUL after it: a copy
    d.d_ptr()->ref();
    return QString(QString::DataPointer(d.d_ptr(), d.data() + at, length));
}
