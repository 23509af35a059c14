// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/versions_window.h"

#include "core/name_bytes.h"
#include "core/path_text.h"
#include "core/run_lock.h"
#include "core/settings.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

VersionsWindow::VersionsWindow(const QString& root, const QString& relativePath,
                               const QString& profile, QWidget* parent)
    : QDialog(parent), m_root(root), m_relativePath(relativePath), m_profile(profile)
{
    setObjectName(QStringLiteral("VersionsWindow"));
    setWindowTitle(tr("Versions of %1").arg(displayName(joinPath(root, relativePath))));
    auto* label =
        new QLabel(tr("Kept versions of %1:").arg(displayName(joinPath(root, relativePath))), this);
    label->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("VersionsList"));
    m_list->setHeaderLabels({tr("Run"), tr("Last Modified"), tr("size(KB)")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    label->setBuddy(m_list); // the list is named after its label
    m_restore = new QPushButton(tr("&Restore"), this);
    m_restore->setObjectName(QStringLiteral("RestoreVersion"));
    m_open = new QPushButton(tr("&Open"), this);
    m_open->setObjectName(QStringLiteral("OpenVersion"));
    auto* close = new QPushButton(tr("Close"), this);
    connect(m_restore, &QPushButton::clicked, this, &VersionsWindow::restoreSelected);
    connect(m_open, &QPushButton::clicked, this, [this] {
        if (const KeptVersion* v = selected(); v && open)
            open(v->path);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_restore->setEnabled(selected());
        m_open->setEnabled(selected());
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restore);
    buttons->addWidget(m_open);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(560, 320);
    fill();
}

void VersionsWindow::fill()
{
    m_versions = keptVersions(m_root, m_relativePath);
    m_list->clear();
    // Newest first.
    for (auto it = m_versions.rbegin(); it != m_versions.rend(); ++it) {
        auto* item = new QTreeWidgetItem(
            {it->run,
             QLocale().toString(QDateTime::fromSecsSinceEpoch(it->modified), QLocale::ShortFormat),
             QLocale().toString((it->size + 512) / 1024)});
        item->setData(0, Qt::UserRole, int(std::distance(it, m_versions.rend()) - 1));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        m_list->addTopLevelItem(item);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_restore->setEnabled(selected());
    m_open->setEnabled(selected());
    m_list->setFocus();
}

const KeptVersion* VersionsWindow::selected() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int i = item->data(0, Qt::UserRole).toInt();
    return i >= 0 && i < int(m_versions.size()) ? &m_versions[size_t(i)] : nullptr;
}

void VersionsWindow::restoreSelected()
{
    const KeptVersion* v = selected();
    if (!v)
        return;
    // Not while a run of the profile writes its folders.
    const RunLock lock = m_profile.isEmpty() ? RunLock() : RunLock::acquire(m_profile);
    QString text;
    if (lock.heldByAnother()) {
        text = lock.refusal(m_profile);
    } else {
        const QString run = v->run;
        const Failure failed = restoreVersion(*v);
        text = failed.failed() ? tr("Restoring the version failed: %1").arg(failed.text)
                               : tr("The version of %1 is back in place; the file it replaced is "
                                    "kept as a version.")
                                     .arg(run);
    }
    fill();
    if (tell)
        tell(text);
}

KeepVersionsDialog::KeepVersionsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("KeepVersionsDialog"));
    setWindowTitle(tr("Versions of Replaced Files"));
    m_days = new QSpinBox(this);
    m_days->setObjectName(QStringLiteral("KeepVersionsDays"));
    m_days->setRange(0, Settings::KeepVersionsMost);
    m_days->setSuffix(QStringLiteral(" days"));
    m_days->setValue(Settings::readKeepVersions());
    auto* text =
        new QLabel(tr("A file that Synchronize replaces is kept as a version in the folder "
                      ".ketrano-versions of its side's root. 0 keeps none."),
                   this);
    text->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(tr("&Keep versions for:"), m_days);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString KeepVersionsDialog::save() const
{
    return Settings::writeKeepVersions(m_days->value());
}
