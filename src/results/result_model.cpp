// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_model.h"

#include <QCoreApplication>

#include "core/memory_hint.h"
#include "core/name_bytes.h"
#include "core/thread_check.h"
#include "results/display_format.h"
#include "results/result_order.h"

ResultListModel::ResultListModel(const QString& listName, QObject* parent)
    : QAbstractTableModel(parent), m_name(listName)
{
    setObjectName(listName);
}

QString ResultListModel::caption(int column)
{
    switch (column) {
    case Name:
        return QCoreApplication::translate("Results", "Name");
    case Source:
        return QCoreApplication::translate("Results", "Source");
    case Target:
        return QCoreApplication::translate("Results", "Target");
    case Status:
        return QCoreApplication::translate("Results", "Status");
    case LastModified:
        return QCoreApplication::translate("Results", "Last Modified");
    case SizeKB:
        return QCoreApplication::translate("Results", "size(KB)");
    default:
        return {};
    }
}

void ResultListModel::append(ResultRow row, const Destination& destination)
{
    KETRANO_ON_WINDOW_THREAD(this);
    row.destinationAt = 0;
    if (destination.exists) {
        m_destinations.push_back(destination);
        row.destinationAt = quint32(m_destinations.size());
    }
    m_rows.push_back(std::move(row));
}

void ResultListModel::flush()
{
    KETRANO_ON_WINDOW_THREAD(this);
    const int total = int(m_rows.size());
    if (total == m_shown)
        return;
    beginInsertRows({}, m_shown, total - 1);
    m_shown = total;
    endInsertRows();
}

void ResultListModel::clear()
{
    KETRANO_ON_WINDOW_THREAD(this);
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_failures.clear();
    m_destinations.clear();
    m_destinations.shrink_to_fit();
    m_shown = 0;
    endResetModel();
}

void ResultListModel::removeAt(int row)
{
    KETRANO_ON_WINDOW_THREAD(this);
    flush();
    if (row < 0 || row >= int(m_rows.size()))
        return;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    m_shown = int(m_rows.size());
    endRemoveRows();
}

void ResultListModel::setChecked(int row, bool checked)
{
    KETRANO_ON_WINDOW_THREAD(this);
    if (row < 0 || row >= int(m_rows.size()) || m_rows[size_t(row)].checked == checked)
        return;
    m_rows[size_t(row)].checked = checked;
    if (row < m_shown) {
        const QModelIndex i = index(row, Name);
        Q_EMIT dataChanged(i, i, {Qt::CheckStateRole});
    }
}

void ResultListModel::setAllChecked(bool checked)
{
    KETRANO_ON_WINDOW_THREAD(this);
    for (ResultRow& r : m_rows)
        r.checked = checked;
    if (m_shown > 0)
        Q_EMIT dataChanged(index(0, Name), index(m_shown - 1, Name), {Qt::CheckStateRole});
}

void ResultListModel::invertAll()
{
    KETRANO_ON_WINDOW_THREAD(this);
    for (ResultRow& r : m_rows)
        r.checked = !r.checked;
    if (m_shown > 0)
        Q_EMIT dataChanged(index(0, Name), index(m_shown - 1, Name), {Qt::CheckStateRole});
}

void ResultListModel::setDestination(int row, qint64 modified, qint64 modifiedNs, qint64 sizeBytes)
{
    KETRANO_ON_WINDOW_THREAD(this);
    if (row < 0 || row >= int(m_rows.size()))
        return;
    ResultRow& r = m_rows[size_t(row)];
    const Destination d{true, modified, qint32(modifiedNs), sizeBytes};
    if (r.destinationAt) {
        m_destinations[r.destinationAt - 1] = d;
    } else {
        m_destinations.push_back(d);
        r.destinationAt = quint32(m_destinations.size());
    }
}

void ResultListModel::setOutcome(int row, ResultRow::Outcome outcome, const QString& reason)
{
    KETRANO_ON_WINDOW_THREAD(this);
    if (row < 0 || row >= int(m_rows.size()))
        return;
    ResultRow& r = m_rows[size_t(row)];
    r.outcome = outcome;
    r.failure = 0;
    if (outcome == ResultRow::Outcome::Failed) {
        if (m_failures.size() < ResultRow::LastFailure)
            m_failures.push_back(reason);
        r.failure = quint32(m_failures.size());
    }
    if (row < m_shown) {
        const QModelIndex i = index(row, Status);
        Q_EMIT dataChanged(i, i, {Qt::DecorationRole, Qt::ToolTipRole, OutcomeRole});
    }
}

