// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <map>

// What a tree of files holds, to compare before and after a run.

// The hash of a file's content, read a piece at a time (large files are read often).
size_t contentHash(const QByteArray& file);

// Relative path (bytes) -> hash of the content, for every file under root but the hidden
// partial copies and the kept versions, or for the partial copies only.
using Tree = std::map<QByteArray, size_t>;
Tree snapshot(const QString& root, bool partials = false);
