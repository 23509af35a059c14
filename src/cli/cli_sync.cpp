#include "cli/cli_commands.h"

// ketrano-cli sync. (Being written.)

int cliSync(const QStringList&)
{
    cliError(QStringLiteral("sync: not available yet"));
    return CliExit::BadInput;
}
