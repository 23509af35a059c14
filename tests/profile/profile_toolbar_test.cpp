#include "app/mainform.h"
#include "profile/srctgtform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <sys/stat.h>

// The profile list and its toolbar in the real main window, with the real entry editor. The
// editor is answered while it is modal; questions, messages and file dialogs through the
// window's callbacks.

namespace {

struct EditorLog
{
    int opened = 0;
    EntryBuffer shown; // what the editor showed when it opened
};

using EditorAction = std::function<void(SrcTgtForm&)>;

void setText(SrcTgtForm& form, const char* name, const QString& text)
{
    form.findChild<QLineEdit*>(name)->setText(text);
}

EditorAction okWith(const EntryBuffer& e)
{
    return [e](SrcTgtForm& form) {
        setText(form, "SourceText", e.source);
        setText(form, "TargetText", e.target);
        setText(form, "IncludeText", e.include);
        setText(form, "ExcludeText", e.exclude);
        QTest::mouseClick(form.findChild<QPushButton*>("OKCmd"), Qt::LeftButton);
    };
}

EditorAction cancel()
{
    return [](SrcTgtForm& form) {
        QTest::mouseClick(form.findChild<QPushButton*>("Cancelcmd"), Qt::LeftButton);
    };
}

EntryBuffer entry(const char* s, const char* t, const char* i = "*", const char* x = "")
{
    return {QString::fromUtf8(s), QString::fromUtf8(t), QString::fromUtf8(i), QString::fromUtf8(x)};
}

unsigned modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

class ProfileToolbarTest : public QObject
{
    Q_OBJECT
public:
    // The window under test, with recorded questions and messages.
    struct Window
    {
        MainForm form{QString()};
        QStringList questions, messages;
        Window()
        {
            Callbacks& cb = form.callbacks();
            cb.askYesNoPlain = [this](const QString& t) {
                questions << t;
                return false;
            };
            cb.showMessage = [this](const QString& t) { messages << t; };
            cb.openFileName = [](const QString&, const QString&, const QString&) {
                return QString();
            };
            cb.saveFileName = cb.openFileName;
            form.show();
            QApplication::processEvents();
        }
        QTreeView* list() const { return form.findChild<QTreeView*>("ProfileList"); }
        void click(const char* button) const
        {
            auto* b = form.findChild<QToolButton*>(button);
            QVERIFY2(b, button);
            QTest::mouseClick(b, Qt::LeftButton);
            QApplication::processEvents(); // a scripted answer that found no editor expires
        }
        void select(int row)
        {
            list()->selectionModel()->select(form.state().ProfileList.index(row, 0),
                                             QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
        }
        void fill(std::initializer_list<EntryBuffer> rows)
        {
            for (const EntryBuffer& r : rows)
                form.state().ProfileList.append(r);
        }
        std::vector<EntryBuffer> rows() { return form.state().ProfileList.entries(); }
    };

    // Answers the entry editor once it is open; whatever the action leaves open is cancelled.
    void answerEditor(EditorLog& log, EditorAction action)
    {
        QTimer::singleShot(0, this, [&log, action] {
            auto* form = qobject_cast<SrcTgtForm*>(QApplication::activeModalWidget());
            if (!form)
                return;
            ++log.opened;
            auto text = [form](const char* n) { return form->findChild<QLineEdit*>(n)->text(); };
            log.shown = {text("SourceText"), text("TargetText"), text("IncludeText"),
                         text("ExcludeText")};
            action(*form);
            if (form->isVisible())
                form->reject();
        });
    }

private Q_SLOTS:
    void initTestCase();
    void newEntryAppendsUntrimmed();
    void newEntryNotAdded();
    void editWritesBackToTheSameRow();
    void editWithoutSelectedRow();
    void deleteRemovesWithoutMarkingChanged();
    void saveQuestion_data();
    void saveQuestion();
    void rightButtonGivesFocus();
    void shortcutOnDesktop();

private:
    QTemporaryDir m_home;
    QString m_desktop;
};

void ProfileToolbarTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_home.isValid());
    const QString config = m_home.path() + QStringLiteral("/config");
    QVERIFY(QDir().mkpath(config));
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Desk top\"\n");
    dirs.close();
    m_desktop = m_home.path() + QStringLiteral("/Desk top");
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), m_desktop);

    // A stand-in for gio that notes how it was asked to mark a launcher trusted.
    const QString bin = m_home.path() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    QFile gio(bin + QStringLiteral("/gio"));
    QVERIFY(gio.open(QIODevice::WriteOnly));
    gio.write(
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$HOME/gio.args.tmp\" && mv \"$HOME/gio.args.tmp\" "
        "\"$HOME/gio.args\"\n");
    gio.close();
    QVERIFY(gio.setPermissions(gio.permissions() | QFileDevice::ExeOwner));
    qputenv("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
}

