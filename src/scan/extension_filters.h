// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "scan/file_line.h"
#include "scan/wildcard.h"

#include <QStringList>
#include <vector>

// The Include and Exclude texts of a profile entry: comma lists of extensions without their
// dot ("txt, doc"). Include decides the file patterns of the walk; Exclude removes lines from
// the walked record lists afterwards.

// The items of the text between its commas, each with leading and trailing blanks removed:
// "txt, doc" gives txt and doc, "txt,,doc" an empty item between them, "txt," txt and "",
// an empty text one empty item.
QStringList SplitItems(const QString& text);

// Include text, blanks trimmed, is exactly "*".
bool IncludeAll(const QString& include);
// Exclude text, blanks trimmed, is empty.
bool ExcludeNone(const QString& exclude);

// The walk patterns of an Include text: "*.*" when IncludeAll, otherwise "*." followed by each
// item, in order (an empty item gives "*.", the names without a dot).
QStringList includePatterns(const QString& include);

// Whether the Exclude items remove a relative path: an item removes it when the upper-cased
// path contains "." and the upper-cased item anywhere, or matches "*." and the upper-cased
// item under the Like rules ("*", "?", "#", "[...]", "[!...]").
class ExclusionTest
{
public:
    explicit ExclusionTest(const QStringList& items);
    // 'upperPath' must already be upper-cased (toUpperInPlace).
    bool excludes(const QString& upperPath) const;

private:
    struct Item
    {
        QString dotted; // "." + item, upper-cased
        Wildcard like;  // "*." + item, upper-cased
    };
    std::vector<Item> m_items;
};

// Removes the lines that the Exclude text names. Checks CancelRequested before each line and
// stops there (the lines not looked at stay); yields once per line.
void excludeLines(AppState& state, const Callbacks& cb, FileList& list, const QString& exclude);
