// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "core/run_log.h"

// ketrano-cli log [-n N]: the last runs from the run log.

namespace {

int runLog(const QCommandLineParser& parser, const QString&)
{
    bool ok = true;
    const int count = optionValue(parser, QStringLiteral("lines"), QStringLiteral("10")).toInt(&ok);
    if (!ok || count < 0)
        return usageError(logCommand(), QStringLiteral("-n takes a number of runs"));
    QStringList lines;
    QString error;
    if (!RunLog::lastLines(count, lines, &error)) {
        cliError(QStringLiteral("log: ") + error);
        return CliExit::BadInput;
    }
    for (const QString& line : lines)
        if (!writeOut(line + QLatin1Char('\n')))
            break;
    flushOut();
    return CliExit::Ok;
}

} // namespace

const CliCommand& logCommand()
{
    static const CliCommand command{
        QStringLiteral("log"),
        QString(),
        QStringLiteral("[-n N]"),
        QStringLiteral("show the last unattended runs"),
        QStringLiteral(
            "Prints the last lines of the run log, oldest first. Every sync, and every run of\n"
            "the window started with a profile, adds one line of tab-separated fields: the\n"
            "time (UTC), the program, the profile, the directions, files=, kb= (copied),\n"
            "errors= (failed copies) and status= (the exit status; 3: another run held the\n"
            "profile). The log is $XDG_STATE_HOME/ketrano/runs.log\n"
            "(~/.local/state/ketrano/runs.log)."),
        {QCommandLineOption(QStringList{QStringLiteral("n"), QStringLiteral("lines")},
                            QStringLiteral("how many runs (default 10)"), QStringLiteral("N"))},
        runLog};
    return command;
}
