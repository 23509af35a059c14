// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_run.h"

#include "cli/cli_commands.h"
#include "cli/cli_stop.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QFileInfo>
#include <QLocale>

#include <clocale>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// The progress line's text, from the run's events and what it counted.
class ProgressText
{
public:
    explicit ProgressText(const AppState& state) : m_state(state) {}

    void note(const RunEvent& event)
    {
        switch (event.type) {
        case RunEvent::ScanStarted:
        case RunEvent::EntryStarted:
            m_copying = false;
            m_entry = event.entry;
            break;
        case RunEvent::SyncStarted:
            m_copying = true;
            m_file.clear();
            break;
        case RunEvent::FileStarted:
            m_file = event.row ? event.row->name : QString();
            break;
        default:
            break;
        }
    }

    QString text() const
    {
        const AppState& s = m_state;
        if (!m_copying)
            return QStringLiteral("Scanning entry %1 of %2: %3 + %4 rows")
                .arg(m_entry + 1)
                .arg(s.profileEntries.size())
                .arg(s.sourceRows.size())
                .arg(s.targetRows.size());
        return QStringLiteral("Copying %1 of %2 files, %3 KB, %4 failed: %5")
            .arg(s.FilesCopied)
            .arg(s.SourceFileCount + s.TargetFileCount)
            .arg(s.KBCopied)
            .arg(s.ErrorCount)
            .arg(m_file);
    }

private:
    const AppState& m_state;
    bool m_copying = false;
    int m_entry = 0;
    QString m_file;
};

} // namespace

void useLocale(bool machineOutput)
{
    if (machineOutput) {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_MESSAGES, "C");
    } else {
        QLocale::setDefault(QLocale::system());
    }
}

bool loadProfileForCli(const QString& path, AppState& state)
{
    std::vector<ProfileEntry> entries;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        cliError(QStringLiteral("profile file \"%1\" does not exist").arg(path));
        return false;
    }
    std::vector<ProfileFile::SkippedRecord> damaged;
    if (!ProfileFile::read(path, entries, &damaged)) {
        cliError(QStringLiteral("cannot read profile file \"%1\"%2")
                     .arg(path, info.isDir() ? QStringLiteral(": it is a folder") : QString()));
        return false;
    }
    // A damaged profile is not run at all: a path cut short or a stray record would steer the
    // run somewhere else than the profile shows.
    for (const ProfileFile::SkippedRecord& r : damaged)
        cliError(QStringLiteral("damaged profile: ") + ProfileFile::describe(path, r));
    if (!damaged.empty())
        return false;
    state.ProfileFileName = path;
    state.control.unattended = true;
    for (const ProfileEntry& e : entries)
        state.profileEntries.append(e);
    return true;
}

Callbacks terminalCallbacks(AppState& state)
{
    Callbacks cb;
    cb.showIcons = [] { return false; };
    // Scan and Synchronize clear the cancel flag when they start: a stop that came before
    // must still stop them, at their next check.
    const bool terminal = isatty(STDERR_FILENO);
    auto progress = std::make_shared<ProgressText>(state);
    auto shown = std::make_shared<bool>(false);
    cb.event = [progress](const RunEvent& event) { progress->note(event); };
    cb.yield = [&state, progress, shown, terminal] {
        if (stopRequested())
            state.control.CancelRequested = true;
        if (!terminal)
            return;
        const QByteArray text = escapeForLine(progress->text()).left(200).toUtf8();
        std::fprintf(stderr, "\r\033[K%s", text.constData());
        std::fflush(stderr);
        *shown = true;
    };
    cb.busyChanged = [shown](bool busy) {
        if (!busy && *shown) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            *shown = false;
        }
    };
    return cb;
}

RunRequest cliRunRequest(bool copy)
{
    RunRequest request;
    request.scan = true;
    request.copy = copy;
    request.unattended = true;
    request.stopOfRun = [] { return stopRequested() ? stopStatus(CliExit::Ok) : 0; };
    request.program = QStringLiteral("ketrano-cli");
    return request;
}

void reportWarnings(const AppState& state, const RunResult& result)
{
    for (const QString& warning : result.warnings)
        cliError(warning);
    for (const ResultListModel* list : {&state.sourceRows, &state.targetRows})
        for (const ResultRow& r : list->rows())
            if (r.changedOnBothSides)
                cliError(QStringLiteral("changed on both sides since the last synchronization "
                                        "(the older one is kept as a version): %1 and %2")
                             .arg(escapeForLine(r.sourcePath()), escapeForLine(r.targetPath())));
}
