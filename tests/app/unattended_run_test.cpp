#include "app/mainform.h"
#include "core/run_lock.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"
#include "sync/errorsform.h"

#include <QAction>
#include <QFileIconProvider>
#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

// A profile on the command line: the window comes up, scans and synchronizes once in the
// directions of the saved toggles, and stays open.

class UnattendedRunTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempTree> tree;

    QString keyFolder() const
    {
        return tree->path("config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano");
    }
    void store(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(keyFolder());
        QFile f(keyFolder() + '/' + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray stored(const QString& name) const
    {
        return TempTree::read(keyFolder() + '/' + name);
    }

    // One entry per pair of folders below the tree.
    QString profile(const QStringList& pairs) const
    {
        std::vector<ProfileEntry> entries;
        for (const QString& p : pairs) {
            // Both roots are there: an unattended run never creates a missing one.
            tree->mkdir(p + "/dst");
            entries.push_back({tree->path(p + "/src"), tree->path(p + "/dst"), "*", ""});
        }
        const QString path = tree->path("run me.prf");
        ProfileFile::write(path, entries);
        return path;
    }

    // Records panel 1's texts and whether the window was visible and locked when each
    // command went busy.
    struct Watch
    {
        QStringList states;
        QList<bool> visibleWhenBusy;
        QList<bool> lockedWhenBusy;
        QList<bool> scanEnabledWhenBusy;
    };
    static void watch(MainForm& form, Watch& w)
    {
        Callbacks& cb = form.callbacks();
        cb.panelChanged = [&w, shown = cb.panelChanged](int panel, const QString& text) {
            if (panel == 1)
                w.states << text;
            shown(panel, text);
        };
        cb.busyChanged = [&w, &form, busy = cb.busyChanged](bool on) {
            if (on) {
                w.visibleWhenBusy << form.isVisible();
                w.lockedWhenBusy << (form.state().ListView1.locked() &&
                                     form.state().ListView2.locked());
                w.scanEnabledWhenBusy
                    << form.findChild<QToolBar*>("tbrMain")->actions().at(3)->isEnabled();
            }
            busy(on);
        };
    }
    static bool finished(MainForm& form)
    {
        return form.panel(4)->text().endsWith("Files copied") &&
               form.state().running == Running::Idle;
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        tree = std::make_unique<TempTree>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree->path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(tree->path("state")));
    }

    void scansAndCopiesInTheSavedDirectionsAndStaysOpen()
    {
        tree->add({{"one/src/docs/new file.txt", 100, 1'600'000'000},
                   {"one/dst/only here/back.png", 50, 1'600'000'000}});
        const QString prf = profile({"one"});
        store("Copy Source", "0"); // pressed
        store("Copy Target", "1"); // released

        MainForm form(prf);
        Watch w;
        watch(form, w);
        form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(finished(form), 20000);

        // Scan first (it ends with "Ready  "), then Synchronize.
        QVERIFY(w.states.startsWith("Ready") && w.states.contains("Scanning"));
        QCOMPARE(w.states.mid(w.states.size() - 3), QStringList({"Ready  ", "Copying", "Ready  "}));
        QCOMPARE(w.visibleWhenBusy, QList<bool>({true, true}));
        QCOMPARE(w.lockedWhenBusy, QList<bool>({true, true}));
        QCOMPARE(w.scanEnabledWhenBusy, QList<bool>({false, false}));
        QCOMPARE(form.state().ListView2.rowCount(), 1);
        // The list shows the row's texts, check mark and file icon; the bar ends full.
        const QAbstractItemModel* one = form.findChild<QTreeView*>("ListView1")->model();
        QStringList texts;
        for (int c = 0; c < one->columnCount(); ++c)
            texts << one->index(0, c).data().toString();
        QCOMPARE(texts.join('|'), "new file.txt|" + tree->path("one/src/docs") + '|' +
                                      tree->path("one/dst/docs") +
                                      "|New File|9/13/2020 12:26:40 PM|0");
        QCOMPARE(one->rowCount(), 1);
        QCOMPARE(one->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        // Each file type its own picture, also without a desktop's icon theme.
        const auto picture = [](const QAbstractItemModel* list) {
            return list->index(0, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
        };
        const QImage text = picture(one);
        const QImage image = picture(form.findChild<QTreeView*>("ListView2")->model());
        QVERIFY(!text.isNull() && !image.isNull());
        const auto themes = QIcon::themeSearchPaths();
        if (std::any_of(themes.begin(), themes.end(), [](const QString& folder) {
                return QFileInfo::exists(folder + "/Adwaita/index.theme");
            })) {
            QVERIFY(text != image);
            QVERIFY(image !=
                    QFileIconProvider().icon(QAbstractFileIconProvider::File).pixmap(16).toImage());
        } else {
            qWarning("the Adwaita icon theme is not installed: file types are not told apart");
        }
        const auto* bar = form.findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(std::pair(bar->value(), bar->maximum()), std::pair(1, 1)); // 0 KB + 0 KB + 1
        QVERIFY(QFileInfo::exists(tree->path("one/dst/docs/new file.txt")));
        QVERIFY(!QFileInfo::exists(tree->path("one/src/only here/back.png")));
        QCOMPARE(form.panel(4)->text(), QStringLiteral("1 of 2  Files copied"));
        QVERIFY(!form.state().ListView1.locked());
        QVERIFY(form.findChild<QToolBar*>("tbrMain")->actions().at(3)->isEnabled());

        // The run is in the run log, in the directions it used.
        const QByteArray log = TempTree::read(tree->path("state/ketrano/runs.log"));
        QVERIFY2(log.endsWith("\tketrano\t" + QFile::encodeName(prf) +
                              "\tsource-to-target=on target-to-source=off\tfiles=1\tkb=0"
                              "\terrors=0\tstatus=0\n"),
                 log.constData());
        QCOMPARE(log.count('\n'), 1);

        // It ran once (nothing more is pending) and the window is still open.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(w.states.count("Copying"), 1);
        QVERIFY(form.isVisible());

        // The user releases " Copy  Source".
        QTest::mouseClick(form.findChild<QToolButton*>("tbrSecond_2"), Qt::LeftButton);
        form.tbrMain_ButtonClick(6); // Exit
        QVERIFY(form.isHidden());
        QCOMPARE(stored("Last Profile"), QFile::encodeName(prf));
        QCOMPARE(stored("Copy Source"), QByteArray("1"));
        QCOMPARE(stored("Copy Target"), QByteArray("1"));
    }

    // While a timer's ketrano-cli runs the profile, the window's run does not start: it says
    // so in the error list and the status bar, without a box that waits for a click.
    void anotherRunHoldsTheProfile()
    {
        tree->add({"one/src/a.txt", 1, 1'600'000'000});
        const QString prf = profile({"one"});
        const RunLock held = RunLock::acquire(prf);
        QVERIFY(held.held());
        MainForm form(prf);
        form.callbacks().askYesNo = [](const QString&) -> bool { qFatal("a question"); };
        form.callbacks().showMessage = [](const QString&) { qFatal("a message box"); };
        form.Form_Load();
        const QString refusal = QStringLiteral("another run of %1 is in progress (pid %2)")
                                    .arg(prf)
                                    .arg(QCoreApplication::applicationPid());
        QTRY_COMPARE(form.panel(2)->text(), refusal);
        QCOMPARE(form.panel(3)->text(), QStringLiteral("Errors : 1"));
        QCOMPARE(form.state().ErrorsList.rows().at(0).error, refusal);
        QCOMPARE(form.state().ListView1.rowCount(), 0);
        QVERIFY(!QFileInfo::exists(tree->path("one/dst/a.txt")));
        QVERIFY(form.isVisible());
        QVERIFY(TempTree::read(tree->path("state/ketrano/runs.log"))
                    .endsWith("\tsource-to-target=on target-to-source=on\tfiles=0\tkb=0"
                              "\terrors=0\tstatus=3\n"));
        form.Form_QueryUnload(true);
    }

    // Esc during the scan stops only the scan: Synchronize clears the flag and copies what
    // the scan listed so far.
    void escapeDuringTheScanStillSynchronizes()
    {
        tree->add(
            {{"one/src/first.txt", 1, 1'600'000'000}, {"two/src/second.txt", 1, 1'600'000'000}});
        MainForm form(profile({"one", "two"}));
        Watch w;
        watch(form, w);
        bool sent = false;
        form.callbacks().yield = [&] {
            form.state().lastYield.invalidate(); // let every turn through
            QCoreApplication::processEvents();
            if (!sent && form.state().running == Running::Scan &&
                form.state().ListView1.size() > 0) {
                sent = true;
                QTest::keyClick(&form, Qt::Key_Escape);
            }
        };
        form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(finished(form), 20000);

        QVERIFY(sent);
        QVERIFY(w.states.contains("Canceled"));
        QCOMPARE(w.states.last(), QStringLiteral("Ready  "));
        QVERIFY(QFileInfo::exists(tree->path("one/dst/first.txt")));
        QVERIFY(!QFileInfo::exists(tree->path("two/dst/second.txt")));
        form.Form_QueryUnload(true);
    }

    // The window gets its turns during one large copy: a double-click on panel 1 there
    // lets that copy finish and stops before the next file.
    void panelOneStopsAfterTheLargeCopyInProgress()
    {
        QByteArray big(32 << 20, 'b');
        QDir().mkpath(tree->path("one/src"));
        QFile f(tree->path("one/src/a big.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(big);
        f.close();
        tree->add({"one/src/z later.txt", 1, 1'600'000'000});
        MainForm form(profile({"one"}));
        int turnsWhileCopying = 0;
        form.callbacks().yield = [&] {
            form.state().lastYield.invalidate();
            QCoreApplication::processEvents();
            if (form.state().running == Running::Sync && form.state().FilesCopied == 0 &&
                ++turnsWhileCopying == 1)
                QTest::mouseDClick(form.panel(1), Qt::LeftButton);
        };
        form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(finished(form), 20000);

        QVERIFY(turnsWhileCopying >= 1);
        QCOMPARE(form.panel(1)->text(), QStringLiteral("Canceled "));
        QCOMPARE(TempTree::read(tree->path("one/dst/a big.bin")).size(), big.size());
        QVERIFY(!QFileInfo::exists(tree->path("one/dst/z later.txt")));
        QCOMPARE(form.panel(4)->text(), QStringLiteral("1 of 2  Files copied"));
        form.Form_QueryUnload(true);
    }

    // Panel 3 opens the error list modally inside a copy's turn: it shows the failures so
    // far, and the copying goes on once it is hidden.
    void panelThreeShowsTheErrorsSoFar()
    {
        tree->add({{"one/src/a.txt", 1, 1'600'000'000},
                   {"one/src/b.txt", 1, 1'600'000'000},
                   {"one/src/c.txt", 1, 1'600'000'000}});
        tree->add({"one/dst/a.txt", 1, 1'700'000'000}); // newer: listed under Target Files
        MainForm form(profile({"one"}));
        int shownRows = -1;
        bool opened = false;
        form.callbacks().yield = [&] {
            form.state().lastYield.invalidate();
            QCoreApplication::processEvents();
            if (opened || form.state().running != Running::Sync)
                return;
            opened = true;
            QTimer::singleShot(0, [&] {
                if (auto* errors = qobject_cast<ErrorsForm*>(QApplication::activeModalWidget())) {
                    shownRows = errors->list()->model()->rowCount();
                    errors->OKCommand_Click();
                }
            });
            QTest::mouseDClick(form.panel(3), Qt::LeftButton);
        };
        // The first row fails: its source vanishes between Scan and Synchronize.
        form.callbacks().busyChanged = [&, busy = form.callbacks().busyChanged](bool on) {
            if (on && form.state().running == Running::Sync)
                QFile::remove(tree->path("one/src/b.txt"));
            busy(on);
        };
        form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(finished(form), 20000);

        QVERIFY(opened);
        QCOMPARE(shownRows, 1);
        QVERIFY(form.errorsForm()->isHidden());
        QCOMPARE(form.state().ErrorsList.size(), 1);
        QVERIFY(QFileInfo::exists(tree->path("one/dst/c.txt")));
        QCOMPARE(form.panel(4)->text(), QStringLiteral("2 of 3  Files copied"));
        form.Form_QueryUnload(true);
    }
};

QTEST_MAIN(UnattendedRunTest)
#include "unattended_run_test.moc"