void ProfileToolbarTest::newEntryAppendsUntrimmed()
{
    Window w;
    w.fill({entry("/loaded", "/one")});
    w.select(0);
    EditorLog log;
    answerEditor(log, okWith(entry(" /s b ", "/t ", " doc", "bak ")));
    w.click("TbrProfile_1");
    QCOMPARE(log.opened, 1);
    QCOMPARE(log.shown, entry("", "", "*", ""));
    QCOMPARE(w.rows(),
             (std::vector{entry("/loaded", "/one"), entry(" /s b ", "/t ", " doc", "bak ")}));
    QVERIFY(w.form.state().ProfileChanged);
    QCOMPARE(w.list()->font().pointSize(), 8);
    // The selection stays where it was.
    QCOMPARE(w.list()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(w.list()->selectionModel()->selectedRows().constFirst().row(), 0);
    QCOMPARE(w.list()->model()->data(w.list()->model()->index(1, 0)).toString(),
             QStringLiteral(" /s b "));
}

void ProfileToolbarTest::newEntryNotAdded()
{
    {
        Window w;
        EditorLog log;
        answerEditor(log, cancel());
        w.click("TbrProfile_1");
        QCOMPARE(log.opened, 1);
        QVERIFY(w.rows().empty());
        QVERIFY(!w.form.state().ProfileChanged);
    }
    {
        Window w; // a blank Source: OK counts as a change, but no row
        EditorLog log;
        answerEditor(log, okWith(entry("   ", "/t")));
        w.click("TbrProfile_1");
        QVERIFY(w.rows().empty());
        QVERIFY(w.form.state().ProfileChanged);
    }
}

void ProfileToolbarTest::editWritesBackToTheSameRow()
{
    Window w;
    w.fill({entry("/a", "/A"), entry("/b", "/B", "doc", "tmp"), entry("/c", "/C")});
    w.select(1);
    EditorLog log;
    answerEditor(log, cancel());
    w.click("TbrProfile_2");
    QCOMPARE(log.shown, entry("/b", "/B", "doc", "tmp"));
    QCOMPARE(w.rows()[1], entry("/b", "/B", "doc", "tmp"));
    QVERIFY(!w.form.state().ProfileChanged);

    answerEditor(log, okWith(entry("", "/B2", "*", "")));
    w.click("TbrProfile_2");
    QCOMPARE(w.rows(), (std::vector{entry("/a", "/A"), entry("", "/B2"), entry("/c", "/C")}));
    QVERIFY(w.form.state().ProfileChanged);

    // A double-click on a row edits that row.
    const QRect row = w.list()->visualRect(w.list()->model()->index(2, 0));
    answerEditor(log, okWith(entry("/c2", "/C2", "xls", "")));
    // Qt Test sends the double-click alone; a user's first click comes before it.
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, row.center());
    QApplication::processEvents();
    QCOMPARE(log.opened, 3);
    QCOMPARE(log.shown, entry("/c", "/C"));
    QCOMPARE(w.rows()[2], entry("/c2", "/C2", "xls", ""));
    QCOMPARE(w.rows().size(), size_t(3));
}

void ProfileToolbarTest::editWithoutSelectedRow()
{
    Window w;
    EditorLog log;
    answerEditor(log, okWith(entry("/x", "/y")));
    w.click("TbrProfile_2"); // no rows
    w.form.ProfileList_DblClick();
    QApplication::processEvents();
    QCOMPARE(log.opened, 0);

    w.fill({entry("/a", "/A"), entry("/b", "/B")});
    w.list()->selectionModel()->clearSelection();
    answerEditor(log, okWith(entry("/x", "/y")));
    w.click("TbrProfile_2");
    QCOMPARE(log.opened, 0);
    QCOMPARE(w.rows(), (std::vector{entry("/a", "/A"), entry("/b", "/B")}));
    QVERIFY(!w.form.state().ProfileChanged);
}

