// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.h"

#include "cli/cli_output.h"

#include <QRegularExpression>

namespace {

QCommandLineOption helpOption()
{
    return QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("show this help"));
}

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// "-q, --quiet" or "--source S".
QString optionLabel(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& n : option.names())
        names << dashed(n);
    QString label = names.join(QLatin1String(", "));
    if (!option.valueName().isEmpty())
        label += QLatin1Char(' ') + option.valueName();
    return label;
}

const QCommandLineOption* findOption(const CliCommand& command, const QString& name)
{
    for (const QCommandLineOption& o : command.options)
        if (o.names().contains(name))
            return &o;
    return nullptr;
}

// QCommandLineParser's own complaints, in this program's words (its texts are English: the
// program installs no translator).
QString parserError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList names;
        for (const QString& n : unknown)
            names << QLatin1Char('"') + dashed(n) + QLatin1Char('"');
        return (unknown.size() == 1 ? QStringLiteral("unknown option ")
                                    : QStringLiteral("unknown options ")) +
               names.join(QLatin1String(", "));
    }
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    const QString text = parser.errorText();
    if (const auto m = missing.match(text); m.hasMatch())
        return QStringLiteral("option %1 needs a value").arg(m.captured(1));
    if (const auto m = unexpected.match(text); m.hasMatch())
        return QStringLiteral("option %1 takes no value").arg(m.captured(1));
    return text;
}

// "--source --target /b" would take "--target" as the Source folder: a value written apart
// from its option must not look like an option ("--source=--odd" still gives one).
QString valueLooksLikeOption(const CliCommand& command, const QStringList& args)
{
    for (qsizetype i = 0; i + 1 < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--"))
            break;
        const QString name = arg.startsWith(QLatin1String("--"))                   ? arg.mid(2)
                             : arg.size() == 2 && arg.startsWith(QLatin1Char('-')) ? arg.mid(1)
                                                                                   : QString();
        const QCommandLineOption* option = name.isEmpty() ? nullptr : findOption(command, name);
        if (!option || option->valueName().isEmpty())
            continue;
        const QString& value = args[i + 1];
        if (value.startsWith(QLatin1Char('-')) && value != QLatin1String("-"))
            return QStringLiteral("option %1 needs a value").arg(arg);
        ++i;
    }
    return {};
}

} // namespace

QString wrapWords(const QString& text, int width, int indent)
{
    // "[--source-to-target on|off]" is one word.
    QStringList words;
    int depth = 0;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (depth > 0)
            words.last() += QLatin1Char(' ') + part;
        else
            words << part;
        depth += int(part.count(QLatin1Char('['))) - int(part.count(QLatin1Char(']')));
    }
    QString out, line;
    for (const QString& word : words) {
        if (!line.trimmed().isEmpty() && line.size() + 1 + word.size() > width) {
            out += line + QLatin1Char('\n');
            line = QString(indent, QLatin1Char(' '));
        } else if (!line.isEmpty() && !line.endsWith(QLatin1Char(' '))) {
            line += QLatin1Char(' ');
        }
        line += word;
    }
    return out + line;
}

QString commandUsage(const CliCommand& command)
{
    QStringList usage{QStringLiteral("Usage: ketrano-cli"), command.name};
    if (!command.argument.isEmpty())
        usage << command.argument;
    if (!command.synopsis.isEmpty())
        usage << command.synopsis;
    QString text = wrapWords(usage.join(QLatin1Char(' ')), 80, 8);
    text += QStringLiteral("\n\n") + command.description + QStringLiteral("\n\nOptions:\n");
    QList<QCommandLineOption> options = command.options;
    options << helpOption();
    qsizetype width = 0;
    for (const QCommandLineOption& o : options)
        width = qMax(width, optionLabel(o).size());
    for (const QCommandLineOption& o : options) {
        // Descriptions may hold line breaks; their lines line up under the first.
        const QString indent = QString(width + 4, QLatin1Char(' '));
        text += QStringLiteral("  ") + optionLabel(o).leftJustified(width + 2) +
                QString(o.description()).replace(QLatin1Char('\n'), QLatin1Char('\n') + indent) +
                QLatin1Char('\n');
    }
    return text;
}

int usageError(const CliCommand& command, const QString& message)
{
    cliError(QStringLiteral("%1: %2; see ketrano-cli help %1").arg(command.name, message));
    return CliExit::BadInput;
}

int parseCommand(const CliCommand& command, const QStringList& args, QCommandLineParser& parser,
                 QString& argument)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions(command.options);
    parser.addOption(helpOption());
    const bool parsed = parser.parse(QStringList{command.name} + args);
    if (parser.isSet(QStringLiteral("help"))) {
        writeOut(commandUsage(command));
        return CliExit::Ok;
    }
    if (!parsed)
        return usageError(command, parserError(parser));
    if (const QString error = valueLooksLikeOption(command, args); !error.isEmpty())
        return usageError(command, error);
    for (const QCommandLineOption& o : command.options) {
        if (o.valueName().isEmpty())
            continue;
        // Given twice with the same value is harmless; with two values, which one was meant?
        const QStringList values = parser.values(o.names().constLast());
        for (const QString& v : values) {
            if (v != values[0])
                return usageError(command,
                                  QStringLiteral("option --%1 given twice (\"%2\" and \"%3\")")
                                      .arg(o.names().constLast(), values[0], v));
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (command.argument.isEmpty()) {
        if (!positional.isEmpty())
            return usageError(command,
                              QStringLiteral("unexpected argument \"%1\"").arg(positional[0]));
        return -1;
    }
    // Every command's one argument is a profile file.
    if (positional.isEmpty()) {
        cliError(QStringLiteral("%1: no profile file given; usage: ketrano-cli %1 %2 %3")
                     .arg(command.name, command.argument, command.synopsis)
                     .trimmed());
        return CliExit::BadInput;
    }
    if (positional.size() > 1)
        return usageError(command, QStringLiteral("unexpected argument \"%1\": more than one "
                                                  "profile file given")
                                       .arg(positional[1]));
    argument = positional[0];
    return -1;
}

QString optionValue(const QCommandLineParser& parser, const QString& name, const QString& fallback)
{
    return parser.isSet(name) ? parser.value(name) : fallback;
}
