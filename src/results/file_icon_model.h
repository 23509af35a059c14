// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QIcon>
#include <QIdentityProxyModel>

// Shows a result list with file-type icons: rows added while "Show Icons " was pressed get the
// icon of their file's type. One icon per type, looked up once (by the name's MIME type,
// without reading the file).
class FileIconModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
    // Forgets the cached icons (start of every scan).
    void ResetIconList();
    int cachedTypes() const { return int(m_icons.size()); }
    // Without a desktop session's icon theme (or with one that lacks file-type icons) the
    // types are looked up in Adwaita, which Debian ships, before the generic file icon; the
    // system's icon folders are searched on every platform.
    static void useFallbackIconTheme();

private:
    QIcon iconFor(const QString& path) const;
    mutable QHash<QString, QIcon> m_icons; // MIME type name -> icon
};
