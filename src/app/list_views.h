// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStyledItemDelegate>

class QTreeView;

// Shortens the texts of the given columns at their start, so that the end of a path (the
// folders that tell two rows apart) stays readable; the whole path is the cell's tooltip.
class LeftElideDelegate : public QStyledItemDelegate
{
public:
    LeftElideDelegate(QList<int> columns, QObject* parent);
    // Puts the delegate on the view's folder columns.
    static void install(QTreeView* view, const QList<int>& columns);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QList<int> m_columns;
};

// A list read row by row: whichever cell is clicked or reached by the arrow keys, the row's
// first column is current, so a screen reader announces the row by its name (and its check
// box) first. Left and Right then no longer move from cell to cell.
void keepCurrentInFirstColumn(QTreeView* view);

// Tells a screen reader when a row's check mark changes, by a key, the menu or a click (the
// view itself announces only what it changes itself).
void announceCheckChanges(QTreeView* view);
