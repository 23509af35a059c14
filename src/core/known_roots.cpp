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

} // namespace

QString storePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/ketrano/roots");
}

std::optional<Place> recalled(const QString& root)
{
    const std::map<QString, Place> roots = load();
    const auto it = roots.find(root);
    if (it == roots.end())
        return std::nullopt;
    return it->second;
}

bool remember(const std::vector<std::pair<QString, Place>>& places)
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
        return true;
    const QString path = storePath();
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const auto& [root, place] : roots)
        file.write((escapeField(root) + QLatin1Char('\t') + escapeField(place.identity) +
                    QLatin1Char('\t') + escapeField(place.mountPoint) + QLatin1Char('\n'))
                       .toUtf8());
    return file.commit();
}

} // namespace KnownRoots
