#pragma once

#include <QStringList>

// Exit codes of ketrano-cli. They only rise with the severity of what happened.
namespace CliExit {
constexpr int Ok = 0;
constexpr int CopyFailed = 1;
constexpr int BadInput = 2;
constexpr int Interrupted = 130;
} // namespace CliExit

// One sub-command of ketrano-cli: args are the arguments after its name(s).
// Each writes its results to stdout and its complaints to stderr, and returns an exit code.
int cliProfileShow(const QStringList& args);
int cliProfileAdd(const QStringList& args);
int cliScan(const QStringList& args);
int cliSync(const QStringList& args);

// "ketrano-cli: " + message on stderr.
void cliError(const QString& message);
