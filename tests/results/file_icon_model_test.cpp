// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/file_icon_model.h"
#include "results/result_model.h"

#include <QTest>

// Rows added with "Show Icons " pressed show their file type's icon beside the name, one per type.
class FileIconModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconsPerTypeOnlyForRowsThatAskForOne()
    {
        ResultListModel list(QStringLiteral("ListView1"));
        for (const char* name : {"a.txt", "b.TXT", "c.png", "d.txt"}) {
            ResultRow row(name, "/nowhere", "/t");
            row.hasIcon = name[0] != 'd';
            list.append(row);
        }
        list.flush();
        FileIconModel icons;
        icons.setSourceModel(&list);
        auto icon = [&](int row, int column = ResultListModel::Name) {
            return icons.index(row, column).data(Qt::DecorationRole);
        };
        QVERIFY(!icon(0).value<QIcon>().isNull());
        QVERIFY(!icon(2).value<QIcon>().isNull());
        QVERIFY(!icon(3).isValid());                          // added with icons off
        QVERIFY(!icon(0, ResultListModel::Source).isValid()); // only beside the name
        QCOMPARE(icons.cachedTypes(), 2);                     // text/plain and image/png
        icon(1);
        QCOMPARE(icons.cachedTypes(), 2); // b.TXT is text/plain too: no second lookup

        icons.ResetIconList();
        QCOMPARE(icons.cachedTypes(), 0);
        QVERIFY(!icon(0).value<QIcon>().isNull());
    }
};

QTEST_MAIN(FileIconModelTest)
#include "file_icon_model_test.moc"
