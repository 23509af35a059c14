// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_driver.h"
#include "support/temp_tree.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The result lists in the real main window: their commands by key and by menu, the active
// list, opening files and sorting (refused while a command runs: see window_road_test).

namespace {

const QString AskFile = "Permenantly Delete [%1] from  [%2]";
const QString AskChecked = "Permenantly Delete All Checked Files From Disk";
const QString AskUnchecked = "Permenantly Delete All UnChecked Files From Disk";

// ListView1's rows name files in src, ListView2's in tgt.
struct Window : WindowDriver
{
    TempTree tree;
    QTreeView* views[3] = {nullptr, find<QTreeView>("ListView1"), find<QTreeView>("ListView2")};
    QMenu* FileMenu = find<QMenu>("FileMenu");

    Window()
    {
        form.show();
        keys("MainForm", ""); // the window is active: keys reach it
    }
    ResultListModel* model(int list)
    {
        return list == 1 ? &state().sourceRows : &state().targetRows;
    }
    static QString side(int list) { return list == 1 ? "src/" : "tgt/"; }
    QString folder(int list) { return tree.path(side(list)).chopped(1); }
    bool exists(int list, const QString& n) { return QFileInfo::exists(tree.path(side(list) + n)); }
    // A menu item's name, or keys typed in the list: a key sequence, "quick+Ctrl+X" (the
    // modifier goes up before the key) or "held+Ctrl+X" (held until the key repeats).
    void run(int list, const QString& command)
    {
        if (QAction* item = FileMenu->findChild<QAction*>(command))
            return item->trigger();
        const bool quick = command.startsWith("quick+"), held = command.startsWith("held+");
        if (!quick && !held)
            return QTest::keySequence(views[list], QKeySequence(command));
        const QKeyCombination keys = QKeySequence(command.section('+', 1))[0];
        const Qt::Key key = keys.key();
        const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
        QTest::keyPress(views[list], key, modifiers);
        if (quick) {
            QTest::keyRelease(views[list],
                              modifiers & Qt::ShiftModifier ? Qt::Key_Shift : Qt::Key_Control);
            QTest::keyRelease(views[list], key);
        } else {
            QTest::simulateEvent(views[list], true, key, modifiers, {}, true);
            QTest::keyRelease(views[list], key, modifiers);
        }
    }

    // A row and a file per name; "-name" is listed unchecked.
    void fill(int list, const QStringList& names)
    {
        for (const QString& name : names) {
            ResultRow row{name.mid(name.startsWith('-') ? 1 : 0), folder(list), folder(3 - list)};
            row.checked = !name.startsWith('-');
            tree.add({side(list) + row.name(), 10});
            model(list)->append(row);
        }
        model(list)->flush();
    }
    QPoint rowPoint(int list, int row)
    {
        return views[list]->visualRect(views[list]->model()->index(row, 0)).center();
    }
    QString shown(int list) { return WindowDriver::shown(*model(list)); }
};

} // namespace

// Keys typed into either list while the other is active, menu items on the active list. Both
// lists hold a, -b, c (a folder, which cannot be deleted) and -d (a file already gone), b
// selected. Every command of a row has the row's outcome.
const struct
{
    const char* commands;
    QString question; // a single letter: Delete File's question for that row
    const char* after;
    int selected = 1;
    bool answer = true;
} commandRows[] = {
    {"Del Ctrl+Del Alt+Del Shift+Ctrl+Del Shift+Alt+Del DeleteFile", "b", "a c -d"},
    {"Shift+Del Shift+Num+Del quick+Shift+Del DeleteUnchecked", AskUnchecked, "a c"},
    {"Ctrl+A quick+Ctrl+A CheckAll", "", "a b c d"},
    {"Ctrl+U quick+Ctrl+U UnCheckAll", "", "-a -b -c -d"},
    {"Ctrl+I quick+Ctrl+I held+Ctrl+I InvertChecking", "", "-a b -c d"},
    {"Ctrl+Shift+A Ctrl+Alt+U Ctrl+Meta+I I Alt+I Ctrl+B", "", "a -b c -d"},
    {"Del DeleteFile", "b", "a -b c -d", 1, false},
    {"DeleteFile", "c", "a -b c -d", 2}, // still there: the row stays
    {"DeleteFile", "d", "a -b c", 3},
    {"Del CheckUnCheckFile", "", "a -b c -d", -1},
    {"CheckUnCheckFile Space", "", "a b c -d"},
    {"CheckUnCheckFile", "", "-a -b c -d", 0},
    {"DeleteChecked", AskChecked, "-b c -d"},
    {"DeleteChecked", AskChecked, "a -b c -d", 1, false},
    {"Shift+Del DeleteUnchecked", AskUnchecked, "a -b c -d", 1, false},
};

class MainFormResultsTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_config;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }

    void commands_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("command");
        for (int row = 0; row < int(std::size(commandRows)); ++row)
            for (const QString& command : QString(commandRows[row].commands).split(' '))
                for (int list : {1, 2})
                    QTest::addRow("ListView%d %s (%d)", list, qPrintable(command), row)
                        << row << command;
    }

    void commands()
    {
        QFETCH(int, row);
        QFETCH(QString, command);
        const auto& [commands, askedFor, after, selected, answer] = commandRows[row];
        const int list = QString(QTest::currentDataTag()).startsWith("ListView1") ? 1 : 2;
        Window w;
        for (int l : {1, 2}) {
            w.fill(l, {"a", "-b", "c", "-d"});
            QFile::remove(w.folder(l) + "/c");
            w.tree.add({w.side(l) + "c/inner", 1}); // unlink fails on a folder, also as root
            QFile::remove(w.folder(l) + "/d");
        }
        w.state().SourceFileCount = w.state().TargetFileCount = 4;
        select(w.views[list], selected);
        const bool isKey = !w.FileMenu->findChild<QAction*>(command);
        w.state().ActiveResultList = w.model(isKey ? 3 - list : list);
        w.rec.answers = {answer};
        w.run(list, command);
        const QString question =
            askedFor.size() == 1 ? AskFile.arg(askedFor, w.folder(list)) : askedFor;
        QCOMPARE(w.rec.questions, question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(w.shown(list), QString(after));
        QCOMPARE(w.shown(3 - list), QString("a -b c -d"));
        const QStringList listed = QString(after).split(' ');
        for (const QString name : {"a", "b"}) {
            QCOMPARE(w.exists(list, name), listed.contains(name) || listed.contains('-' + name));
            QVERIFY(w.exists(3 - list, name));
        }
        QVERIFY(w.exists(list, "c/inner"));
        QCOMPARE(w.state().SourceFileCount + w.state().TargetFileCount, 8);
    }

    void activeListFollowsFocusAndRightClick()
    {
        Window w;
        w.fill(1, {"x", "-y", "z"});
        w.fill(2, {"x", "y"});
        w.views[2]->setFocus();
        QTRY_COMPARE(w.state().ActiveResultList, &w.state().targetRows);
        w.views[1]->setFocus();
        QTRY_COMPARE(w.state().ActiveResultList, &w.state().sourceRows);
        select(w.views[1], 1);
        QTest::keyClick(w.views[1], Qt::Key_A,
                        Qt::ControlModifier); // and not the view's select all
        QCOMPARE(w.views[1]->selectionModel()->selectedRows().size(), 1);

        // Middle and left buttons show no menu; only the focus makes a list active.
        w.form.ListView_MouseDown(w.state().targetRows, Qt::MiddleButton, QPoint(10, 10));
        w.form.ListView_MouseDown(w.state().targetRows, Qt::LeftButton, QPoint(10, 10));
        QCOMPARE(w.state().ActiveResultList, &w.state().sourceRows);
        QVERIFY(!w.FileMenu->isVisible());
        // The right button's press makes its list active and opens the menu, which acts there.
        QTest::mousePress(w.views[2]->viewport(), Qt::RightButton, {}, w.rowPoint(2, 1));
        QCOMPARE(w.state().ActiveResultList, &w.state().targetRows);
        QTRY_VERIFY(w.FileMenu->isVisible());
        w.rec.answers = {true};
        w.run(2, "DeleteFile");
        w.FileMenu->hide();
        QCOMPARE(w.rec.questions, QStringList{AskFile.arg("y", w.folder(2))});
        QCOMPARE(w.shown(2) + " | " + w.shown(1), QString("x | x y z"));
        QVERIFY(!w.exists(2, "y") && w.exists(1, "y"));
    }

    // Row by row from the keyboard: a click in any cell makes the row's Name current (what a
    // screen reader announces first, with the check state); Space checks from there; Shift+F10
    // and the menu key open the menu below the selected row, acting on its list.
    void rowsByKeyboard()
    {
        Window w;
        w.fill(1, {"a", "-b", "c"});
        w.fill(2, {"x", "y"});
        for (int list : {1, 2}) {
            QTreeView* v = w.views[list];
            const QModelIndex target = v->model()->index(1, ResultListModel::Target);
            QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(target).center());
            QCOMPARE(v->currentIndex(), v->model()->index(1, ResultListModel::Name));
            QTest::keyClick(v, Qt::Key_Right);
            QCOMPARE(v->currentIndex().column(), int(ResultListModel::Name));
            const QString before = w.shown(list);
            QTest::keyClick(v, Qt::Key_Space);
            QCOMPARE(cell(v, 1, ResultListModel::Status, Qt::AccessibleDescriptionRole).toString(),
                     list == 1 ? "checked" : "not checked");
            QTest::keyClick(v, Qt::Key_Space);
            QCOMPARE(w.shown(list), before);
            QTest::keyClick(v, Qt::Key_Down);
            QCOMPARE(v->selectionModel()->selectedRows().value(0).row(),
                     qMin(2, v->model()->rowCount() - 1));
            const QRect row = v->visualRect(v->currentIndex());
            for (const char* key : {"Shift+F10", "Menu"}) {
                w.state().ActiveResultList = w.model(3 - list);
                QTest::keySequence(v, QKeySequence(key));
                QTRY_VERIFY2(w.FileMenu->isVisible(), key);
                QCOMPARE(w.state().ActiveResultList, w.model(list));
                const QPoint at = v->viewport()->mapFromGlobal(w.FileMenu->pos());
                QVERIFY2(at.y() >= row.top() && at.y() <= row.bottom() + 2, key);
                w.FileMenu->hide();
            }
        }
    }

    void openFileAndWithoutActiveList()
    {
        Window w;
        w.fill(1, {"a", "-b"});
        w.fill(2, {"x", "y"});
        select(w.views[1], 0);
        select(w.views[2], 1);
        // No active list (focus made ListView1 active): bulk deletes ask, Open File takes
        // ListView2.
        w.state().ActiveResultList = nullptr;
        w.rec.answers = {true, true, true};
        for (QAction* a : w.FileMenu->actions())
            a->trigger();
        QCOMPARE(w.rec.questions, (QStringList{AskChecked, AskUnchecked}));
        QCOMPARE(w.shown(1) + " | " + w.shown(2), QString("a -b | x y"));
        QVERIFY(w.exists(1, "a") && w.exists(1, "b") && w.exists(2, "x") && w.exists(2, "y"));

        // A double-click on another row: its first press selects the row that then opens.
        select(w.views[2], 0);
        QTest::mouseClick(w.views[2]->viewport(), Qt::LeftButton, {}, w.rowPoint(2, 1));
        QTest::mouseDClick(w.views[2]->viewport(), Qt::LeftButton, {}, w.rowPoint(2, 1));
        // Below the last row: a click keeps the selection, a double-click opens its file.
        const QPoint below(10, w.views[2]->viewport()->height() - 5);
        QTest::mouseClick(w.views[2]->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(w.views[2]->selectionModel()->selectedRows().value(0).row(), 1);
        QTest::mouseDClick(w.views[2]->viewport(), Qt::LeftButton, {}, below);
        w.state().ActiveResultList = &w.state().sourceRows;
        w.run(1, "OpenFile");
        const QString y = w.folder(2) + "/y";
        QCOMPARE(w.rec.opened, (QStringList{y, y, y, w.folder(1) + "/a"}));

        // A vanished file and a list without a selection open nothing.
        QFile::remove(w.folder(1) + "/a");
        w.run(1, "OpenFile");
        select(w.views[2], -1);
        w.form.ListView_DblClick(w.state().targetRows);
        QCOMPARE(w.rec.opened.size(), 4);
    }

    void headerSortHoldsForRowsOfLaterScans()
    {
        Window w;
        w.tree.add({{"src/m.txt", 5000}, {"src/sub/B.txt", 100}, {"tgt/z.txt", 3000}});
        w.state().profileEntries.append({w.folder(1), w.folder(2), "*", ""});
        w.form.ScanCmd_Click();
        QHeaderView* header = w.views[1]->header();
        clickHeader(w.views[1], ResultListModel::SizeKB);
        clickHeader(w.views[1],
                    ResultListModel::SizeKB); // the same header again: no descending order
        QCOMPARE(w.shown(1), QString("B.txt m.txt"));
        QVERIFY(header->isSortIndicatorShown() &&
                header->sortIndicatorOrder() == Qt::AscendingOrder &&
                header->sortIndicatorSection() == ResultListModel::SizeKB);
        clickHeader(w.views[2], ResultListModel::Name);

        // 1, 5 and 12 KB: by number, not by text.
        w.tree.add(
            {{"src/a.txt", 12000}, {"src/k.txt", 1500}, {"tgt/sub/Y.txt", 1}, {"tgt/a2.txt", 1}});
        w.form.ScanCmd_Click();
        QCOMPARE(w.shown(1), QString("B.txt k.txt m.txt a.txt"));
        QCOMPARE(w.shown(2), QString("a2.txt Y.txt z.txt"));
    }
};

QTEST_MAIN(MainFormResultsTest)
#include "mainform_results_test.moc"
