// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/desktop_notice.h"
#include "app/notice_bar.h"
#include "app/versions_window.h"
#include "core/registry/registry.h"
#include "results/file_icon_model.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

// Construction and layout of the main window. The arrangement follows the original design
// (toolbars on top; Source Files, Target Files and Profile Entries lists with their captions
// on the left; the profile toolbar beside the profile list; progress bar and five status
// panels at the bottom), with layouts so the lists grow with the window.

namespace {

// A control keeps its design name as object name (tests find it by that name). What a screen
// reader announces is what the user sees: Qt names a window by its caption and a label or a
// status panel by its current text; buttons and lists are named below.
void nameControl(QObject* object, const QString& name)
{
    object->setObjectName(name);
}

// The caption as the user reads it: without the '&' that marks the underlined letter.
QString readCaption(const char* caption)
{
    return QString::fromUtf8(caption).remove(QLatin1Char('&'));
}

// The toolbars' pictures are the program's own, so they look the same under every icon theme.
QIcon ownIcon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QTreeView* makeReportList(QWidget* parent, const QString& name)
{
    auto* view = new QTreeView(parent);
    nameControl(view, name);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    // Paths differ at their ends: cut them in the middle (the full text is the tooltip).
    view->setTextElideMode(Qt::ElideMiddle);
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(false);
    return view;
}

// The caption of a list; the list is announced by the same text.
QLabel* makeCaption(QWidget* parent, const QString& name, const QString& text, QWidget* list)
{
    auto* label = new QLabel(text, parent);
    nameControl(label, name);
    label->setBuddy(list);
    list->setAccessibleName(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFixedWidth(52);
    return label;
}

} // namespace

// The window's pictures are compiled into the window library; a static library needs its
// resources registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

MainForm::MainForm(const QString& commandLine, QWidget* parent)
    : QMainWindow(parent), m_commandLine(commandLine)
{
    initResources();
    nameControl(this, QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Ketrano Backup"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ketrano.svg")));
    FileIconModel::useFallbackIconTheme();
    buildWindow();
    fillCallbacks();
    setUpSizes();
    qApp->installEventFilter(this);
    resize(1120, 720);
}

MainForm::~MainForm()
{
    qApp->removeEventFilter(this);
    // The settings store's messages went to this window's message box.
    Registry::setMessageHandler({});
}

