// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Texts that read the same whatever the user's locale and time zone: for logs, scripts and
// the terminal.

// A text as one field of a line: TAB, LF, CR and backslash written as \t, \n, \r and \\, every
// other control character (C0, DEL, C1) as \xHH, and so is each byte of a name that is not
// valid UTF-8. So a name can neither break a line or a field apart nor send control sequences
// to a terminal, and every name reads back to its bytes.
QString escapeForLine(const QString& text);
// Whether escapeForLine() leaves a character as it is: printable ASCII but the backslash.
inline bool plainForLine(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'\\';
}

// "2001-09-09T01:46:40Z": ISO 8601 in UTC, whole seconds.
QString isoUtcTime(qint64 utcSeconds);

// A field of a line of the program's own state files (tab-separated): a tab, line end or
// backslash inside it escaped, and back.
QString escapeField(const QString& text);
QString unescapeField(QStringView text);
