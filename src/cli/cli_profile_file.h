// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/cli_commands.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// What the profile commands of ketrano-cli share: reading a profile file whole, refusing a
// damaged one, checking the values given for an entry, and replacing the file in one step.
// Each function that refuses says why in one line on stderr, starting with the command's name.

// One line on stderr; returns CliExit::BadInput.
int refuse(const QString& message);

// Why an existing path cannot be read as a profile; empty when it can.
QString unreadableReason(const QString& path);

// The whole file; empty with the reason in error when it cannot be read.
QByteArray readAll(const QString& path, QString& error);

// Reads the existing profile file at path whole into bytes. False, after saying why, when it
// cannot be read or is damaged: not whole records, or a record holding a control character
// (the first one is named, as profile show names them).
bool readRecords(const CliCommand& command, const QString& path, QByteArray& bytes);

// The four fields of an entry in the order of a record, with the options that set them.
enum EntryFieldIndex : size_t { SourceField, TargetField, IncludeField, ExcludeField };
struct EntryField
{
    const char* option; // "source"
    const char* name;   // "Source", as messages name it
    const char* value;  // "S", as the usage names the option's value
    bool folder;
};
inline constexpr EntryField EntryFields[4] = {{"source", "Source", "S", true},
                                              {"target", "Target", "T", true},
                                              {"include", "Include", "I", false},
                                              {"exclude", "Exclude", "E", false}};
// The option that sets field i, for a command's table.
QCommandLineOption entryOption(size_t i, const QString& description);

// The values given for the four fields; nullopt for an option not given.
using EntryValues = std::array<std::optional<QString>, 4>;
EntryValues givenValues(const QCommandLineParser& parser);

// Checks the given values as the entry editor does (no blank folder, no Exclude of "*"), and
// that a profile file keeps them as given: UTF-8 text without control characters, at most
// 300 bytes. A relative folder is taken from the working folder: the absolute one replaces it
// and a line in note says so. False after saying why.
bool checkValues(const CliCommand& command, EntryValues& values, QString& note);

// Why the file at path cannot be replaced, or created, by this program; empty when it can.
// A file or a folder that nobody may write is refused, also for root.
QString whyNotWritable(const QString& path);

// Replaces the file with bytes in one step (QSaveFile), keeping its permission bits (and, for
// root, its owner); the file stays as it was on failure. Empty on success, else why not.
QString replaceFile(const QString& path, const QByteArray& bytes);

// Replaces the profile file at path with bytes, or says why it cannot ("COMMAND: FILE: cannot
// be written: ..."). The exit status.
int writeRecords(const CliCommand& command, const QString& path, const QByteArray& bytes);
