// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/column_fit.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

#include <cmath>
#include <numeric>

ColumnFit::ColumnFit(QTreeView* view, QList<double> shares, Minimums minimums)
    : QObject(view), m_view(view), m_shares(std::move(shares)), m_minimums(std::move(minimums))
{
    view->viewport()->installEventFilter(this);
    connect(view->header(), &QHeaderView::sectionResized, this, &ColumnFit::sectionResized);
}

void ColumnFit::setUserShares(const QList<double>& shares)
{
    if (shares.size() != m_shares.size())
        return;
    for (double share : shares) {
        if (!(share > 0 && share <= 1))
            return; // not a width this program wrote
    }
    m_userShares = shares;
    fit();
}

QList<int> ColumnFit::widths(const QList<double>& shares, const QList<int>& minimums, int total)
{
    const qsizetype n = shares.size();
    QList<int> out(n);
    QList<int> floor(n, 0);
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = int(std::lround(shares[i] * total));
        if (i < minimums.size())
            floor[i] = minimums[i];
    }
    int missing = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (out[i] < floor[i]) {
            missing += floor[i] - out[i];
            out[i] = floor[i];
        }
    }
    if (missing == 0)
        return out;
    const int used = std::accumulate(out.begin(), out.end(), 0);
    int excess = used - total; // beyond the width after the raises
    if (excess <= 0)
        return out;
    // Take the excess from the columns above their minimum, in proportion to their room.
    int room = 0;
    for (qsizetype i = 0; i < n; ++i)
        room += out[i] - floor[i];
    if (room <= 0)
        return out; // every column at its minimum: the list scrolls sideways
    excess = qMin(excess, room);
    int taken = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const int cut = int(qint64(excess) * (out[i] - floor[i]) / room);
        out[i] -= cut;
        taken += cut;
    }
    for (qsizetype i = 0; i < n && taken < excess; ++i) { // rounding leftovers
        if (out[i] > floor[i]) {
            --out[i];
            ++taken;
        }
    }
    return out;
}

void ColumnFit::fit()
{
    const int total = m_view->viewport()->width();
    if (total <= 0)
        return;
    const bool byUser = !m_userShares.isEmpty();
    const QList<int> minimums = !byUser && m_minimums ? m_minimums() : QList<int>();
    const QList<int> sizes = widths(byUser ? m_userShares : m_shares, minimums, total);
    m_fitting = true;
    for (qsizetype i = 0; i < sizes.size(); ++i)
        m_view->setColumnWidth(int(i), sizes[i]);
    m_fitting = false;
}

bool ColumnFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_view->viewport())
        fit();
    return QObject::eventFilter(watched, event);
}

void ColumnFit::sectionResized()
{
    // Only a drag of a column edge by the user lands here; the fitting itself is ignored.
    if (m_fitting || !m_view->isVisible())
        return;
    const int total = m_view->viewport()->width();
    if (total <= 0)
        return;
    QList<double> shares;
    for (qsizetype i = 0; i < m_shares.size(); ++i)
        shares << qBound(0.001, double(m_view->columnWidth(int(i))) / total, 1.0);
    m_userShares = shares;
}
