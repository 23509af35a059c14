#include "app/help_window.h"
#include "app/mainform.h"
#include "core/registry/registry.h"
#include "core/settings.h"
#include "profile/profile_file.h"
#include "support/recording_callbacks.h"
#include "sync/errorsform.h"

#include <QtTest>
#include <QtWidgets>

// The main window: settings at start and close, the save question on close, Esc and the
// second toolbar's commands.

// One start and close. Settings are written "Last Profile|Show File Names|Copy Source|Copy
// Target", "-" for none; "0" is a pressed toggle.
struct Case
{
    QString before, commandLine;
    int close; // 0 Exit, 1 close box, 2 signal
    int edit;  // 0 none, else an unsaved entry edit; 1 answers Yes to the save question, 2 No
    QString caption;
    int rows;
    QString after;
};
Q_DECLARE_METATYPE(Case)

const QStringList Names = {"Last Profile", "Show File Names", "Copy Source", "Copy Target"};

class MainFormTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> config, files;

    static QString stored()
    {
        QStringList values;
        for (const QString& name : Names)
            values << Registry::ReadValue(Settings::KeyPath, name);
        return values.join('|');
    }
    // Runs action() and hands the modal window it opens to inspect(), then closes it.
    template <typename Action, typename Inspect>
    static void withModal(Action action, Inspect inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
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

    void toggleSettingsNeverGiveAThirdState()
    {
        // pressed = 1 - leading number, rounded half to even; anything but 0 is pressed.
        for (const char* text : {"0", "", "abc", "2", "-1", "2.5", "0.4", "inf", "0x1"})
            QVERIFY2(Settings::toggleFromSetting(text), text);
        for (const char* text : {"1", "0.5", "1.5", " 1", "1abc", "1e0", "+1", ".5", "1,0"})
            QVERIFY2(!Settings::toggleFromSetting(text), text);
    }

    void startAndClose_data()
    {
        QTest::addColumn<Case>("c");
        const QString saved = "%1/saved.prf", named = "%1/new dir.prf";
        QTest::newRow("first start") << Case{"-|-|-|-", "", 0, 0, "", 0, "|0|0|0"};
        QTest::newRow("restored") << Case{saved + "|1|0|1", "", 1, 0, saved, 2, saved + "|1|0|1"};
        QTest::newRow("*.prf") << Case{"*.prf|-|-|-", "", 2, 0, "*.prf", 0, "*.prf|0|0|0"};
        QTest::newRow("Error") << Case{"ERROR|x|1|", "", 1, 0, "", 0, "|0|1|0"};
        QTest::newRow("command line")
            << Case{"/else.prf|1|1|0", named, 2, 0, named, 0, named + "|1|1|0"};
        QTest::newRow("edit, Exit, Yes") << Case{"-|-|-|-", "", 0, 1, "", 0, "%1/edits.prf|0|0|0"};
        QTest::newRow("edit, close, No") << Case{"-|-|-|-", "", 1, 2, "", 0, "|0|0|0"};
        QTest::newRow("edit, signal") << Case{"-|-|-|-", "", 2, 1, "", 0, "|0|0|0"};
    }

    void startAndClose()
    {
        QFETCH(Case, c);
        for (QString* s : {&c.before, &c.commandLine, &c.caption, &c.after})
            s->replace("%1", files->path());
        QVERIFY(ProfileFile::write(files->filePath("saved.prf"),
                                   {{"/s1", "/t1", "*", ""}, {"/s2", "/t2", "doc", "tmp"}}));
        Registry::CreateKey(Settings::KeyPath);
        for (int i = 0; i < 4; ++i) {
            if (c.before.section('|', i, i) != "-")
                Registry::WriteValue(Settings::KeyPath, Names[i], c.before.section('|', i, i));
        }
        MainForm form(c.commandLine);
        form.Form_Load();
        QVERIFY(form.isVisible());
        QCOMPARE(form.windowTitle(), "Ketrano Backup [" + c.caption + "]");
        QCOMPARE(form.state().ProfileList.size(), c.rows);
        QVERIFY(!form.state().ProfileChanged);
        QCOMPARE(form.panel(1)->text(), "Ready");
        QVERIFY(form.errorsForm()->isHidden());
        for (int t = 1; t <= 3; ++t)
            QCOMPARE(form.toggleState(t), c.after.section('|', t, t) == "0");
        if (!c.commandLine.isEmpty()) // a profile that does not exist starts out empty
            QCOMPARE(QFileInfo(c.commandLine).size(), 0);
        QVERIFY(!QFileInfo::exists("*.prf"));

        RecordingCallbacks rec;
        rec.answers = {c.edit == 1};
        rec.fileNames = {files->filePath("edits.prf")};
        form.callbacks().askYesNoPlain = rec.callbacks().askYesNoPlain;
        form.callbacks().saveFileName = rec.callbacks().saveFileName;
        form.state().ProfileChanged = c.edit != 0;
        c.close == 0   ? form.tbrMain_ButtonClick(6)
        : c.close == 1 ? void(form.close())
                       : form.Form_QueryUnload(true);
        QVERIFY(form.isHidden());
        QCOMPARE(stored(), c.after);
        const bool asked = c.edit && c.close != 2;
        QCOMPARE(rec.questions,
                 asked ? QStringList{"Profile has changed, Do you want to save?"} : QStringList{});
        QCOMPARE(QFileInfo::exists(files->filePath("edits.prf")), c.edit == 1 && asked);
    }

    void aFailedSettingsWriteIsShownUnlessClosedBySignal()
    {
        // A file where the settings folder belongs: nothing can be saved, not even as root.
        QVERIFY(QFile(config->filePath("ketrano")).open(QIODevice::WriteOnly));
        for (const bool bySignal : {false, true}) {
            MainForm form{QString()};
            form.Form_Load();
            RecordingCallbacks rec;
            form.callbacks().showMessage = rec.callbacks().showMessage;
            form.Form_QueryUnload(bySignal);
            QCOMPARE(rec.messages.size(), bySignal ? 0 : 1);
            QVERIFY(bySignal || rec.messages[0].startsWith("The settings could not be saved: "));
        }
    }

    void escapeAndTheSecondToolbar()
    {
        MainForm form{QString()};
        form.Form_Load();
        for (const char* name : {"ListView1", "ListView2", "ProfileList", "tbrMain_4",
                                 "tbrSecond_2", "ProgressBar1", "MainForm"}) {
            QWidget* widget = form.objectName() == name ? &form : form.findChild<QWidget*>(name);
            QVERIFY2(widget, name);
            form.state().CancelRequested = false;
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_A);
            QVERIFY2(!form.state().CancelRequested, name);
            QTest::keyClick(widget, Qt::Key_Escape);
            QVERIFY2(form.state().CancelRequested, name);
        }

        // Every toolbar button shows the program's own picture, whatever the icon theme.
        for (QToolButton* button : form.findChildren<QToolButton*>())
            if (button->defaultAction() && !button->objectName().startsWith("qt_"))
                QVERIFY2(!button->icon().pixmap(16).isNull(), qPrintable(button->objectName()));

        form.state().ErrorsList.append({"a.txt", "/src", "/dst", "Permission denied"});
        withModal([&] { form.tbrSecond_ButtonClick(4); },
                  [&](QWidget* w) {
                      QCOMPARE(w, form.errorsForm());
                      QCOMPARE(w->windowTitle(), "Errors");
                      QCOMPARE(form.errorsForm()->list()->model()->rowCount(), 1);
                      auto* ok = w->findChild<QPushButton*>("OKCommand");
                      QCOMPARE(ok->text(), "OK");
                      ok->click();
                      QVERIFY(w->isHidden());
                  });
        QCOMPARE(form.state().ErrorsList.size(), 1); // hiding keeps the rows
        withModal([&] { form.tbrSecond_ButtonClick(5); },
                  [](QWidget* w) { QVERIFY(qobject_cast<HelpWindow*>(w)->loaded()); });
        withModal([&] { form.tbrSecond_ButtonClick(6); },
                  [](QWidget* w) {
                      QCOMPARE(w->findChild<QLabel*>("AboutText")->text(),
                               "Ketrano Backup ver 2.01");
                  });
        form.Form_QueryUnload(true);

        // Installed, the manual is found in share/ketrano/help beside the program's folder.
        const QString prefix = files->filePath("usr"), help = prefix + "/share/ketrano/help";
        QVERIFY(QDir().mkpath(prefix + "/bin") && QDir().mkpath(help));
        QVERIFY(QFile(help + "/help.html").open(QIODevice::WriteOnly));
        QCOMPARE(helpFolderFor(prefix + "/bin"), help);
    }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
