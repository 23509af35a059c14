#include "app/mainform.h"

#include "support/temp_tree.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <deque>

// The result lists in the real main window: keys, popup menu, focus, sorting, opening files.
// Questions are answered through the window's callbacks; files are real.

namespace {

constexpr qint64 Dec2019 = 1577750400; // 2019-12-31 00:00 UTC
constexpr qint64 Jan2020 = 1577836800; // 2020-01-01 00:00 UTC

struct Window
{
    TempTree tree;
    MainForm form{QString()};
    QTreeView* ListView1 = form.findChild<QTreeView*>("ListView1");
    QTreeView* ListView2 = form.findChild<QTreeView*>("ListView2");
    QMenu* FileMenu = form.findChild<QMenu*>("FileMenu");
    std::deque<bool> answers;
    QStringList questions;
    QStringList opened;

    Window()
    {
        form.callbacks().askYesNo = [this](const QString& text) {
            questions << text;
            const bool yes = !answers.empty() && answers.front();
            if (!answers.empty())
                answers.pop_front();
            return yes;
        };
        form.callbacks().openFile = [this](const QString& path) { opened << path; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    ResultListModel& model(int list) { return list == 1 ? state().ListView1 : state().ListView2; }
    QTreeView* view(int list) { return list == 1 ? ListView1 : ListView2; }
    AppState& state() { return form.state(); }
    QString folder(int list) { return tree.path(list == 1 ? "src" : "tgt"); }

    // A row per name with its file in the list's own side; "-name" is listed unchecked.
    void fill(int list, const QStringList& names)
    {
        for (QString name : names) {
            ResultRow row;
            row.checked = !name.startsWith(QLatin1Char('-'));
            row.name = row.checked ? name : name.mid(1);
            row.sourceFolder = folder(list);
            row.targetFolder = folder(3 - list);
            tree.add({(list == 1 ? "src/" : "tgt/") + row.name, 10});
            model(list).append(row);
        }
        model(list).flush();
    }
    void select(int list, int row)
    {
        view(list)->setCurrentIndex(view(list)->model()->index(row, 0));
    }
    QPoint rowPoint(int list, int row)
    {
        return view(list)->visualRect(view(list)->model()->index(row, 0)).center();
    }
    bool exists(int list, const QString& name)
    {
        return QFileInfo::exists(folder(list) + "/" + name);
    }
    QAction* action(const char* name) { return FileMenu->findChild<QAction*>(name); }
    // Names as the view shows them, "-" before unchecked ones.
    QString shown(int list)
    {
        QStringList out;
        const QAbstractItemModel* m = view(list)->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            const QModelIndex i = m->index(r, 0);
            out << (i.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "" : "-") +
                       i.data().toString();
        }
        return out.join(' ');
    }
};

} // namespace

class MainFormResultsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void keyTable_data();
    void keyTable();
    void menuTable_data();
    void menuTable();
    void keysTypedInTheFocusedListActOnIt();
    void activeListFollowsFocusAndRightClick();
    void popupMenuDeletesInTheRightClickedList();
    void deletedFileIsTheOneOnTheRowsSide();
    void headerClickSorts_data();
    void headerClickSorts();
    void sortOrderHoldsForRowsAddedLater();
    void doubleClickAndOpenFile();
    void refusedWhileRunning();

private:
    QTemporaryDir m_config;
};

void MainFormResultsTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

