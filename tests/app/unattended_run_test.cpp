// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/signal_close.h"
#include "app/window_driver.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"
#include "sync/errorsform.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <memory>
#include <unistd.h>

// A profile on the command line: what the user can do while the window scans and copies by
// itself (the road of a plain start is in window_road_test, a profile held by another run in
// front_ends_test).

namespace {

const qint64 Old = 1'600'000'000, New = 1'700'000'000;
// Copied in about 0.1 s here: the window gets several turns before the copy is done.
const qint64 BigBytes = qint64(384) << 20;

// What this process has written so far (system calls that copy inside the kernel included),
// -1 where the system does not tell.
qint64 bytesWritten()
{
    const QByteArray io = TempTree::read("/proc/self/io");
    const qsizetype at = io.indexOf("\nwchar: ");
    return at < 0 ? -1 : io.mid(at + 8).split('\n').first().toLongLong();
}

} // namespace

class UnattendedRunTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempTree> tree, big;
    MainForm* signalled = nullptr; // the window a termination signal closes
    qint64 writtenAtClose = -1;

    // One entry per pair of folders below the tree.
    QString profile(const QStringList& pairs) const
    {
        std::vector<ProfileEntry> entries;
        for (const QString& p : pairs) {
            // Both roots are there, as an unattended run expects them.
            tree->mkdir(p + "/dst");
            entries.push_back({tree->path(p + "/src"), tree->path(p + "/dst"), "*", ""});
        }
        const QString path = tree->path("run me.prf");
        ProfileFile::write(path, entries);
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        closeOnTerminationSignals([this] {
            writtenAtClose = bytesWritten();
            if (signalled)
                signalled->Form_QueryUnload(true);
        });
        // A large file with real data blocks (a sparse one would be copied in no time).
        big = std::make_unique<TempTree>();
        big->add({"src/z later.txt", 1, Old});
        TempTree::write(big->path("src/a big.bin"), QByteArray(BigBytes, 'b'), New);
    }

    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        tree = std::make_unique<TempTree>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree->path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(tree->path("state")));
    }

    // A stop during the scan (a double-click on panel 1, like Esc) stops only the scan:
    // Synchronize clears the flag and copies what the scan listed so far. Panel 3 opens the
    // error list modally inside a copy's turn: it shows the failures so far, and the copying
    // goes on once it is hidden.
    void aStopDuringTheScanAndTheErrorsSoFar()
    {
        tree->add(
            {{"one/src/a.txt", 1, Old}, {"one/src/b.txt", 1, Old}, {"one/src/c.txt", 1, Old}});
        tree->add({{"one/dst/a.txt", 1, New}, {"two/src/second.txt", 1, Old}});
        WindowDriver w(profile({"one", "two"}));
        bool stopped = false;
        int shownRows = -1;
        Callbacks& cb = w.form.callbacks();
        cb.yield = [&] {
            w.state().control.lastYield.invalidate(); // let every turn through
            QCoreApplication::processEvents();
            if (!stopped && w.state().control.running == Running::Scan &&
                w.state().sourceRows.size() == 2) {
                stopped = true;
                QTest::mouseDClick(w.form.panel(1), Qt::LeftButton);
            } else if (shownRows < 0 && w.state().control.running == Running::Sync) {
                withModal([&] { QTest::mouseDClick(w.form.panel(3), Qt::LeftButton); },
                          [&](QWidget* errors) {
                              shownRows =
                                  qobject_cast<ErrorsForm*>(errors)->list()->model()->rowCount();
                          });
            }
        };
        // The first row fails: its source vanishes between Scan and Synchronize.
        cb.busyChanged = [&, busy = cb.busyChanged](bool on) {
            if (on && w.state().control.running == Running::Sync)
                QFile::remove(tree->path("one/src/b.txt"));
            busy(on);
        };
        w.form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(w.finished(), 20000);
        QVERIFY(stopped && w.states.contains("Canceled"));
        QCOMPARE(w.states.last(), QStringLiteral("Ready  "));
        QCOMPARE(shownRows, 1);
        QVERIFY(w.form.errorsForm()->isHidden());
        QCOMPARE(w.state().errorRows.size(), 1);
        QVERIFY(QFileInfo::exists(tree->path("one/dst/c.txt")));
        QVERIFY(!QFileInfo::exists(tree->path("two/dst/second.txt")));
        QCOMPARE(w.form.panel(4)->text(), QStringLiteral("2 of 3  Files copied"));
        w.form.Form_QueryUnload(true);
    }

    // During one large copy the bar moves with the bytes copied while the panels keep their
    // texts. Esc lets that file finish and stops before the next.
    // Exit, the close box or a termination signal end the program at once by giving that file
    // up: its destination stays as it was, no temporary file is left, it is not counted, and
    // the settings are written.
    void aLongCopy_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Esc", "Exit", "close box", "SIGTERM"})
            QTest::newRow(how) << QString(how);
    }

    void aLongCopy()
    {
        QFETCH(QString, how);
        const bool givenUp = how != "Esc";
        const QString dst = tree->path("dst"), prf = tree->path("long.prf");
        tree->add({"dst/a big.bin", 3, Old}); // an older copy: the row is "OverWrite"
        QVERIFY(ProfileFile::write(prf, {{big->path("src"), dst, "*", ""}}));
        WindowDriver w(prf);
        signalled = &w.form;
        bool partShown = false, stopped = false;
        QString panelsThen;
        QElapsedTimer sinceStop;
        qint64 msToEnd = -1;
        Callbacks& cb = w.form.callbacks();
        cb.progressChanged = [&, shown = cb.progressChanged](int low, int high, int value) {
            partShown |=
                w.state().control.running == Running::Sync && value > 0 && value < BigBytes / 1024;
            shown(low, high, value);
        };
        cb.busyChanged = [&, busy = cb.busyChanged](bool on) {
            if (!on && stopped)
                msToEnd = sinceStop.elapsed();
            busy(on);
        };
        cb.yield = [&] {
            w.state().control.lastYield.invalidate();
            QCoreApplication::processEvents();
            if (stopped || !partShown || w.state().FilesCopied > 0)
                return;
            stopped = true;
            panelsThen = w.panels();
            writtenAtClose = bytesWritten();
            sinceStop.start();
            if (how == "Esc")
                QTest::keyClick(&w.form, Qt::Key_Escape);
            else if (how == "Exit")
                QTest::mouseClick(w.find("tbrMain_6"), Qt::LeftButton);
            else if (how == "close box")
                w.form.close();
            else if (::kill(::getpid(), SIGTERM) == 0) // handled at the window's next turn
                QVERIFY(QTest::qWaitFor([&] { return w.form.isHidden(); }));
        };
        w.form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(w.finished(), 20000);
        signalled = nullptr;

        QVERIFY2(stopped, "the bar never showed a part of the large file");
        QCOMPARE(panelsThen,
                 "Copying|From source to Target|Source Size: 393,216KB||Target Size: 0KB");
        QVERIFY(!QFileInfo::exists(dst + "/z later.txt"));
        if (!givenUp) {
            QCOMPARE(QFileInfo(dst + "/a big.bin").size(), BigBytes);
            QCOMPARE(w.panels(), "Canceled ||Errors : 0|1 of 2  Files copied|393,216 KB Copied");
            QVERIFY(w.form.isVisible());
            return w.form.Form_QueryUnload(true);
        }
        QVERIFY2(msToEnd >= 0 && msToEnd < 1000, qPrintable(QString::number(msToEnd)));
        QCOMPARE(TempTree::read(dst + "/a big.bin"), QByteArray(3, '\0'));
        QCOMPARE(QDir(dst).entryList(QDir::Files | QDir::Hidden), QStringList{"a big.bin"});
        QCOMPARE(w.state().FilesCopied, 0);
        QCOMPARE(w.state().errorRows.size(), 0); // given up, not failed
        QVERIFY(w.form.isHidden());
        QCOMPARE(storedSettings(), prf + "|0|0|0");
        if (writtenAtClose < 0)
            QSKIP("/proc/self/io cannot be read: how far the copy went after the close is not "
                  "checked");
        const qint64 after = bytesWritten() - writtenAtClose;
        QVERIFY2(after < BigBytes / 4,
                 qPrintable(QString("%1 bytes copied after the close").arg(after)));
    }
};

QTEST_MAIN(UnattendedRunTest)
#include "unattended_run_test.moc"
