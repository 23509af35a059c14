// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/entry_roots.h"

#include "core/known_roots.h"
#include "core/sync_history.h"

#include "core/name_bytes.h"
#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <map>
#include <sys/stat.h>

namespace {

QString filesText(int count)
{
    return count == 1 ? QCoreApplication::translate("Sync", "1 file")
                      : QCoreApplication::translate("Sync", "%1 files").arg(count);
}

// What the rows of one entry in the list need of its receiving root.
struct Receiving
{
    const RootState* root = nullptr;
    const RootState* other = nullptr; // the root the files come from
    int checked = 0;                  // rows to be copied into it
};

// Whether a missing root, made now, would be on the file system it was on at its last
// synchronization. A disk that is not mounted may have taken its mount point along: the
// folder would be made on the disk above it.
bool madeOnUsualDisk(const QString& root)
{
    const std::optional<KnownRoots::Place> usual = KnownRoots::Store::read().recalled(root);
    if (!usual)
        return true;
    QString existing = root;
    struct stat st;
    while (existing.size() > 1 && ::stat(nameBytes(existing).constData(), &st) != 0) {
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        existing = slash > 0 ? existing.left(slash) : QStringLiteral("/");
    }
    const FileSystemInfo fs = fileSystemOf(existing);
    return fs.error == 0 && fs.identity == usual->identity;
}

} // namespace

std::set<quint32> refuseMissingRoots(AppState& state, const Callbacks& cb,
                                     const ResultListModel& list, SyncRun& run)
{
    const bool intoSource = &list == &state.targetRows;
    std::map<quint32, Receiving> entries;
    for (const ResultRow& row : list.rows()) {
        if (row.entry() >= state.scannedEntries.size())
            continue;
        const ScannedEntry& scanned = state.scannedEntries[row.entry()];
        Receiving& r = entries[row.entry()];
        r.root = intoSource ? &scanned.source : &scanned.target;
        r.other = intoSource ? &scanned.target : &scanned.source;
        r.checked += row.checked ? 1 : 0;
    }
    // Rows into each missing root, over all entries that share it: the question counts them.
    std::map<QString, int> missing;
    std::map<quint32, Failure> problems; // entry -> why its root is not written
    std::set<quint32> refused;
    for (const auto& [entry, r] : entries) {
        struct stat st;
        if (::stat(nameBytes(r.root->path).constData(), &st) == 0) {
            // There at the scan and there now, but on another device: the disk that held it
            // was unmounted and the empty mount point shows.
            if (r.root->fs.device != 0 && st.st_dev != r.root->fs.device)
                problems[entry] = failure(
                    ErrorKind::RootMoved, 0,
                    QStringLiteral("%1 is no longer on the disk it was on at the scan: is the "
                                   "disk mounted?")
                        .arg(displayName(r.root->path)));
        } else if (errno == ENOENT) {
            // Not even the folders of unchecked rows are made in a root nobody agreed to.
            if (r.checked > 0 && !madeOnUsualDisk(r.root->path))
                problems[entry] = failure(
                    ErrorKind::RootNotOnUsualDisk, ENOENT,
                    QCoreApplication::translate(
                        "Sync", "The folder %1 does not exist, and made now it would not be "
                                "on its usual disk: is the disk mounted?")
                        .arg(displayName(r.root->path)));
            else if (r.checked > 0)
                missing[r.root->path] += r.checked;
            else
                refused.insert(entry);
        }
    }
    for (const auto& [root, count] : missing) {
        if (run.rootAnswers.count(root))
            continue;
        const QString question =
            QCoreApplication::translate(
                "Sync", "The folder %1 does not exist. Create it and copy %2 into it?")
                .arg(displayName(root), filesText(count));
        run.rootAnswers[root] = state.control.createRoots ||
                                (!state.control.unattended && cb.askYesNo && cb.askYesNo(question));
    }

    for (const auto& [entry, r] : entries) {
        Failure why = problems.count(entry) ? problems[entry] : Failure();
        if (!why.failed() && missing.count(r.root->path) && !run.rootAnswers[r.root->path])
            why = failure(
                ErrorKind::RootNotCreated, ENOENT,
                (state.control.unattended
                     ? QCoreApplication::translate("Sync", "The folder %1 does not exist (an "
                                                           "unattended run does not create it): %2")
                     : QCoreApplication::translate("Sync", "The folder %1 does not exist: %2"))
                    .arg(displayName(r.root->path),
                         r.checked == 1
                             ? QCoreApplication::translate("Sync", "1 file was not copied")
                             : QCoreApplication::translate("Sync", "%1 files were not copied")
                                   .arg(r.checked)));
        if (!why.failed())
            continue;
        refused.insert(entry);
        run.refusedEntries.insert(entry);
        reportError(state.errorRows, cb, errorRow(why, QString(), r.other->path, r.root->path));
    }
    return refused;
}