void MainForm::buildWindow()
{
    buildMainToolbar();
    addToolBarBreak();
    buildSecondToolbar();
    buildLists();
    buildStatusBar();
    buildFileMenu();
    // How long the versions of replaced files are kept: Ctrl+, (the desktop's key for a
    // program's settings) anywhere in the window.
    auto* keepVersions = new QShortcut(QKeySequence::Preferences, this);
    keepVersions->setObjectName(QStringLiteral("KeepVersionsKey"));
    connect(keepVersions, &QShortcut::activated, this, [this] {
        KeepVersionsDialog dialog(this);
        if (dialog.exec() == QDialog::Accepted) {
            const QString failed = dialog.save();
            if (!failed.isNull() && m_cb.showMessage)
                m_cb.showMessage(failed);
        }
    });
    m_errorsForm = new ErrorsForm(&m_state.errorRows, this);
    // The notice bar follows the error list, once per turn of the event loop at most.
    m_noticeUpdate = new QTimer(this);
    m_noticeUpdate->setSingleShot(true);
    connect(m_noticeUpdate, &QTimer::timeout, this, &MainForm::showNotices);
    const auto update = [this] { m_noticeUpdate->start(0); };
    connect(&m_state.errorRows, &QAbstractItemModel::rowsInserted, this, update);
    connect(&m_state.errorRows, &QAbstractItemModel::modelReset, this, update);
    connect(m_noticeBar, &NoticeBar::showErrorsClicked, this, [this] {
        if (m_cb.showErrors)
            m_cb.showErrors();
    });
    m_notice = new DesktopNotice(this);
    connect(m_notice, &DesktopNotice::activated, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
}

void MainForm::buildMainToolbar()
{
    tbrMain = addToolBar(QStringLiteral("Main Toolbar"));
    nameControl(tbrMain, QStringLiteral("tbrMain"));
    tbrMain->setMovable(false);
    tbrMain->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    struct Button
    {
        const char* caption;
        const char* tip;
        const char* icon;
        const char* shortcuts; // the underlined letter with Alt, then the usual desktop key
    };
    const Button buttons[] = {
        {"&New Profile", "Start New Profile", "profile-new", "Alt+N; Ctrl+N"},
        {"&Open Profile", "Open a Saved Profile", "profile-open", "Alt+O; Ctrl+O"},
        {"Sa&ve Profile", "Save /Save as the current Profile", "profile-save", "Alt+V; Ctrl+S"},
        {"S&can", "Scan Source and Target Directories for Diffrent Files", "scan", "Alt+C; F5"},
        {"&Synchronize", "Synchronize Source and Target Directories", "synchronize", "Alt+S"},
        {"E&xit", "", "exit", "Alt+X; Ctrl+Q"},
    };
    int position = 1;
    for (const Button& b : buttons) {
        QAction* action = tbrMain->addAction(ownIcon(b.icon), QString::fromUtf8(b.caption));
        action->setToolTip(QString::fromUtf8(b.tip));
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(b.shortcuts),
                                                          QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        QWidget* button = tbrMain->widgetForAction(action);
        nameControl(button, QStringLiteral("tbrMain_%1").arg(position));
        button->setAccessibleName(readCaption(b.caption));
        if (!*b.tip)
            m_noTipButtons.insert(button); // no tooltip (see eventFilter)
        const int p = position++;
        connect(action, &QAction::triggered, this, [this, p] { tbrMain_ButtonClick(p); });
        m_mainButtons.append(action);
    }
}

void MainForm::buildSecondToolbar()
{
    tbrSecond = addToolBar(QStringLiteral("Second Toolbar"));
    nameControl(tbrSecond, QStringLiteral("tbrSecond"));
    tbrSecond->setMovable(false);
    tbrSecond->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbrSecond->setIconSize(QSize(16, 16));
    struct Button
    {
        const char* caption;
        const char* tip;
        const char* icon;
        bool toggle;
        const char* shortcut = "";
    };
    const Button buttons[] = {
        {"Show Icons ", "Display icons of files", "show-icons", true},
        {" Copy  Source", "Copy Files from Source to Trget directories", "copy-source", true},
        {" Copy  Target  ", "Copy Files from Target  to Source directories", "copy-target", true},
        {" Show  Errors  !", "Show Errors of Last Synchronization", "show-errors", false},
        {"Help", "", "help", false, "F1"},
        {"About", "", "about", false},
    };
    int position = 1;
    for (const Button& b : buttons) {
        QAction* action = tbrSecond->addAction(ownIcon(b.icon), QString::fromUtf8(b.caption));
        action->setToolTip(QString::fromUtf8(b.tip));
        action->setShortcut(QKeySequence(QString::fromLatin1(b.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        QWidget* button = tbrSecond->widgetForAction(action);
        nameControl(button, QStringLiteral("tbrSecond_%1").arg(position));
        button->setAccessibleName(readCaption(b.caption));
        if (!*b.tip)
            m_noTipButtons.insert(button);
        if (b.toggle) {
            action->setCheckable(true);
            action->setChecked(true); // pressed at design; start-up restores the saved state
        }
        const int p = position++;
        connect(action, &QAction::triggered, this, [this, p] { tbrSecond_ButtonClick(p); });
        m_secondButtons.append(action);
    }
    m_secondButtons[0]->setData(QStringLiteral("FileIcon"));
}

void MainForm::buildProfileToolbar()
{
    TbrProfile = new QToolBar(QStringLiteral("Profile Entry Toolbar"), this);
    nameControl(TbrProfile, QStringLiteral("TbrProfile"));
    TbrProfile->setOrientation(Qt::Vertical);
    TbrProfile->setIconSize(QSize(16, 16));
    TbrProfile->setToolButtonStyle(Qt::ToolButtonIconOnly);
    struct Button
    {
        const char* tip;
        const char* icon;
        const char* keys; // in the profile list
    };
    const Button buttons[] = {
        {"New Profile Entry", "entry-new", "Ins"},
        {"Edit Profile Entry", "entry-edit", "F2; Return; Enter"},
        {"Delete Profile Entry", "entry-delete", "Del"},
        {"Create ShortCut", "shortcut", ""},
    };
    int position = 1;
    for (const Button& b : buttons) {
        QAction* action = TbrProfile->addAction(ownIcon(b.icon), QString::fromUtf8(b.tip));
        action->setToolTip(QString::fromUtf8(b.tip));
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(b.keys)));
        action->setShortcutContext(Qt::WidgetShortcut);
        QWidget* button = TbrProfile->widgetForAction(action);
        nameControl(button, QStringLiteral("TbrProfile_%1").arg(position));
        button->setAccessibleName(QString::fromUtf8(b.tip));
        // The pictures alone would be out of reach of the keyboard: Tab reaches them.
        button->setFocusPolicy(Qt::TabFocus);
        const int p = position++;
        connect(action, &QAction::triggered, this, [this, p] { TbrProfile_ButtonClick(p); });
        m_profileButtons.append(action);
    }
    // The same four commands in the profile list: its keys, and its menu on the right button
    // or the menu key, and on Shift+F10 (which the platform does not turn into a menu).
    ProfileList->addActions(m_profileButtons);
    ProfileList->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* menuKey = new QShortcut(QKeySequence(QStringLiteral("Shift+F10")), ProfileList);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QRect row = ProfileList->visualRect(ProfileList->currentIndex());
        QMenu::exec(m_profileButtons, ProfileList->viewport()->mapToGlobal(row.bottomLeft()),
                    nullptr, ProfileList);
    });
}

