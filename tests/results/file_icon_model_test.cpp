#include "results/file_icon_model.h"
#include "results/result_model.h"

#include <QApplication>
#include <QIcon>
#include <QTest>

// The icon proxy of the result lists: rows added with "Show Icons " pressed show their file
// type's icon, one icon per type.
class FileIconModelTest : public QObject
{
    Q_OBJECT

private:
    static ResultRow row(const QString& name, bool icon)
    {
        ResultRow r;
        r.name = name;
        r.sourceFolder = QStringLiteral("/nowhere");
        r.hasIcon = icon;
        return r;
    }

private Q_SLOTS:
    void iconsPerTypeOnlyForRowsThatAskForOne()
    {
        ResultListModel list(QStringLiteral("ListView1"));
        list.append(row(QStringLiteral("a.txt"), true));
        list.append(row(QStringLiteral("b.TXT"), true));
        list.append(row(QStringLiteral("c.png"), true));
        list.append(row(QStringLiteral("d.txt"), false));
        list.flush();
        FileIconModel icons;
        icons.setSourceModel(&list);

        auto decoration = [&](int r, int column = ResultListModel::Name) {
            return icons.data(icons.index(r, column), Qt::DecorationRole);
        };
        QVERIFY(decoration(0).canConvert<QIcon>());
        QVERIFY(!decoration(0).value<QIcon>().isNull());
        QVERIFY(!decoration(2).value<QIcon>().isNull());
        QVERIFY(!decoration(3).isValid());                          // added with icons off
        QVERIFY(!decoration(0, ResultListModel::Source).isValid()); // only beside the name
        QCOMPARE(icons.cachedTypes(), 2);                           // text/plain and image/png
        decoration(1);
        QCOMPARE(icons.cachedTypes(), 2); // b.TXT is text/plain too: no second lookup
        // The other columns pass through unchanged.
        QCOMPARE(icons.data(icons.index(0, ResultListModel::Name), Qt::DisplayRole).toString(),
                 QStringLiteral("a.txt"));

        icons.ResetIconList();
        QCOMPARE(icons.cachedTypes(), 0);
        QVERIFY(!decoration(0).value<QIcon>().isNull());
        QCOMPARE(icons.cachedTypes(), 1);
    }
};

QTEST_MAIN(FileIconModelTest)
#include "file_icon_model_test.moc"
