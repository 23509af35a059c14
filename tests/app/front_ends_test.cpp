// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_driver.h"
#include "core/run_lock.h"
#include "core/run_log.h"
#include "core/settings.h"
#include "profile/profile_file.h"
#include "support/cli_run.h"
#include "support/temp_tree.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

// The same profile run by every front end (the window started with it, the window's Scan and
// Synchronize buttons, ketrano-cli sync) comes to the same outcome: the same files copied, the
// same errors counted and the same exit status, in the same run log line.

namespace {

const qint64 Old = 1'600'000'000, New = 1'700'000'000;

enum class FrontEnd { Unattended, Buttons, Cli };

int loggedRuns()
{
    QStringList lines;
    RunLog::lastLines(1000, lines);
    return int(lines.size());
}

// One run of the profile by a front end: its run log line without the time and the program.
// A window also tells 'shown': panels 2 and 3, the last error listed, the boxes it showed, how
// many rows it lists and whether it is still open.
QString runBy(FrontEnd frontEnd, const QString& profile, QString* shown)
{
    const int before = loggedRuns();
    if (frontEnd == FrontEnd::Cli) {
        runCli({"sync", "--quiet", profile});
    } else {
        // The buttons work on the profile of the last run, the window started with one on it.
        Settings::write({profile, true, true, true});
        WindowDriver w(frontEnd == FrontEnd::Unattended ? profile : QString());
        w.form.Form_Load();
        if (frontEnd == FrontEnd::Buttons) {
            w.form.tbrMain_ButtonClick(4); // Scan
            w.form.tbrMain_ButtonClick(5); // Synchronize
        }
        if (!QTest::qWaitFor([before] { return loggedRuns() > before; }))
            return "the window's run did not end";
        const std::vector<ErrorRow>& errors = w.state().errorRows.rows();
        *shown = (QStringList{w.form.panel(2)->text(), w.form.panel(3)->text(),
                              errors.empty() ? QString() : errors.back().error} +
                  w.rec.questions + w.rec.messages)
                     .join('|') +
                 QString(" (%1 rows, %2)")
                     .arg(w.state().sourceRows.size() + w.state().targetRows.size())
                     .arg(w.form.isVisible() ? "open" : "closed");
        w.form.Form_QueryUnload(true);
    }
    QStringList lines;
    RunLog::lastLines(1, lines);
    return loggedRuns() == before + 1 ? lines[0].section('\t', 2) : QString("not one run logged");
}

} // namespace

class FrontEndsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempTree> tree;

    QString profile()
    {
        const QString prf = tree->path("same.prf");
        ProfileFile::write(prf, {{tree->path("a/src"), tree->path("a/dst"), "*", ""},
                                 {tree->path("b/src"), tree->path("b/gone"), "*", ""}});
        return prf;
    }

private Q_SLOTS:
    void init()
    {
        tree = std::make_unique<TempTree>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree->path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(tree->path("state")));
    }

    void sameOutcome_data()
    {
        QTest::addColumn<int>("frontEnd");
        QTest::addColumn<QString>("scenario");
        for (const char* scenario : {"copies", "fails", "busy"}) {
            QTest::addRow("window started with it, %s", scenario)
                << int(FrontEnd::Unattended) << QString(scenario);
            QTest::addRow("window's buttons, %s", scenario)
                << int(FrontEnd::Buttons) << QString(scenario);
            QTest::addRow("ketrano-cli, %s", scenario) << int(FrontEnd::Cli) << QString(scenario);
        }
    }

    // copies: two new files. fails: the second entry's Target is missing (not created without
    // a yes) and a destination is read-only: the scan's notice, the refused root and the failed
    // copy are three errors. busy: another run (a timer's ketrano-cli) holds the profile,
    // nothing is copied.
    void sameOutcome()
    {
        QFETCH(int, frontEnd);
        QFETCH(QString, scenario);
        tree->add({{"a/src/one.txt", 2048, New}, {"a/src/two.txt", 1, New}, {"b/src/x", 1, New}});
        tree->mkdir("a/dst");
        if (scenario != "copies") {
            tree->add({"a/dst/two.txt", 1, Old});
            ::chmod(QFile::encodeName(tree->path("a/dst/two.txt")).constData(), 0444);
        } else {
            tree->mkdir("b/gone");
        }
        const QString prf = profile();
        // Held under another spelling of the same file, as a timer's run may name it.
        const RunLock held =
            scenario == "busy" ? RunLock::acquire(tree->path("./same.prf")) : RunLock();
        const QString expected = scenario == "copies"  ? "files=3\tkb=2\terrors=0\tstatus=0"
                                 : scenario == "fails" ? "files=1\tkb=2\terrors=3\tstatus=1"
                                                       : "files=0\tkb=0\terrors=1\tstatus=3";
        QString shown;
        QCOMPARE(runBy(FrontEnd(frontEnd), prf, &shown),
                 prf + "\tsource-to-target=on target-to-source=on\t" + expected);
        // A window tells the refusal in panel 2 and its error list, without a box that waits
        // for a click; started with the profile it scans nothing.
        if (scenario == "busy" && frontEnd != int(FrontEnd::Cli))
            QCOMPARE(shown, QString("%1|Errors : 1|%1 (%2 rows, open)")
                                .arg(QString("another run of %1 is in progress (pid %2)")
                                         .arg(prf)
                                         .arg(QCoreApplication::applicationPid()))
                                .arg(frontEnd == int(FrontEnd::Unattended) ? 0 : 3));
        QCOMPARE(QFileInfo::exists(tree->path("a/dst/one.txt")), scenario != "busy");
    }

    // While the window's Synchronize copies, a timer's ketrano-cli of the same profile is
    // refused, naming the run that holds it: the window holds the profile's lock for its
    // interactive runs too.
    void aRunDuringTheWindowsSynchronizeIsRefused()
    {
        tree->add({"a/src/one.txt", 1, New});
        tree->mkdir("a/dst");
        tree->mkdir("b/gone");
        const QString prf = profile();
        Settings::write({prf, true, true, true});
        WindowDriver w;
        w.form.Form_Load();
        w.form.tbrMain_ButtonClick(4);
        CliRun during;
        Callbacks& cb = w.form.callbacks();
        cb.busyChanged = [&, busy = cb.busyChanged](bool on) {
            busy(on);
            if (on && w.state().control.running == Running::Sync)
                during = runCli({"sync", "--quiet", prf});
        };
        w.form.tbrMain_ButtonClick(5);
        QCOMPARE(during.status, 3);
        QCOMPARE(during.err, QString("ketrano-cli: another run of %1 is in progress (pid %2)\n")
                                 .arg(prf)
                                 .arg(QCoreApplication::applicationPid()));
        QVERIFY(QFileInfo::exists(tree->path("a/dst/one.txt")));
        w.form.Form_QueryUnload(true);
    }
};

QTEST_MAIN(FrontEndsTest)
#include "front_ends_test.moc"