void ResultListModel::resetOutcomes(ResultRow::Outcome outcome)
{
    KETRANO_ON_WINDOW_THREAD(this);
    m_failures.clear();
    for (ResultRow& r : m_rows) {
        r.outcome = outcome;
        r.failure = 0;
    }
    if (m_shown > 0)
        Q_EMIT dataChanged(index(0, Status), index(m_shown - 1, Status),
                           {Qt::DecorationRole, Qt::ToolTipRole, OutcomeRole});
}

QString ResultListModel::failureOf(int row) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    const quint32 failure = m_rows[size_t(row)].failure;
    return failure > 0 && failure <= m_failures.size() ? m_failures[failure - 1] : QString();
}

QString ResultListModel::outcomeText(ResultRow::Outcome outcome)
{
    switch (outcome) {
    case ResultRow::Outcome::Copied:
        return tr("Copied");
    case ResultRow::Outcome::Failed:
        return tr("Failed");
    case ResultRow::Outcome::NotCopied:
        return tr("Not copied");
    case ResultRow::Outcome::NotRun:
        break;
    }
    return {};
}

void ResultListModel::setLocked(bool locked)
{
    m_locked = locked;
}

void ResultListModel::sort(int column, Qt::SortOrder)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    resort();
}

void ResultListModel::resort()
{
    KETRANO_ON_WINDOW_THREAD(this);
    if (m_sortColumn < 0)
        return;
    flush();
    const std::vector<int> order = sortedRowOrder(m_rows, m_sortColumn);
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == int(i);
    if (unchanged)
        return;

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Rows move in place, cycle by cycle: no second copy of a million rows.
    std::vector<int> newRow;
    reserveWithHint(newRow, m_rows.size());
    newRow.assign(m_rows.size(), -1);
    for (size_t start = 0; start < order.size(); ++start) {
        if (newRow[size_t(order[start])] >= 0)
            continue;
        ResultRow first = std::move(m_rows[start]);
        size_t at = start;
        // The rows come from all over memory: ask for the one four steps ahead early.
        size_t ahead = start;
        for (int k = 0; k < 4; ++k)
            ahead = size_t(order[ahead]);
        while (size_t(order[at]) != start) {
            for (size_t line = 0; line < sizeof(ResultRow); line += 64)
                __builtin_prefetch(reinterpret_cast<const char*>(&m_rows[ahead]) + line);
            ahead = size_t(order[ahead]);
            m_rows[at] = std::move(m_rows[size_t(order[at])]);
            newRow[size_t(order[at])] = int(at);
            at = size_t(order[at]);
        }
        m_rows[at] = std::move(first);
        newRow[start] = int(at);
    }
    // Selection and current row follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRow[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int ResultListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ResultListModel::bothSidesText()
{
    return QCoreApplication::translate(
        "Results", "Changed on both sides since the last synchronization: the older one is "
                   "kept as a version");
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    const ResultRow& r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case Name:
            return displayName(r.name());
        case Source:
            return displayName(r.sourceFolder());
        case Target:
            return displayName(r.targetFolder());
        case Status:
            if (role == Qt::ToolTipRole) {
                // After a synchronization: what happened to the row, and why a copy failed.
                QStringList tip;
                if (r.outcome == ResultRow::Outcome::Failed)
                    tip << outcomeText(r.outcome) + QLatin1String(": ") + failureOf(index.row());
                else if (r.outcome != ResultRow::Outcome::NotRun)
                    tip << outcomeText(r.outcome);
                if (r.changedOnBothSides)
                    tip << bothSidesText();
                if (!tip.isEmpty())
                    return tip.join(QLatin1Char('\n'));
            }
            return r.statusText();
        case LastModified:
            return formatGeneralDate(r.modified);
        case SizeKB:
            return formatKB(r.sizeKB());
        }
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == SizeKB)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case Qt::CheckStateRole:
        if (index.column() == Name)
            return r.checked ? Qt::Checked : Qt::Unchecked;
        break;
    case SortRole:
        switch (index.column()) {
        case LastModified:
            return r.modified;
        case SizeKB:
            return r.sizeKB();
        default:
            return data(index, Qt::DisplayRole);
        }
    case BothSidesRole:
        return r.changedOnBothSides;
    case OutcomeRole:
        return int(r.outcome);
    case IconPathRole:
        if (r.hasIcon)
            return displayName(r.sourcePath()); // the icon goes by the name's suffix
        break;
    }
    return {};
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (m_locked || role != Qt::CheckStateRole || index.column() != Name || !index.isValid())
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return caption(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const
{
    // A flat list: telling the views so spares them a child lookup per row.
    Qt::ItemFlags f = QAbstractTableModel::flags(index) | Qt::ItemNeverHasChildren;
    if (index.column() == Name && !m_locked)
        f |= Qt::ItemIsUserCheckable;
    return f;
}
