// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// The main window's size, position and column widths, kept between runs in a small file of
// their own beside the settings store (ketrano/window.ini in the user's config folder), so the
// four settings keep their key to themselves.
namespace WindowLayout {

struct Values
{
    QByteArray geometry;                 // QWidget::saveGeometry()
    QByteArray splitter;                 // QSplitter::saveState() of the lists' splitter
    QMap<QString, QList<double>> shares; // list name -> column shares the user set
};

QString filePath();
// Missing or unreadable file: empty values.
Values read();
// Best effort: a layout that cannot be written is simply not remembered.
void write(const Values& values);

} // namespace WindowLayout
