// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/cli_commands.h"

// Parsing a command's arguments with QCommandLineParser: "--name value" and "--name=value",
// "--" ends the options, -h/--help prints the command's usage.

// Words of text in lines of at most width characters; lines after the first start with
// indent blanks. A word longer than a line keeps a line of its own; a bracketed
// group is one word.
QString wrapWords(const QString& text, int width, int indent);

// The positional arguments of a command as its usage shows them: "PROFILE N M",
// "[NAME [VALUE]]".
QString argumentsText(const CliCommand& command);

// The usage of one command, for "COMMAND --help" and "help COMMAND".
QString commandUsage(const CliCommand& command);

// Parses the arguments after the command's name. Returns -1 when the command may run (parser
// holds the options, argument the one positional argument); otherwise the exit status to end
// with: 0 after --help printed the usage, 2 after one line on stderr said what is wrong (an
// unknown option, a missing value, a value that looks like an option, one option given
// twice with different values, a missing or extra argument, a profile file name that is not
// valid UTF-8).
int parseCommand(const CliCommand& command, const QStringList& args, QCommandLineParser& parser,
                 QString& argument);

// The value of an option, or fallback when it was not given.
QString optionValue(const QCommandLineParser& parser, const QString& name,
                    const QString& fallback = QString());

// The program's arguments arrive as text: a byte that is not valid UTF-8 becomes U+FFFD, so
// the text names another file or folder than the one given. Call once with main's arguments.
void keepArgumentBytes(int argc, char** argv);
// False when text (an argument, or an option's value within one) came from bytes that are not
// valid UTF-8.
bool cameAsText(const QString& text);

// A usage error of command: "COMMAND: message; see ketrano-cli help COMMAND" on stderr.
int usageError(const CliCommand& command, const QString& message);
