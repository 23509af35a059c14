// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_run.h"

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_stop.h"
#include "cli/cli_terminal.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QFileInfo>
#include <QLocale>

#include <clocale>
#include <memory>

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

Callbacks terminalCallbacks(AppState& state, const TerminalOutput& output)
{
    Callbacks cb;
    cb.showIcons = [] { return false; };
    std::shared_ptr<TerminalProgress> progress;
    if (output.progress && TerminalProgress::available())
        progress = std::make_shared<TerminalProgress>(
            state, std::array{output.sourceToTarget, output.targetToSource});
    cb.event = [progress, verbose = output.verbose](const RunEvent& event) {
        if (progress)
            progress->note(event);
        if (verbose && event.type == RunEvent::RowPassed && event.outcome == RunEvent::Copied &&
            event.row) {
            if (progress)
                progress->wipe();
            writeOut(escapeForLine(event.row->sourcePath()) + QStringLiteral(" -> ") +
                     escapeForLine(event.row->targetPath()) + QLatin1Char('\n'));
            if (progress)
                flushOut(); // before the line comes back on the same terminal
        }
    };
    // Scan and Synchronize clear the cancel flag when they start: a stop that came before
    // must still stop them, at their next check.
    cb.yield = [&state, progress] {
        if (stopRequested())
            state.control.CancelRequested = true;
        if (progress)
            progress->tick();
    };
    cb.busyChanged = [progress](bool busy) {
        if (!busy && progress)
            progress->wipe();
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
