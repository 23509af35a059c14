// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

QString helpFolderFor(const QString& programFolder)
{
    const QString installed =
        QDir::cleanPath(programFolder + QLatin1String("/../share/ketrano/help"));
    if (QFileInfo::exists(installed + QLatin1String("/help.html")))
        return installed;
#ifdef KETRANO_SOURCE_DIR
    // Run from the build tree: the manual of the source tree.
    return QStringLiteral(KETRANO_SOURCE_DIR "/help");
#else
    return installed;
#endif
}

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Ketrano Backup Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // A screen reader reads the manual as a document of its own, named like the window.
    m_browser->setAccessibleName(tr("Manual"));
    m_browser->setOpenExternalLinks(true);
    const QString file = helpFolder + QLatin1String("/help.html");
    if (QFileInfo::exists(file)) {
        m_browser->setSearchPaths({helpFolder});
        m_browser->setSource(QUrl::fromLocalFile(file));
        m_loaded = true;
    } else {
        m_browser->setPlainText(tr("The manual was not found in %1.").arg(helpFolder));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(720, 560);
}

QDialog* createAboutDialog(QWidget* parent)
{
    auto* about = new QDialog(parent);
    about->setObjectName(QStringLiteral("AboutForm"));
    about->setWindowTitle(HelpWindow::tr("About Ketrano Backup"));
    auto* icon = new QLabel(about);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/ketrano.svg")).pixmap(64, 64));
    auto* text = new QLabel(
        HelpWindow::tr("Ketrano Backup ver %1").arg(QStringLiteral(KETRANO_VERSION)), about);
    text->setObjectName(QStringLiteral("AboutText"));
    QFont f = text->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    text->setFont(f);
    auto* detail = new QLabel(HelpWindow::tr("Keeps pairs of folders in step."), about);
    auto* licence = new QLabel(
        HelpWindow::tr("Licensed under the GNU General Public License, version 3 or later."),
        about);
    licence->setObjectName(QStringLiteral("AboutLicence"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, about);
    QObject::connect(buttons, &QDialogButtonBox::accepted, about, &QDialog::accept);
    auto* layout = new QVBoxLayout(about);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addWidget(detail, 0, Qt::AlignHCenter);
    layout->addWidget(licence, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    return about;
}

void showAbout(QWidget* parent)
{
    QDialog* about = createAboutDialog(parent);
    about->exec();
    delete about;
}
