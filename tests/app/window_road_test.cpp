// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"
#include "app/notice_bar.h"
#include "app/run_log_window.h"
#include "app/window_driver.h"
#include "core/registry/registry.h"
#include "core/settings.h"
#include "profile/profile_file.h"
#include "profile/srctgtform.h"
#include "support/temp_tree.h"
#include "sync/errorsform.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

// The whole road in the real window, as a person goes it: a profile built with the entry
// editor, saved and opened again, scanned, rows unchecked and deleted, synchronized, the error
// list after a failure, Exit, the next start with the saved settings and a start with the
// profile on the command line. Each step checks the disk and what the window shows.

namespace {

const qint64 Old = 1'600'000'000, New = 1'700'000'000;

// Runs action(), which opens the entry editor; types 'ok' (four texts "source,target,include,
// exclude") and clicks OK, or cancels when 'ok' is empty. Returns the texts the editor showed.
QString answerEditor(const std::function<void()>& action, const QString& ok)
{
    QString shown;
    withModal(action, [&](QWidget* form) {
        QStringList texts;
        const char* boxes[] = {"SourceText", "TargetText", "IncludeText", "ExcludeText"};
        for (const char* box : boxes)
            texts << form->findChild<QLineEdit*>(box)->text();
        shown = texts.join(',');
        for (int i = 0; i < 4 && !ok.isEmpty(); ++i)
            form->findChild<QLineEdit*>(boxes[i])->setText(ok.section(',', i, i));
        if (!ok.isEmpty())
            QTest::mouseClick(form->findChild<QPushButton*>("OKCmd"), Qt::LeftButton);
    });
    return shown;
}

void click(const WindowDriver& w, const char* button)
{
    QTest::mouseClick(w.find(button), Qt::LeftButton);
}

// The texts of a list's first row as the view shows them, "|" between the columns.
QString firstRow(const QTreeView* view)
{
    QStringList texts;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        texts << cell(view, 0, c).toString();
    return texts.join('|');
}

} // namespace

class WindowRoadTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempTree> tree;
    QString src, dst, prf;

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        tree = std::make_unique<TempTree>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree->path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(tree->path("state")));
        src = tree->path("src"), dst = tree->path("dst"), prf = tree->path("road.prf");
    }

    void theWholeRoad()
    {
        tree->add(
            {{"src/a.txt", 3000, Old}, {"src/gone.txt", 1, Old}, {"src/docs/b.txt", 2048, New}});
        tree->add({{"dst/docs/b.txt", 5, Old}, {"dst/only.png", 7, Old}});
        WindowDriver w;
        w.form.Form_Load(); // the first start: no profile, every toggle pressed
        auto* list = w.find<QTreeView>("ProfileList");
        ProfileModel& profile = w.state().profileEntries;

        // Entries: Ins in the profile list adds one; OK with a blank Source adds none; the
        // toolbar button adds another, which a double-click edits; Del deletes the selected one
        // at once; F2 edits (here: cancelled). Without a selection F2 and Del do nothing.
        QCOMPARE(answerEditor([&] { w.keys("ProfileList", "Ins"); }, src + ',' + dst + ",*,"),
                 ",,*,");
        QCOMPARE(list->font().pointSize(), 8);
        answerEditor([&] { click(w, "TbrProfile_1"); }, " ,/t,*,");
        answerEditor([&] { click(w, "TbrProfile_1"); }, "/x,/y,doc,tmp");
        const QPoint second = list->visualRect(profile.index(1, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        answerEditor([&] { QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second); },
                     "/x,/y2,doc,");
        QCOMPARE(profile.entries(),
                 std::vector<ProfileEntry>({{src, dst, "*", ""}, {"/x", "/y2", "doc", ""}}));
        w.keys("ProfileList", "Del");
        select(list, 0);
        QCOMPARE(answerEditor([&] { w.keys("ProfileList", "F2"); }, ""), src + ',' + dst + ",*,");
        list->selectionModel()->clearSelection();
        QVERIFY(!onModal([&] { w.keys("ProfileList", "F2, Del"); }, {}, 0));
        QCOMPARE(profile.entries(), std::vector<ProfileEntry>({{src, dst, "*", ""}}));

        // The edits make Open ask first (No; the dialog is cancelled: nothing changes). A save
        // that fails says why and keeps the edits; Ctrl+S saves. Then New (Ctrl+N) does not
        // ask, nor does it after a deletion alone; Open it again (Ctrl+O).
        QVERIFY(w.state().ProfileChanged);
        w.rec.fileNames = {"*.prf", src + "/a.txt/x.prf", prf};
        w.keys("MainForm", "Ctrl+O, Ctrl+S");
        QCOMPARE(w.rec.questions, QStringList{"Profile has changed, Do you want to save?"});
        QCOMPARE(w.rec.messages.value(0).section(':', 0, 0),
                 "The profile could not be saved to " + src + "/a.txt/x.prf");
        QVERIFY(w.state().ProfileChanged && profile.size() == 1);
        w.keys("MainForm", "Ctrl+S");
        std::vector<ProfileEntry> onDisk;
        QVERIFY(ProfileFile::read(prf, onDisk));
        QCOMPARE(onDisk, profile.entries());
        w.keys("MainForm", "Ctrl+N");
        QCOMPARE(w.form.windowTitle(), "Ketrano Backup   [New Profile]");
        QCOMPARE(profile.size(), 0);
        profile.append({"/a", "/b", "*", ""});
        select(list, 0);
        w.keys("ProfileList", "Del");
        w.rec.fileNames = {prf};
        w.keys("MainForm", "Ctrl+O");
        QCOMPARE(w.form.windowTitle(), "Ketrano Backup [" + prf + "]");
        QCOMPARE(profile.entries(), onDisk);
        QCOMPARE(w.rec.questions.size(), 1);
        const QString open = "Open File Name|Profiles(*.prf)|*.prf",
                      save = "Save to File Name|Profiles(*.prf)|";
        QCOMPARE(w.rec.dialogs, QStringList({open, save, save, open}));
        w.rec.questions.clear();

        // Scan (F5): what differs, in the lists and on the status bar.
        w.keys("MainForm", "F5");
        QCOMPARE(WindowDriver::shown(w.state().sourceRows), "a.txt gone.txt b.txt");
        QCOMPARE(WindowDriver::shown(w.state().targetRows), "only.png");
        QCOMPARE(w.panels(), "Ready  |Source Files: 3|Source Size: 5KB|Target Files: 1|Target "
                             "Size: 0KB");
        auto* sources = w.find<QTreeView>("ListView1");
        const QString firstSource =
            "a.txt|" + src + '|' + dst + "|New File|9/13/2020 12:26:40 PM|3";
        QCOMPARE(firstRow(sources), firstSource);

        // Uncheck b.txt with Space (the other commands of the lists: mainform_results_test).
        select(sources, 2);
        w.keys("ListView1", "Space");
        QCOMPARE(WindowDriver::shown(w.state().sourceRows), "a.txt gone.txt -b.txt");

        // Synchronize (Alt+S) with " Copy  Target  " released; gone.txt vanished since the scan.
        QFile::remove(src + "/gone.txt");
        click(w, "tbrSecond_3");
        w.keys("MainForm", "Alt+S");
        QCOMPARE(TempTree::read(dst + "/a.txt").size(), 3000);
        QCOMPARE(TempTree::read(dst + "/docs/b.txt").size(), 5);
        QVERIFY(!QFileInfo::exists(src + "/only.png"));
        QCOMPARE(w.panels(), "Ready  ||Errors : 1|1 of 4  Files copied|3 KB Copied");

        // The error list names the failed copy and why.
        withModal([&] { click(w, "tbrSecond_4"); },
                  [&](QWidget* errors) {
                      QCOMPARE(errors->windowTitle(), "Errors");
                      QCOMPARE(firstRow(qobject_cast<ErrorsForm*>(errors)->list()),
                               "gone.txt|" + src + '|' + dst +
                                   "|Reading the source failed: No such file or directory");
                  });

        // Exit (Ctrl+Q) keeps the profile and the toggles, and apart from them the window's
        // size, the splitter above Profile Entries and a column width the user dragged.
        w.form.resize(760, 540); // within the test screen's 800 pixels
        QTRY_COMPARE(w.form.size(), QSize(760, 540));
        auto* splitter = w.find<QSplitter>("ListSplitter");
        splitter->setSizes({splitter->sizes().value(0) - 60, splitter->sizes().value(1) + 60});
        const QList<int> dragged = splitter->sizes();
        w.find<QTreeView>("ListView2")->header()->resizeSection(ResultListModel::Name, 333);
        w.keys("MainForm", "Ctrl+Q");
        QVERIFY(w.form.isHidden());
        QCOMPARE(storedSettings(), prf + "|0|0|1");
        const QString key = "config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano";
        QCOMPARE(QDir(tree->path(key)).entryList(QDir::Files).size(), 4);

        // The next start: the saved profile and layout, empty lists (the toggles as read at a
        // start are in startAndClose).
        {
            WindowDriver again;
            again.form.Form_Load();
            QCOMPARE(again.form.windowTitle(), "Ketrano Backup [" + prf + "]");
            QCOMPARE(again.state().profileEntries.entries(), onDisk);
            QCOMPARE(again.state().sourceRows.size(), 0);
            QTRY_COMPARE(again.form.size(), QSize(760, 540));
            QTRY_COMPARE(again.find<QSplitter>("ListSplitter")->sizes(), dragged);
            QTRY_COMPARE(again.find<QTreeView>("ListView2")->columnWidth(0), 333);
            QVERIFY(again.find<QTreeView>("ListView1")->columnWidth(0) < 300);
            again.form.Form_QueryUnload(true);
        }

        // A start with the profile on the command line: the window comes up, scans and then
        // synchronizes once in the saved directions, with the lists locked meanwhile, and
        // stays open.
        WindowDriver run(prf);
        QList<bool> lockedWhenBusy;
        Callbacks& cb = run.form.callbacks();
        auto* runSources = run.find<QTreeView>("ListView1");
        auto* menu = run.find<QMenu>("FileMenu");
        cb.busyChanged = [&, busy = cb.busyChanged](bool on) {
            if (on)
                lockedWhenBusy << (run.form.isVisible() && run.state().sourceRows.locked() &&
                                   !run.find<QToolButton>("tbrMain_4")->isEnabled());
            busy(on);
            if (!on || run.state().control.running != Running::Sync)
                return;
            // Whatever would change the lists is refused while it copies: keys, the menu (its
            // items greyed), the headers, opening a file.
            select(runSources, 0);
            run.state().ActiveResultList = &run.state().sourceRows;
            QTest::keySequence(runSources, QKeySequence("Ctrl+U, Ctrl+I, Del, Shift+Del"));
            menu->popup({});
            for (QAction* item : menu->actions()) {
                lockedWhenBusy << item->isEnabled();
                item->trigger();
            }
            menu->hide();
            clickHeader(runSources, ResultListModel::SizeKB);
        };
        run.form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(run.finished(), 20000);
        QCoreApplication::processEvents(); // nothing more is pending: it ran once
        const QStringList& states = run.states;
        QVERIFY(states.startsWith("Ready") && states.contains("Scanning"));
        QCOMPARE(states.mid(states.size() - 3), QStringList({"Ready  ", "Copying", "Ready  "}));
        QCOMPARE(states.count("Copying"), 1);
        QCOMPARE(lockedWhenBusy, QList<bool>({true, true}) + QList<bool>(9, false));
        QCOMPARE(run.rec.questions + run.rec.opened, QStringList());
        QVERIFY(!runSources->header()->isSortIndicatorShown());
        QCOMPARE(TempTree::read(dst + "/docs/b.txt").size(), 2048); // checked again by the scan
        QVERIFY(!QFileInfo::exists(src + "/only.png"));
        QCOMPARE(run.panels(), "Ready  ||Errors : 0|1 of 2  Files copied|2 KB Copied");
        QVERIFY(run.form.isVisible() && !run.state().sourceRows.locked());
        // Each file type its own picture, also without a desktop's icon theme.
        const auto picture = [&](const char* name) {
            const QAbstractItemModel* m = run.find<QTreeView>(name)->model();
            return m->index(0, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
        };
        QVERIFY(!picture("ListView1").isNull() && picture("ListView1") != picture("ListView2"));
        const QByteArray log = TempTree::read(tree->path("state/ketrano/runs.log"));
        QVERIFY2(log.endsWith("\tketrano\t" + QFile::encodeName(prf) +
                              "\tsource-to-target=on target-to-source=off\tfiles=1\tkb=2"
                              "\terrors=0\tstatus=0\n"),
                 log.constData());
        run.form.Form_QueryUnload(true);
    }

    // Each combination of the two copy toggles, pressed on the toolbar before Synchronize.
    void synchronizeInEachDirection_data()
    {
        QTest::addColumn<bool>("toTarget");
        QTest::addColumn<bool>("toSource");
        for (bool s : {true, false})
            for (bool t : {true, false})
                QTest::addRow("source %d, target %d", s, t) << s << t;
    }

    void synchronizeInEachDirection()
    {
        QFETCH(bool, toTarget);
        QFETCH(bool, toSource);
        tree->add({{"src/new.txt", 1, Old}, {"dst/sub/back.txt", 1, Old}});
        WindowDriver w;
        w.state().profileEntries.append({src, dst, "*", ""});
        w.form.show();
        click(w, "tbrMain_4");
        if (!toTarget)
            click(w, "tbrSecond_2");
        if (!toSource)
            click(w, "tbrSecond_3");
        click(w, "tbrMain_5");
        QCOMPARE(QFileInfo::exists(dst + "/new.txt"), toTarget);
        QCOMPARE(QFileInfo::exists(src + "/sub/back.txt"), toSource);
        // Each row tells what happened to it; a direction that was off copied nothing.
        using O = ResultRow::Outcome;
        QCOMPARE(w.state().sourceRows.at(0).outcome, toTarget ? O::Copied : O::NotCopied);
        QCOMPARE(w.state().targetRows.at(0).outcome, toSource ? O::Copied : O::NotCopied);
        // With no direction on, no row is passed: panels 3 and 5 keep the scan's texts.
        QCOMPARE(w.panels(), toTarget || toSource
                                 ? QString("Ready  ||Errors : 0|%1 of 2  Files copied|0 KB Copied")
                                       .arg(toTarget + toSource)
                                 : "Ready  ||Source Size: 0KB|  Files copied|Target Size: 0KB");
    }

    // What a scan and a synchronization show besides the status panels: the files found so
    // far, the bar by bytes with its percent, each row's outcome in its Status cell (sortable),
    // the run in the Run Log window; Esc said to be heard at once, the bar emptied after a stop.
    void whatARunShows_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::newRow("to its end") << false;
        QTest::newRow("stopped") << true;
    }

    void whatARunShows()
    {
        QFETCH(bool, stop);
        tree->add(
            {{"src/a.txt", 3000, Old}, {"src/b.txt", 2000, Old}, {"src/gone.txt", 1000, Old}});
        tree->add({"dst/t.txt", 1, Old});
        WindowDriver w;
        w.state().profileEntries.append({src, dst, "*", ""});
        w.form.show();
        auto* bar = w.find<QProgressBar>("ProgressBar1");
        QStringList barTexts, heard;
        Callbacks& cb = w.form.callbacks();
        cb.event = [&, shown = cb.event](const RunEvent& e) {
            shown(e);
            if (e.type == RunEvent::FilesFound || e.type == RunEvent::RowPassed)
                barTexts << (bar->isTextVisible() ? bar->text() : QString());
            if (stop && e.type == RunEvent::FileStarted && heard.isEmpty()) {
                QTest::keyClick(w.find("ListView1"), Qt::Key_Escape);
                heard << w.form.panel(1)->text();
            }
        };
        w.keys("MainForm", "F5");
        QCOMPARE(barTexts.value(barTexts.size() - 1),
                 "Files found: 3 in the source folders, 1 in the target folders");
        QVERIFY(!bar->isTextVisible());
        w.state().sourceRows.setChecked(1, false); // b.txt
        QFile::remove(src + "/gone.txt");
        barTexts.clear();
        w.keys("MainForm", "Alt+S");
        QVERIFY(!barTexts.isEmpty());
        for (const QString& text : barTexts)
            QVERIFY2(QRegularExpression("^\\d+% · .* of .*$").match(text).hasMatch(),
                     qPrintable(text));
        const ResultListModel& rows = w.state().sourceRows;
        const auto status = [&](int row, int role) {
            return cell(w.find<QTreeView>("ListView1"), row, ResultListModel::Status, role);
        };
        if (stop) {
            QCOMPARE(heard, QStringList{"Stopping…"});
            QCOMPARE(w.states.last(), "Canceled ");
            QCOMPARE(w.form.panel(1)->text(), "Canceled ");
            QCOMPARE(bar->value(), bar->minimum());                        // emptied
            QCOMPARE(status(2, Qt::ToolTipRole).toString(), "Not copied"); // gone.txt, not reached
        } else {
            QCOMPARE(bar->value(), bar->maximum());
            // The Status text stays; the tooltip and the icon tell the outcome.
            const QStringList tips = {
                "Copied", "Not copied",
                "Failed: Reading the source failed: No such file or directory"};
            QCOMPARE(WindowDriver::shown(rows), "a.txt -b.txt gone.txt");
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(status(row, Qt::DisplayRole).toString(), "New File");
                QCOMPARE(status(row, Qt::ToolTipRole).toString(), tips[row]);
                QVERIFY(!status(row, Qt::DecorationRole).value<QIcon>().isNull());
            }
            clickHeader(w.find<QTreeView>("ListView1"), ResultListModel::Status);
            QCOMPARE(WindowDriver::shown(rows), "gone.txt -b.txt a.txt");
        }
        // The run is in the run log, and the Run Log window shows it first.
        withModal([&] { w.keys("MainForm", "Ctrl+L"); },
                  [&](QWidget* window) {
                      const QTreeWidgetItem* run =
                          qobject_cast<RunLogWindow*>(window)->list()->topLevelItem(0);
                      QVERIFY(run);
                      QCOMPARE(QStringList({run->text(1), run->text(2), run->text(3), run->text(5),
                                            run->text(7), run->text(8)}),
                               QStringList({"ketrano", "", "on", stop ? "1" : "2", stop ? "0" : "1",
                                            stop ? "Stopped" : "Some copies failed"}));
                  });
        w.form.Form_QueryUnload(true);
    }

    // One start and close. Settings "Last Profile|Show File Names|Copy Source|Copy Target",
    // "-" for none; "0" is a pressed toggle. 'close': 0 Exit, 1 close box, 2 signal; 'edit':
    // unsaved edits, 1 answers Yes to the question, 2 No.
    void startAndClose_data()
    {
        QTest::addColumn<QStringList>("c"); // before, command line, caption, after
        QTest::addColumn<int>("close");
        QTest::addColumn<int>("edit");
        const QString named = "%1/new dir.prf";
        QTest::newRow("*.prf") << QStringList{"*.prf|-|-|-", "", "*.prf", "*.prf|0|0|0"} << 2 << 0;
        QTest::newRow("Error") << QStringList{"ERROR|x|1|", "", "", "|0|1|0"} << 1 << 0;
        QTest::newRow("command line")
            << QStringList{"/else.prf|1|1|0", named, named, named + "|1|1|0"} << 2 << 0;
        QTest::newRow("edit, Exit, Yes")
            << QStringList{"-|-|-|-", "", "", "%1/edits.prf|0|0|0"} << 0 << 1;
        QTest::newRow("edit, close, No") << QStringList{"-|-|-|-", "", "", "|0|0|0"} << 1 << 2;
        QTest::newRow("edit, signal") << QStringList{"-|-|-|-", "", "", "|0|0|0"} << 2 << 1;
    }

    void startAndClose()
    {
        QFETCH(QStringList, c);
        QFETCH(int, close);
        QFETCH(int, edit);
        c.replaceInStrings("%1", tree->root());
        const auto& [before, commandLine, caption, after] = std::tie(c[0], c[1], c[2], c[3]);
        Registry::CreateKey(Settings::KeyPath);
        const QStringList names = {Settings::LastProfile, Settings::ShowFileNames,
                                   Settings::CopySource, Settings::CopyTarget};
        for (int i = 0; i < 4; ++i)
            if (before.section('|', i, i) != "-")
                Registry::WriteValue(Settings::KeyPath, names[i], before.section('|', i, i));
        WindowDriver w(commandLine);
        w.form.Form_Load();
        QCOMPARE(w.form.windowTitle(), "Ketrano Backup [" + caption + "]");
        QVERIFY(w.state().profileEntries.size() == 0 && w.form.panel(1)->text() == "Ready");
        for (int t = 1; t <= 3; ++t)
            QCOMPARE(w.form.toggleState(t), after.section('|', t, t) == "0");
        if (!commandLine.isEmpty()) // a profile that does not exist starts out empty
            QCOMPARE(QFileInfo(commandLine).size(), 0);
        QVERIFY(!QFileInfo::exists("*.prf"));

        w.rec.answers = {edit == 1};
        w.rec.fileNames = {tree->path("edits.prf")};
        w.state().ProfileChanged = edit != 0;
        close == 0   ? click(w, "tbrMain_6")
        : close == 1 ? void(w.form.close())
                     : w.form.Form_QueryUnload(true);
        QVERIFY(w.form.isHidden());
        QCOMPARE(storedSettings(), after);
        const bool asked = edit && close != 2;
        QCOMPARE(w.rec.questions,
                 asked ? QStringList{"Profile has changed, Do you want to save?"} : QStringList{});
        QCOMPARE(QFileInfo::exists(tree->path("edits.prf")), edit == 1 && asked);
    }

    void toggleSettingsNeverGiveAThirdState()
    {
        // pressed = 1 - leading number, rounded half to even; anything but 0 is pressed.
        for (const char* text : {"0", "", "abc", "2", "-1", "2.5", "0.4", "inf", "0x1"})
            QVERIFY2(Settings::toggleFromSetting(text), text);
        for (const char* text : {"1", "0.5", "1.5", " 1", "1abc", "1e0", "+1", ".5", "1,0"})
            QVERIFY2(!Settings::toggleFromSetting(text), text);
    }

    void aFailedSettingsWriteIsShownUnlessClosedBySignal()
    {
        // A file where the settings folder belongs: nothing can be saved, not even as root.
        tree->add({"config/ketrano", 0});
        for (const bool bySignal : {false, true}) {
            WindowDriver w;
            w.form.Form_Load();
            w.form.Form_QueryUnload(bySignal);
            QCOMPARE(w.rec.messages.size(), bySignal ? 0 : 1);
            QVERIFY(bySignal || w.rec.messages[0].startsWith("The settings could not be saved: "));
        }
    }

    // Esc from every control; F1, About; the profile list's commands by keyboard alone: Tab to
    // its buttons, and its menu.
    void theWindowByKeyboard()
    {
        WindowDriver w;
        w.form.Form_Load();
        for (const char* name : {"ListView1", "ListView2", "ProfileList", "tbrMain_4",
                                 "tbrSecond_2", "TbrProfile_1", "ProgressBar1", "MainForm"}) {
            w.state().control.CancelRequested = false;
            w.keys(name, "A");
            QVERIFY2(!w.state().control.CancelRequested, name);
            w.keys(name, "Esc");
            QVERIFY2(w.state().control.CancelRequested, name);
        }
        // Every toolbar button shows the program's own picture, whatever the icon theme.
        for (QToolButton* button : w.form.findChildren<QToolButton*>())
            if (button->defaultAction() && !button->objectName().startsWith("qt_"))
                QVERIFY2(!button->icon().pixmap(16).isNull(), qPrintable(button->objectName()));
        withModal([&] { w.keys("ListView1", "F1"); },
                  [](QWidget* help) { QVERIFY(qobject_cast<HelpWindow*>(help)->loaded()); });
        withModal([&] { click(w, "tbrSecond_6"); },
                  [](QWidget* about) {
                      QCOMPARE(about->findChild<QLabel*>("AboutText")->text(),
                               "Ketrano Backup ver 2.01");
                      QVERIFY(about->findChild<QLabel*>("AboutLicence")
                                  ->text()
                                  .contains("General Public License, version 3 or later"));
                  });

        // Tab reaches every toolbar button; each command has its key, named in its tooltip
        // below the tooltip's own text, and the captions show their underlined letters.
        QStringList reached;
        w.keys("tbrMain_1", "");
        for (int i = 0; i < 40; ++i) {
            reached << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (int b = 1; b <= 7; ++b)
            QVERIFY2(reached.contains(QString("tbrSecond_%1").arg(b)),
                     qPrintable(reached.join(' ')));
        QVERIFY(reached.contains("tbrMain_6"));
        // The button, its key and its tooltip (nullptr: not checked).
        const std::tuple<const char*, const char*, const char*> keyed[] = {
            {"tbrSecond_1", "Ctrl+1", "Display icons of files\nCtrl+1"},
            {"tbrSecond_2", "Ctrl+2", nullptr},
            {"tbrSecond_3", "Ctrl+3", nullptr},
            {"tbrSecond_4", "Ctrl+E", "Show Errors of Last Synchronization\nCtrl+E"},
            {"tbrSecond_6", "Ctrl+F1", "Ctrl+F1"},
            {"tbrSecond_7", "Ctrl+L", "Show the last runs of the run log\nCtrl+L"},
            {"tbrMain_1", nullptr, "Start New Profile\nAlt+N, Ctrl+N"},
            {"tbrMain_6", nullptr, "Alt+X, Ctrl+Q"}};
        for (const auto& [name, key, tip] : keyed) {
            auto* button = w.find<QToolButton>(name);
            if (tip) {
                QHelpEvent help(QEvent::ToolTip, {4, 4}, button->mapToGlobal(QPoint(4, 4)));
                QApplication::sendEvent(button, &help);
                QTRY_COMPARE(QToolTip::text(), QString(tip));
                QToolTip::hideText();
            }
            if (!key)
                continue;
            if (button->isCheckable()) { // a toggle flips, and shows its state in its picture
                const bool before = button->isChecked();
                w.keys("ListView1", key);
                QCOMPARE(button->isChecked(), !before);
                const QIcon icon = button->icon();
                QVERIFY(icon.pixmap(16, QIcon::Normal, QIcon::On).toImage() !=
                        icon.pixmap(16, QIcon::Normal, QIcon::Off).toImage());
                w.keys("ListView1", key); // back as it was
                QCOMPARE(button->isChecked(), before);
            } else {
                QVERIFY2(onModal([&] { w.keys("ListView1", key); }), name);
            }
        }
        QCOMPARE(w.find<QToolButton>("tbrMain_3")->text(), "Sa&ve Profile");
        QVERIFY(QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut));

        w.state().profileEntries.append({"/a", "/b", "*", ""});
        auto* list = w.find<QTreeView>("ProfileList");
        select(list, 0);
        w.keys("ProfileList", "Tab, Tab");
        QVERIFY(w.find("TbrProfile_2")->hasFocus()); // Edit Profile Entry
        QCOMPARE(answerEditor([&] { w.keys("TbrProfile_2", "Space"); }, ""), "/a,/b,*,");
        // Shift+F10 opens the list's menu with the four commands.
        withModal([&] { w.keys("ProfileList", "Shift+F10"); },
                  [](QWidget* menu) {
                      QStringList items;
                      for (QAction* a : menu->actions())
                          items << a->text() + '\t' + a->shortcut().toString();
                      QCOMPARE(items,
                               QStringList({"New Profile Entry\tIns", "Edit Profile Entry\tF2",
                                            "Delete Profile Entry\tDel", "Create ShortCut\t"}));
                      menu->actions().at(2)->trigger();
                  });
        QCOMPARE(w.state().profileEntries.size(), 0);
        w.form.Form_QueryUnload(true);

        // Installed, the manual is found in share/ketrano/help beside the program's folder.
        tree->add({"usr/share/ketrano/help/help.html", 0});
        tree->mkdir("usr/bin");
        QCOMPARE(helpFolderFor(tree->path("usr/bin")), tree->path("usr/share/ketrano/help"));
    }

    // What the scan refused, and the records a damaged profile had to skip,
    // show in a bar above the lists, also during an unattended run, without a question and
    // without changing a status text. Its button and Alt+E open the error list.
    void noticesOfTheScanAndOfADamagedProfile()
    {
        tree->add({"src/a.txt", 1, Old});
        tree->mkdir("dst");
        QVERIFY(ProfileFile::write(
            prf, {{src, dst, "*", ""}, {"/s\x01", "/t", "*", ""}, {"C:\\Backup", dst, "*", ""}}));

        WindowDriver w(prf);
        auto* bar = w.find<NoticeBar>("NoticeBar");
        w.form.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(w.finished(), 20000);
        const QStringList expected = {"Skipped record 2 of " + prf +
                                          ": its Source holds a control character",
                                      "The folder C:\\Backup is not an absolute path"};
        QStringList listed;
        for (const ErrorRow& row : w.state().errorRows.rows())
            listed << row.error;
        QCOMPARE(listed, expected);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->text(), expected[0] + " (and 1 more)");
        QCOMPARE(w.panels(), "Ready  ||Errors : 0|1 of 1  Files copied|0 KB Copied");
        QVERIFY(QFileInfo::exists(dst + "/a.txt"));

        // Named for screen readers by what they show; the button tells the notice too.
        auto* show = bar->findChild<QPushButton*>("NoticeShowErrors");
        const auto name = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QCOMPARE(name(show), "Show Errors");
        QCOMPARE(name(bar->findChild<QWidget*>("NoticeClose")), "Close");
        QCOMPARE(name(bar->findChild<QWidget*>("NoticeText")), bar->text());
        QCOMPARE(show->accessibleDescription(), bar->text());
        const auto errorsShown = [&] {
            QCOMPARE(w.form.errorsForm()->list()->model()->rowCount(), 2);
        };
        withModal([&] { w.keys("NoticeShowErrors", "Space"); }, [&](QWidget*) { errorsShown(); });
        withModal([&] { w.keys("ListView1", "Alt+E"); }, [&](QWidget*) { errorsShown(); });

        // Closed, it stays closed until the next scan tells again.
        w.keys("NoticeClose", "Space");
        QVERIFY(!bar->isVisible());
        w.keys("MainForm", "Alt+S");
        QVERIFY(!bar->isVisible());
        w.keys("MainForm", "F5");
        QVERIFY(bar->isVisible());
        QCOMPARE(w.state().errorRows.size(), 2); // the new scan's errors replace the old
        // Opened again: the results are another run's and go; the skipped record is told
        // again. A new profile has nothing to tell.
        w.rec.fileNames = {prf};
        w.keys("MainForm", "Ctrl+O");
        QCOMPARE(w.panels(), "Ready||||");
        QCOMPARE(w.state().sourceRows.size() + w.find<QProgressBar>("ProgressBar1")->value(), 0);
        QCOMPARE(bar->text(), expected[0]);
        QVERIFY(bar->isVisible());
        w.keys("MainForm", "Ctrl+N");
        QVERIFY(!bar->isVisible());
        QCOMPARE(w.rec.questions + w.rec.messages, QStringList()); // nothing asked or told
        w.form.Form_QueryUnload(true);
    }
};

QTEST_MAIN(WindowRoadTest)
#include "window_road_test.moc"
