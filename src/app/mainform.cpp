// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/desktop_notice.h"
#include "app/list_views.h"
#include "app/notice_bar.h"
#include "app/run_progress.h"
#include "app/versions_window.h"
#include "core/registry/registry.h"
#include "results/file_icon_model.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

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
QString readCaption(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

// The toolbars' pictures are the program's own, so they look the same under every icon theme.
QIcon ownIcon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

// A toggle's picture: pressed, with a check mark in its corner, so that its state shows in
// every style (some draw a pressed tool button hardly different from a released one).
QIcon toggleIcon(const char* name)
{
    const QIcon base = ownIcon(name);
    const QIcon mark(QStringLiteral(":/icons/toggle-on.svg"));
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        const QPixmap off = base.pixmap(size, size);
        QPixmap on = off;
        QPainter painter(&on);
        const int badge = (size * 5 + 7) / 8;
        mark.paint(&painter, QRect(size - badge, size - badge, badge, badge));
        painter.end();
        icon.addPixmap(off, QIcon::Normal, QIcon::Off);
        icon.addPixmap(on, QIcon::Normal, QIcon::On);
    }
    return icon;
}

// The underlined letters of the captions show at all times, as the captions have always
// shown them, also in styles that hide them until Alt is held.
class ShortcutsShownStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_UnderlineShortcut)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void showShortcutLetters()
{
    if (!dynamic_cast<ShortcutsShownStyle*>(QApplication::style()))
        QApplication::setStyle(new ShortcutsShownStyle(QApplication::style()->name()));
}