// Every key and modifier combination that matters, in both lists. The list holds a, -b, c
// with b selected; questions are answered No.
void MainFormResultsTest::keyTable_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after"); // rows afterwards, or the question asked
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    const int meta = Qt::MetaModifier, keypad = Qt::KeypadModifier;
    const QString deleteFile = "?Permenantly Delete [b] from  [%1]";
    const QString deleteUnchecked = "?Permenantly Delete All UnChecked Files From Disk";
    const struct
    {
        const char* tag;
        int key;
        int modifiers;
        QString after;
    } rows[] = {
        {"Del", Qt::Key_Delete, 0, deleteFile},
        {"Shift+Del", Qt::Key_Delete, shift, deleteUnchecked},
        {"Shift+keypad Del", Qt::Key_Delete, shift | keypad, deleteUnchecked},
        {"Ctrl+Del", Qt::Key_Delete, ctrl, deleteFile},
        {"Alt+Del", Qt::Key_Delete, alt, deleteFile},
        {"Shift+Ctrl+Del", Qt::Key_Delete, shift | ctrl, deleteFile},
        {"Shift+Alt+Del", Qt::Key_Delete, shift | alt, deleteFile},
        {"Ctrl+A", Qt::Key_A, ctrl, "a b c"},
        {"Ctrl+U", Qt::Key_U, ctrl, "-a -b -c"},
        {"Ctrl+I", Qt::Key_I, ctrl, "-a b -c"},
        {"Ctrl+keypad I", Qt::Key_I, ctrl | keypad, "-a b -c"},
        {"A", Qt::Key_A, 0, "a -b c"},
        {"Shift+A", Qt::Key_A, shift, "a -b c"},
        {"Ctrl+Shift+A", Qt::Key_A, ctrl | shift, "a -b c"},
        {"Ctrl+Alt+U", Qt::Key_U, ctrl | alt, "a -b c"},
        {"Ctrl+Meta+I", Qt::Key_I, ctrl | meta, "a -b c"},
        {"I", Qt::Key_I, 0, "a -b c"},
        {"Alt+I", Qt::Key_I, alt, "a -b c"},
        {"Ctrl+B", Qt::Key_B, ctrl, "a -b c"},
        {"Backspace", Qt::Key_Backspace, 0, "a -b c"},
    };
    for (const auto& r : rows) {
        QTest::addRow("ListView1 %s", r.tag) << r.key << r.modifiers << r.after;
        QTest::addRow("ListView2 %s", r.tag) << r.key << r.modifiers << r.after;
    }
}

void MainFormResultsTest::keyTable()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    const int list = QString(QTest::currentDataTag()).startsWith("ListView1") ? 1 : 2;
    Window w;
    w.fill(1, {"a", "-b", "c"});
    w.fill(2, {"a", "-b", "c"});
    w.select(list, 1);
    // Keys act on the list they are typed in, whichever list was active before.
    w.state().ActiveResultList = &w.model(3 - list);
    QTest::keyRelease(w.view(list), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (after.startsWith('?')) {
        QCOMPARE(w.questions, QStringList{after.mid(1).arg(w.folder(list))});
        after = "a -b c";
    } else {
        QCOMPARE(w.questions, QStringList{});
    }
    QCOMPARE(w.shown(list), after);
    QCOMPARE(w.shown(3 - list), QString("a -b c"));
    for (const char* name : {"a", "b", "c"})
        QVERIFY(w.exists(1, name) && w.exists(2, name));
}

// The popup menu's items on the active list; b is selected, questions are answered Yes.
void MainFormResultsTest::menuTable_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("question");
    const QString checked = "Permenantly Delete All Checked Files From Disk";
    const QString unchecked = "Permenantly Delete All UnChecked Files From Disk";
    const struct
    {
        const char* item;
        const char* after;
        QString question;
    } rows[] = {
        {"DeleteFile", "a c -d", "Permenantly Delete [b] from  [%1]"},
        {"DeleteChecked", "-b -d", checked},
        {"DeleteUnchecked", "a c", unchecked},
        {"CheckUnCheckFile", "a b c -d", ""},
        {"CheckAll", "a b c d", ""},
        {"UnCheckAll", "-a -b -c -d", ""},
        {"InvertChecking", "-a b -c d", ""},
    };
    for (const auto& r : rows)
        QTest::newRow(r.item) << r.item << r.after << r.question;
}

