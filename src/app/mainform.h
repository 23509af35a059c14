// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"
#include "run/run_profile.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>

class QAction;
class QLabel;
class QSplitter;
class RunProgress;
class QMenu;
class QProgressBar;
class QToolBar;
class QTreeView;
class ErrorsForm;
class FileIconModel;
class ColumnFit;
class DesktopNotice;
class NoticeBar;
class QTimer;
struct ListCommandContext;

// The program's one main window. Its members keep the design names of the controls; the
// window's code is split by concern over mainform_*.cpp files.
class MainForm : public QMainWindow
{
    Q_OBJECT
public:
    // commandLine: the program's arguments joined with single blanks ("" when none).
    explicit MainForm(const QString& commandLine, QWidget* parent = nullptr);
    ~MainForm() override;

    // Start-up steps: columns, settings, profile, caption, visible, unattended run.
    void Form_Load();
    // Shutdown: optional save question, the four settings, end of the program.
    void Form_QueryUnload(bool bySignal);

    AppState& state() { return m_state; }
    // Tests replace single members to script dialogs and questions.
    Callbacks& callbacks() { return m_cb; }

    // Main toolbar, buttons 1..6.
    void tbrMain_ButtonClick(int position);
    // Second toolbar, buttons 1..6 (1..3 are toggles and only flip).
    void tbrSecond_ButtonClick(int position);
    bool toggleState(int toggle) const;
    void setToggleState(int toggle, bool pressed);

    // Profile toolbar, buttons 1..4, and the profile list's mouse.
    void TbrProfile_ButtonClick(int position);
    void ProfileList_DblClick();
    void ProfileList_MouseDown(Qt::MouseButton button);

    // Commands behind the toolbars.
    void ScanCmd_Click();
    void SyncCmd_Click();
    void StatusBar1_PanelDblClick(int panel);

    // Result lists: keys, mouse, sorting, opening files. A key runs the command that the
    // command table binds to it going up or down; KeyDown is true when it ran one.
    void ListView_KeyUp(ResultListModel& list, int key, Qt::KeyboardModifiers modifiers);
    bool ListView_KeyDown(ResultListModel& list, int key, Qt::KeyboardModifiers modifiers);
    void ListView_GotFocus(ResultListModel& list);
    void ListView_MouseDown(ResultListModel& list, Qt::MouseButton button, const QPoint& globalPos);
    void ListView_ColumnClick(ResultListModel& list, int column);
    void ListView_DblClick(ResultListModel& list);

    // The result list's popup menu at its selected row (Shift+F10, the menu key).
    void ListView_MenuKey(ResultListModel& list);
    // The run log's last runs (Ctrl+L, the second toolbar's Run Log).
    void showRunLog();

    QTreeView* viewOf(const ResultListModel& list) const;
    QLabel* panel(int index) const;
    ErrorsForm* errorsForm() const { return m_errorsForm; }

    // Where the help folder is: share/ketrano/help beside the installed program, or help/ of
    // the source tree when run from the build tree.
    static QString helpFolder();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Installed on the application: Esc, status panel double-clicks, list keys and mouse.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildMainToolbar();
    void buildSecondToolbar();
    void buildProfileToolbar();
    void buildLists();
    void buildStatusBar();
    // The result lists' popup menu, from the command table (mainform_results.cpp).
    void buildFileMenu();
    ListCommandContext listCommandContext();
    // The row of the view's own model (behind any proxy) that is selected, -1 when none.
    static int selectedRow(const QTreeView* view);
    void fillCallbacks();
    // Column shares and minimums, the smallest window (mainform_layout.cpp).
    void setUpSizes();
    // The window's size, position and column widths of the last run, and keeping them.
    void restoreLayout();
    void saveLayout() const;
    // Keeps the window within the screen's available area and moves it onto the screen when
    // it is off it (a remembered position of another screen, a scaled desktop).
    void fitOnScreen();
    // What the window adds to the status bar from the run's events: the bar by bytes with
    // speed and time left, the files found during a scan, what happened to each row.
    void showRunEvent(const RunEvent& event);
    // Esc or the first panel's double-click during a run: panel 1 tells the stop was heard.
    void stopHeard();
    void setBusy(bool busy);
    // Enables the commands that change the profile or the lists, or (during a run) refuses them.
    void updateCommandStates(bool idle);
    bool isBusy() const { return m_state.control.running != Running::Idle; }
    void runUnattended();
    // A run of the profile, as the buttons and the unattended run start it.
    RunRequest runRequest(bool scan, bool copy) const;
    RunResult run(const RunRequest& request);
    // The desktop notification at the end of an unattended run; a click raises the window.
    void tellRunEnded(const RunResult& result);
    // The bar above the lists: what the scan and the profile load reported (the error list's
    // rows from before any copy).
    void showNotices();
    // Leaves the running event loops, so the program ends (no-op outside an event loop).
    void endEventLoops();
    // Keys, focus and mouse presses of the three lists (mainform_lists.cpp).
    bool listEventFilter(QObject* watched, QEvent* event);

    QString m_commandLine;
    AppState m_state;
    Callbacks m_cb;
    bool m_closing = false;

    QToolBar* tbrMain = nullptr;
    QToolBar* tbrSecond = nullptr;
    QToolBar* TbrProfile = nullptr;
    QList<QAction*> m_mainButtons;    // positions 1..6 at [0..5]
    QList<QAction*> m_secondButtons;  // positions 1..6 at [0..5]
    QList<QAction*> m_profileButtons; // positions 1..4 at [0..3]
    QTreeView* ListView1 = nullptr;
    QTreeView* ListView2 = nullptr;
    QTreeView* ProfileList = nullptr;
    FileIconModel* m_iconModel1 = nullptr;
    FileIconModel* m_iconModel2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QList<QLabel*> m_panels; // StatusBar1 panels 1..5 at [0..4]
    QMenu* FileMenu = nullptr;
    ErrorsForm* m_errorsForm = nullptr;
    QList<ColumnFit*> m_columnFits; // ListView1, ListView2, ProfileList
    DesktopNotice* m_notice = nullptr;
    NoticeBar* m_noticeBar = nullptr;
    QTimer* m_noticeUpdate = nullptr; // one update of the bar for many new error rows
    QSet<QObject*> m_noTipButtons;
    QHash<QObject*, QString> m_buttonKeys; // toolbar button -> its keys, shown in its tooltip
    QSplitter* m_splitter = nullptr;       // result lists above, Profile Entries below
    RunProgress* m_progress = nullptr;
    bool m_stopHeard = false;
    qint64 m_foundBefore[2] = {0, 0}; // files the scan's earlier entries found, per side
    qint64 m_foundNow[2] = {0, 0};    // and those of the entry being walked
    QString m_lastFailure;            // the reason of the last error row, for its row
};
