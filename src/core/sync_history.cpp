// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sync_history.h"

#include "core/known_roots.h"
#include "core/plain_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SyncHistory {

QString storePath()
{
    return QFileInfo(KnownRoots::storePath()).path() + QLatin1String("/synced");
}

Entries load()
{
    Entries entries;
    QFile file(storePath());
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(QLatin1Char('\t'));
        bool started = false, ended = false;
        const LastRun run{f.value(2).toLongLong(&started), f.value(3).toLongLong(&ended)};
        if (f.size() == 4 && started && ended)
            entries[{unescapeField(f[0]), unescapeField(f[1])}] = run;
    }
    return entries;
}

bool remember(const Entries& runs)
{
    Entries entries = load();
    for (const auto& [entry, run] : runs)
        entries[entry] = run;
    const QString path = storePath();
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const auto& [entry, run] : entries)
        file.write((escapeField(entry.first) + QLatin1Char('\t') + escapeField(entry.second) +
                    QStringLiteral("\t%1\t%2\n").arg(run.started).arg(run.ended))
                       .toUtf8());
    return file.commit();
}

} // namespace SyncHistory
