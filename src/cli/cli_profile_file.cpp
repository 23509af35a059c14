// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_profile_file.h"

#include "cli/cli_options.h"
#include "core/plain_text.h"
#include "profile/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// Why the path (a file or a folder) may not be written, from its mode and access(2); empty
// when it may. 'what' names it in the answer.
QString writeRefusal(const QString& path, const struct stat& st, const QString& what)
{
    if ((st.st_mode & 0222) == 0)
        return what + QStringLiteral(" is read-only");
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return {};
    if (errno == EROFS)
        return what + QStringLiteral(" is on a read-only file system");
    if (errno == EACCES || errno == EPERM)
        return what + QStringLiteral(" is read-only");
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// One line on stderr, for the functions that answer false.
bool said(const QString& message)
{
    cliError(message);
    return false;
}

} // namespace

int refuse(const QString& message)
{
    cliError(message);
    return CliExit::BadInput;
}

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

bool readRecords(const CliCommand& command, const QString& path, QByteArray& bytes)
{
    if (const QString reason = unreadableReason(path); !reason.isEmpty())
        return said(QStringLiteral("%1: %2: %3").arg(command.name, path, reason));
    QString error;
    bytes = readAll(path, error);
    if (!error.isEmpty())
        return said(QStringLiteral("%1: %2: cannot be read: %3").arg(command.name, path, error));
    if (bytes.size() % ProfileFile::RecordSize != 0)
        return said(QStringLiteral("%1: %2: not a profile file (its length, %3 bytes, is not a "
                                   "whole number of %4-byte records)")
                        .arg(command.name, path)
                        .arg(bytes.size())
                        .arg(ProfileFile::RecordSize));
    std::vector<ProfileFile::SkippedRecord> damaged;
    ProfileFile::decode(bytes, &damaged);
    if (!damaged.empty())
        return said(QStringLiteral("%1: damaged profile: %2")
                        .arg(command.name, ProfileFile::describe(path, damaged.front())));
    return true;
}

QCommandLineOption entryOption(size_t i, const QString& description)
{
    return QCommandLineOption(QLatin1String(EntryFields[i].option), description,
                              QLatin1String(EntryFields[i].value));
}

EntryValues givenValues(const QCommandLineParser& parser)
{
    EntryValues values;
    for (size_t i = 0; i < values.size(); ++i)
        if (const QString option = QLatin1String(EntryFields[i].option); parser.isSet(option))
            values[i] = parser.value(option);
    return values;
}

bool checkValues(const CliCommand& command, EntryValues& values, QString& note)
{
    for (size_t i = 0; i < values.size(); ++i) {
        if (!values[i])
            continue;
        const QString name = QLatin1String(EntryFields[i].name);
        QString& text = *values[i];
        if (EntryFields[i].folder && text.trimmed().isEmpty())
            return said(QStringLiteral("%1: the %2 folder is empty").arg(command.name, name));
        // A field holds UTF-8, and one that is not is read as Windows-1252: the bytes given
        // would come back as another folder, which the scan would then not find.
        if (!cameAsText(text))
            return said(QStringLiteral("%1: the %2 value \"%3\" is not valid UTF-8 text, which "
                                       "is all a profile file keeps")
                            .arg(command.name, name, text));
        // Fields lose their outer spaces when loaded, so " * " would exclude every file too.
        if (i == 3 &&
            ProfileFile::decodeField(ProfileFile::encodeField(text)) == QLatin1String("*"))
            return said(QStringLiteral("Error in Excluded Extentions"));
        for (QChar c : text)
            if (c.category() == QChar::Other_Control)
                return said(QStringLiteral("%1: the %2 value holds a control character")
                                .arg(command.name, name));
    }
    for (size_t i = 0; i < values.size(); ++i) {
        if (!values[i])
            continue;
        const QString name = QLatin1String(EntryFields[i].name);
        if (EntryFields[i].folder)
            *values[i] = storedFolder(name, *values[i], note);
        if (values[i]->toUtf8().size() > ProfileFile::FieldSize)
            return said(QStringLiteral("%1: the %2 value is longer than %3 bytes, the most a "
                                       "profile file keeps")
                            .arg(command.name, name)
                            .arg(ProfileFile::FieldSize));
    }
    return true;
}

QString whyNotWritable(const QString& path)
{
    struct stat st = {};
    const QFileInfo info(path);
    // A link is replaced where it points, as QSaveFile does.
    const bool existed = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    if (existed) {
        if (const QString refusal = writeRefusal(path, st, QStringLiteral("the file"));
            !refusal.isEmpty())
            return refusal;
    }
    const QString folder =
        QFileInfo(existed ? info.canonicalFilePath() : info.absoluteFilePath()).absolutePath();
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return QStringLiteral("no folder %1").arg(folder);
    return writeRefusal(folder, st, QStringLiteral("its folder ") + folder);
}

QString replaceFile(const QString& path, const QByteArray& bytes)
{
    if (const QString refusal = whyNotWritable(path); !refusal.isEmpty())
        return refusal;
    struct stat st = {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &st) == 0;
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

int writeRecords(const CliCommand& command, const QString& path, const QByteArray& bytes)
{
    if (const QString error = replaceFile(path, bytes); !error.isEmpty())
        return refuse(
            QStringLiteral("%1: %2: cannot be written: %3").arg(command.name, path, error));
    return CliExit::Ok;
}