void ProfileToolbarTest::deleteRemovesWithoutMarkingChanged()
{
    Window w;
    w.fill({entry("/a", "/A"), entry("/b", "/B")});
    w.list()->selectionModel()->clearSelection();
    w.click("TbrProfile_3"); // none selected: nothing
    QCOMPARE(w.rows().size(), size_t(2));
    w.select(1);
    w.click("TbrProfile_3");
    QCOMPARE(w.rows(), std::vector{entry("/a", "/A")});
    w.select(0);
    w.click("TbrProfile_3");
    QVERIFY(w.rows().empty());
    QVERIFY(!w.form.state().ProfileChanged);
    QVERIFY(w.questions.isEmpty() && w.messages.isEmpty());
}

void ProfileToolbarTest::saveQuestion_data()
{
    QTest::addColumn<bool>("edit"); // an edit with OK, or a delete alone
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("asked");
    for (const bool edit : {true, false}) {
        const char* what = edit ? "edit" : "delete";
        QTest::addRow("%s, New", what) << edit << 1 << edit;
        QTest::addRow("%s, Open", what) << edit << 2 << edit;
        QTest::addRow("%s, close", what) << edit << 0 << edit;
    }
}

void ProfileToolbarTest::saveQuestion()
{
    QFETCH(bool, edit);
    QFETCH(int, command);
    QFETCH(bool, asked);
    Window w;
    w.fill({entry("/a", "/A"), entry("/b", "/B")});
    w.select(0);
    EditorLog log;
    if (edit) {
        answerEditor(log, okWith(entry("/a2", "/A")));
        w.click("TbrProfile_2");
    } else {
        w.click("TbrProfile_3");
    }
    if (command == 0)
        w.form.close();
    else
        w.click(command == 1 ? "tbrMain_1" : "tbrMain_2");
    const QStringList expected =
        asked ? QStringList{"Profile has changed, Do you want to save?"} : QStringList{};
    QCOMPARE(w.questions, expected);
}

void ProfileToolbarTest::rightButtonGivesFocus()
{
    Window w;
    QWidget* other = w.form.findChild<QTreeView*>("ListView1");
    other->setFocus();
    w.form.ProfileList_MouseDown(Qt::LeftButton);
    QCOMPARE(w.form.focusWidget(), other);
    w.form.ProfileList_MouseDown(Qt::RightButton);
    QCOMPARE(w.form.focusWidget(), w.list());
}

void ProfileToolbarTest::shortcutOnDesktop()
{
    Window w;
    const QString profile = m_home.path() + QStringLiteral("/My Backups/Daily \"best\" 100%.prf");
    w.form.state().ProfileFileName = profile;
    const QString launcher = m_desktop + QStringLiteral("/Daily \"best\" 100%.desktop");
    const QByteArray expected =
        "[Desktop Entry]\nType=Application\nName=Daily \"best\" 100%\nExec=\"" +
        QFile::encodeName(QCoreApplication::applicationDirPath()) + "/ketrano\" \"" +
        QFile::encodeName(m_home.path()) +
        "/My Backups/Daily \\\\\"best\\\\\" 100%%.prf\"\nIcon=ketrano\nTerminal=false\n";
    for (int click = 1; click <= 2; ++click) { // the second click replaces the launcher
        QFile::remove(m_home.path() + QStringLiteral("/gio.args"));
        w.click("TbrProfile_4");
        QCOMPARE(w.messages.size(), click);
        QCOMPARE(w.messages.last(), QStringLiteral("Shortcut Created on Desktop"));
        QFile file(launcher);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
        QCOMPARE(modeOf(launcher), 0755u);
        QCOMPARE(QDir(m_desktop).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Daily \"best\" 100%.desktop"});
        QFile args(m_home.path() + QStringLiteral("/gio.args"));
        QTRY_VERIFY_WITH_TIMEOUT(args.exists(), 20000);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(args.readAll()),
                 "set\n" + launcher + "\nmetadata::trusted\ntrue\n");
    }
    QVERIFY(w.questions.isEmpty());
    QVERIFY(QDir(m_desktop).removeRecursively());
}

QTEST_MAIN(ProfileToolbarTest)
#include "profile_toolbar_test.moc"
