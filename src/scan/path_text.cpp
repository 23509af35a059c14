#include "scan/path_text.h"

QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

QString FileNameOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

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
