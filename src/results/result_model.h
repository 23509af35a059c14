// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thread_check.h"
#include "results/result_row.h"

#include <QAbstractTableModel>
#include <vector>

// The rows of ListView1 or ListView2. The row order of the model is the order shown and the
// order the copy engine follows. Rows appended during a scan become visible in batches:
// append() keeps them pending until flush(), so a scan of a million rows does not pay a model
// signal per row. rows() always includes the pending ones. The model is changed on the window
// thread only.
class ResultListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Name, Source, Target, Status, LastModified, SizeKB, ColumnCount };
    enum Role {
        SortRole = Qt::UserRole, // raw value for sorting (numbers for size and time)
        IconPathRole,            // full path of a row that shows a file icon, else null
        BothSidesRole,           // true for a row whose file changed on both sides
        OutcomeRole,             // ResultRow::Outcome of the last synchronization, as int
    };

    // The tooltip of a row changed on both sides.
    static QString bothSidesText();

    explicit ResultListModel(const QString& listName, QObject* parent = nullptr);

    const QString& listName() const { return m_name; }
    const ResultRows& rows() const { return m_rows; }
    int size() const { return int(m_rows.size()); }
    const ResultRow& at(int row) const { return m_rows[size_t(row)]; }

    // Appends a row with its destination as scanned (none for a new file).
    void append(ResultRow row, const Destination& destination = {});
    Destination destination(int row) const { return destinationOf(at(row)); }
    Destination destinationOf(const ResultRow& row) const
    {
        return row.destinationAt ? m_destinations[row.destinationAt - 1] : Destination{};
    }
    // Room for 'count' rows in all, so that a scan appending many rows does not move them
    // again and again (capacity that is never used costs no memory).
    void reserve(int count) { m_rows.reserve(size_t(qMax(count, 0))); }
    void flush();
    void clear();
    void removeAt(int row);
    // Removes every row for which remove(row) is true, in one reset.
    template <typename Pred> void removeIf(Pred remove);

    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    void invertAll();

    // After a copy the row's destination is the file just written: a second Synchronize
    // without a new scan then replaces it instead of refusing a destination it made itself.
    // Nothing shown changes.
    void setDestination(int row, qint64 modified, qint64 modifiedNs, qint64 sizeBytes);

    // What the running or last synchronization did with a row; 'reason' is why it failed.
    // Every row's outcome is reset when a synchronization starts.
    void setOutcome(int row, ResultRow::Outcome outcome, const QString& reason = QString());
    void resetOutcomes(ResultRow::Outcome outcome);
    QString failureOf(int row) const;
    // The tooltip of the Status cell after a synchronization.
    static QString outcomeText(ResultRow::Outcome outcome);

    // While Scan or Synchronize runs the check boxes cannot be changed from the view.
    void setLocked(bool locked);
    bool locked() const { return m_locked; }

    // Ascending sort by a column; -1 means the order in which rows were added.
    int sortColumn() const { return m_sortColumn; }
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Restores the sorted order after rows were appended (end of a scan).
    void resort();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static QString caption(int column);

private:
    QString m_name;
    ResultRows m_rows;
    // Why rows failed in the last synchronization; a failed row holds its index + 1, so
    // that a row stays small and the reason follows it when the rows are sorted.
    std::vector<QString> m_failures;
    // The destinations of the rows that have one; a row holds its place + 1, so that a row
    // without one ("New File") takes no room for it.
    LargeVector<Destination> m_destinations;
    int m_shown = 0; // rows announced to views
    int m_sortColumn = -1;
    bool m_locked = false;
};

template <typename Pred> void ResultListModel::removeIf(Pred remove)
{
    KETRANO_ON_WINDOW_THREAD(this);
    flush();
    beginResetModel();
    std::erase_if(m_rows, remove);
    m_shown = int(m_rows.size());
    endResetModel();
}
