#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "scan/scan_driver.h"

// ketrano-cli scan PROFILE [--tsv]: scans the profile as the window's Scan does and prints the
// two result lists and the five status panel texts.

int cliScan(const QStringList& args)
{
    QString profile;
    bool tsv = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--tsv")) {
            tsv = true;
        } else if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            cliError(QStringLiteral("scan: unknown option \"%1\"").arg(a));
            return CliExit::BadInput;
        } else if (profile.isNull()) {
            profile = a;
        } else {
            cliError(QStringLiteral("scan: more than one profile file given"));
            return CliExit::BadInput;
        }
    }
    if (profile.isNull()) {
        cliError(QStringLiteral("usage: ketrano-cli scan PROFILE [--tsv]"));
        return CliExit::BadInput;
    }

    useUserLocale();
    AppState state;
    if (!loadProfileForCli(profile, state))
        return CliExit::BadInput;
    const Callbacks cb = terminalCallbacks(state);
    installInterruptHandler(state);
    state.running = Running::Scan;
    ScanCmd_Click(state, cb);
    state.running = Running::Idle;

    printResultLists(state, tsv);
    printPanels(state, tsv);
    return interrupted() ? CliExit::Interrupted : CliExit::Ok;
}
