// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QTreeView;

// Keeps the columns of a list view in proportion to the list's width. Each column has a share
// of the width; while the user has not changed them, no column gets narrower than its minimum
// (a date or a status is never cut: the other columns give way). The columns follow the view's
// own resize, so a window that jumps from small to large has wide columns at once. When the
// user drags a column edge, the columns' shares become what the user made them.
class ColumnFit : public QObject
{
    Q_OBJECT
public:
    using Minimums = std::function<QList<int>()>;

    ColumnFit(QTreeView* view, QList<double> shares, Minimums minimums = {});

    QTreeView* view() const { return m_view; }
    // The shares the user set by dragging, or empty while the list has its default columns.
    QList<double> userShares() const { return m_userShares; }
    // Shares remembered from an earlier run; ignored unless there is one per column.
    void setUserShares(const QList<double>& shares);

    // Sizes the columns for the viewport's current width.
    void fit();

    // Column widths for a total width: each share of it, raised to its minimum where needed;
    // what the raised columns take comes first from unused width, then from the columns with
    // room above their own minimum, in proportion to that room.
    static QList<int> widths(const QList<double>& shares, const QList<int>& minimums, int total);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sectionResized();

    QTreeView* m_view;
    QList<double> m_shares;
    QList<double> m_userShares;
    Minimums m_minimums;
    bool m_fitting = false;
};
