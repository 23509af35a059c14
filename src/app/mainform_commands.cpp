// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/desktop_notice.h"
#include "app/help_window.h"
#include "app/notice_bar.h"
#include "app/run_log_window.h"
#include "core/registry/registry.h"
#include "core/settings.h"
#include "core/status_bar.h"
#include "profile/profile_commands.h"
#include "profile/profile_file.h"
#include "results/file_icon_model.h"
#include "run/run_profile.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QTreeView>

#include <cstdio>

// Start-up, shutdown and the two toolbars' commands.

void MainForm::Form_Load()
{
    // The columns of the four lists come with their models; their widths are set when the
    // window is first shown.
    const Settings::Values values = Settings::read(m_commandLine);
    m_state.ProfileFileName = values.profileFileName;
    setToggleState(1, values.showIcons);
    setToggleState(2, values.copySource);
    setToggleState(3, values.copyTarget);
    if (!isNoProfileFile(m_state.ProfileFileName))
        loadCurrentProfile(m_state);
    showNotices(); // the records of a damaged profile that were skipped
    setWindowTitle(profileCaption(m_state.ProfileFileName));
    restoreLayout();
    show();
    // With a profile on the command line, scan and synchronize it once the window is up.
    if (!m_commandLine.isEmpty())
        QTimer::singleShot(0, this, &MainForm::runUnattended);
}

RunRequest MainForm::runRequest(bool scan, bool copy) const
{
    RunRequest request;
    request.scan = scan;
    request.copy = copy;
    // A toggle is read when its direction's stage begins: it may be flipped meanwhile.
    request.directionOn = [this](Direction d) {
        return toggleState(d == Direction::SourceToTarget ? 2 : 3);
    };
    request.program = QStringLiteral("ketrano");
    return request;
}

void MainForm::runUnattended()
{
    if (m_closing)
        return;
    QCoreApplication::processEvents(); // let the window paint before the work starts
    // Nobody may be watching: what the window would ask about is refused and listed instead.
    // Esc stops the scan; the synchronization that follows still runs, as a click would.
    RunRequest request = runRequest(true, true);
    request.unattended = true;
    const RunResult result = run(request);
    tellRunEnded(result);
}

RunResult MainForm::run(const RunRequest& request)
{
    if (request.scan) {
        m_iconModel1->ResetIconList();
        m_iconModel2->ResetIconList();
        m_noticeBar->reopen(); // what this scan reports shows, also if the last one's was closed
    }
    // While it runs, the commands that would change what it works on are refused.
    updateCommandStates(false);
    const RunResult result = runProfile(m_state, request, m_cb);
    if (request.copy)
        m_notice->hideProgress();
    showNotices();
    updateCommandStates(true);
    return result;
}

void MainForm::tellRunEnded(const RunResult& result)
{
    if (m_closing)
        return;
    m_notice->notify(QFileInfo(m_state.ProfileFileName).fileName(),
                     DesktopNotice::runText(result.filesCopied, result.errors,
                                            result.outcome == RunOutcome::Stopped));
}

void MainForm::Form_QueryUnload(bool bySignal)
{
    if (m_closing) {
        // A signal while the save question is still open ends its wait: the close goes on.
        if (bySignal)
            endEventLoops();
        return;
    }
    m_closing = true;
    // A running scan stops at its next check. A running synchronization gives up the file it
    // is copying (its destination stays as it was), so the program ends at once even in the
    // middle of a large file.
    m_state.control.abandonCopy = true;
    m_state.control.CancelRequested = true;
    // Unsaved entry edits are offered for saving, even while a scan or copy runs (saving does
    // not touch the lists); a close by signal cannot wait for an answer.
    if (!bySignal)
        saveQuestion(m_state, m_cb);
    const QString failed =
        Settings::write({m_state.ProfileFileName, toggleState(1), toggleState(2), toggleState(3)});
    if (!failed.isNull()) {
        // The next start would not find this profile and these toggles: say so. A close by
        // signal has nobody to answer a message box; the terminal or the journal has it.
        std::fprintf(stderr, "ketrano: %s\n", qPrintable(failed));
        if (!bySignal && m_cb.showMessage)
            m_cb.showMessage(failed);
    }
    saveLayout();
    hide();
    endEventLoops();
}

void MainForm::endEventLoops()
{
    // Only a running event loop can be left; exit() outside one would make every later
    // loop of this thread return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void MainForm::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload(false);
    event->accept();
}

