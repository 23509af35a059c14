// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// One failed copy of the last synchronization, or something the last scan could not read or
// refused (a folder, a missing or unmounted root): those are never read as empty.
struct ErrorRow
{
    QString fileName;
    QString source; // folder the file was to be copied from
    QString target; // folder it was to be copied into
    QString error;  // the system's description of the failure
    // Reported before any copy, by the scan or by loading the profile: a synchronization
    // keeps it.
    bool fromScan = false;
    // A damaged record that loading the profile skipped: a scan keeps it too, as long as that
    // profile is loaded.
    bool fromProfile = false;
};

// The rows of ErrorsList, in the order the failures happened.
class ErrorListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { FileName, Source, Target, Error, ColumnCount };

    explicit ErrorListModel(QObject* parent = nullptr);

    const std::vector<ErrorRow>& rows() const { return m_rows; }
    int size() const { return int(m_rows.size()); }
    void append(const ErrorRow& row);
    void clear();
    // A synchronization starts: the failed copies of the last one go, what the scan that
    // it works on reported stays.
    void clearCopyFailures();
    // A scan starts: what the last scan reported goes; the failed copies of the last
    // synchronization stay until the next one, and so do the skipped records of the loaded
    // profile.
    void clearForScan();
    int scanProblems() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ErrorRow> m_rows;
};
