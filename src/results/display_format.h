// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// Texts shown in the result lists and on the status bar, in the user's locale (QLocale()).

// "#,##0": whole number with the locale's group separator.
QString formatKB(qint64 kb);

// The regional general date of a UTC time: short date, then the time with seconds; a time of
// exactly midnight shows the date alone.
QString formatGeneralDate(qint64 utcSeconds);

// Bytes to kilobytes as the lists show them: divided by 1024, a half rounded away from zero.
inline qint64 bytesToKB(qint64 bytes)
{
    return bytes >= 0 ? (bytes + 512) / 1024 : -((-bytes + 512) / 1024);
}
