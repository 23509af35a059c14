#include "app/mainform.h"
#include "support/temp_tree.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The window's Scan: lists, icons, status panels, progress range, and the two ways to stop it.
class MainFormScanTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir config;

    struct Window
    {
        TempTree source;
        TempTree target;
        MainForm form{QString()};

        Window()
        {
            source.add({{"a.txt", 2048, 1'000'000'100}, {"sub/b.png", 1024, 1'000'000'000}});
            target.add({{"a.txt", 0, 1'000'000'000}, {"c.doc", 3072, 1'000'000'000}});
            form.state().ProfileList.append({source.root(), target.root(), "*", ""});
            form.show();
        }
        QTreeView* list(const char* name) { return form.findChild<QTreeView*>(name); }
        QString panel(int i)
        {
            return form.findChild<QLabel*>(QStringLiteral("StatusBar1_Panel%1").arg(i))->text();
        }
        // Runs 'during' at the first turn of the event loop inside the scan.
        void scanWith(const std::function<void()>& during)
        {
            const std::function<void()> yield = form.callbacks().yield;
            bool done = false;
            form.callbacks().yield = [&, yield] {
                if (!done) {
                    done = true;
                    during();
                }
                if (yield)
                    yield();
            };
            form.ScanCmd_Click();
            form.callbacks().yield = yield;
        }
    };

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void scanFillsListsPanelsAndProgressRange()
    {
        Window w;
        w.form.setToggleState(1, true);
        bool scanDisabled = false;
        w.scanWith([&] { scanDisabled = !w.form.findChild<QWidget*>("tbrMain_4")->isEnabled(); });
        QVERIFY(scanDisabled); // no second scan while one runs
        QVERIFY(w.form.findChild<QWidget*>("tbrMain_4")->isEnabled());
        QAbstractItemModel* one = w.list("ListView1")->model();
        QAbstractItemModel* two = w.list("ListView2")->model();
        QCOMPARE(one->rowCount(), 2);
        QCOMPARE(two->rowCount(), 1);
        QCOMPARE(one->index(0, 0).data().toString(), QStringLiteral("a.txt"));
        QCOMPARE(one->index(0, 3).data().toString(), QStringLiteral("OverWrite"));
        QCOMPARE(one->index(1, 1).data().toString(), w.source.root() + "/sub");
        QCOMPARE(two->index(0, 2).data().toString(), w.source.root());
        QCOMPARE(one->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!one->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(w.panel(1), QStringLiteral("Ready  "));
        QCOMPARE(w.panel(2), QStringLiteral("Source Files: 2"));
        QCOMPARE(w.panel(3), QStringLiteral("Source Size: 3KB"));
        QCOMPARE(w.panel(4), QStringLiteral("Target Files: 1"));
        QCOMPARE(w.panel(5), QStringLiteral("Target Size: 3KB"));
        QCOMPARE(w.form.findChild<QProgressBar*>("ProgressBar1")->maximum(), 7);

        // Icons off: the next scan's rows show none.
        w.form.setToggleState(1, false);
        w.form.ScanCmd_Click();
        QVERIFY(!one->index(0, 0).data(Qt::DecorationRole).isValid());
    }

    void escStopsTheScan()
    {
        Window w;
        w.scanWith([&] { QTest::keyClick(w.list("ListView1"), Qt::Key_Escape); });
        QCOMPARE(w.panel(1), QStringLiteral("Canceled"));
        QCOMPARE(w.list("ListView1")->model()->rowCount(), 0);
    }

    void doubleClickOnTheFirstPanelStopsTheScan()
    {
        Window w;
        w.scanWith([&] {
            QTest::mouseDClick(w.form.findChild<QLabel*>("StatusBar1_Panel1"), Qt::LeftButton);
        });
        QCOMPARE(w.panel(1), QStringLiteral("Canceled"));
        // A stop between runs has no effect: the next scan clears it.
        w.form.ScanCmd_Click();
        QCOMPARE(w.panel(1), QStringLiteral("Ready  "));
        QCOMPARE(w.list("ListView1")->model()->rowCount(), 2);
    }
};

QTEST_MAIN(MainFormScanTest)
#include "mainform_scan_test.moc"
