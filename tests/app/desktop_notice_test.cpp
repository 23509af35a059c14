// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_notice.h"
#include "app/mainform.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>

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
        const QString entry = hints.value("desktop-entry").toString();
        notices << QStringList{app, icon, summary, body, actions.join(','), entry}.join('|');
        return 41;
    }
    void launcherEntry(const QString& uri, const QVariantMap& p)
    {
        uris << uri;
        progress << (p.value("progress-visible").toBool() ? p.value("progress").toDouble() : -1);
    }
};

// A session bus for this test alone, started before anything opens the session bus.
struct PrivateBus
{
    QProcess daemon;
    PrivateBus()
    {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon.waitForReadyRead(10000))
            qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    }
    ~PrivateBus() { daemon.kill(), daemon.waitForFinished(); }
};

} // namespace

class DesktopNoticeTest : public QObject
{
    Q_OBJECT
    FakeDesktop desktop;
    QDBusConnection fake{QString()};
    QTemporaryDir config;

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

    // An unattended run shows its progress on the task bar and ends with a notice of what it
    // copied and what failed; a click on the notice raises the window, a click on another
    // program's notice does not. A Synchronize from the window tells nothing.
    void unattendedRunEndsWithANotice()
    {
        TempTree tree;
        tree.add({{"src/a.txt", 300'000, 1'600'000'000}, {"src/b.txt", 200'000, 1'600'000'000}});
        tree.mkdir("dst");
        ProfileFile::write(tree.path("Daily.prf"), {{tree.path("src"), tree.path("dst"), "*", ""}});
        MainForm form(tree.path("Daily.prf"));
        form.callbacks().busyChanged = [&, busy = form.callbacks().busyChanged](bool on) {
            if (on && form.state().control.running == Running::Sync)
                QFile::remove(tree.path("src/b.txt")); // gone before it is copied: it fails
            busy(on);
        };
        form.Form_Load();
        const QString notice = "Ketrano Backup|ketrano|Daily.prf|1 file copied, 1 failed.|"
                               "default,Show|org.example.ketrano";
        QTRY_COMPARE_WITH_TIMEOUT(desktop.notices, QStringList{notice}, 20000);
        desktop.uris.removeDuplicates();
        QCOMPARE(desktop.uris, QStringList{"application://org.example.ketrano.desktop"});
        QVERIFY(desktop.progress.size() >= 3 && desktop.progress.last() == -1); // shown, hidden
        QVERIFY(std::is_sorted(desktop.progress.begin(), desktop.progress.end() - 1));
        QVERIFY(desktop.progress.at(desktop.progress.size() - 2) > 0.5); // a.txt copied

        QSignalSpy raised(form.findChild<DesktopNotice*>(), &DesktopNotice::activated);
        form.showMinimized();
        QTRY_VERIFY(form.isMinimized());
        for (const auto& [id, action] :
             {std::pair{7u, "default"}, {41u, "snooze"}, {41u, "default"}}) {
            QDBusMessage click = QDBusMessage::createSignal(
                "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
            QVERIFY(fake.send(click << id << QString(action)));
        }
        QTRY_VERIFY(!form.isMinimized());
        QCOMPARE(raised.count(), 1);

        desktop.progress.clear();
        form.SyncCmd_Click();
        QTRY_VERIFY(!desktop.progress.isEmpty() && desktop.progress.last() == -1);
        QCOMPARE(desktop.notices, QStringList{notice});
        QCOMPARE(DesktopNotice::runText(12, 3, true), "Canceled: 12 files copied, 3 failed.");
        form.Form_QueryUnload(true);
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
