// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/known_roots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <map>
#include <vector>

namespace KnownRoots {
namespace {

// Fields are separated by tabs; a tab, line end or backslash inside one is escaped.
QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('t')   ? QChar(u'\t')
               : next == QLatin1Char('n') ? QChar(u'\n')
                                          : next;
    }
    return out;
}

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
            roots[unescape(f[0])] = {unescape(f[1]), unescape(f[2])};
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
        file.write((escape(root) + QLatin1Char('\t') + escape(place.identity) + QLatin1Char('\t') +
                    escape(place.mountPoint) + QLatin1Char('\n'))
                       .toUtf8());
    return file.commit();
}

} // namespace KnownRoots
