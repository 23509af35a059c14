#include "app/help_window.h"
#include "app/mainform.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The main window's controls: names, captions, tooltips, Esc, error window, help and about.

class MainFormControlsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<QTemporaryDir> files;

    static QList<bool> toggles(const MainForm& form)
    {
        return {form.toggleState(1), form.toggleState(2), form.toggleState(3)};
    }
    static QList<QAction*> actionsOf(const MainForm& form, const char* toolbar)
    {
        return form.findChild<QToolBar*>(QLatin1String(toolbar))->actions();
    }
    // Runs action() and, once its modal window is up, hands that window to inspect() and
    // closes it.
    template <typename Action, typename Inspect>
    static void withModal(Action action, Inspect inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal) {
                seen = true;
                inspect(modal);
                modal->close();
            }
        });
        action();
        QVERIFY2(seen, "no modal window was shown");
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        config = std::make_unique<QTemporaryDir>();
        files = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config->path().toUtf8());
    }

    void escapeRequestsCancelWhereverTheFocusIs()
    {
        MainForm form{QString()};
        form.Form_Load();
        for (const char* name : {"ListView1", "ListView2", "ProfileList", "tbrMain_4",
                                 "tbrSecond_2", "ProgressBar1", "MainForm"}) {
            auto* widget = name == QByteArray("MainForm") ? &form : form.findChild<QWidget*>(name);
            QVERIFY2(widget, name);
            form.state().CancelRequested = false;
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_A);
            QVERIFY2(!form.state().CancelRequested, name);
            QTest::keyClick(widget, Qt::Key_Escape);
            QVERIFY2(form.state().CancelRequested, name);
        }
        form.Form_QueryUnload(true);
    }

    void controlsCarryTheirNamesCaptionsAndTips()
    {
        MainForm form{QString()};
        form.Form_Load();
        for (const char* name :
             {"MainForm", "tbrMain", "tbrSecond", "TbrProfile", "ListView1", "ListView2",
              "ProfileList", "Label3", "Label5", "Label6", "ProgressBar1", "StatusBar1"}) {
            QWidget* w = name == QByteArray("MainForm") ? &form : form.findChild<QWidget*>(name);
            QVERIFY2(w, name);
            QCOMPARE(w->accessibleName(), QString::fromLatin1(name));
        }
        QCOMPARE(form.findChild<QLabel*>("Label3")->text(), QStringLiteral("Source Files"));
        QCOMPARE(form.findChild<QLabel*>("Label5")->text(), QStringLiteral("Target Files"));
        QCOMPARE(form.findChild<QLabel*>("Label6")->text(), QStringLiteral("Profile Entries"));

        const QStringList mainTexts = {"&New Profile", "&Open Profile", "Sa&ve Profile",
                                       "S&can",        "&Synchronize",  "E&xit"};
        const QStringList mainTips = {"Start New Profile",
                                      "Open a Saved Profile",
                                      "Save /Save as the current Profile",
                                      "Scan Source and Target Directories for Diffrent Files",
                                      "Synchronize Source and Target Directories",
                                      ""};
        const QStringList secondTexts = {"Show Icons ",      " Copy  Source", " Copy  Target  ",
                                         " Show  Errors  !", "Help",          "About"};
        const QStringList secondTips = {"Display icons of files",
                                        "Copy Files from Source to Trget directories",
                                        "Copy Files from Target  to Source directories",
                                        "Show Errors of Last Synchronization",
                                        "",
                                        ""};
        const struct
        {
            const char* toolbar;
            QStringList texts, tips;
        } bars[] = {{"tbrMain", mainTexts, mainTips}, {"tbrSecond", secondTexts, secondTips}};
        for (const auto& bar : bars) {
            const QList<QAction*> actions = actionsOf(form, bar.toolbar);
            QCOMPARE(actions.size(), 6);
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(actions[i]->text(), bar.texts[i]);
                QCOMPARE(actions[i]->isCheckable(),
                         bar.toolbar == QByteArray("tbrSecond") && i < 3);
                // Hovering shows the tooltip, and none at all for the buttons without one.
                QWidget* button =
                    form.findChild<QWidget*>(QStringLiteral("%1_%2").arg(bar.toolbar).arg(i + 1));
                QToolTip::hideText();
                QTRY_VERIFY(!QToolTip::isVisible());
                QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(button, &hover);
                QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), bar.tips[i]);
            }
        }
        QCOMPARE(actionsOf(form, "tbrSecond")[0]->data().toString(), QStringLiteral("FileIcon"));

        auto headers = [](QTreeView* view) {
            QStringList h;
            for (int c = 0; c < view->model()->columnCount(); ++c)
                h << view->model()->headerData(c, Qt::Horizontal).toString();
            return h;
        };
        const QStringList resultColumns = {"Name",   "Source",        "Target",
                                           "Status", "Last Modified", "size(KB)"};
        QCOMPARE(headers(form.findChild<QTreeView*>("ListView1")), resultColumns);
        QCOMPARE(headers(form.findChild<QTreeView*>("ListView2")), resultColumns);
        QCOMPARE(headers(form.findChild<QTreeView*>("ProfileList")),
                 QStringList({"Source", "Target", "Include", "Exclude"}));

        ErrorsForm* errors = form.errorsForm();
        QCOMPARE(errors->objectName(), QStringLiteral("ErrorsForm"));
        QCOMPARE(errors->windowTitle(), QStringLiteral("Errors"));
        QCOMPARE(errors->list()->objectName(), QStringLiteral("ErrorsList"));
        QCOMPARE(headers(errors->list()), QStringList({"File Name", "Source", "Target", "Error"}));
        QCOMPARE(errors->findChild<QPushButton*>("OKCommand")->text(), QStringLiteral("OK"));

        QStringList menu;
        for (QAction* a : form.findChild<QMenu*>("FileMenu")->actions())
            menu << a->objectName() + "=" + a->text();
        QCOMPARE(menu, QStringList({"OpenFile=Open File", "DeleteFile=Delete File\tDel",
                                    "DeleteChecked=Delete Checked Files  ",
                                    "DeleteUnchecked=Delete UnChecked Files\tShift+Del",
                                    "CheckUnCheckFile=Check / UnCheck File",
                                    "CheckAll=Check All Files\tCtrl+A",
                                    "UnCheckAll=UnCheck All Files\tCtrl+U",
                                    "InvertChecking=Invert Checking of All Files\tCtrl+I"}));
        form.Form_QueryUnload(true);
    }

    void secondToolbarOpensErrorsHelpAndAbout()
    {
        MainForm form{QString()};
        form.Form_Load();
        form.state().ErrorsList.append({"a.txt", "/src", "/dst", "Permission denied"});
        withModal([&] { form.tbrSecond_ButtonClick(4); },
                  [&](QWidget* w) {
                      QCOMPARE(w, form.errorsForm());
                      QCOMPARE(form.errorsForm()->list()->model()->rowCount(), 1);
                  });
        QVERIFY(form.errorsForm()->isHidden());
        QCOMPARE(form.state().ErrorsList.size(), 1); // hiding keeps the rows

        withModal([&] { form.tbrSecond_ButtonClick(5); },
                  [](QWidget* w) {
                      auto* help = qobject_cast<HelpWindow*>(w);
                      QVERIFY(help && help->loaded());
                      const QString text = help->browser()->toPlainText();
                      for (const char* heading : {"The main window", "Profiles", "Settings",
                                                  "The second toolbar", "ketrano-cli"})
                          QVERIFY2(text.contains(QLatin1String(heading)), heading);
                  });
        withModal([&] { form.tbrSecond_ButtonClick(6); },
                  [](QWidget* w) {
                      QCOMPARE(w->findChild<QLabel*>("AboutText")->text(),
                               QStringLiteral("Ketrano Backup ver 2.01"));
                  });
        QCOMPARE(toggles(form), QList<bool>({true, true, true})); // commands flip nothing
        form.Form_QueryUnload(true);
    }

    void helpWindowWithoutManualSaysWhereItLooked()
    {
        HelpWindow help(files->filePath(QStringLiteral("nowhere")), nullptr);
        QVERIFY(!help.loaded());
        QVERIFY(help.browser()->toPlainText().contains(files->filePath("nowhere")));
        QVERIFY(QFileInfo::exists(MainForm::helpFolder() + QStringLiteral("/help.html")));
    }

    void installedProgramFindsTheManualBesideIt()
    {
        const QString prefix = files->filePath(QStringLiteral("usr"));
        QDir().mkpath(prefix + QStringLiteral("/bin"));
        const QString sourceHelp = helpFolderFor(prefix + QStringLiteral("/bin"));
        QVERIFY(QFileInfo::exists(sourceHelp + QStringLiteral("/help.html"))); // build tree
        QVERIFY(!sourceHelp.startsWith(prefix));
        QDir().mkpath(prefix + QStringLiteral("/share/ketrano/help"));
        QFile manual(prefix + QStringLiteral("/share/ketrano/help/help.html"));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        QCOMPARE(helpFolderFor(prefix + QStringLiteral("/bin")),
                 prefix + QStringLiteral("/share/ketrano/help"));
    }
};

QTEST_MAIN(MainFormControlsTest)
#include "mainform_controls_test.moc"