void MainForm::buildLists()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralWidget"));
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(4, 4, 4, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);

    // Above the lists, hidden until there is something to tell.
    m_noticeBar = new NoticeBar(central);
    grid->addWidget(m_noticeBar, 0, 0, 1, 3);

    ListView1 = makeReportList(central, QStringLiteral("ListView1"));
    ListView2 = makeReportList(central, QStringLiteral("ListView2"));
    ProfileList = makeReportList(central, QStringLiteral("ProfileList"));
    m_iconModel1 = new FileIconModel(this);
    m_iconModel1->setSourceModel(&m_state.sourceRows);
    m_iconModel2 = new FileIconModel(this);
    m_iconModel2->setSourceModel(&m_state.targetRows);
    ListView1->setModel(m_iconModel1);
    ListView2->setModel(m_iconModel2);
    ProfileList->setModel(&m_state.profileEntries);
    for (QTreeView* view : {ListView1, ListView2}) {
        view->header()->setSectionsClickable(true);
        view->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView_ColumnClick(m_state.sourceRows, c); });
    connect(ListView2->header(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView_ColumnClick(m_state.targetRows, c); });
    connect(ProfileList, &QTreeView::doubleClicked, this, [this] { ProfileList_DblClick(); });

    buildProfileToolbar();
    TbrProfile->setParent(central);

    grid->addWidget(
        makeCaption(central, QStringLiteral("Label3"), QStringLiteral("Source Files"), ListView1),
        1, 0);
    grid->addWidget(ListView1, 1, 1, 1, 2);
    grid->addWidget(
        makeCaption(central, QStringLiteral("Label5"), QStringLiteral("Target Files"), ListView2),
        2, 0);
    grid->addWidget(ListView2, 2, 1, 1, 2);
    grid->addWidget(makeCaption(central, QStringLiteral("Label6"),
                                QStringLiteral("Profile Entries"), ProfileList),
                    3, 0);
    grid->addWidget(ProfileList, 3, 1);
    grid->addWidget(TbrProfile, 3, 2, Qt::AlignTop);
    grid->setRowStretch(1, 8);
    grid->setRowStretch(2, 8);
    grid->setRowStretch(3, 5);
    grid->setColumnStretch(1, 1);

    ProgressBar1 = new QProgressBar(central);
    nameControl(ProgressBar1, QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(16);
    grid->addWidget(ProgressBar1, 4, 0, 1, 3);

    setCentralWidget(central);
}

void MainForm::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    nameControl(bar, QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 1; i <= 5; ++i) {
        auto* panel = new QLabel(bar);
        nameControl(panel, QStringLiteral("StatusBar1_Panel%1").arg(i));
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panel->setMinimumWidth(i == 1 ? 67 : 133);
        panel->setTextFormat(Qt::PlainText);
        bar->addPermanentWidget(panel, i == 1 ? 1 : 2);
        m_panels.append(panel);
    }
    m_panels[0]->setText(QStringLiteral("Ready"));
    m_panels[0]->setAccessibleName(QStringLiteral("Ready"));
    m_state.status.panels[0] = QStringLiteral("Ready");
}

void MainForm::showNotices()
{
    QString first;
    int count = 0;
    // What the scan could not read or refused, and a run that could not remember the disks of
    // its folders (the next one could not tell an unmounted disk): not one file, the whole run.
    for (const ErrorRow& row : m_state.errorRows.rows()) {
        const bool ofTheRun = row.beforeCopies() || row.kind == ErrorKind::RootsNotRemembered;
        if (ofTheRun && count++ == 0)
            first = row.error;
    }
    // Files changed on both sides since the last synchronization are told too (the newer one
    // still wins; the older is kept as a version).
    qint64 both = 0;
    for (const ResultListModel* list : {&m_state.sourceRows, &m_state.targetRows})
        both += std::count_if(list->rows().begin(), list->rows().end(),
                              [](const ResultRow& r) { return r.changedOnBothSides; });
    if (both > 0 && count++ == 0)
        first = both == 1 ? QStringLiteral("1 file was changed on both sides since the last "
                                           "synchronization: the older one is kept as a version")
                          : QStringLiteral("%1 files were changed on both sides since the last "
                                           "synchronization: the older ones are kept as versions")
                                .arg(both);
    m_noticeBar->setNotices(first, count);
}

QTreeView* MainForm::viewOf(const ResultListModel& list) const
{
    return &list == &m_state.sourceRows ? ListView1 : ListView2;
}

QLabel* MainForm::panel(int index) const
{
    return index >= 1 && index <= 5 ? m_panels[index - 1] : nullptr;
}
