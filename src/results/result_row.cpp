// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_row.h"

#include "core/shared_string.h"
#include "results/display_format.h"

#include <algorithm>

ResultRow::ResultRow(const QString& name, const QString& sourceFolder, const QString& targetFolder,
                     quint32 entry)
    : m_folder(new RowFolder)
{
    m_folder->sourceFolder = sourceFolder;
    m_folder->targetFolder = targetFolder;
    m_folder->entry = entry;
    m_nameAt = m_folder->addName(name);
}

ResultRow ResultRow::withPaths(const QString& name, const QString& sourceFolder,
                               const QString& targetFolder) const
{
    ResultRow row = *this;
    const ResultRow paths(name, sourceFolder, targetFolder, entry());
    row.m_folder = paths.m_folder;
    row.m_nameAt = paths.m_nameAt;
    return row;
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

quint32 RowFolder::addName(QAnyStringView name)
{
    if (m_wide.isEmpty()) {
        const auto at = quint32(m_latin1.size());
        const bool latin1 = name.visit([this](auto v) {
            if constexpr (std::is_same_v<decltype(v), QLatin1StringView>) {
                m_latin1.append(v.data(), v.size());
                return true;
            } else if constexpr (std::is_same_v<decltype(v), QStringView>) {
                if (!std::all_of(v.begin(), v.end(), [](QChar c) { return c.unicode() < 0x100; }))
                    return false;
                for (QChar c : v)
                    m_latin1.append(char(c.unicode()));
                return true;
            } else {
                return false; // UTF-8: taken as UTF-16 below
            }
        });
        if (latin1) {
            m_latin1.append('\0');
            return at;
        }
        // Latin-1 and UTF-16 have the same characters below 256, one unit each: the names so
        // far keep their places.
        m_wide = QString::fromLatin1(m_latin1);
        m_latin1 = QByteArray();
    }
    const auto at = quint32(m_wide.size());
    m_wide.append(name.toString());
    m_wide.append(QChar(0));
    return at;
}

QAnyStringView RowFolder::name(quint32 at) const
{
    if (m_wide.isEmpty())
        return QLatin1StringView(m_latin1.constData() + at); // up to its NUL
    const QChar* start = m_wide.constData() + at;
    const QChar* end = start;
    while (end->unicode() != 0)
        ++end;
    return QStringView(start, end - start);
}

QString RowFolder::nameString(quint32 at) const
{
    if (m_wide.isEmpty())
        return QString::fromLatin1(m_latin1.constData() + at);
    return sharedSubstring(m_wide, at, name(at).size());
}

void RowFolder::squeeze()
{
    m_latin1.squeeze();
    m_wide.squeeze();
}
