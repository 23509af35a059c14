#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "core/settings.h"
#include "scan/scan_driver.h"
#include "sync/sync_driver.h"

#include <array>
#include <cstdio>
#include <vector>

// ketrano-cli sync PROFILE [--tsv] [--source-to-target on|off] [--target-to-source on|off]:
// scans the profile, prints the result lists as scan does, copies them as the window's
// Synchronize does, then prints each failed copy and the five status panel texts.

namespace {

const char Usage[] = "usage: ketrano-cli sync PROFILE [--tsv] [--source-to-target on|off] "
                     "[--target-to-source on|off]";

struct SyncOptions
{
    QString profile;
    bool tsv = false;
    int sourceToTarget = -1; // -1: as saved in the settings
    int targetToSource = -1;
};

// Returns false (after saying why) when the arguments make no sense.
bool parseOptions(const QStringList& args, SyncOptions& options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--tsv")) {
            options.tsv = true;
            continue;
        }
        if (a == QLatin1String("--source-to-target") || a == QLatin1String("--target-to-source")) {
            const QString value = i + 1 < args.size() ? args[++i] : QString();
            if (value != QLatin1String("on") && value != QLatin1String("off")) {
                cliError(QStringLiteral("sync: %1 takes on or off").arg(a));
                return false;
            }
            (a == QLatin1String("--source-to-target") ? options.sourceToTarget
                                                      : options.targetToSource) =
                value == QLatin1String("on");
            continue;
        }
        if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
            cliError(QStringLiteral("sync: unknown option \"%1\"").arg(a));
            return false;
        }
        if (!options.profile.isNull()) {
            cliError(QStringLiteral("sync: more than one profile file given"));
            return false;
        }
        options.profile = a;
    }
    if (options.profile.isNull()) {
        cliError(QString::fromLatin1(Usage));
        return false;
    }
    return true;
}

// The failed copies: "E" lines for --tsv, else a table under "Failed Copies".
void printErrors(const ErrorListModel& errors, bool tsv)
{
    std::vector<std::array<QString, 4>> lines;
    if (!tsv)
        lines.push_back({QStringLiteral("File Name"), QStringLiteral("Source"),
                         QStringLiteral("Target"), QStringLiteral("Error")});
    for (const ErrorRow& e : errors.rows())
        lines.push_back(
            {tsvEscape(e.fileName), tsvEscape(e.source), tsvEscape(e.target), tsvEscape(e.error)});
    if (tsv) {
        for (const auto& l : lines)
            writeOut(QStringList{QStringLiteral("E"), l[0], l[1], l[2], l[3]}.join('\t') + '\n');
    } else if (errors.size() > 0) {
        std::array<qsizetype, 3> width{};
        for (const auto& l : lines)
            for (size_t c = 0; c < width.size(); ++c)
                width[c] = qMax(width[c], l[c].size());
        writeOut(QStringLiteral("Failed Copies\n"));
        for (const auto& l : lines)
            writeOut(l[0].leftJustified(width[0]) + "  " + l[1].leftJustified(width[1]) + "  " +
                     l[2].leftJustified(width[2]) + "  " + l[3] + '\n');
        writeOut(QStringLiteral("\n"));
    }
    std::fflush(stdout);
}

} // namespace

int cliSync(const QStringList& args)
{
    SyncOptions options;
    if (!parseOptions(args, options))
        return CliExit::BadInput;

    useUserLocale();
    AppState state;
    if (!loadProfileForCli(options.profile, state))
        return CliExit::BadInput;

    // The directions the window's unattended run would use, unless overridden for this run.
    const Settings::Values saved = Settings::read(QString());
    const bool sourceToTarget =
        options.sourceToTarget < 0 ? saved.copySource : options.sourceToTarget == 1;
    const bool targetToSource =
        options.targetToSource < 0 ? saved.copyTarget : options.targetToSource == 1;

    Callbacks cb = terminalCallbacks(state);
    cb.toggle = [sourceToTarget, targetToSource](int toggle) {
        return toggle == 2 ? sourceToTarget : toggle == 3 ? targetToSource : false;
    };
    // Synchronize clears the cancel flag when it starts: a Ctrl+C that came just before must
    // still stop it, at the first row after a copy.
    cb.yield = [&state, progress = cb.yield] {
        if (interrupted())
            state.CancelRequested = true;
        if (progress)
            progress();
    };
    installInterruptHandler(state);

    state.running = Running::Scan;
    ScanCmd_Click(state, cb);
    state.running = Running::Idle;
    printResultLists(state, options.tsv);

    // Ctrl+C during the scan: nothing is copied.
    if (!interrupted()) {
        state.running = Running::Sync;
        SyncCmd_Click(state, cb);
        state.running = Running::Idle;
    }
    printErrors(state.ErrorsList, options.tsv);
    printPanels(state, options.tsv);
    if (interrupted())
        return CliExit::Interrupted;
    return state.ErrorCount > 0 ? CliExit::CopyFailed : CliExit::Ok;
}
