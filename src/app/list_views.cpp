// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/list_views.h"

#include <QAccessible>
#include <QItemSelectionModel>
#include <QTreeView>

LeftElideDelegate::LeftElideDelegate(QList<int> columns, QObject* parent)
    : QStyledItemDelegate(parent), m_columns(std::move(columns))
{}

void LeftElideDelegate::install(QTreeView* view, const QList<int>& columns)
{
    auto* delegate = new LeftElideDelegate(columns, view);
    for (int column : columns)
        view->setItemDelegateForColumn(column, delegate);
}

void LeftElideDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_columns.contains(index.column()))
        option->textElideMode = Qt::ElideLeft;
}

void keepCurrentInFirstColumn(QTreeView* view)
{
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [view](const QModelIndex& current) {
                         if (current.isValid() && current.column() != 0)
                             view->selectionModel()->setCurrentIndex(current.siblingAtColumn(0),
                                                                     QItemSelectionModel::NoUpdate);
                     });
}

void announceCheckChanges(QTreeView* view)
{
    QObject::connect(
        view->model(), &QAbstractItemModel::dataChanged, view,
        [view](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
            if (!QAccessible::isActive() || !roles.contains(Qt::CheckStateRole))
                return;
            QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
            QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
            if (!table)
                return;
            // Check All over a million rows: the rows in sight and the current one are told.
            QList<int> rows;
            const int top = view->indexAt(QPoint(1, 1)).row();
            if (top >= 0) {
                const int bottom =
                    qMax(view->indexAt(QPoint(1, view->viewport()->height() - 2)).row(),
                         top + view->viewport()->height() / 16);
                for (int row = qMax(first.row(), top); row <= qMin(last.row(), bottom); ++row)
                    rows << row;
            }
            const int current = view->currentIndex().row();
            if (current >= first.row() && current <= last.row() && !rows.contains(current))
                rows << current;
            for (int row : std::as_const(rows)) {
                QAccessibleInterface* cell = table->cellAt(row, 0);
                if (!cell)
                    continue;
                QAccessible::State changed;
                changed.checked = true;
                QAccessibleStateChangeEvent event(view, changed);
                event.setChild(list->indexOfChild(cell));
                QAccessible::updateAccessibility(&event);
            }
        });
}