// The keys of a toolbar button as the desktop writes them ("Ctrl+E"), for its tooltip.
QString keysText(const QList<QKeySequence>& keys)
{
    QStringList texts;
    for (const QKeySequence& key : keys)
        texts << key.toString(QKeySequence::NativeText);
    return texts.join(QStringLiteral(", "));
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
    // Names are cut at their end; folders at their start (list_views.h), since paths differ
    // at their ends. The full text is the tooltip.
    view->setTextElideMode(Qt::ElideRight);
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

// The captions share one narrow column, wrapped at their blanks; it widens for a word that
// would not fit (a language that writes "Source Files" as one word).
void fitCaptions(const QList<QLabel*>& labels)
{
    int width = 52;
    for (const QLabel* label : labels)
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            width = qMax(width, label->fontMetrics().horizontalAdvance(word) + 4);
    for (QLabel* label : labels)
        label->setFixedWidth(width);
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
    showShortcutLetters();
    nameControl(this, QStringLiteral("MainForm"));
    setWindowTitle(tr("Ketrano Backup"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ketrano.svg")));
    FileIconModel::useFallbackIconTheme();
    buildWindow();
    fillCallbacks();
    setUpSizes();
    qApp->installEventFilter(this);
    resize(1120, 720);
    m_progress = new RunProgress;
}

MainForm::~MainForm()
{
    qApp->removeEventFilter(this);
    delete m_progress;
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
    tbrMain = addToolBar(tr("Main Toolbar"));
    nameControl(tbrMain, QStringLiteral("tbrMain"));
    tbrMain->setMovable(false);
    tbrMain->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    struct Button
    {
        const char* caption;
        const char* tip;
        const char* icon;
        // The usual desktop key; the underlined letter works with Alt as the button's own.
        const char* shortcuts;
    };
    const Button buttons[] = {
        {QT_TR_NOOP("&New Profile"), QT_TR_NOOP("Start New Profile"), "profile-new", "Ctrl+N"},
        {QT_TR_NOOP("&Open Profile"), QT_TR_NOOP("Open a Saved Profile"), "profile-open", "Ctrl+O"},
        {QT_TR_NOOP("Sa&ve Profile"), QT_TR_NOOP("Save /Save as the current Profile"),
         "profile-save", "Ctrl+S"},
        {QT_TR_NOOP("S&can"), QT_TR_NOOP("Scan Source and Target Directories for Diffrent Files"),
         "scan", "F5"},
        {QT_TR_NOOP("&Synchronize"), QT_TR_NOOP("Synchronize Source and Target Directories"),
         "synchronize", ""},
        {QT_TR_NOOP("E&xit"), "", "exit", "Ctrl+Q"},
    };
    int position = 1;
    for (const Button& b : buttons) {
        const QString caption = tr(b.caption);
        QAction* action = tbrMain->addAction(ownIcon(b.icon), caption);
        // The button shows the caption with its underlined letter (the action's own icon
        // text would drop the '&').
        action->setIconText(caption);
        action->setToolTip(*b.tip ? tr(b.tip) : QString());
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(b.shortcuts),
                                                          QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        QWidget* button = tbrMain->widgetForAction(action);
        nameControl(button, QStringLiteral("tbrMain_%1").arg(position));
        button->setAccessibleName(readCaption(caption));
        button->setFocusPolicy(Qt::TabFocus);
        QList<QKeySequence> keys = {QKeySequence::mnemonic(action->iconText())};
        m_buttonKeys.insert(button, keysText(keys + action->shortcuts()));
        if (!*b.tip)
            m_noTipButtons.insert(button); // no tooltip (see eventFilter)
        const int p = position++;
        connect(action, &QAction::triggered, this, [this, p] { tbrMain_ButtonClick(p); });
        m_mainButtons.append(action);
    }
}

// The button a toolbar shows when it is too narrow for its buttons, named for screen readers.
static void nameExtensionButton(QToolBar* bar)
{
    for (QToolButton* more :
         bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(MainForm::tr("More Buttons"));
}

void MainForm::buildSecondToolbar()
{
    tbrSecond = addToolBar(tr("Second Toolbar"));
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
        const char* shortcut; // keys of their own: the captions have no underlined letter
    };
    // The six buttons of the design, and the run log after them.
    const Button buttons[] = {
        {QT_TR_NOOP("Show Icons "), QT_TR_NOOP("Display icons of files"), "show-icons", true,
         "Ctrl+1"},
        {QT_TR_NOOP(" Copy  Source"), QT_TR_NOOP("Copy Files from Source to Trget directories"),
         "copy-source", true, "Ctrl+2"},
        {QT_TR_NOOP(" Copy  Target  "), QT_TR_NOOP("Copy Files from Target  to Source directories"),
         "copy-target", true, "Ctrl+3"},
        {QT_TR_NOOP(" Show  Errors  !"), QT_TR_NOOP("Show Errors of Last Synchronization"),
         "show-errors", false, "Ctrl+E"},
        {QT_TR_NOOP("Help"), "", "help", false, "F1"},
        {QT_TR_NOOP("About"), "", "about", false, "Ctrl+F1"},
        {QT_TR_NOOP("Run Log"), QT_TR_NOOP("Show the last runs of the run log"), "run-log", false,
         "Ctrl+L"},
    };
    int position = 1;
    for (const Button& b : buttons) {
        const QString caption = tr(b.caption);
        QAction* action =
            tbrSecond->addAction(b.toggle ? toggleIcon(b.icon) : ownIcon(b.icon), caption);
        action->setToolTip(*b.tip ? tr(b.tip) : QString());
        action->setShortcut(QKeySequence(QString::fromLatin1(b.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        QWidget* button = tbrSecond->widgetForAction(action);
        nameControl(button, QStringLiteral("tbrSecond_%1").arg(position));
        button->setAccessibleName(readCaption(caption));
        button->setFocusPolicy(Qt::TabFocus);
        m_buttonKeys.insert(button, keysText(action->shortcuts()));
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
    nameExtensionButton(tbrMain);
    nameExtensionButton(tbrSecond);
}

void MainForm::buildProfileToolbar()
{
    TbrProfile = new QToolBar(tr("Profile Entry Toolbar"), this);
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
        {QT_TR_NOOP("New Profile Entry"), "entry-new", "Ins"},
        {QT_TR_NOOP("Edit Profile Entry"), "entry-edit", "F2; Return; Enter"},
        {QT_TR_NOOP("Delete Profile Entry"), "entry-delete", "Del"},
        {QT_TR_NOOP("Create ShortCut"), "shortcut", ""},
    };
    int position = 1;
    for (const Button& b : buttons) {
        QAction* action = TbrProfile->addAction(ownIcon(b.icon), tr(b.tip));
        action->setToolTip(tr(b.tip));
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(b.keys)));
        action->setShortcutContext(Qt::WidgetShortcut);
        QWidget* button = TbrProfile->widgetForAction(action);
        nameControl(button, QStringLiteral("TbrProfile_%1").arg(position));
        button->setAccessibleName(tr(b.tip));
        // The pictures alone would be out of reach of the keyboard: Tab reaches them.
        button->setFocusPolicy(Qt::TabFocus);
        const int p = position++;
        connect(action, &QAction::triggered, this, [this, p] { TbrProfile_ButtonClick(p); });
        m_profileButtons.append(action);
    }
    nameExtensionButton(TbrProfile);
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
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 0);
    outer->setSpacing(4);

    // Above the lists, hidden until there is something to tell.
    m_noticeBar = new NoticeBar(central);
    outer->addWidget(m_noticeBar);

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
    LeftElideDelegate::install(ProfileList, {0, 1});
    for (QTreeView* view : {ListView1, ListView2}) {
        view->header()->setSectionsClickable(true);
        // The right button opens the menu when it goes down (mainform_lists.cpp); the menu
        // key's request is taken there too.
        view->setContextMenuPolicy(Qt::DefaultContextMenu);
        LeftElideDelegate::install(view, {ResultListModel::Source, ResultListModel::Target});
        keepCurrentInFirstColumn(view);
        announceCheckChanges(view);
        // Shift+F10 opens the menu as the menu key does (the platform sends no menu request
        // for it).
        auto* menuKey = new QShortcut(QKeySequence(QStringLiteral("Shift+F10")), view);
        menuKey->setContext(Qt::WidgetShortcut);
        connect(menuKey, &QShortcut::activated, this, [this, view] {
            ListView_MenuKey(view == ListView1 ? m_state.sourceRows : m_state.targetRows);
        });
    }
    keepCurrentInFirstColumn(ProfileList);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView_ColumnClick(m_state.sourceRows, c); });
    connect(ListView2->header(), &QHeaderView::sectionClicked, this,
            [this](int c) { ListView_ColumnClick(m_state.targetRows, c); });
    connect(ProfileList, &QTreeView::doubleClicked, this, [this] { ProfileList_DblClick(); });

    // The two result lists above a splitter, Profile Entries with its toolbar below it.
    auto* results = new QWidget(central);
    auto* grid = new QGridLayout(results);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    QLabel* label3 = makeCaption(results, QStringLiteral("Label3"), tr("Source Files"), ListView1);
    QLabel* label5 = makeCaption(results, QStringLiteral("Label5"), tr("Target Files"), ListView2);
    grid->addWidget(label3, 0, 0);
    grid->addWidget(ListView1, 0, 1);
    grid->addWidget(label5, 1, 0);
    grid->addWidget(ListView2, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* profile = new QWidget(central);
    auto* row = new QHBoxLayout(profile);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    buildProfileToolbar();
    TbrProfile->setParent(profile);
    auto* label6 =
        makeCaption(profile, QStringLiteral("Label6"), tr("Profile Entries"), ProfileList);
    fitCaptions({label3, label5, label6});
    row->addWidget(label6, 0, Qt::AlignTop);
    row->addWidget(ProfileList, 1);
    row->addWidget(TbrProfile, 0, Qt::AlignTop);
    ProfileList->setParent(profile);

    m_splitter = new QSplitter(Qt::Vertical, central);
    m_splitter->setObjectName(QStringLiteral("ListSplitter"));
    m_splitter->setAccessibleName(tr("Between the result lists and Profile Entries"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(results);
    m_splitter->addWidget(profile);
    m_splitter->setStretchFactor(0, 16);
    m_splitter->setStretchFactor(1, 5);
    outer->addWidget(m_splitter, 1);

    ProgressBar1 = new QProgressBar(central);
    nameControl(ProgressBar1, QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(tr("Progress"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    // High enough for the text it shows during a run (percent, speed, time left).
    ProgressBar1->setMaximumHeight(qMax(16, ProgressBar1->fontMetrics().height() + 4));
    outer->addWidget(ProgressBar1);

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
    m_panels[0]->setText(tr("Ready"));
    m_panels[0]->setAccessibleName(tr("Ready"));
    m_state.status.panels[0] = tr("Ready");
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
        first = both == 1 ? tr("1 file was changed on both sides since the last "
                               "synchronization: the older one is kept as a version")
                          : tr("%1 files were changed on both sides since the last "
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
