// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_json.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_run.h"
#include "cli/cli_stop.h"

// ketrano-cli scan PROFILE: scans the profile as the window's Scan does and prints the two
// result lists and the five status panel texts.

namespace {

int runScan(const QCommandLineParser& parser, const QString& profile)
{
    const bool tsv = parser.isSet(QStringLiteral("tsv"));
    const bool json = parser.isSet(QStringLiteral("json"));
    const bool quiet = parser.isSet(QStringLiteral("quiet"));
    if (int(tsv) + int(json) + int(quiet) > 1)
        return usageError(scanCommand(), QStringLiteral("--tsv, --json and --quiet exclude each "
                                                        "other"));
    useLocale(json);

    AppState state;
    installStopHandlers(state.control.CancelRequested);
    if (!loadProfileForCli(profile, state))
        return CliExit::BadInput;
    const Callbacks cb = terminalCallbacks(state, {.progress = !quiet});
    const RunResult result = runProfile(state, cliRunRequest(false), cb);
    // What could not be read is never taken for empty: it is said, and the run did not succeed.
    const int problems = reportScanProblems(state);
    reportWarnings(state, result);

    const bool differs = state.sourceRows.size() + state.targetRows.size() > 0;
    // With --exit-code, as diff does: 1 for differences, 2 for trouble (what could not be read
    // or was refused); without it, trouble is 1.
    const bool exitCode = parser.isSet(QStringLiteral("exit-code"));
    const int trouble = exitCode ? CliExit::BadInput : CliExit::CopyFailed;
    const int status = stopStatus(problems > 0            ? trouble
                                  : (exitCode && differs) ? CliExit::CopyFailed
                                                          : CliExit::Ok);
    if (json) {
        writeOut(QString::fromUtf8(
            runDocument(QStringLiteral("scan"), state, result, status, stopCause())));
    } else if (!quiet) {
        printResultLists(state, tsv);
        printPanels(state, tsv);
    } else if (stopRequested()) {
        cliError(QStringLiteral("scan of %1 stopped by %2").arg(profile, stopCause()));
    }
    flushOut();
    return stopStatus(status);
}

} // namespace

const CliCommand& scanCommand()
{
    static const CliCommand command{
        QStringLiteral("scan"),
        QStringLiteral("PROFILE"),
        QStringLiteral("[--tsv | --json | --quiet] [--exit-code]"),
        QStringLiteral("list what differs between the folders"),
        QStringLiteral("Scans PROFILE as the window's Scan does and prints the two result lists\n"
                       "(Source Files, Target Files) and the five status bar texts. Only reads the "
                       "folders."),
        {QCommandLineOption(QStringLiteral("tsv"),
                            QStringLiteral("one tab-separated line per row, as the window shows "
                                           "it:\nsizes and dates follow your locale and time "
                                           "zone; for scripts\nprefer --json")),
         QCommandLineOption(QStringLiteral("json"),
                            QStringLiteral("one JSON document: sizes in bytes, times in UTC, the "
                                           "same\nin every locale")),
         QCommandLineOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                            QStringLiteral("print nothing (with --exit-code, for monitoring)")),
         QCommandLineOption(QStringLiteral("exit-code"),
                            QStringLiteral("exit with 1 when anything differs, 0 when nothing "
                                           "does,\n2 when something could not be read or was "
                                           "refused"))},
        runScan};
    return command;
}
