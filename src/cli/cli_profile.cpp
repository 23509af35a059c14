// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_profile_file.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QFile>
#include <QFileInfo>

// ketrano-cli profile new / show / add: make, read and extend profile files from a terminal.

namespace {

int runShow(const QCommandLineParser&, const QString& file)
{
    const QString reason = unreadableReason(file);
    if (!reason.isEmpty())
        return refuse(QStringLiteral("profile show: %1: %2").arg(file, reason));
    QString error;
    const QByteArray bytes = readAll(file, error);
    if (!error.isEmpty())
        return refuse(QStringLiteral("profile show: %1: cannot be read: %2").arg(file, error));
    // Every record, a damaged one too, so that the damage can be seen; then the refusal.
    std::vector<ProfileFile::SkippedRecord> damaged;
    for (const ProfileEntry& e : ProfileFile::decode(bytes, &damaged, true)) {
        const QStringList fields{escapeForLine(e.source), escapeForLine(e.target),
                                 escapeForLine(e.include), escapeForLine(e.exclude)};
        if (!writeOut(fields.join(QLatin1Char('\t')) + QLatin1Char('\n')))
            break;
    }
    flushOut();
    for (const ProfileFile::SkippedRecord& r : damaged)
        cliError(QStringLiteral("profile show: damaged profile: ") +
                 ProfileFile::describe(file, r));
    return damaged.empty() ? CliExit::Ok : CliExit::BadInput;
}

int runAdd(const QCommandLineParser& parser, const QString& file)
{
    for (const char* required : {"source", "target"}) {
        if (!parser.isSet(QLatin1String(required)))
            return usageError(profileAddCommand(),
                              QStringLiteral("--%1 is required").arg(required));
    }
    EntryValues values = givenValues(parser);
    if (!values[IncludeField])
        values[IncludeField] = QStringLiteral("*");
    if (!values[ExcludeField])
        values[ExcludeField] = QString();
    QString note;
    if (!checkValues(profileAddCommand(), values, note))
        return CliExit::BadInput;
    // The existing records are kept byte for byte; the new one goes after them.
    QByteArray bytes;
    if ((QFileInfo::exists(file) || QFileInfo(file).isSymLink()) &&
        !readRecords(profileAddCommand(), file, bytes))
        return CliExit::BadInput;
    bytes += ProfileFile::encodeRecord(
        {*values[SourceField], *values[TargetField], *values[IncludeField], *values[ExcludeField]});
    if (const int status = writeRecords(profileAddCommand(), file, bytes); status != CliExit::Ok)
        return status;
    writeOut(note);
    flushOut();
    return CliExit::Ok;
}

int runNew(const QCommandLineParser&, const QString& file)
{
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
        return refuse(QStringLiteral("profile new: %1: already exists; it is left as it is "
                                     "(profile remove takes entries out)")
                          .arg(file));
    if (const QString refusal = whyNotWritable(file); !refusal.isEmpty())
        return refuse(QStringLiteral("profile new: %1: cannot be created: %2").arg(file, refusal));
    // NewOnly: a file that appeared meanwhile is never truncated.
    QFile created(file);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return refuse(QStringLiteral("profile new: %1: cannot be created: %2")
                          .arg(file, created.errorString()));
    return CliExit::Ok;
}

} // namespace

const CliCommand& profileNewCommand()
{
    static const CliCommand command{
        QStringLiteral("profile new"),
        QStringLiteral("PROFILE"),
        QString(),
        QStringLiteral("create an empty profile file"),
        QStringLiteral("Creates PROFILE as a profile file without entries. An existing file is "
                       "refused and\nleft as it is."),
        {},
        runNew};
    return command;
}

const CliCommand& profileShowCommand()
{
    static const CliCommand command{
        QStringLiteral("profile show"),
        QStringLiteral("PROFILE"),
        QString(),
        QStringLiteral("list the entries of a profile file"),
        QStringLiteral("Prints one line per entry of the profile file PROFILE: Source, Target, "
                       "Include\nand Exclude, separated by tabs. Line N is entry N, as profile "
                       "edit, remove and\nmove count them. A tab, line end, backslash or other "
                       "control character inside\na field is written as \\t, \\n, \\r, "
                       "\\\\ or \\xHH."),
        {},
        runShow};
    return command;
}

const CliCommand& profileAddCommand()
{
    static const CliCommand command{
        QStringLiteral("profile add"),
        QStringLiteral("PROFILE"),
        QStringLiteral("--source S --target T [--include I] [--exclude E]"),
        QStringLiteral("append an entry (creates PROFILE when missing)"),
        QStringLiteral(
            "Appends an entry to the profile file PROFILE, creating it when it does not exist.\n"
            "The entries already in PROFILE are kept byte for byte, and so are its permissions.\n"
            "A relative folder is taken from the working folder; the absolute path is stored\n"
            "and printed. A read-only PROFILE or folder is refused."),
        {entryOption(SourceField, QStringLiteral("the Source folder")),
         entryOption(TargetField, QStringLiteral("the Target folder")),
         entryOption(IncludeField,
                     QStringLiteral("extensions to include, e.g. doc,xls (default *: every "
                                    "file)")),
         entryOption(ExcludeField, QStringLiteral("extensions to exclude (default: none)"))},
        runAdd};
    return command;
}
