#include "app/desktop_notice.h"
#include "app/mainform.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <cstdio>

// What the desktop hears of the program, on a session bus of the test's own: a notification
// service and a task bar that record what they are sent.

namespace {

// The desktop: answers Notify and records it, and records the task bar entry's updates.
class FakeDesktop : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList notices; // "app|icon|summary|body|actions|desktop-entry"
    QStringList uris;
    QList<double> progress; // -1 when the entry's progress was hidden

public Q_SLOTS:
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int)
    {
        notices << QStringList{app,
                               icon,
                               summary,
                               body,
                               actions.join(','),
                               hints.value("desktop-entry").toString()}
                       .join('|');
        return 41;
    }
    void launcherEntry(const QString& uri, const QVariantMap& properties)
    {
        uris << uri;
        progress << (properties.value("progress-visible").toBool()
                         ? properties.value("progress").toDouble()
                         : -1);
    }
};

// A session bus for this test alone, started before anything opens the session bus.
struct PrivateBus
{
    pid_t pid = 0;
    PrivateBus()
    {
        FILE* out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 "
                          "2>/dev/null",
                          "r");
        char address[512] = {}, pidText[32] = {};
        if (out && fgets(address, sizeof address, out) && fgets(pidText, sizeof pidText, out)) {
            pid = pid_t(atol(pidText));
            qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray(address).trimmed());
        }
        if (out)
            pclose(out);
    }
    ~PrivateBus()
    {
        if (pid > 0)
            kill(pid, SIGTERM);
    }
};

} // namespace

class DesktopNoticeTest : public QObject
{
    Q_OBJECT
    FakeDesktop desktop;
    QDBusConnection fake{QString()};
    QTemporaryDir config;

    QString profile(TempTree& tree)
    {
        tree.add({{"src/a.txt", 300'000, 1'600'000'000}, {"src/b.txt", 200'000, 1'600'000'000}});
        const QString path = tree.path("Daily.prf");
        ProfileFile::write(path, {{tree.path("src"), tree.path("dst"), "*", ""}});
        return path;
    }
    static bool finished(MainForm& form)
    {
        return form.panel(4)->text().endsWith("Files copied") &&
               form.state().running == Running::Idle;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("dbus-daemon could not start a session bus: the desktop's side is not checked");
        fake = QDBusConnection::connectToBus(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "fake desktop");
        QVERIFY(fake.registerObject("/org/freedesktop/Notifications", &desktop,
                                    QDBusConnection::ExportAllSlots));
        QVERIFY(fake.registerService("org.freedesktop.Notifications"));
        QVERIFY(fake.connect(QString(), QString(), "com.canonical.Unity.LauncherEntry", "Update",
                             &desktop, SLOT(launcherEntry(QString, QVariantMap))));
        QGuiApplication::setDesktopFileName("org.example.ketrano");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }

    // A Synchronize from the window shows its progress on the task bar and tells nothing.
    void synchronizeShowsProgressOnTheTaskBar()
    {
        TempTree tree;
        MainForm form{QString()};
        LoadProfileFile(form.state().ProfileList, profile(tree));
        form.show();
        form.ScanCmd_Click();
        form.SyncCmd_Click();
        QTRY_VERIFY(!desktop.progress.isEmpty() && desktop.progress.last() == -1);
        QVERIFY(desktop.progress.size() >= 2);
        QVERIFY(desktop.progress.at(desktop.progress.size() - 2) > 0.9); // both files copied
        QVERIFY(std::is_sorted(desktop.progress.begin(), desktop.progress.end() - 1));
        QCOMPARE(QSet<QString>(desktop.uris.begin(), desktop.uris.end()),
                 QSet<QString>{"application://org.example.ketrano.desktop"});
        QCOMPARE(desktop.notices, QStringList());
    }

    // An unattended run ends with a notice of what it copied and what failed; a click on it
    // raises the window, a click on another program's notice does not.
    void unattendedRunEndsWithANotice()
    {
        TempTree tree;
        MainForm form(profile(tree));
        form.callbacks().busyChanged = [&, busy = form.callbacks().busyChanged](bool on) {
            if (on && form.state().running == Running::Sync)
                QFile::remove(tree.path("src/b.txt")); // gone before it is copied: it fails
            busy(on);
        };
        form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(finished(form), 20000);
        QTRY_COMPARE(desktop.notices,
                     QStringList({"Ketrano Backup|ketrano|Daily.prf|1 file copied, 1 failed.|"
                                  "default,Show|org.example.ketrano"}));

        auto* notice = form.findChild<DesktopNotice*>();
        QSignalSpy raised(notice, &DesktopNotice::activated);
        form.showMinimized();
        QTRY_VERIFY(form.isMinimized());
        const auto click = [&](uint id, const QString& action) {
            QDBusMessage signal = QDBusMessage::createSignal(
                "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
            signal << id << action;
            QVERIFY(fake.send(signal));
        };
        click(7, "default");  // another program's notice
        click(41, "snooze");  // not a click on the notice itself
        click(41, "default"); // this one
        QTRY_VERIFY(!form.isMinimized());
        QCOMPARE(raised.count(), 1);
        form.Form_QueryUnload(true);
    }

    void runText()
    {
        QCOMPARE(DesktopNotice::runText(1, 0, false), "1 file copied, 0 failed.");
        QCOMPARE(DesktopNotice::runText(12, 3, true), "Canceled: 12 files copied, 3 failed.");
    }
};

int main(int argc, char** argv)
{
    PrivateBus bus;
    QApplication app(argc, argv);
    DesktopNoticeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_notice_test.moc"
