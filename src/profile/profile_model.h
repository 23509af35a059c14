// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// One entry of a profile: a folder pair and its two extension lists.
struct ProfileEntry
{
    QString source;
    QString target;
    QString include;
    QString exclude;
    bool operator==(const ProfileEntry&) const = default;
};

// The rows of ProfileList: the profile itself, in file order and scan order.
class ProfileModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Source, Target, Include, Exclude, ColumnCount };

    explicit ProfileModel(QObject* parent = nullptr);

    const std::vector<ProfileEntry>& entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    const ProfileEntry& at(int row) const { return m_entries[size_t(row)]; }

    void append(const ProfileEntry& entry);
    void replace(int row, const ProfileEntry& entry);
    void removeAt(int row);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ProfileEntry> m_entries;
};
