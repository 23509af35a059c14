// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// Exit statuses of ketrano-cli.
namespace CliExit {
constexpr int Ok = 0;
// Some copies failed; also: scan --exit-code found differences, the output could not be written.
constexpr int CopyFailed = 1;
constexpr int BadInput = 2;      // bad usage or unusable input; nothing was changed
constexpr int Busy = 3;          // another run of the profile is in progress
constexpr int HangUp = 129;      // stopped by SIGHUP
constexpr int Interrupted = 130; // stopped by Ctrl+C (SIGINT)
constexpr int Terminated = 143;  // stopped by SIGTERM
} // namespace CliExit

// One command of ketrano-cli, declared once: the overview, its --help and its parser are built
// from it.
struct CliCommand
{
    QString name;        // "scan", "profile add"
    QString argument;    // its profile file argument as the usage names it ("PROFILE"), if any
    QString synopsis;    // the options in the overview, after name and argument
    QString summary;     // one line in the overview
    QString description; // the paragraph of COMMAND --help
    QList<QCommandLineOption> options;
    // Runs the command once its arguments are parsed; returns the exit status. The arguments
    // after the profile file are parser.positionalArguments() from 1 on (from 0 without one).
    int (*run)(const QCommandLineParser& parser, const QString& argument);
    // The positional arguments after 'argument' as the usage names them ("N", "M"). One in
    // brackets may be left out, and so may every one after it ("[NAME]", "[VALUE]").
    QStringList moreArguments = {};
};

const CliCommand& profileNewCommand();
const CliCommand& profileShowCommand();
const CliCommand& profileAddCommand();
const CliCommand& profileEditCommand();
const CliCommand& profileRemoveCommand();
const CliCommand& profileMoveCommand();
const CliCommand& scanCommand();
const CliCommand& syncCommand();
const CliCommand& logCommand();
const CliCommand& settingsCommand();
const CliCommand& versionsCommand();
const CliCommand& restoreCommand();

// "ketrano-cli: " + message on stderr, control characters escaped.
void cliError(const QString& message);
