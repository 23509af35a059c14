// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_json.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_run.h"
#include "cli/cli_stop.h"
#include "core/plain_text.h"
#include "core/registry/registry.h"
#include "core/run_log.h"
#include "core/settings.h"

#include <QDateTime>
#include <QFileInfo>

// ketrano-cli sync PROFILE: scans the profile, prints the result lists as scan does, copies
// them as the window's Synchronize does, then prints each failed copy and the five status
// panel texts.

namespace {

// A copy direction of this run and where it came from.
struct DirectionSetting
{
    bool on = true;
    QString from;
};

// The option when given, else the toggle as the window saved it, else the window's default.
bool readDirection(const QCommandLineParser& parser, const QString& option,
                   const QString& settingName, DirectionSetting& direction)
{
    if (parser.isSet(option)) {
        const QString value = parser.value(option);
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            usageError(syncCommand(), QStringLiteral("--%1 takes on or off").arg(option));
            return false;
        }
        direction = {value == QLatin1String("on"), QStringLiteral("--") + option};
        return true;
    }
    const QString saved = Registry::CleanValue(Registry::ReadValue(Settings::KeyPath, settingName));
    direction = {Settings::toggleFromSetting(saved), saved.isEmpty()
                                                         ? QStringLiteral("default, nothing saved")
                                                         : QStringLiteral("saved setting")};
    return true;
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QJsonObject jsonDirection(const DirectionSetting& d)
{
    return {{QStringLiteral("on"), d.on}, {QStringLiteral("from"), d.from}};
}

// --quiet after a failure or a stop: the failed copies and one summary line, on stderr.
void reportQuietly(const AppState& state, const RunResult& result, const QString& profile)
{
    for (const ErrorRow& e : state.errorRows.rows()) {
        if (e.beforeCopies()) // said when the scan ended
            continue;
        // A row without a file speaks of a whole entry (a missing root) or of a destination
        // file system (its final flush).
        if (!e.fileName.isEmpty())
            cliError(QStringLiteral("%1 not copied from %2 to %3: %4")
                         .arg(escapeForLine(e.fileName), escapeForLine(e.source),
                              escapeForLine(e.target), escapeForLine(e.error)));
        else if (!e.source.isEmpty())
            cliError(
                QStringLiteral("%1 to %2: %3")
                    .arg(escapeForLine(e.source), escapeForLine(e.target), escapeForLine(e.error)));
        else
            cliError(escapeForLine(e.target) + QStringLiteral(": ") + escapeForLine(e.error));
    }
    const QString stopped =
        stopRequested() ? QStringLiteral(" stopped by ") + stopCause() : QString();
    cliError(QStringLiteral("sync of %1%2: %3 %4 copied (%5 KB), %6 failed")
                 .arg(profile, stopped)
                 .arg(result.filesCopied)
                 .arg(result.filesCopied == 1 ? QStringLiteral("file") : QStringLiteral("files"))
                 .arg(result.kbCopied)
                 .arg(result.errors));
}

// A run refused before it began (an unusable profile, nothing to copy) still has its line in
// the run log, with the same fields as every other run.
int refused(const QString& profile, const DirectionSetting& sourceToTarget,
            const DirectionSetting& targetToSource, int status)
{
    RunRecord record;
    record.program = QStringLiteral("ketrano-cli");
    record.profile = QFileInfo(profile).absoluteFilePath();
    record.sourceToTarget = sourceToTarget.on;
    record.targetToSource = targetToSource.on;
    record.status = status;
    QString error;
    if (!RunLog::append(record, &error))
        cliError(QStringLiteral("cannot write the run log: ") + error);
    return status;
}

int runSync(const QCommandLineParser& parser, const QString& profile)
{
    const bool tsv = parser.isSet(QStringLiteral("tsv"));
    const bool json = parser.isSet(QStringLiteral("json"));
    const bool quiet = parser.isSet(QStringLiteral("quiet"));
    const bool verbose = parser.isSet(QStringLiteral("verbose"));
    if (int(tsv) + int(json) + int(quiet) + int(verbose) > 1)
        return usageError(syncCommand(), QStringLiteral("--tsv, --json, --quiet and --verbose "
                                                        "exclude each other"));
    DirectionSetting sourceToTarget, targetToSource;
    if (!readDirection(parser, QStringLiteral("source-to-target"), Settings::CopySource,
                       sourceToTarget) ||
        !readDirection(parser, QStringLiteral("target-to-source"), Settings::CopyTarget,
                       targetToSource))
        return CliExit::BadInput;

    useLocale(json);
    AppState state;
    installStopHandlers(state.control.CancelRequested, &state.control.abandonCopy);
    if (!loadProfileForCli(profile, state))
        return refused(profile, sourceToTarget, targetToSource, CliExit::BadInput);
    if (!sourceToTarget.on && !targetToSource.on) {
        cliError(QStringLiteral("sync: both copy directions are off (source to target: %1; target "
                                "to source: %2), so nothing would be copied; turn one on with "
                                "--source-to-target on or --target-to-source on")
                     .arg(sourceToTarget.from, targetToSource.from));
        return refused(profile, sourceToTarget, targetToSource, CliExit::BadInput);
    }

    if (!quiet && !tsv && !json) {
        writeOut(QStringLiteral("Source to target: %1 (%2)\nTarget to source: %3 (%4)\n\n")
                     .arg(onOff(sourceToTarget.on), sourceToTarget.from, onOff(targetToSource.on),
                          targetToSource.from));
    }
    Callbacks cb = terminalCallbacks(state, {.progress = !quiet,
                                             .verbose = verbose,
                                             .sourceToTarget = sourceToTarget.on,
                                             .targetToSource = targetToSource.on});
    // The lists are printed as the scan ends (the progress line is gone then), before anything
    // is copied.
    cb.event = [&state, event = cb.event, quiet, json, tsv](const RunEvent& e) {
        event(e);
        if (e.type != RunEvent::ScanFinished)
            return;
        reportScanProblems(state);
        if (!quiet && !json)
            printResultLists(state, tsv);
    };
    RunRequest request = cliRunRequest(true);
    request.createRoots = parser.isSet(QStringLiteral("create-roots"));
    if (parser.isSet(QStringLiteral("keep-versions"))) {
        bool number = false;
        const QString text = parser.value(QStringLiteral("keep-versions"));
        request.keepVersionsDays = text.toInt(&number);
        if (!number || request.keepVersionsDays < 0 ||
            request.keepVersionsDays > Settings::KeepVersionsMost)
            return usageError(syncCommand(),
                              QStringLiteral("--keep-versions takes a whole number of days from 0 "
                                             "to %1")
                                  .arg(Settings::KeepVersionsMost));
    }
    request.directionOn = [&sourceToTarget, &targetToSource](Direction d) {
        return d == Direction::SourceToTarget ? sourceToTarget.on : targetToSource.on;
    };
    const RunResult result = runProfile(state, request, cb);
    if (result.busy) {
        for (const ErrorRow& e : state.errorRows.rows())
            if (e.kind == ErrorKind::ProfileBusy)
                cliError(e.error);
        return result.exitStatus();
    }
    reportWarnings(state, result);

    const int status = result.exitStatus();
    if (json) {
        const QJsonObject directions{
            {QStringLiteral("sourceToTarget"), jsonDirection(sourceToTarget)},
            {QStringLiteral("targetToSource"), jsonDirection(targetToSource)}};
        writeOut(QString::fromUtf8(
            runDocument(QStringLiteral("sync"), state, result, status, stopCause(), directions)));
    } else if (!quiet) {
        printErrors(state.errorRows, tsv);
        printPanels(state, tsv);
    } else if (status != CliExit::Ok) {
        reportQuietly(state, result, profile);
    }
    flushOut();
    return stopStatus(status);
}

} // namespace

