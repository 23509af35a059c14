// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/file_icon_model.h"

#include "results/result_model.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QStyle>

QVariant FileIconModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DecorationRole && index.column() == ResultListModel::Name) {
        const QString path =
            QIdentityProxyModel::data(index, ResultListModel::IconPathRole).toString();
        if (path.isEmpty())
            return {};
        return iconFor(path);
    }
    if (role == Qt::DecorationRole && index.column() == ResultListModel::Status &&
        QIdentityProxyModel::data(index, ResultListModel::BothSidesRole).toBool())
        return QIcon::fromTheme(QStringLiteral("dialog-warning"),
                                QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
    return QIdentityProxyModel::data(index, role);
}

void FileIconModel::useFallbackIconTheme()
{
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // Platforms without a desktop (offscreen, framebuffer) name no icon folders of their own.
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory)) {
        if (!folders.contains(folder))
            folders << folder;
    }
    QIcon::setThemeSearchPaths(folders);
    if (QIcon::themeName().isEmpty()) // the freedesktop default, so that the fallback is asked
        QIcon::setThemeName(QStringLiteral("hicolor"));
}

void FileIconModel::ResetIconList()
{
    m_icons.clear();
}

QIcon FileIconModel::iconFor(const QString& path) const
{
    static const QMimeDatabase mimeDb;
    const QMimeType type = mimeDb.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QString key = type.name();
    auto it = m_icons.constFind(key);
    if (it != m_icons.constEnd())
        return *it;
    static const QFileIconProvider provider;
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = provider.icon(QAbstractFileIconProvider::File);
    m_icons.insert(key, icon);
    return icon;
}
