// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_model.h"

#include <QCoreApplication>

ProfileModel::ProfileModel(QObject* parent) : QAbstractTableModel(parent)
{
    setObjectName(QStringLiteral("ProfileList"));
}

void ProfileModel::append(const ProfileEntry& entry)
{
    const int row = size();
    beginInsertRows({}, row, row);
    m_entries.push_back(entry);
    endInsertRows();
}

void ProfileModel::replace(int row, const ProfileEntry& entry)
{
    if (row < 0 || row >= size())
        return;
    m_entries[size_t(row)] = entry;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void ProfileModel::removeAt(int row)
{
    if (row < 0 || row >= size())
        return;
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void ProfileModel::clear()
{
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

int ProfileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : size();
}

int ProfileModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProfileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ProfileEntry& e = m_entries[size_t(index.row())];
    switch (index.column()) {
    case Source:
        return e.source;
    case Target:
        return e.target;
    case Include:
        return e.include;
    case Exclude:
        return e.exclude;
    }
    return {};
}

QVariant ProfileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Source:
        return QCoreApplication::translate("Profile", "Source");
    case Target:
        return QCoreApplication::translate("Profile", "Target");
    case Include:
        return QCoreApplication::translate("Profile", "Include");
    case Exclude:
        return QCoreApplication::translate("Profile", "Exclude");
    }
    return {};
}