const CliCommand& syncCommand()
{
    static const CliCommand command{
        QStringLiteral("sync"),
        QStringLiteral("PROFILE"),
        QStringLiteral("[--tsv | --json | --quiet | --verbose] [--create-roots] "
                       "[--source-to-target on|off] [--target-to-source on|off] "
                       "[--keep-versions DAYS]"),
        QStringLiteral("scan, then copy the differences"),
        QStringLiteral(
            "Scans PROFILE, prints the result lists as scan does, copies the rows as the\n"
            "window's Synchronize does, then prints the failed copies and the five status\n"
            "bar texts. The directions are the window's Copy Source and Copy Target as last\n"
            "saved; the two options change them for this run only. One run of a profile at a\n"
            "time: while another holds it, sync exits with status 3. Each run adds a line to\n"
            "the run log (see ketrano-cli log). A file a copy replaces is kept as a version\n"
            "below its root, in .ketrano-versions (see ketrano-cli versions and restore).\n"
            "On a terminal a progress line on stderr shows the files and bytes done, the\n"
            "speed, the time left and the file being copied."),
        {QCommandLineOption(QStringLiteral("tsv"),
                            QStringLiteral("tab-separated lines as the window shows them (sizes "
                                           "and\ndates in your locale); for scripts prefer "
                                           "--json")),
         QCommandLineOption(QStringLiteral("json"),
                            QStringLiteral("one JSON document with the rows, the failed copies,\n"
                                           "the directions and the totals, the same in every "
                                           "locale")),
         QCommandLineOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                            QStringLiteral("print nothing when every copy succeeded; otherwise "
                                           "only\nthe failed copies and a summary, on stderr "
                                           "(for cron\nand timers); no progress line")),
         QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
                            QStringLiteral("also print each file copied, one line each:\n"
                                           "SOURCE -> DESTINATION")),
         QCommandLineOption(QStringLiteral("create-roots"),
                            QStringLiteral("create a missing Source or Target folder of an "
                                           "entry\nthat files are to be copied into, as the "
                                           "window's Yes\ndoes; never one that would not be on "
                                           "its usual disk")),
         QCommandLineOption(QStringLiteral("source-to-target"),
                            QStringLiteral("copy Source Files to the target side, this run only"),
                            QStringLiteral("on|off")),
         QCommandLineOption(QStringLiteral("target-to-source"),
                            QStringLiteral("copy Target Files to the source side, this run only"),
                            QStringLiteral("on|off")),
         QCommandLineOption(QStringLiteral("keep-versions"),
                            QStringLiteral("keep the versions of replaced files for DAYS days "
                                           "(0: none),\nthis run only (the setting keep-versions, "
                                           "30 unless set)"),
                            QStringLiteral("DAYS"))},
        runSync};
    return command;
}
