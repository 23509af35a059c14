// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/memory_hint.h"
#include "core/path_text.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QCoreApplication>
#include <QSharedData>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// What the rows of one folder have in common: the folder their files are in, the folder they
// are copied into (no trailing "/" on either), and their names back to back, each followed by
// a NUL, one byte a character while they all fit in Latin-1 (most names are ASCII), else two.
// A scan of a million rows keeps one of these per folder, and the rows only a place in it.
class RowFolder : public QSharedData
{
public:
    QString sourceFolder;
    QString targetFolder;
    quint32 entry = 0; // index of the profile entry in AppState::scannedEntries

    // Adds a name (without a NUL in it); returns where it starts.
    quint32 addName(QAnyStringView name);
    // The name that starts at 'at'.
    QAnyStringView name(quint32 at) const;
    QString nameString(quint32 at) const;
    const void* namesData() const
    {
        return m_wide.isEmpty() ? static_cast<const void*>(m_latin1.constData())
                                : m_wide.constData();
    }
    // Gives back the room that names to come would have taken.
    void squeeze();

private:
    QByteArray m_latin1; // while every name fits in Latin-1
    QString m_wide;      // once one does not: all of them
};

// The destination of a row as the scan found it, or as the row's last copy left it: the copy
// engine refuses to replace a destination that changed since.
struct Destination
{
    bool exists = false;
    qint64 modified = 0;   // seconds since the epoch (UTC)
    qint32 modifiedNs = 0; // nanosecond part
    qint64 sizeBytes = 0;
};

// One row of ListView1 or ListView2: a file to be copied from its Source folder to its Target
// folder. A list may hold millions of rows, so a row is small: 40 bytes, its strings in its
// RowFolder and its destination, when it has one, in its list.
struct ResultRow
{
    enum class Status : quint8 { NewFile, OverWrite };
    // What the last synchronization did with the row (NotRun before any).
    enum class Outcome : quint8 { NotRun, Copied, Failed, NotCopied };

    ResultRow() = default;
    // A row whose name starts at 'nameAt' in the folder's names.
    ResultRow(QExplicitlySharedDataPointer<RowFolder> folder, quint32 nameAt)
        : m_folder(std::move(folder)), m_nameAt(nameAt)
    {}
    // A row with a folder of its own (rows made one at a time: a restore, tests).
    ResultRow(const QString& name, const QString& sourceFolder, const QString& targetFolder,
              quint32 entry = 0);

    // The same row for another name or other folders (with a folder of its own).
    ResultRow withPaths(const QString& name, const QString& sourceFolder,
                        const QString& targetFolder) const;

    // The bare file name, as a view into the folder's names and as a string.
    QAnyStringView nameView() const
    {
        return m_folder ? m_folder->name(m_nameAt) : QAnyStringView();
    }
    QString name() const { return m_folder ? m_folder->nameString(m_nameAt) : QString(); }
    const QString& sourceFolder() const { return m_folder ? m_folder->sourceFolder : none(); }
    const QString& targetFolder() const { return m_folder ? m_folder->targetFolder : none(); }
    quint32 entry() const { return m_folder ? m_folder->entry : 0; }
    // The row's strings: rows of one folder share them.
    const RowFolder* folder() const { return m_folder.data(); }

    qint64 sizeKB() const; // bytes / 1024, rounded half away from zero
    QString statusText() const
    {
        return status == Status::NewFile ? QCoreApplication::translate("Results", "New File")
                                         : QCoreApplication::translate("Results", "OverWrite");
    }
    QString sourcePath() const { return joinPath(sourceFolder(), name()); }
    QString targetPath() const { return joinPath(targetFolder(), name()); }

    qint64 modified = 0; // last-write time, whole seconds since the epoch (UTC)
    qint64 sizeBytes = 0;
    qint32 modifiedNs = 0; // nanosecond part of the last-write time
    // With a destination: its place in the list's destinations, from 1 (ResultListModel).
    quint32 destinationAt = 0;

private:
    QExplicitlySharedDataPointer<RowFolder> m_folder;
    quint32 m_nameAt = 0;
    static const QString& none();

public:
    // With Failed: the reason's number in its list (from 1); the last number stands for any
    // reason after it.
    quint32 failure : 24 = 0;
    Outcome outcome : 2 = Outcome::NotRun;
    Status status : 1 = Status::NewFile;
    bool checked : 1 = true;
    bool hasIcon : 1 = false; // "Show Icons " was pressed when the row was added
    // An "OverWrite" whose destination changed too since the entry's last synchronization: the
    // newer one still wins, and the older is kept as a version.
    bool changedOnBothSides : 1 = false;
    static constexpr quint32 LastFailure = (1u << 24) - 1;
};
static_assert(sizeof(ResultRow) == 40);

// The rows of a list, in the order they are shown.
using ResultRows = LargeVector<ResultRow>;
