// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/error_model.h"

#include "core/name_bytes.h"
#include "core/thread_check.h"

#include <QCoreApplication>
#include <algorithm>

ErrorListModel::ErrorListModel(QObject* parent) : QAbstractTableModel(parent)
{
    setObjectName(QStringLiteral("ErrorsList"));
}

void ErrorListModel::append(const ErrorRow& row)
{
    KETRANO_ON_WINDOW_THREAD(this);
    beginInsertRows({}, size(), size());
    m_rows.push_back(row);
    endInsertRows();
}

void ErrorListModel::clear()
{
    KETRANO_ON_WINDOW_THREAD(this);
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ErrorListModel::clearCopyFailures()
{
    beginResetModel();
    std::erase_if(m_rows, [](const ErrorRow& r) { return !r.beforeCopies(); });
    endResetModel();
}

void ErrorListModel::clearForScan()
{
    KETRANO_ON_WINDOW_THREAD(this);
    beginResetModel();
    std::erase_if(m_rows, [](const ErrorRow& r) { return r.origin == ErrorRow::Origin::Scan; });
    endResetModel();
}

int ErrorListModel::scanProblems() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [](const ErrorRow& r) { return r.beforeCopies(); }));
}

int ErrorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : size();
}

int ErrorListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ErrorListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ErrorRow& r = m_rows[size_t(index.row())];
    switch (index.column()) {
    case FileName:
        return displayName(r.fileName);
    case Source:
        return displayName(r.source);
    case Target:
        return displayName(r.target);
    case Error:
        return r.error;
    }
    return {};
}

QVariant ErrorListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case FileName:
        return QCoreApplication::translate("Results", "File Name");
    case Source:
        return QCoreApplication::translate("Results", "Source");
    case Target:
        return QCoreApplication::translate("Results", "Target");
    case Error:
        return QCoreApplication::translate("Results", "Error");
    }
    return {};
}

ErrorRow errorRow(const Failure& failure, const QString& fileName, const QString& source,
                  const QString& target, ErrorRow::Origin origin)
{
    return {fileName, source, target, failure.text, failure.kind, failure.error, origin};
}

void reportError(ErrorListModel& list, const Callbacks& cb, const ErrorRow& row)
{
    list.append(row);
    if (cb.event) {
        RunEvent event{RunEvent::Problem};
        event.error = &list.rows().back();
        cb.event(event);
    }
}
