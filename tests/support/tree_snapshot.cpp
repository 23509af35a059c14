// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/tree_snapshot.h"

#include "core/name_bytes.h"
#include "sync/partial_copy_name.h"

#include <QHash>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

size_t contentHash(const QByteArray& file)
{
    static char buffer[1 << 20];
    size_t hash = 0;
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        hash = qHash(QByteArrayView(buffer, n), hash);
    ::close(fd);
    return hash;
}

Tree snapshot(const QString& root, bool partials)
{
    Tree tree;
    const std::string base = nameBytes(root).toStdString();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const QByteArray file = QByteArray::fromStdString(it->path().native());
        const QByteArray relative = file.mid(qsizetype(base.size()));
        if (relative.startsWith("/.ketrano-versions/"))
            continue;
        if (it->is_regular_file() &&
            isPartialCopyName(nameText(file.split('/').last())) == partials)
            tree[relative] = contentHash(file);
    }
    return tree;
}
