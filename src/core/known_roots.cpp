// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/known_roots.h"

#include "core/plain_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <map>
#include <vector>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace KnownRoots {
namespace {

// root -> place, as stored. Lines that do not have three fields are ignored.
std::map<QString, Place> load()
{
    std::map<QString, Place> roots;
    QFile file(storePath());
    if (!file.open(QIODevice::ReadOnly))
        return roots;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (f.size() == 3)
            roots[unescapeField(f[0])] = {unescapeField(f[1]), unescapeField(f[2])};
    }
    return roots;
}

// 0 when the folder can be written or made, else why not.
int folderUnwritable(const QString& folder)
{
    QByteArray path = QFile::encodeName(folder);
    while (!path.isEmpty()) {
        struct stat st;
        if (::stat(path.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return ENOTDIR;
            return ::access(path.constData(), W_OK | X_OK) == 0 ? 0 : errno;
        }
        if (errno != ENOENT)
            return errno;
        const qsizetype slash = path.lastIndexOf('/');
        path = slash > 0 ? path.left(slash) : slash == 0 && path.size() > 1 ? "/" : QByteArray();
    }
    return ENOENT;
}

} // namespace

QString storePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/ketrano/roots");
}

Store Store::read()
{
    Store store;
    store.m_roots = load();
    store.m_unwritable = folderUnwritable(QFileInfo(storePath()).path());
    return store;
}

std::optional<Place> Store::recalled(const QString& root) const
{
    const auto it = m_roots.find(root);
    if (it == m_roots.end())
        return std::nullopt;
    return it->second;
}

int remember(const std::vector<std::pair<QString, Place>>& places)
{
    std::map<QString, Place> roots = load();
    bool changed = false;
    for (const auto& [root, place] : places) {
        auto& stored = roots[root];
        changed =
            changed || stored.identity != place.identity || stored.mountPoint != place.mountPoint;
        stored = place;
    }
    if (!changed)
        return 0;
    const QString path = storePath();
    QDir().mkpath(QFileInfo(path).path());
    if (const int error = folderUnwritable(QFileInfo(path).path()))
        return error;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return errno != 0 ? errno : EIO;
    for (const auto& [root, place] : roots)
        file.write((escapeField(root) + QLatin1Char('\t') + escapeField(place.identity) +
                    QLatin1Char('\t') + escapeField(place.mountPoint) + QLatin1Char('\n'))
                       .toUtf8());
    errno = 0;
    if (!file.commit())
        return errno != 0 ? errno : EIO;
    return 0;
}

} // namespace KnownRoots