Failure rememberRootPlaces(const AppState& state, const SyncRun& run)
{
    std::vector<std::pair<QString, KnownRoots::Place>> places;
    for (quint32 e = 0; e < state.scannedEntries.size(); ++e) {
        const ScannedEntry& entry = state.scannedEntries[e];
        // An entry that the scan or this run refused taught nothing.
        const auto usable = [](const RootState& r) {
            return r.problem == RootState::None || r.problem == RootState::Missing;
        };
        if (run.refusedEntries.count(e) || !usable(entry.source) || !usable(entry.target))
            continue;
        for (const RootState* root : {&entry.source, &entry.target}) {
            const FileSystemInfo fs = fileSystemOf(root->path); // a root just created too
            if (fs.error == 0 && !fs.identity.isEmpty())
                places.push_back({root->path, {fs.identity, fs.mountPoint}});
        }
    }
    const int error = places.empty() ? 0 : KnownRoots::remember(places);
    if (error == 0)
        return {};
    return failure(ErrorKind::RootsNotRemembered, error,
                   withSystemMessage(QCoreApplication::translate(
                                         "Sync", "Remembering the disks of the roots in %1 failed")
                                         .arg(KnownRoots::storePath()),
                                     error));
}

void rememberSynchronized(const AppState& state, const SyncRun& run)
{
    SyncHistory::Entries synchronized;
    const qint64 ended = QDateTime::currentSecsSinceEpoch();
    for (quint32 e = 0; e < state.scannedEntries.size(); ++e) {
        const ScannedEntry& entry = state.scannedEntries[e];
        if (run.refusedEntries.count(e) || entry.source.problem != RootState::None ||
            entry.target.problem != RootState::None)
            continue;
        synchronized[{entry.source.path, entry.target.path}] = {run.started / 1'000'000'000, ended};
    }
    if (!synchronized.empty())
        SyncHistory::remember(synchronized);
}

void reportRootsLeftMissing(AppState& state, const Callbacks& cb)
{
    std::set<QString> told; // roots an error row of this run is about already
    for (const ErrorRow& e : state.errorRows.rows())
        if (!e.beforeCopies() && !e.target.isEmpty())
            told.insert(e.target);
    const auto isTold = [&told](const QString& root) {
        return std::any_of(told.begin(), told.end(),
                           [&root](const QString& t) { return isSameOrBelow(t, root); });
    };
    std::set<QString> reported;
    for (const ScannedEntry& entry : state.scannedEntries)
        for (const RootState* root : {&entry.source, &entry.target}) {
            struct stat st;
            if (root->problem != RootState::Missing || reported.count(root->path) ||
                ::stat(nameBytes(root->path).constData(), &st) == 0 || isTold(root->path))
                continue;
            reported.insert(root->path);
            const RootState* other = root == &entry.source ? &entry.target : &entry.source;
            reportError(state.errorRows, cb,
                        errorRow(rootFailure(*root), QString(), other->path, root->path));
        }
}
