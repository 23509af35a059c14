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
    if (role == Qt::DecorationRole && index.column() == ResultListModel::Status) {
        // After a synchronization the Status cell shows what it did with the row; before,
        // a warning for a file changed on both sides.
        switch (ResultRow::Outcome(
            QIdentityProxyModel::data(index, ResultListModel::OutcomeRole).toInt())) {
        case ResultRow::Outcome::Copied:
            return QIcon(QStringLiteral(":/icons/status-copied.svg"));
        case ResultRow::Outcome::Failed:
            return QIcon(QStringLiteral(":/icons/status-failed.svg"));
        case ResultRow::Outcome::NotCopied:
            return QIcon(QStringLiteral(":/icons/status-not-copied.svg"));
        case ResultRow::Outcome::NotRun:
            break;
        }
        if (QIdentityProxyModel::data(index, ResultListModel::BothSidesRole).toBool())
            return QIcon::fromTheme(
                QStringLiteral("dialog-warning"),
                QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
        return {};
    }
    if (role == Qt::AccessibleDescriptionRole) {
        // A screen reader tells every cell of a row with the row's check mark, so that the
        // state is heard whichever cell it reads.
        const QModelIndex name = index.siblingAtColumn(ResultListModel::Name);
        QStringList parts;
        parts << (QIdentityProxyModel::data(name, Qt::CheckStateRole).toInt() == Qt::Checked
                      ? tr("checked")
                      : tr("not checked"));
        const auto outcome = ResultRow::Outcome(
            QIdentityProxyModel::data(index, ResultListModel::OutcomeRole).toInt());
        if (outcome != ResultRow::Outcome::NotRun)
            parts << QIdentityProxyModel::data(index.siblingAtColumn(ResultListModel::Status),
                                               Qt::ToolTipRole)
                         .toString();
        return parts.join(QLatin1String(", "));
    }
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
