#include "cli/cli_commands.h"

// ketrano-cli profile show / add. (Being written.)

int cliProfileShow(const QStringList&)
{
    cliError(QStringLiteral("profile show: not available yet"));
    return CliExit::BadInput;
}

int cliProfileAdd(const QStringList&)
{
    cliError(QStringLiteral("profile add: not available yet"));
    return CliExit::BadInput;
}
