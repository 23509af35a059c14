// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

// ketrano-cli profile show / add: read and extend profile files from a terminal.

namespace {

int refuse(const QString& message)
{
    cliError(message);
    return CliExit::BadInput;
}

// Why an existing path cannot be read as a profile; empty when it can.
QString unreadableReason(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("is a broken symbolic link")
                                : QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a folder, not a profile file");
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read: %1").arg(file.errorString());
    return {};
}

QByteArray readAll(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        error = file.errorString();
    return bytes;
}

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

// A folder as the profile keeps it: absolute. A relative one is taken from the working folder
// (a run from cron or a timer has another one), and a line for the user says what is stored.
QString storedFolder(const QString& name, const QString& text, QString& note)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('/')))
        return text;
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(trimmed));
    note += QStringLiteral("%1 stored as %2\n").arg(name, escapeForLine(absolute));
    return absolute;
}

// Replaces the file with bytes in one step, keeping its permission bits (and, for root, its
// owner). A file that nobody may write is refused, also for root.
QString replaceFile(const QString& path, const QByteArray& bytes)
{
    struct stat st = {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    if (existed && (st.st_mode & 0222) == 0)
        return QStringLiteral("the file is read-only");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    bool kept = true;
    if (existed) {
        kept = ::fchmod(file.handle(), st.st_mode & 07777) == 0;
        if (kept && ::geteuid() == 0)
            kept = ::fchown(file.handle(), st.st_uid, st.st_gid) == 0;
    }
    if (!kept || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString error =
            kept ? file.errorString() : QStringLiteral("its permissions cannot be kept");
        file.cancelWriting();
        return error;
    }
    return {};
}

int runAdd(const QCommandLineParser& parser, const QString& file)
{
    for (const char* required : {"source", "target"}) {
        if (!parser.isSet(QLatin1String(required)))
            return usageError(profileAddCommand(),
                              QStringLiteral("--%1 is required").arg(required));
    }
    ProfileEntry entry{optionValue(parser, QStringLiteral("source")),
                       optionValue(parser, QStringLiteral("target")),
                       optionValue(parser, QStringLiteral("include"), QStringLiteral("*")),
                       optionValue(parser, QStringLiteral("exclude"))};

    // The checks of the entry editor, and what the file could not keep.
    if (entry.source.trimmed().isEmpty())
        return refuse(QStringLiteral("profile add: the Source folder is empty"));
    if (entry.target.trimmed().isEmpty())
        return refuse(QStringLiteral("profile add: the Target folder is empty"));
    // Fields lose their outer spaces when loaded, so " * " would exclude every file too.
    if (ProfileFile::decodeField(ProfileFile::encodeField(entry.exclude)) == QLatin1String("*"))
        return refuse(QStringLiteral("Error in Excluded Extentions"));
    if (const char* field = ProfileFile::damagedField(entry))
        return refuse(QStringLiteral("profile add: the %1 value holds a control character")
                          .arg(QLatin1String(field)));

    // The existing records are kept byte for byte; the new one goes after them.
    QByteArray bytes;
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) {
        const QString reason = unreadableReason(file);
        if (!reason.isEmpty())
            return refuse(QStringLiteral("profile add: %1: %2").arg(file, reason));
        QString error;
        bytes = readAll(file, error);
        if (!error.isEmpty())
            return refuse(QStringLiteral("profile add: %1: cannot be read: %2").arg(file, error));
        if (bytes.size() % ProfileFile::RecordSize != 0)
            return refuse(QStringLiteral("profile add: %1: not a profile file (its length, %2 "
                                         "bytes, is not a whole number of %3-byte records)")
                              .arg(file)
                              .arg(bytes.size())
                              .arg(ProfileFile::RecordSize));
        std::vector<ProfileFile::SkippedRecord> damaged;
        ProfileFile::decode(bytes, &damaged);
        if (!damaged.empty())
            return refuse(QStringLiteral("profile add: damaged profile: ") +
                          ProfileFile::describe(file, damaged.front()));
    }
    QString note;
    entry.source = storedFolder(QStringLiteral("Source"), entry.source, note);
    entry.target = storedFolder(QStringLiteral("Target"), entry.target, note);
    const std::pair<const char*, QString> fields[] = {{"Source", entry.source},
                                                      {"Target", entry.target},
                                                      {"Include", entry.include},
                                                      {"Exclude", entry.exclude}};
    for (const auto& [name, text] : fields) {
        if (text.toUtf8().size() > ProfileFile::FieldSize)
            return refuse(QStringLiteral("profile add: the %1 value is longer than %2 bytes, "
                                         "the most a profile file keeps")
                              .arg(QLatin1String(name))
                              .arg(ProfileFile::FieldSize));
    }
    bytes += ProfileFile::encodeRecord(entry);
    const QString error = replaceFile(file, bytes);
    if (!error.isEmpty())
        return refuse(QStringLiteral("profile add: %1: cannot be written: %2").arg(file, error));
    writeOut(note);
    flushOut();
    return CliExit::Ok;
}

} // namespace

const CliCommand& profileShowCommand()
{
    static const CliCommand command{
        QStringLiteral("profile show"),
        QStringLiteral("FILE"),
        QString(),
        QStringLiteral("list the entries of a profile file"),
        QStringLiteral("Prints one line per entry of the profile file FILE: Source, Target, "
                       "Include and\nExclude, separated by tabs. A tab, line end, backslash or "
                       "other control\ncharacter inside a field is written as \\t, \\n, \\r, "
                       "\\\\ or \\xHH."),
        {},
        runShow};
    return command;
}

const CliCommand& profileAddCommand()
{
    static const CliCommand command{
        QStringLiteral("profile add"),
        QStringLiteral("FILE"),
        QStringLiteral("--source S --target T [--include I] [--exclude E]"),
        QStringLiteral("append an entry (creates FILE when missing)"),
        QStringLiteral(
            "Appends an entry to the profile file FILE, creating it when it does not exist.\n"
            "The entries already in FILE are kept byte for byte, and so are its permissions.\n"
            "A relative folder is taken from the working folder; the absolute path is stored\n"
            "and printed. A read-only FILE is refused."),
        {QCommandLineOption(QStringLiteral("source"), QStringLiteral("the Source folder"),
                            QStringLiteral("S")),
         QCommandLineOption(QStringLiteral("target"), QStringLiteral("the Target folder"),
                            QStringLiteral("T")),
         QCommandLineOption(QStringLiteral("include"),
                            QStringLiteral("extensions to include, e.g. doc,xls (default *: "
                                           "every file)"),
                            QStringLiteral("I")),
         QCommandLineOption(QStringLiteral("exclude"),
                            QStringLiteral("extensions to exclude (default: none)"),
                            QStringLiteral("E"))},
        runAdd};
    return command;
}
