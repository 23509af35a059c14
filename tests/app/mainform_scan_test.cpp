#include "app/mainform.h"
#include "support/temp_tree.h"

#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>

// The window's Scan: lists, icons, status panels and the progress range.
class MainFormScanTest : public QObject
{
    Q_OBJECT

    QTemporaryDir config;
    TempTree source, target;
    std::unique_ptr<MainForm> form;

    QAbstractItemModel* list(const char* n) { return form->findChild<QTreeView*>(n)->model(); }
    QLabel* bar(int i) { return form->findChild<QLabel*>("StatusBar1_Panel" + QString::number(i)); }
    // Scans, running 'during' at the first turn of the event loop inside the scan.
    void scanWith(const std::function<void()>& during)
    {
        const std::function<void()> yield = form->callbacks().yield;
        bool done = false;
        form->callbacks().yield = [&] {
            if (!std::exchange(done, true))
                during();
            yield();
        };
        form->state().lastYield.invalidate();
        form->ScanCmd_Click();
        form->callbacks().yield = yield;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        source.add({{"a.txt", 2048, 1'000'000'100}, {"sub/b.png", 1024}});
        target.add({{"a.txt"}, {"c.doc", 3072}});
        form = std::make_unique<MainForm>(QString());
        form->state().ProfileList.append({source.root(), target.root(), "*", ""});
        form->show();
    }

    void scanFillsListsPanelsAndProgressRange()
    {
        form->setToggleState(1, true);
        QWidget* scanButton = form->findChild<QWidget*>("tbrMain_4");
        bool refused = false;
        scanWith([&] { refused = !scanButton->isEnabled(); });
        QVERIFY(refused && scanButton->isEnabled()); // no second scan while one runs
        QAbstractItemModel* one = list("ListView1");
        QCOMPARE(one->rowCount(), 2);
        QCOMPARE(list("ListView2")->rowCount(), 1);
        QCOMPARE(one->index(0, 3).data().toString(), QStringLiteral("OverWrite"));
        QCOMPARE(one->index(1, 1).data().toString(), source.root() + "/sub");
        QCOMPARE(one->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!one->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QStringList texts;
        for (int i = 1; i <= 5; ++i)
            texts << bar(i)->text();
        QCOMPARE(texts.join('|'),
                 "Ready  |Source Files: 2|Source Size: 3KB|Target Files: 1|Target Size: 3KB");
        QCOMPARE(form->findChild<QProgressBar*>("ProgressBar1")->maximum(), 7);
    }
};

QTEST_MAIN(MainFormScanTest)
#include "mainform_scan_test.moc"
