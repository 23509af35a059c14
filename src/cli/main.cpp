// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "core/plain_text.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

// ketrano-cli: the terminal front end of Ketrano Backup, over the same engine as the window.

namespace {

const QList<const CliCommand*>& commands()
{
    static const QList<const CliCommand*> all{
        &profileNewCommand(),    &profileShowCommand(), &profileAddCommand(), &profileEditCommand(),
        &profileRemoveCommand(), &profileMoveCommand(), &scanCommand(),       &syncCommand(),
        &logCommand(),           &settingsCommand(),    &versionsCommand(),   &restoreCommand()};
    return all;
}

const QString ProfilePrefix = QStringLiteral("profile ");

// "new", "show", ...: the words after "profile".
QStringList profileCommands()
{
    QStringList words;
    for (const CliCommand* c : commands())
        if (c->name.startsWith(ProfilePrefix))
            words << c->name.mid(ProfilePrefix.size());
    return words;
}

const CliCommand* findCommand(const QString& name)
{
    for (const CliCommand* c : commands())
        if (c->name == name)
            return c;
    return nullptr;
}

// "  usage  summary", the summary in its column or on a line of its own below a long usage.
QString overviewLine(const QString& usage, const QString& summary)
{
    constexpr int Column = 34;
    if (usage.size() < Column)
        return QStringLiteral("  ") + usage.leftJustified(Column) + summary + QLatin1Char('\n');
    return QStringLiteral("  ") + wrapWords(usage, 78, 6) + QLatin1Char('\n') +
           QString(Column + 2, QLatin1Char(' ')) + summary + QLatin1Char('\n');
}

QString overview()
{
    QString text = QStringLiteral(
        "Usage: ketrano-cli COMMAND ...\n"
        "\n"
        "Keeps pairs of folders in step, as the Ketrano Backup window does, from a terminal,\n"
        "a script, cron or a systemd timer.\n"
        "\n"
        "Commands:\n");
    for (const CliCommand* c : commands()) {
        QStringList usage{c->name};
        if (const QString arguments = argumentsText(*c); !arguments.isEmpty())
            usage << arguments;
        if (!c->synopsis.isEmpty())
            usage << c->synopsis;
        text += overviewLine(usage.join(QLatin1Char(' ')), c->summary);
    }
    text += overviewLine(QStringLiteral("help [COMMAND]"),
                         QStringLiteral("show the usage of a command (or: COMMAND --help)"));
    text += QStringLiteral(
        "\n"
        "Options:\n"
        "  -h, --help                        show this help\n"
        "  -V, --version                     show the version\n"
        "\n"
        "Exit status: 0 success, 1 some copies failed (also: scan --exit-code found\n"
        "differences; the output could not be written), 2 bad usage or input (also:\n"
        "scan --exit-code could not read or was refused something),\n"
        "3 another run of the profile is in progress, 130 interrupted by Ctrl+C,\n"
        "143 stopped by SIGTERM, 129 stopped by SIGHUP.\n");
    return text;
}

// The usage of "profile", "profile show", "scan", ...; empty for no such command.
QString usageOf(const QString& name)
{
    if (const CliCommand* c = findCommand(name))
        return commandUsage(*c);
    if (name == QLatin1String("profile")) {
        QStringList usages;
        for (const QString& sub : profileCommands())
            usages << commandUsage(*findCommand(ProfilePrefix + sub));
        return usages.join(QLatin1Char('\n'));
    }
    if (name == QLatin1String("help"))
        return overview();
    return {};
}

int help(const QStringList& words)
{
    const QString usage = words.isEmpty() ? overview() : usageOf(words.join(QLatin1Char(' ')));
    if (usage.isEmpty()) {
        cliError(QStringLiteral("help: no command \"%1\"; see ketrano-cli --help")
                     .arg(words.join(QLatin1Char(' '))));
        return CliExit::BadInput;
    }
    writeOut(usage);
    return CliExit::Ok;
}

bool isHelp(const QString& arg)
{
    return arg == QLatin1String("-h") || arg == QLatin1String("--help");
}

int runCommandLine(QStringList args)
{
    if (args.isEmpty()) {
        std::fputs(qPrintable(overview()), stderr);
        return CliExit::BadInput;
    }
    QString name = args.takeFirst();
    if (isHelp(name))
        return help({});
    if (name == QLatin1String("help"))
        return help(args);
    // -v is not the version: to rsync, restic and borg users it reads as verbose.
    if (name == QLatin1String("-V") || name == QLatin1String("--version")) {
        writeOut(QStringLiteral("ketrano-cli (Ketrano Backup) %1\n")
                     .arg(QLatin1String(KETRANO_VERSION)));
        writeOut(QStringLiteral("License GPL-3.0-or-later: GNU GPL version 3 or later "
                                "<https://gnu.org/licenses/gpl.html>.\n"
                                "This is free software: you are free to change and redistribute "
                                "it.\n"
                                "There is NO WARRANTY, to the extent permitted by law.\n"));
        return CliExit::Ok;
    }
    if (name.startsWith(QLatin1Char('-'))) {
        cliError(QStringLiteral("unknown option \"%1\"; see ketrano-cli --help").arg(name));
        return CliExit::BadInput;
    }
    if (name == QLatin1String("profile")) {
        const QString sub = args.isEmpty() ? QString() : args.takeFirst();
        if (isHelp(sub))
            return help({name});
        const QStringList subs = profileCommands();
        if (!subs.contains(sub)) {
            cliError(QStringLiteral("profile: expected %1 or \"%2\"; see ketrano-cli help profile")
                         .arg(QLatin1Char('"') +
                                  subs.mid(0, subs.size() - 1).join(QLatin1String("\", \"")) +
                                  QLatin1Char('"'),
                              subs.constLast()));
            return CliExit::BadInput;
        }
        name = ProfilePrefix + sub;
    }
    const CliCommand* command = findCommand(name);
    if (!command) {
        cliError(QStringLiteral("unknown command \"%1\"; see ketrano-cli --help").arg(name));
        return CliExit::BadInput;
    }
    QCommandLineParser parser;
    QString argument;
    const int status = parseCommand(*command, args, parser, argument);
    return status >= 0 ? status : command->run(parser, argument);
}

} // namespace

void cliError(const QString& message)
{
    std::fprintf(stderr, "ketrano-cli: %s\n", escapeForLine(message).toUtf8().constData());
}

int main(int argc, char** argv)
{
    // A closed pipe (ketrano-cli ... | head -1) is a failed write that stops the command
    // cleanly, not a signal that kills it mid-run. So is a file larger than the file size
    // limit (ulimit -f): the write fails with EFBIG, that copy fails, the others go on.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    keepArgumentBytes(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ketrano-cli"));

    int status = runCommandLine(QCoreApplication::arguments().mid(1));
    flushOut();
    if (!outputError().isEmpty()) {
        cliError(QStringLiteral("cannot write the output: ") + outputError());
        if (status == CliExit::Ok)
            status = CliExit::CopyFailed;
    }
    return status;
}
