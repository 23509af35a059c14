// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_row.h"

#include "core/shared_string.h"
#include "results/display_format.h"

ResultRow::ResultRow(const QString& name, const QString& sourceFolder,
                     const QString& targetFolder, quint32 entry)
    : m_folder(new RowFolder)
{
    m_folder->sourceFolder = sourceFolder;
    m_folder->targetFolder = targetFolder;
    m_folder->names = name + QChar(0);
    m_folder->entry = entry;
}

ResultRow ResultRow::withPaths(const QString& name, const QString& sourceFolder,
                               const QString& targetFolder) const
{
    ResultRow row = *this;
    row.m_folder = ResultRow(name, sourceFolder, targetFolder, entry()).m_folder;
    row.m_nameAt = 0;
    return row;
}

QStringView ResultRow::nameView() const
{
    if (!m_folder)
        return {};
    const QChar* start = m_folder->names.constData() + m_nameAt;
    const QChar* end = start;
    while (end->unicode() != 0) // every name in 'names' is followed by a NUL
        ++end;
    return QStringView(start, end - start);
}

QString ResultRow::name() const
{
    if (!m_folder)
        return {};
    return sharedSubstring(m_folder->names, m_nameAt, nameView().size());
}

qint64 ResultRow::sizeKB() const
{
    return bytesToKB(sizeBytes);
}

const QString& ResultRow::none()
{
    static const QString empty;
    return empty;
}