void MainFormResultsTest::menuTable()
{
    QFETCH(QString, item);
    QFETCH(QString, after);
    QFETCH(QString, question);
    Window w;
    w.fill(1, {"a", "-b", "c", "-d"});
    QFile::remove(w.tree.path("src/d")); // gone before: its row goes with any delete of it
    w.fill(2, {"a", "-b"});
    w.select(1, 1);
    w.state().ActiveResultList = &w.state().ListView1;
    w.answers = {true};
    w.action(item.toLatin1())->trigger();
    QCOMPARE(w.shown(1), after);
    QCOMPARE(w.questions,
             question.isEmpty() ? QStringList{} : QStringList{question.arg(w.folder(1))});
    const QStringList listed = after.split(' ');
    for (const char* name : {"a", "b", "c"})
        QCOMPARE(w.exists(1, name), listed.contains(name) || listed.contains(QString("-") + name));
    QCOMPARE(w.shown(2), QString("a -b"));
    QVERIFY(w.exists(2, "a") && w.exists(2, "b"));
}

void MainFormResultsTest::keysTypedInTheFocusedListActOnIt()
{
    Window w;
    w.fill(1, {"a", "-b", "c"});
    w.fill(2, {"x"});
    w.ListView1->setFocus();
    QTRY_VERIFY(w.ListView1->hasFocus());
    w.select(1, 1);
    // The whole key stroke: the view's own Ctrl+A (select all) must not change the selection.
    QTest::keyClick(w.ListView1, Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(w.shown(1), QString("-a -b -c"));
    QTest::keyClick(w.ListView1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.shown(1), QString("a b c"));
    QCOMPARE(w.ListView1->selectionModel()->selectedRows().size(), 1);
    w.answers = {true};
    QTest::keyClick(w.ListView1, Qt::Key_Delete);
    QCOMPARE(w.shown(1), QString("a c"));
    QVERIFY(!w.exists(1, "b"));
    QCOMPARE(w.shown(2), QString("x"));
}

void MainFormResultsTest::activeListFollowsFocusAndRightClick()
{
    Window w;
    w.fill(1, {"a"});
    w.fill(2, {"x", "y"});
    w.ListView2->setFocus();
    QTRY_COMPARE(w.state().ActiveResultList, &w.state().ListView2);
    w.ListView1->setFocus();
    QTRY_COMPARE(w.state().ActiveResultList, &w.state().ListView1);

    // Middle and left buttons show no menu, and only the focus makes a list active.
    w.form.ListView_MouseDown(w.state().ListView2, Qt::MiddleButton, QPoint(10, 10));
    w.form.ListView_MouseDown(w.state().ListView2, Qt::LeftButton, QPoint(10, 10));
    QCOMPARE(w.state().ActiveResultList, &w.state().ListView1);
    QVERIFY(!w.FileMenu->isVisible());

    // The right button makes the list active and opens the menu on the press.
    QTest::mousePress(w.ListView2->viewport(), Qt::RightButton, {}, w.rowPoint(2, 1));
    QCOMPARE(w.state().ActiveResultList, &w.state().ListView2);
    QTRY_VERIFY(w.FileMenu->isVisible());
    w.FileMenu->hide();
    QTest::mouseRelease(w.ListView2->viewport(), Qt::RightButton, {}, w.rowPoint(2, 1));
}

void MainFormResultsTest::popupMenuDeletesInTheRightClickedList()
{
    Window w;
    w.fill(1, {"x", "y"});
    w.fill(2, {"x", "y"});
    w.ListView1->setFocus();
    w.select(1, 1);
    QTRY_COMPARE(w.state().ActiveResultList, &w.state().ListView1);
    QTest::mousePress(w.ListView2->viewport(), Qt::RightButton, {}, w.rowPoint(2, 1));
    QTRY_VERIFY(w.FileMenu->isVisible());
    w.answers = {true};
    w.action("DeleteFile")->trigger();
    w.FileMenu->hide();
    QCOMPARE(w.questions, QStringList{"Permenantly Delete [y] from  [" + w.folder(2) + "]"});
    QCOMPARE(w.shown(2), QString("x"));
    QCOMPARE(w.shown(1), QString("x y"));
    QVERIFY(!w.exists(2, "y"));
    QVERIFY(w.exists(1, "y"));
}

void MainFormResultsTest::deletedFileIsTheOneOnTheRowsSide()
{
    Window w;
    w.fill(1, {"same", "stuck"});
    w.fill(2, {"same"});
    QFile::remove(w.tree.path("src/stuck"));
    w.tree.add({"src/stuck/inner", 1}); // a folder: unlink fails, also as root
    w.state().ActiveResultList = &w.state().ListView1;
    w.answers = {false, true, true};
    w.select(1, 0);
    w.action("DeleteFile")->trigger(); // No
    QVERIFY(w.exists(1, "same"));
    w.action("DeleteFile")->trigger(); // Yes
    QVERIFY(!w.exists(1, "same"));
    QVERIFY(w.exists(2, "same"));
    QCOMPARE(w.shown(1), QString("stuck"));
    w.select(1, 0);
    w.action("DeleteFile")->trigger(); // Yes, but the folder stays and so does its row
    QCOMPARE(w.shown(1), QString("stuck"));
    QCOMPARE(w.questions.size(), 3);
}

void MainFormResultsTest::headerClickSorts_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("order");
    QTest::newRow("Name") << int(ResultListModel::Name) << "_ A a b C";
    QTest::newRow("Source") << int(ResultListModel::Source) << "_ A a b C";
    QTest::newRow("Target") << int(ResultListModel::Target) << "C b a A _";
    QTest::newRow("Status") << int(ResultListModel::Status) << "A C _ b a";
    QTest::newRow("Last Modified") << int(ResultListModel::LastModified) << "a A C _ b";
    QTest::newRow("size(KB)") << int(ResultListModel::SizeKB) << "_ C A b a";
}

