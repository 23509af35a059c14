// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// "YYYY-MM-DD HH:MM:SS" in local time, appended to UTF-8 text (isoLocalTime as bytes).
void appendLocalTime(QByteArray& out, qint64 utcSeconds);
