// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_json.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "core/name_bytes.h"
#include "core/plain_text.h"
#include "core/run_log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

// ketrano-cli log [-n N] [--json]: the last runs from the run log.

namespace {

// The text that escapeForLine wrote as field; false when it holds an escape it never writes.
bool unescapeField(const QString& field, QString& text)
{
    QByteArray bytes; // \xHH stands for one byte, of a name that is not UTF-8 or a control
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != QLatin1Char('\\')) {
            qsizetype end = field.indexOf(QLatin1Char('\\'), i);
            end = end < 0 ? field.size() : end;
            bytes += nameBytes(QStringView(field).mid(i, end - i));
            i = end - 1;
            continue;
        }
        const QChar c = i + 1 < field.size() ? field[i + 1] : QChar();
        if (c == QLatin1Char('t') || c == QLatin1Char('n') || c == QLatin1Char('r') ||
            c == QLatin1Char('\\')) {
            bytes += c == QLatin1Char('t')   ? '\t'
                     : c == QLatin1Char('n') ? '\n'
                     : c == QLatin1Char('r') ? '\r'
                                             : '\\';
            ++i;
            continue;
        }
        const QString hex = field.mid(i + 2, 2); // \xHH
        const auto isHex = [](QChar h) { return h.isDigit() || (h >= u'a' && h <= u'f'); };
        if (c != QLatin1Char('x') || hex.size() != 2 || !isHex(hex[0]) || !isHex(hex[1]))
            return false;
        const int byte = hex.toInt(nullptr, 16);
        bytes += char(byte);
        i += 3;
    }
    text = nameText(bytes);
    return true;
}

// A line of the run log as JSON with typed fields; empty for a line that is not a run.
QJsonObject runObject(const QString& line)
{
    static const QRegularExpression time(
        QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$"));
    static const QRegularExpression directions(
        QStringLiteral("^source-to-target=(on|off) target-to-source=(on|off)$"));
    static const QRegularExpression count(QStringLiteral("^(files|kb|errors|status)=([0-9]+)$"));
    const QStringList f = line.split(QLatin1Char('\t'));
    QString program, profile;
    if (f.size() != 8 || !time.match(f[0]).hasMatch() || !unescapeField(f[1], program) ||
        !unescapeField(f[2], profile))
        return {};
    const QRegularExpressionMatch d = directions.match(f[3]);
    if (!d.hasMatch())
        return {};
    QJsonObject run{{QStringLiteral("time"), f[0]},
                    {QStringLiteral("program"), jsonText(program)},
                    {QStringLiteral("profile"), jsonText(profile)},
                    {QStringLiteral("sourceToTarget"), d.captured(1) == QLatin1String("on")},
                    {QStringLiteral("targetToSource"), d.captured(2) == QLatin1String("on")}};
    const char* const names[] = {"files", "kb", "errors", "status"};
    for (int i = 0; i < 4; ++i) {
        const QRegularExpressionMatch m = count.match(f[4 + i]);
        bool ok = m.hasMatch() && m.captured(1) == QLatin1String(names[i]);
        const qint64 value = ok ? m.captured(2).toLongLong(&ok) : 0;
        if (!ok)
            return {};
        run.insert(QLatin1String(names[i]), value);
    }
    return run;
}

// The lines as one JSON document; a line that is not a run is said on stderr and left out.
int printJson(const QStringList& lines)
{
    QJsonArray runs;
    int status = CliExit::Ok;
    for (const QString& line : lines) {
        if (const QJsonObject run = runObject(line); !run.isEmpty()) {
            runs.append(run);
            continue;
        }
        cliError(QStringLiteral("log: %1: not a run, left out: %2")
                     .arg(RunLog::path(), escapeForLine(line)));
        status = CliExit::CopyFailed;
    }
    const QJsonObject document{{QStringLiteral("version"), JsonVersion},
                               {QStringLiteral("log"), jsonText(RunLog::path())},
                               {QStringLiteral("runs"), runs}};
    writeOut(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    return status;
}

int runLog(const QCommandLineParser& parser, const QString&)
{
    bool ok = true;
    const int count = optionValue(parser, QStringLiteral("lines"), QStringLiteral("10")).toInt(&ok);
    if (!ok || count < 0)
        return usageError(logCommand(), QStringLiteral("-n takes a number of runs"));
    QStringList lines;
    QString error;
    if (!RunLog::lastLines(count, lines, &error)) {
        cliError(QStringLiteral("log: ") + error);
        return CliExit::BadInput;
    }
    int status = CliExit::Ok;
    if (parser.isSet(QStringLiteral("json")))
        status = printJson(lines);
    else
        for (const QString& line : lines)
            if (!writeOut(line + QLatin1Char('\n')))
                break;
    flushOut();
    return status;
}

} // namespace

const CliCommand& logCommand()
{
    static const CliCommand command{
        QStringLiteral("log"),
        QString(),
        QStringLiteral("[-n N] [--json]"),
        QStringLiteral("show the last unattended runs"),
        QStringLiteral(
            "Prints the last lines of the run log, oldest first. Every sync, and every run of\n"
            "the window started with a profile, adds one line of tab-separated fields: the\n"
            "time (UTC), the program, the profile, the directions, files=, kb= (copied),\n"
            "errors= (every error row of the run) and status= (the exit status; 3: another\n"
            "run held the profile). The log is $XDG_STATE_HOME/ketrano/runs.log\n"
            "(~/.local/state/ketrano/runs.log)."),
        {QCommandLineOption(QStringList{QStringLiteral("n"), QStringLiteral("lines")},
                            QStringLiteral("how many runs (default 10)"), QStringLiteral("N")),
         QCommandLineOption(QStringLiteral("json"),
                            QStringLiteral("one JSON document: \"version\": 1, \"log\" and "
                                           "\"runs\", each with\n\"time\" (ISO 8601 UTC), "
                                           "\"program\", \"profile\", \"sourceToTarget\",\n"
                                           "\"targetToSource\" (true/false), \"files\", \"kb\", "
                                           "\"errors\" and \"status\";\na line that is not a run "
                                           "is left out, said on stderr, exit 1"))},
        runLog};
    return command;
}
