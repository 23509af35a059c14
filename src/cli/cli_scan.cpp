#include "cli/cli_commands.h"

// ketrano-cli scan. (Being written.)

int cliScan(const QStringList&)
{
    cliError(QStringLiteral("scan: not available yet"));
    return CliExit::BadInput;
}