void MainFormResultsTest::headerClickSorts()
{
    QFETCH(int, column);
    QFETCH(QString, order);
    Window w;
    struct
    {
        const char* name;
        const char* source;
        const char* target;
        ResultRow::Status status;
        qint64 modified;
        qint64 kb;
    } rows[] = {
        {"b", "/x/B", "/y/2", ResultRow::Status::OverWrite, Jan2020 + 5, 10},
        {"A", "/x/a", "/y/4", ResultRow::Status::NewFile, Jan2020, 9},
        {"a", "/x/A", "/Y/3", ResultRow::Status::OverWrite, Dec2019, 1234},
        {"C", "/x/b", "/y/1", ResultRow::Status::NewFile, Jan2020, 2},
        {"_", "/x/_", "/y/5", ResultRow::Status::NewFile, Jan2020 + 1, 0},
    };
    for (const auto& r : rows) {
        ResultRow row;
        row.name = r.name;
        row.sourceFolder = r.source;
        row.targetFolder = r.target;
        row.status = r.status;
        row.modified = r.modified;
        row.sizeKB = r.kb;
        row.sizeBytes = r.kb * 1024;
        w.state().ListView2.append(row);
    }
    w.state().ListView2.flush();
    QHeaderView* header = w.ListView2->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.shown(2), order);
    QCOMPARE(header->sortIndicatorSection(), column);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(w.shown(1), QString());

    // The same header again changes nothing: no descending order.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.shown(2), order);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

void MainFormResultsTest::sortOrderHoldsForRowsAddedLater()
{
    Window w;
    // A real scan of one entry; the sort column chosen before it holds for its rows.
    w.tree.add({{"src/m.txt", 5000, Jan2020},
                {"src/sub/B.txt", 100, Jan2020},
                {"tgt/z.txt", 3000, Jan2020}});
    w.state().ProfileList.append({w.tree.path("src"), w.tree.path("tgt"), "*", ""});
    w.form.ListView_ColumnClick(w.state().ListView1, ResultListModel::SizeKB);
    w.form.ListView_ColumnClick(w.state().ListView2, ResultListModel::Name);
    w.form.ScanCmd_Click();
    QCOMPARE(w.shown(1), QString("B.txt m.txt"));
    QCOMPARE(w.shown(2), QString("z.txt"));

    w.tree.add(
        {{"src/a.txt", 9000, Jan2020}, {"tgt/sub/Y.txt", 1, Jan2020}, {"tgt/a2.txt", 1, Jan2020}});
    w.form.ScanCmd_Click();
    QCOMPARE(w.shown(1), QString("B.txt m.txt a.txt"));
    QCOMPARE(w.shown(2), QString("a2.txt Y.txt z.txt"));
    QCOMPARE(w.ListView1->header()->sortIndicatorSection(), int(ResultListModel::SizeKB));
}

