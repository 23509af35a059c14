// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/cli_profile_file.h"
#include "profile/profile_file.h"

#include <QRegularExpression>
#include <algorithm>

// ketrano-cli profile edit / remove / move: change one entry of a profile file, take it out or
// move it to another place. Entries are counted from 1, as the lines of profile show. Only the
// record concerned changes: every other byte of the file is kept, and the file is replaced in
// one step.

namespace {

// The index of the entry that text numbers in a profile of count entries; -1 after a usage
// error.
qsizetype entryIndex(const CliCommand& command, const QString& text, qsizetype count)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = digits.match(text).hasMatch();
    const qlonglong number = ok ? text.toLongLong(&ok) : 0;
    if (ok && number >= 1 && number <= count)
        return qsizetype(number - 1);
    const QString has = count == 0   ? QStringLiteral("the profile has no entries")
                        : count == 1 ? QStringLiteral("the profile has 1 entry")
                                     : QStringLiteral("the profile has %1 entries").arg(count);
    if (!ok)
        usageError(command, QStringLiteral("\"%1\" is not an entry number (%2; profile show "
                                           "lists them, from 1)")
                                .arg(text, has));
    else
        usageError(command, QStringLiteral("there is no entry %1: %2").arg(text, has));
    return -1;
}

// Reads the profile and finds the entries that the arguments after it number. False after
// saying why.
bool readNumbered(const CliCommand& command, const QCommandLineParser& parser, const QString& file,
                  QByteArray& bytes, std::vector<qsizetype>& indexes)
{
    if (!readRecords(command, file, bytes))
        return false;
    const qsizetype count = bytes.size() / ProfileFile::RecordSize;
    const QStringList numbers = parser.positionalArguments().mid(1);
    for (const QString& n : numbers) {
        const qsizetype index = entryIndex(command, n, count);
        if (index < 0)
            return false;
        indexes.push_back(index * ProfileFile::RecordSize);
    }
    return true;
}

int runEdit(const QCommandLineParser& parser, const QString& file)
{
    const CliCommand& command = profileEditCommand();
    EntryValues values = givenValues(parser);
    if (std::none_of(values.begin(), values.end(), [](const auto& v) { return v.has_value(); }))
        return usageError(command, QStringLiteral("nothing to change: give --source, --target, "
                                                  "--include or --exclude"));
    QString note;
    QByteArray bytes;
    std::vector<qsizetype> at;
    if (!checkValues(command, values, note) || !readNumbered(command, parser, file, bytes, at))
        return CliExit::BadInput;
    // The fields not given keep their bytes, a Windows profile's too.
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i])
            bytes.replace(at[0] + qsizetype(i) * ProfileFile::FieldSize, ProfileFile::FieldSize,
                          ProfileFile::encodeField(*values[i]));
    if (const int status = writeRecords(command, file, bytes); status != CliExit::Ok)
        return status;
    writeOut(note);
    flushOut();
    return CliExit::Ok;
}

int runRemove(const QCommandLineParser& parser, const QString& file)
{
    QByteArray bytes;
    std::vector<qsizetype> at;
    if (!readNumbered(profileRemoveCommand(), parser, file, bytes, at))
        return CliExit::BadInput;
    bytes.remove(at[0], ProfileFile::RecordSize);
    return writeRecords(profileRemoveCommand(), file, bytes);
}

int runMove(const QCommandLineParser& parser, const QString& file)
{
    QByteArray bytes;
    std::vector<qsizetype> at;
    if (!readNumbered(profileMoveCommand(), parser, file, bytes, at))
        return CliExit::BadInput;
    // Entry N becomes entry M; the ones between move up or down by one.
    const QByteArray record = bytes.mid(at[0], ProfileFile::RecordSize);
    bytes.remove(at[0], ProfileFile::RecordSize);
    bytes.insert(at[1], record);
    return writeRecords(profileMoveCommand(), file, bytes);
}

} // namespace

const CliCommand& profileEditCommand()
{
    static const CliCommand command{
        QStringLiteral("profile edit"),
        QStringLiteral("PROFILE"),
        QStringLiteral("[--source S] [--target T] [--include I] [--exclude E]"),
        QStringLiteral("change fields of entry N"),
        QStringLiteral(
            "Sets the fields given of entry N of the profile file PROFILE (counted from 1, as\n"
            "profile show lists them); the others and the other entries are kept byte for\n"
            "byte, and so are the file's permissions. The values are checked as profile add\n"
            "checks them. A damaged or read-only PROFILE is refused and left as it is."),
        {entryOption(SourceField, QStringLiteral("the new Source folder")),
         entryOption(TargetField, QStringLiteral("the new Target folder")),
         entryOption(IncludeField, QStringLiteral("the new extensions to include (* every file)")),
         entryOption(ExcludeField, QStringLiteral("the new extensions to exclude (\"\" none)"))},
        runEdit,
        {QStringLiteral("N")}};
    return command;
}

const CliCommand& profileRemoveCommand()
{
    static const CliCommand command{
        QStringLiteral("profile remove"),
        QStringLiteral("PROFILE"),
        QString(),
        QStringLiteral("take entry N out"),
        QStringLiteral("Takes entry N (counted from 1, as profile show lists them) out of the "
                       "profile file\nPROFILE; the entries after it move up by one. A damaged "
                       "or read-only PROFILE\nis refused and left as it is."),
        {},
        runRemove,
        {QStringLiteral("N")}};
    return command;
}

const CliCommand& profileMoveCommand()
{
    static const CliCommand command{
        QStringLiteral("profile move"),
        QStringLiteral("PROFILE"),
        QString(),
        QStringLiteral("make entry N entry M"),
        QStringLiteral("Moves entry N of the profile file PROFILE to place M (both counted from "
                       "1, as\nprofile show lists them); the entries between move by one. "
                       "Entries are scanned\nand synchronized in this order. A damaged or "
                       "read-only PROFILE is refused and\nleft as it is."),
        {},
        runMove,
        {QStringLiteral("N"), QStringLiteral("M")}};
    return command;
}
