#include "cli/cli_commands.h"

#include <QCoreApplication>
#include <cstdio>

// ketrano-cli: the terminal front end of Ketrano Backup, over the same engine as the window.

namespace {

const char Usage[] =
    "Usage: ketrano-cli COMMAND ...\n"
    "\n"
    "Keeps pairs of folders in step, as the Ketrano Backup window does, from a terminal,\n"
    "a script, cron or a systemd timer.\n"
    "\n"
    "Commands:\n"
    "  profile show FILE                 list the entries of a profile file\n"
    "  profile add FILE --source S --target T [--include I] [--exclude E]\n"
    "                                    append an entry (creates FILE when missing)\n"
    "  scan PROFILE [--tsv]              list what differs between the folders\n"
    "  sync PROFILE [--tsv] [--source-to-target on|off] [--target-to-source on|off]\n"
    "                                    scan, then copy the differences\n"
    "\n"
    "Options:\n"
    "  -h, --help                        show this help\n"
    "  -v, --version                     show the version\n"
    "\n"
    "Exit status: 0 success, 1 some copies failed, 2 bad usage or input,\n"
    "130 interrupted by Ctrl+C.\n";

} // namespace

void cliError(const QString& message)
{
    std::fprintf(stderr, "ketrano-cli: %s\n", qPrintable(message));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ketrano-cli"));
    QStringList args = QCoreApplication::arguments().mid(1);

    if (args.isEmpty()) {
        std::fputs(Usage, stderr);
        return CliExit::BadInput;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("-h") || command == QLatin1String("--help")) {
        std::fputs(Usage, stdout);
        return CliExit::Ok;
    }
    if (command == QLatin1String("-v") || command == QLatin1String("--version")) {
        std::printf("ketrano-cli (Ketrano Backup) %s\n", KETRANO_VERSION);
        return CliExit::Ok;
    }
    if (command == QLatin1String("profile")) {
        const QString sub = args.isEmpty() ? QString() : args.takeFirst();
        if (sub == QLatin1String("show"))
            return cliProfileShow(args);
        if (sub == QLatin1String("add"))
            return cliProfileAdd(args);
        cliError(QStringLiteral("profile: expected \"show\" or \"add\"; see ketrano-cli --help"));
        return CliExit::BadInput;
    }
    if (command == QLatin1String("scan"))
        return cliScan(args);
    if (command == QLatin1String("sync"))
        return cliSync(args);
    cliError(QStringLiteral("unknown command \"%1\"; see ketrano-cli --help").arg(command));
    return CliExit::BadInput;
}