void MainFormResultsTest::doubleClickAndOpenFile()
{
    Window w;
    w.fill(1, {"one"});
    w.fill(2, {"x", "y"});
    w.select(2, 1);
    w.select(1, 0);
    // "Open File" before any list was active: ListView2's selected row. (Showing the window
    // gives ListView1 the focus, which makes it active.)
    w.state().ActiveResultList = nullptr;
    w.action("OpenFile")->trigger();
    QCOMPARE(w.opened, QStringList{w.folder(2) + "/y"});

    // A double-click on another row: its first press selects the row that then opens.
    w.select(2, 0);
    QTest::mouseClick(w.ListView2->viewport(), Qt::LeftButton, {}, w.rowPoint(2, 1));
    QTest::mouseDClick(w.ListView2->viewport(), Qt::LeftButton, {}, w.rowPoint(2, 1));
    QCOMPARE(w.opened.size(), 2);
    QCOMPARE(w.opened.last(), w.folder(2) + "/y");
    // Below the last row: still the selected row's file.
    QTest::mouseDClick(w.ListView2->viewport(), Qt::LeftButton, {},
                       QPoint(10, w.ListView2->viewport()->height() - 5));
    QCOMPARE(w.opened.size(), 3);
    QCOMPARE(w.opened.last(), w.folder(2) + "/y");

    w.state().ActiveResultList = &w.state().ListView1;
    w.select(1, 0);
    w.action("OpenFile")->trigger();
    QCOMPARE(w.opened.last(), w.folder(1) + "/one");

    // A vanished file and a list without a selection open nothing.
    const int before = w.opened.size();
    QFile::remove(w.tree.path("src/one"));
    w.action("OpenFile")->trigger();
    w.ListView2->selectionModel()->clearSelection();
    w.form.ListView_DblClick(w.state().ListView2);
    QCOMPARE(w.opened.size(), before);
}

void MainFormResultsTest::refusedWhileRunning()
{
    Window w;
    w.fill(1, {"a", "-b"});
    w.select(1, 0);
    w.state().ActiveResultList = &w.state().ListView1;
    w.state().running = Running::Sync;
    w.answers = {true, true, true, true};
    for (int key : {int(Qt::Key_A), int(Qt::Key_U), int(Qt::Key_I)})
        QTest::keyRelease(w.ListView1, Qt::Key(key), Qt::ControlModifier);
    QTest::keyRelease(w.ListView1, Qt::Key_Delete);
    QTest::keyRelease(w.ListView1, Qt::Key_Delete, Qt::ShiftModifier);
    for (QAction* a : w.FileMenu->actions())
        a->trigger();
    w.form.ListView_ColumnClick(w.state().ListView1, ResultListModel::Name);
    w.form.ListView_DblClick(w.state().ListView1);
    QCOMPARE(w.shown(1), QString("a -b"));
    QCOMPARE(w.questions, QStringList{});
    QCOMPARE(w.opened, QStringList{});
    QCOMPARE(w.state().ListView1.sortColumn(), -1);
    QVERIFY(!w.ListView1->header()->isSortIndicatorShown());
    QVERIFY(w.exists(1, "a") && w.exists(1, "b"));

    // The menu still opens, its commands disabled; they are enabled again once idle.
    w.FileMenu->popup(QPoint(0, 0));
    QTRY_VERIFY(w.FileMenu->isVisible());
    for (QAction* a : w.FileMenu->actions())
        QVERIFY(!a->isEnabled());
    w.FileMenu->hide();
    w.state().running = Running::Idle;
    w.FileMenu->popup(QPoint(0, 0));
    QTRY_VERIFY(w.FileMenu->isVisible());
    for (QAction* a : w.FileMenu->actions())
        QVERIFY(a->isEnabled());
    w.FileMenu->hide();
}

QTEST_MAIN(MainFormResultsTest)
#include "mainform_results_test.moc"
