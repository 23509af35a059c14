// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/desktop_notice.h"
#include "app/versions_window.h"
#include "core/name_bytes.h"
#include "core/registry/registry.h"
#include "core/status_bar.h"
#include "profile/profile_commands.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QUrl>

// The window's side of the engine's callbacks: real events, widgets and dialogs.

namespace {
const QString AppTitle = QCoreApplication::translate("MainForm", "Ketrano Backup");

QWidget* dialogParent(QWidget* fallback)
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : fallback;
}

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                      const QString& filter, const QString& initial)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("prf"));
    if (!initial.isEmpty())
        dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

void MainForm::fillCallbacks()
{
    m_cb.yield = [] { QCoreApplication::processEvents(); };
    m_cb.panelChanged = [this](int index, const QString& text) {
        // After Esc panel 1 keeps saying that the stop was heard until the run has ended.
        if (index == 1 && m_stopHeard && isBusy())
            return;
        if (QLabel* p = panel(index)) {
            p->setText(text);
            // Screen readers are told of the new text through the name.
            p->setAccessibleName(text);
        }
    };
    m_cb.progressChanged = [this](int minimum, int maximum, int value) {
        // During a synchronization the bar follows the run's bytes (showRunEvent).
        if (m_state.control.running == Running::Sync)
            return;
        ProgressBar1->setRange(minimum, maximum);
        ProgressBar1->setValue(value);
    };
    m_cb.busyChanged = [this](bool busy) {
        if (!busy && m_stopHeard) {
            // The run has stopped: panel 1 gets its own text back (the end's text follows).
            m_stopHeard = false;
            m_panels[0]->setText(m_state.status.panels[0]);
        }
        setBusy(busy);
    };
    m_cb.event = [this](const RunEvent& event) { showRunEvent(event); };
    m_cb.askYesNo = [this](const QString& text) {
        QMessageBox box(QMessageBox::Question, AppTitle, text, QMessageBox::Yes | QMessageBox::No,
                        dialogParent(this));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    m_cb.askYesNoPlain = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Yes | QMessageBox::No,
                        dialogParent(this));
        return box.exec() == QMessageBox::Yes;
    };
    m_cb.showMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, dialogParent(this));
        box.exec();
    };
    m_cb.showIcons = [this] { return toggleState(1); };
    m_cb.saveFileName = [this](const QString& title, const QString& filter,
                               const QString& initial) {
        return runFileDialog(dialogParent(this), QFileDialog::AcceptSave, title, filter, initial);
    };
    m_cb.openFileName = [this](const QString& title, const QString& filter,
                               const QString& initial) {
        return runFileDialog(dialogParent(this), QFileDialog::AcceptOpen, title, filter, initial);
    };
    m_cb.pickFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(
            dialogParent(this), QCoreApplication::translate("MainForm", "Pick a Folder"), start);
    };
    m_cb.showErrors = [this] { m_errorsForm->exec(); };
    m_cb.showVersions = [this](const QString& root, const QString& relativePath) {
        VersionsWindow versions(root, relativePath,
                                isNoProfileFile(m_state.ProfileFileName) ? QString()
                                                                         : m_state.ProfileFileName,
                                dialogParent(this));
        versions.tell = m_cb.showMessage;
        versions.open = m_cb.openFile;
        versions.exec();
    };
    m_cb.openFile = [](const QString& path) {
        // From the name's bytes: a name that is not UTF-8 still names its file.
        QDesktopServices::openUrl(
            QUrl::fromEncoded("file://" + nameBytes(path).toPercentEncoding("/")));
    };

    Registry::setMessageHandler([this](const QString& text) {
        if (m_cb.showMessage)
            m_cb.showMessage(text);
    });
}
