// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/path_text.h"

QString joinPath(const QString& root, const QString& relative)
{
    if (root.endsWith(QLatin1Char('/')))
        return root + relative;
    return root + QLatin1Char('/') + relative;
}

QString absoluteFolder(const QString& root, const QString& relativeFolder)
{
    if (!relativeFolder.isEmpty())
        return joinPath(root, relativeFolder);
    return root.endsWith(QLatin1Char('/')) ? root.chopped(1) : root;
}
