// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names on disk are bytes; the program handles them as text for display, sorting and
// pairing. A name that is not valid UTF-8 (written by an old system or a camera) keeps every
// byte: each byte that is not part of a valid UTF-8 sequence is held in the text as the lone
// surrogate U+DC80..U+DCFF (0x80..0xFF), as Python's "surrogateescape" does. Valid UTF-8 never
// encodes a surrogate, so turning the text back into bytes gives the name exactly as it was.
// Every path that goes to a system call goes through nameBytes().

// The text of a name or path read from the file system.
QString nameText(QByteArrayView bytes);
// The bytes of a name or path held as text, for a system call.
QByteArray nameBytes(QStringView text);

// The byte that the unit at i stands for when it is one that is not valid UTF-8, else -1.
int escapedByte(QStringView text, qsizetype i);
// True when the text holds bytes that are not valid UTF-8.
bool holdsRawBytes(QStringView text);
// The text for the eye: every byte that is not valid UTF-8 shows as U+FFFD.
QString displayName(const QString& text);
