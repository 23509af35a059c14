// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

// A small file that replaces another (and any file where the file system has no unnamed
// files) is copied under a hidden temporary name in the destination folder before it takes its
// real name: ".<name>.ketrano-partial-XXXXXX". If the program is killed in that moment, such a
// file stays behind; it is no user file, and a scan does not list it.

// A fresh temporary name for the file name 'name' (bytes as on disk): random suffix, the name
// cut at a character boundary so that the whole fits in NAME_MAX.
QByteArray partialCopyName(const QByteArray& name);

// True for a name that partialCopyName can give.
bool isPartialCopyName(QStringView name);
