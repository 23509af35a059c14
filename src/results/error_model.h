// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "core/failure.h"

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// One failed copy of the last synchronization, or something the last scan could not read or
// refused (a folder, a missing or unmounted root): those are never read as empty.
struct ErrorRow
{
    // Where the row comes from: loading the profile (its skipped records stay as long as that
    // profile is loaded), the scan (its problems stay until the next scan) or a copy of a
    // synchronization (its failures stay until the next synchronization).
    enum class Origin : quint8 { Copy, Scan, Profile };

    QString fileName{};
    QString source{}; // folder the file was to be copied from
    QString target{}; // folder it was to be copied into
    QString error{};  // the description of the failure, as the list shows it
    ErrorKind kind = ErrorKind::None;
    int errorNumber = 0; // the system's error number, 0 when none
    Origin origin = Origin::Copy;

    // Reported before any copy, by the scan or by loading the profile.
    bool beforeCopies() const { return origin != Origin::Copy; }
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

// The row of a failure about the file 'fileName' copied (or to be copied) from 'source' into
// 'target'.
ErrorRow errorRow(const Failure& failure, const QString& fileName, const QString& source,
                  const QString& target, ErrorRow::Origin origin = ErrorRow::Origin::Copy);

// Adds the row to the list and tells whoever watches the run (a Problem event): every error of
// a run is counted from these events.
void reportError(ErrorListModel& list, const Callbacks& cb, const ErrorRow& row);
