#include "app/help_window.h"
#include "app/mainform.h"
#include "profile/profile_file.h"
#include "support/recording_callbacks.h"
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

// The main window: start-up, shutdown, toolbars, captions, Esc, error window, help and about.

class MainFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<QTemporaryDir> files;

    QString keyFolder() const
    {
        return config->path() +
               QStringLiteral("/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano");
    }
    void store(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(keyFolder());
        QFile f(keyFolder() + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The four stored values, in the order Last Profile, Show File Names, Copy Source, Copy Target.
    QStringList stored() const
    {
        QStringList values;
        for (const char* name : {"Last Profile", "Show File Names", "Copy Source", "Copy Target"}) {
            QFile f(keyFolder() + QLatin1Char('/') + QLatin1String(name));
            values << (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll())
                                                   : QStringLiteral("<missing>"));
        }
        return values;
    }
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

    void startWithoutSettingsThenExitWritesDefaults()
    {
        MainForm form{QString()};
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup []"));
        QVERIFY(form.isVisible());
        QCOMPARE(toggles(form), QList<bool>({true, true, true}));
        QCOMPARE(form.state().ProfileList.size(), 0);
        QCOMPARE(form.panel(1)->text(), QStringLiteral("Ready"));
        for (int p = 2; p <= 5; ++p)
            QCOMPARE(form.panel(p)->text(), QString());
        QVERIFY(form.errorsForm()->isHidden());

        form.tbrMain_ButtonClick(6); // Exit
        QVERIFY(form.isHidden());
        QCOMPARE(stored(), QStringList({"", "0", "0", "0"}));
    }

    void startRestoresProfileAndToggles()
    {
        const QString profile = files->filePath(QStringLiteral("saved.prf"));
        QVERIFY(
            ProfileFile::write(profile, {{"/s1", "/t1", "*", ""}, {"/s2", "/t2", "doc", "tmp"}}));
        store(QStringLiteral("Last Profile"), profile.toUtf8());
        store(QStringLiteral("Show File Names"), "1");
        store(QStringLiteral("Copy Source"), "0");
        store(QStringLiteral("Copy Target"), "1");

        MainForm form{QString()};
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + profile + "]");
        QCOMPARE(form.state().ProfileList.size(), 2);
        QCOMPARE(form.state().ProfileList.at(1).include, QStringLiteral("doc"));
        QVERIFY(!form.state().ProfileChanged);
        QCOMPARE(toggles(form), QList<bool>({false, true, false}));

        // Clicking a toggle flips it; the states at close are what is stored.
        QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("tbrSecond_1")),
                          Qt::LeftButton);
        QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("tbrSecond_2")),
                          Qt::LeftButton);
        QCOMPARE(toggles(form), QList<bool>({true, false, false}));
        form.close();
        QCOMPARE(stored(), QStringList({profile, "0", "1", "1"}));
    }

    void noProfileNamesLoadNothing()
    {
        for (const QByteArray& name : {QByteArray("*.prf"), QByteArray("ERROR")}) {
            store(QStringLiteral("Last Profile"), name);
            MainForm form{QString()};
            form.Form_Load();
            const QString shown = name == "*.prf" ? QStringLiteral("*.prf") : QString();
            QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + shown + "]");
            QCOMPARE(form.state().ProfileList.size(), 0);
            QVERIFY(!QFileInfo::exists(QStringLiteral("*.prf")));
            form.Form_QueryUnload(true);
            QCOMPARE(stored().first(), shown);
        }
    }

    void commandLineProfileIsShownAndStored()
    {
        store(QStringLiteral("Last Profile"), "/somewhere/else.prf");
        const QString profile = files->filePath(QStringLiteral("new dir name.prf"));
        MainForm form(profile);
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + profile + "]");
        QCOMPARE(form.state().ProfileList.size(), 0);
        QCOMPARE(QFileInfo(profile).size(), 0); // a missing profile starts out empty
        QCOMPARE(toggles(form), QList<bool>({true, true, true}));
        form.Form_QueryUnload(true); // as on SIGTERM
        QVERIFY(form.isHidden());
        QCOMPARE(stored(), QStringList({profile, "0", "0", "0"}));
    }

    void closeAsksToSaveUnsavedEditsButNotOnSignal()
    {
        const QString saved = files->filePath(QStringLiteral("edits.prf"));
        const struct
        {
            bool bySignal;
            bool answer;
            bool expectSaved;
        } cases[] = {{false, true, true}, {false, false, false}, {true, true, false}};
        for (const auto& c : cases) {
            QFile::remove(saved);
            QDir(keyFolder()).removeRecursively(); // no last profile from the case before
            MainForm form{QString()};
            form.Form_Load();
            RecordingCallbacks rec;
            rec.answers = {c.answer};
            rec.fileNames = {saved};
            const Callbacks scripted = rec.callbacks();
            form.callbacks().askYesNoPlain = scripted.askYesNoPlain;
            form.callbacks().saveFileName = scripted.saveFileName;
            form.state().ProfileList.append({"/src", "/dst", "*", ""});
            form.state().ProfileChanged = true;
            if (c.bySignal)
                form.Form_QueryUnload(true);
            else
                form.close();
            QCOMPARE(rec.questions, c.bySignal ? QStringList()
                                               : QStringList({"Profile has changed, Do you want "
                                                              "to save?"}));
            QCOMPARE(QFileInfo::exists(saved), c.expectSaved);
            QCOMPARE(stored().first(), c.expectSaved ? saved : QString());
            QVERIFY(form.isHidden());
        }
    }

    void profileCommandsSetTheCaption()
    {
        const QString first = files->filePath(QStringLiteral("first.prf"));
        const QString other = files->filePath(QStringLiteral("other.prf"));
        QVERIFY(ProfileFile::write(first, {{"/a", "/b", "*", ""}}));
        store(QStringLiteral("Last Profile"), first.toUtf8());
        MainForm form{QString()};
        form.Form_Load();
        RecordingCallbacks rec;
        const Callbacks scripted = rec.callbacks();
        form.callbacks().saveFileName = scripted.saveFileName;
        form.callbacks().openFileName = scripted.openFileName;

        form.tbrMain_ButtonClick(2); // Open, cancelled
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + first + "]");
        QCOMPARE(form.state().ProfileFileName, first);
        rec.fileNames = {other};
        form.tbrMain_ButtonClick(3); // Save under a new name: the caption stays
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + first + "]");
        QCOMPARE(QFileInfo(other).size(), 1200);
        form.tbrMain_ButtonClick(1); // New
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup   [New Profile]"));
        QCOMPARE(form.state().ProfileList.size(), 0);
        rec.fileNames = {first};
        form.tbrMain_ButtonClick(2); // Open
        QCOMPARE(form.windowTitle(), QStringLiteral("Ketrano Backup [") + first + "]");
        QCOMPARE(form.state().ProfileList.size(), 1);
        QCOMPARE(rec.dialogs, QStringList({"Open File Name|Profiles(*.prf)|*.prf",
                                           "Save to File Name|Profiles(*.prf)|" + first,
                                           "Open File Name|Profiles(*.prf)|*.prf"}));
        form.Form_QueryUnload(true);
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

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
