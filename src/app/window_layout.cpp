// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_layout.h"

#include "core/registry/registry.h"

#include <QFileInfo>
#include <QSettings>

namespace WindowLayout {
namespace {
const QString Geometry = QStringLiteral("MainForm/geometry");
const QString Splitter = QStringLiteral("MainForm/splitter");
const QString Columns = QStringLiteral("Columns/");
} // namespace

QString filePath()
{
    return QFileInfo(Registry::storeFolder()).path() + QLatin1String("/window.ini");
}

Values read()
{
    Values values;
    QSettings file(filePath(), QSettings::IniFormat);
    values.geometry = file.value(Geometry).toByteArray();
    values.splitter = file.value(Splitter).toByteArray();
    file.beginGroup(Columns.chopped(1));
    for (const QString& list : file.childKeys()) {
        QList<double> shares;
        for (const QString& text : file.value(list).toString().split(QLatin1Char(' '))) {
            bool ok = false;
            const double share = text.toDouble(&ok);
            if (ok)
                shares << share;
        }
        values.shares.insert(list, shares);
    }
    return values;
}

void write(const Values& values)
{
    QSettings file(filePath(), QSettings::IniFormat);
    file.clear();
    file.setValue(Geometry, values.geometry);
    if (!values.splitter.isEmpty())
        file.setValue(Splitter, values.splitter);
    for (auto it = values.shares.cbegin(); it != values.shares.cend(); ++it) {
        QStringList texts;
        for (double share : it.value())
            texts << QString::number(share, 'g', 4);
        file.setValue(Columns + it.key(), texts.join(QLatin1Char(' ')));
    }
}

} // namespace WindowLayout
