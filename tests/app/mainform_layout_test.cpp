// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"
#include "app/window_layout.h"
#include "sync/errorsform.h"

#include <QtTest>
#include <QtWidgets>

#include <map>

// The window's sizes: columns that fit their lists at every size, the smallest window, the
// error list's reasons and how texts too long for their cells are cut (the size and column
// widths kept for the next start are on the road of window_road_test).

namespace {

// Draws as the application's style does, and notes for each list's columns how a text too long
// for its cell is drawn: cut at its "start" or "end", or "wraps" onto more lines.
class CutRecorder : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        if (element == CE_ItemViewItem && item && widget)
            cuts[widget->objectName()][item->index.column()] =
                item->features & QStyleOptionViewItem::WrapText ? "wraps"
                : item->textElideMode == Qt::ElideLeft          ? "start"
                : item->textElideMode == Qt::ElideRight         ? "end"
                                                                : "elsewhere";
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    // Per list, its columns' cuts in column order.
    QString of(const QString& list) const
    {
        QStringList texts;
        for (const auto& [column, cut] : cuts[list])
            texts << cut;
        return texts.join(' ');
    }
    mutable std::map<QString, std::map<int, QString>> cuts;
};

} // namespace

class MainFormLayoutTest : public QObject
{
    Q_OBJECT
    QTemporaryDir config;

    // Whether a cell shows its whole text: on one line, or wrapped within the row's height.
    static bool whole(const QTreeView* v, int row, int column)
    {
        const QModelIndex index = v->model()->index(row, column);
        const QString text = index.data().toString();
        const int width = v->columnWidth(column) - 8; // the cell's margins
        const QRect wrapped =
            v->fontMetrics().boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text);
        return v->fontMetrics().horizontalAdvance(text) <= width ||
               (v->wordWrap() && wrapped.height() <= v->visualRect(index).height());
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path())); }

    void columnsFitFromSmallToLarge_data()
    {
        QTest::addColumn<QLocale>("locale");
        for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German), QLocale(QLocale::French)})
            QTest::newRow(qPrintable(locale.name())) << locale;
    }

    void columnsFitFromSmallToLarge()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        MainForm form{QString()};
        for (int month = 1; month <= 12; ++month) { // evening times, two-digit days
            ResultRow row{"a name.txt", "/home/someone/Documents/Letters", "/media/backup"};
            row.modified = QDateTime(QDate(2026, month, 28), QTime(22, 58, 58)).toSecsSinceEpoch();
            form.state().sourceRows.append(row);
        }
        form.state().sourceRows.flush();
        form.show(); // at its default size no date is cut
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int row = 0; row < 12; ++row)
            QVERIFY(
                whole(form.findChild<QTreeView*>("ListView1"), row, ResultListModel::LastModified));

        form.resize(700, 500); // from small to large in one step: every list fills its width
        QTRY_COMPARE(form.size(), QSize(700, 500));
        form.resize(1280, 900);
        for (const char* name : {"ListView1", "ListView2", "ProfileList"}) {
            const auto* v = form.findChild<QTreeView*>(name);
            QTRY_VERIFY2(v->header()->length() >= 0.95 * v->viewport()->width() &&
                             v->header()->length() <= v->viewport()->width() + 2,
                         name);
        }

        form.resize(100, 100); // the smallest window shows every button and status panel
        QTRY_COMPARE(form.size(), form.minimumSize());
        QVERIFY(form.width() <= 700 && form.height() <= 500);
        for (const QToolBar* bar : form.findChildren<QToolBar*>()) {
            for (QAction* action : bar->actions())
                QVERIFY2(bar->widgetForAction(action)->isVisible(), qPrintable(action->text()));
        }
        for (int i = 1; i <= 5; ++i)
            QVERIFY(form.panel(i)->isVisible() && form.panel(i)->width() >= 60);
    }

    // The window opens within the screen's available area, also when the size or place it
    // remembers is of a larger screen, and on the screen when that place is off it.
    void opensOnTheScreen_data()
    {
        QTest::addColumn<QRect>("remembered"); // empty: nothing remembered
        QTest::newRow("first start") << QRect();
        QTest::newRow("larger than the screen") << QRect(0, 0, 2240, 1440);
        QTest::newRow("off to the right") << QRect(5000, 100, 600, 400);
        QTest::newRow("above and left") << QRect(-3000, -2000, 600, 400);
        QTest::newRow("partly off") << QRect(500, 300, 600, 400);
        QTest::newRow("fits") << QRect(40, 30, 720, 500);
    }

    void opensOnTheScreen()
    {
        QFETCH(QRect, remembered);
        QFile::remove(WindowLayout::filePath());
        if (!remembered.isEmpty()) {
            MainForm before{QString()};
            before.setGeometry(remembered);
            before.Form_QueryUnload(true);
        }
        MainForm form{QString()};
        form.Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect room = form.screen()->availableGeometry();
        QVERIFY2(room.contains(form.frameGeometry()), QTest::toString(form.frameGeometry()));
        if (!remembered.isEmpty() &&
            room.contains(QRect(remembered.topLeft(), remembered.size() + QSize(16, 40))))
            QCOMPARE(form.geometry(), remembered); // a place that fits stays
        form.Form_QueryUnload(true);
    }

    // A folder is cut at its start, so that the end of its path, which tells two rows apart,
    // stays readable; a name at its end; an error reason wraps, and every reason shows whole,
    // on one line or on as many as it needs.
    void foldersAreCutAtTheirStart()
    {
        CutRecorder recorder; // outlives the lists that draw with it
        const QString deep = "/home/someone/" + QString("a folder deep down/").repeated(12);
        MainForm form{QString()};
        form.state().sourceRows.append(
            ResultRow{"a name " + QString("long ").repeated(20), deep, deep});
        form.state().targetRows.append(ResultRow{"b.txt", deep + "b", deep + "b"});
        form.state().sourceRows.flush();
        form.state().targetRows.flush();
        form.state().profileEntries.append({deep, deep, "txt", "tmp"});
        ErrorListModel errors;
        const QString longer = "The destination changed after the scan, and the disk that held "
                               "it is no longer mounted where it was: ";
        errors.append({"c.txt", deep, deep, "The destination is read-only"});
        errors.append({"d.txt", deep, deep, longer + "/media/usb"}); // the window widens
        errors.append({"e.txt", deep, deep, longer.repeated(12)});   // and wraps the rest
        ErrorsForm errorsForm(&errors, nullptr);
        for (QWidget* window : std::initializer_list<QWidget*>{&form, &errorsForm}) {
            for (QTreeView* list : window->findChildren<QTreeView*>())
                list->setStyle(&recorder);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            window->grab();
        }
        const char* const cuts[][2] = {{"ListView1", "end start start end end end"},
                                       {"ListView2", "end start start end end end"},
                                       {"ProfileList", "start start end end"},
                                       {"ErrorsList", "end start start wraps"}};
        for (const auto& [list, cut] : cuts)
            QCOMPARE(recorder.of(list), QString(cut));
        for (int row = 0; row < errors.size(); ++row)
            QTRY_VERIFY2(whole(errorsForm.list(), row, ErrorListModel::Error),
                         qPrintable(QString::number(row)));
        form.Form_QueryUnload(true);
    }
};

QTEST_MAIN(MainFormLayoutTest)
#include "mainform_layout_test.moc"
