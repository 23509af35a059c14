// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/stale_partials.h"

#include "core/name_bytes.h"
#include "core/path_text.h"
#include "sync/partial_copy_name.h"

#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

namespace {
qint64 nanoseconds(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
} // namespace

void removeStalePartials(const AppState& state, const ResultListModel& list,
                         const std::set<quint32>& refused, qint64 runStarted)
{
    bool any = false;
    for (const ScannedEntry& entry : state.scannedEntries)
        any = any || !entry.partials.empty();
    if (!any)
        return;
    QSet<QString> written;
    for (const ResultRow& row : list.rows())
        if (row.checked && !refused.count(row.entry()))
            written.insert(row.targetFolder());
    for (const ScannedEntry& entry : state.scannedEntries) {
        for (const ScannedEntry::Partial& p : entry.partials) {
            if (!written.contains(p.folder) || !isPartialCopyName(p.name))
                continue;
            const QByteArray path = nameBytes(joinPath(p.folder, p.name));
            struct stat st;
            if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
                nanoseconds(st.st_mtim) < runStarted && nanoseconds(st.st_ctim) < runStarted)
                ::unlink(path.constData());
        }
    }
}