void MainForm::tbrMain_ButtonClick(int position)
{
    switch (position) {
    case 1:
        if (isBusy())
            return;
        setWindowTitle(NewProfile(m_state, m_cb));
        m_noticeBar->reopen();
        showNotices();
        break;
    case 2: {
        if (isBusy())
            return;
        // The save question first; a cancelled dialog then keeps the profile, its file name
        // and its unsaved changes (OpenProfile clears ProfileChanged only when it opens).
        saveQuestion(m_state, m_cb);
        const QString caption = OpenProfile(m_state, m_cb);
        if (!caption.isNull()) {
            setWindowTitle(caption);
            m_noticeBar->reopen();
            showNotices();
        }
        break;
    }
    case 3:
        if (isBusy())
            return;
        SaveProfile(m_state, m_cb); // clears ProfileChanged when the profile was saved
        break;
    case 4:
        ScanCmd_Click();
        break;
    case 5:
        SyncCmd_Click();
        break;
    case 6:
        close();
        break;
    default:
        break;
    }
}

void MainForm::tbrSecond_ButtonClick(int position)
{
    switch (position) {
    case 4:
        if (m_cb.showErrors)
            m_cb.showErrors();
        break;
    case 5: {
        HelpWindow help(helpFolder(), this);
        help.exec();
        break;
    }
    case 6:
        showAbout(this);
        break;
    case 7:
        showRunLog();
        break;
    default: // 1..3 are toggles: the toolbar flips them
        break;
    }
}

bool MainForm::toggleState(int toggle) const
{
    return toggle >= 1 && toggle <= 3 && m_secondButtons[toggle - 1]->isChecked();
}

void MainForm::setToggleState(int toggle, bool pressed)
{
    if (toggle >= 1 && toggle <= 3)
        m_secondButtons[toggle - 1]->setChecked(pressed);
}

void MainForm::ScanCmd_Click()
{
    if (!isBusy())
        run(runRequest(true, false));
}

void MainForm::SyncCmd_Click()
{
    if (!isBusy())
        run(runRequest(false, true));
}

void MainForm::StatusBar1_PanelDblClick(int panel)
{
    if (panel == 1) {
        m_state.control.CancelRequested = true;
        stopHeard();
    } else if (panel == 3 && m_cb.showErrors)
        m_cb.showErrors();
}

void MainForm::showRunLog()
{
    RunLogWindow window(this);
    window.exec();
}

void MainForm::stopHeard()
{
    // The run stops at its next check, which may be the end of a large file: panel 1 says at
    // once that the stop was heard. Its documented text follows when the run has stopped.
    if (!isBusy() || m_stopHeard)
        return;
    m_stopHeard = true;
    const QString text = tr("Stopping…");
    m_panels[0]->setText(text);
    m_panels[0]->setAccessibleName(text);
}

void MainForm::updateCommandStates(bool idle)
{
    for (int i = 0; i < 5; ++i) // New, Open, Save, Scan, Synchronize
        m_mainButtons[i]->setEnabled(idle);
    for (int i = 0; i < 3; ++i) // new, edit, delete entry
        m_profileButtons[i]->setEnabled(idle);
    m_state.sourceRows.setLocked(!idle);
    m_state.targetRows.setLocked(!idle);
}

void MainForm::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

QString MainForm::helpFolder()
{
    return helpFolderFor(QCoreApplication::applicationDirPath());
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // Esc stops Scan and Synchronize whichever control of the window has the focus.
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            m_state.control.CancelRequested = true;
            stopHeard();
        }
        return false;
    }
    if (type == QEvent::Shortcut && watched->parent() == tbrMain) {
        // A caption's underlined letter with Alt runs its button at once (a button's own
        // mnemonic would click it a moment later, after showing it pressed).
        for (QAction* action : std::as_const(m_mainButtons)) {
            if (tbrMain->widgetForAction(action) == watched) {
                if (action->isEnabled())
                    action->trigger();
                return true;
            }
        }
    }
    if (type == QEvent::ToolTip && m_buttonKeys.contains(watched)) {
        // A toolbar button's tooltip, and below it the keys that run it; a button without a
        // tooltip of its own names its keys alone.
        auto* button = static_cast<QWidget*>(watched);
        const QString keys = m_buttonKeys.value(watched);
        QString tip = m_noTipButtons.contains(watched) ? QString() : button->toolTip();
        if (!keys.isEmpty())
            tip = tip.isEmpty() ? keys : tip + QLatin1Char('\n') + keys;
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, button);
        return true;
    }
    if (type == QEvent::ToolTip && m_noTipButtons.contains(watched))
        return true; // buttons without a tooltip of their own
    if (type == QEvent::MouseButtonDblClick) {
        const int index = m_panels.indexOf(qobject_cast<QLabel*>(watched));
        if (index >= 0) {
            StatusBar1_PanelDblClick(index + 1);
            return true;
        }
    }
    return listEventFilter(watched, event) || QMainWindow::eventFilter(watched, event);
}
