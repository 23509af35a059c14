// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Paths as the result lists show them, "/"-separated.

// The root, then "/" unless the root already ends with one, then the relative path.
QString joinPath(const QString& root, const QString& relative);
// The folder of joinPath(root, relativeFolder + "/" + name) for any name, without building
// it: the absolute folder of a file whose relative folder is given ("" for the root itself).
QString absoluteFolder(const QString& root, const QString& relativeFolder);
