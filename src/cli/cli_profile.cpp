#include "cli/cli_commands.h"

#include "profile/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <map>

// ketrano-cli profile show / add: read and extend profile files from a terminal.

namespace {

int usageError(const QString& message)
{
    cliError(message + QStringLiteral("; see ketrano-cli --help"));
    return CliExit::BadInput;
}

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

// "--name value" or "--name=value" options after the one FILE argument.
struct ParsedArgs
{
    QString file;
    std::map<QString, QString> options;
    QString error; // a usage error, empty when the arguments are well formed
};

ParsedArgs parseArgs(const QStringList& args, const QStringList& known)
{
    ParsedArgs parsed;
    bool haveFile = false;
    for (qsizetype i = 0; i < args.size() && parsed.error.isEmpty(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            if (haveFile)
                parsed.error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            parsed.file = arg;
            haveFile = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? arg.mid(2) : arg.mid(2, eq - 2);
        QString value;
        if (!known.contains(name)) {
            parsed.error = QStringLiteral("unknown option \"%1\"").arg(arg);
        } else if (parsed.options.count(name)) {
            parsed.error = QStringLiteral("option --%1 given twice").arg(name);
        } else if (eq >= 0) {
            parsed.options[name] = arg.mid(eq + 1);
        } else if (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--"))) {
            parsed.options[name] = args.at(++i);
        } else {
            parsed.error = QStringLiteral("option --%1 needs a value").arg(name);
        }
    }
    if (parsed.error.isEmpty() && parsed.file.isEmpty())
        parsed.error = QStringLiteral("no profile FILE given");
    return parsed;
}

} // namespace

int cliProfileShow(const QStringList& args)
{
    const ParsedArgs parsed = parseArgs(args, {});
    if (!parsed.error.isEmpty())
        return usageError(QStringLiteral("profile show: ") + parsed.error);
    const QString reason = unreadableReason(parsed.file);
    if (!reason.isEmpty())
        return refuse(QStringLiteral("profile show: %1: %2").arg(parsed.file, reason));
    QString error;
    const QByteArray bytes = readAll(parsed.file, error);
    if (!error.isEmpty())
        return refuse(
            QStringLiteral("profile show: %1: cannot be read: %2").arg(parsed.file, error));
    for (const ProfileEntry& e : ProfileFile::decode(bytes)) {
        const QString line = e.source + QLatin1Char('\t') + e.target + QLatin1Char('\t') +
                             e.include + QLatin1Char('\t') + e.exclude + QLatin1Char('\n');
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return CliExit::Ok;
}

int cliProfileAdd(const QStringList& args)
{
    const ParsedArgs parsed =
        parseArgs(args, {QStringLiteral("source"), QStringLiteral("target"),
                         QStringLiteral("include"), QStringLiteral("exclude")});
    if (!parsed.error.isEmpty())
        return usageError(QStringLiteral("profile add: ") + parsed.error);
    for (const char* required : {"source", "target"}) {
        if (!parsed.options.count(QLatin1String(required)))
            return usageError(QStringLiteral("profile add: --%1 is required").arg(required));
    }
    auto option = [&parsed](const char* name, const QString& fallback) {
        const auto it = parsed.options.find(QLatin1String(name));
        return it == parsed.options.end() ? fallback : it->second;
    };
    const ProfileEntry entry{option("source", {}), option("target", {}),
                             option("include", QStringLiteral("*")), option("exclude", {})};

    // The checks of the entry editor, and what the file could not keep.
    if (entry.source.trimmed().isEmpty())
        return refuse(QStringLiteral("profile add: the Source folder is empty"));
    if (entry.target.trimmed().isEmpty())
        return refuse(QStringLiteral("profile add: the Target folder is empty"));
    // Fields lose their outer spaces when loaded, so " * " would exclude every file too.
    if (ProfileFile::decodeField(ProfileFile::encodeField(entry.exclude)) == QLatin1String("*"))
        return refuse(QStringLiteral("Error in Excluded Extentions"));
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

    // The existing records are kept byte for byte; the new one goes after them.
    QByteArray bytes;
    if (QFileInfo::exists(parsed.file) || QFileInfo(parsed.file).isSymLink()) {
        const QString reason = unreadableReason(parsed.file);
        if (!reason.isEmpty())
            return refuse(QStringLiteral("profile add: %1: %2").arg(parsed.file, reason));
        QString error;
        bytes = readAll(parsed.file, error);
        if (!error.isEmpty())
            return refuse(
                QStringLiteral("profile add: %1: cannot be read: %2").arg(parsed.file, error));
        if (bytes.size() % ProfileFile::RecordSize != 0)
            return refuse(QStringLiteral("profile add: %1: not a profile file (its length, %2 "
                                         "bytes, is not a whole number of %3-byte records)")
                              .arg(parsed.file)
                              .arg(bytes.size())
                              .arg(ProfileFile::RecordSize));
    }
    bytes += ProfileFile::encodeRecord(entry);
    QSaveFile file(parsed.file);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return refuse(
            QStringLiteral("profile add: %1: cannot be written: %2").arg(parsed.file, error));
    }
    return CliExit::Ok;
}
