#include "app/mainform.h"
#include "profile/profile_file.h"
#include "support/recording_callbacks.h"
#include "sync/errorsform.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The main window opening and closing: settings, profile, caption, the save question.

class MainFormStartupTest : public QObject
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
};

QTEST_MAIN(MainFormStartupTest)
#include "mainform_startup_test.moc"
