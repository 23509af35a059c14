// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.h"

#include "cli/cli_output.h"

#include <QRegularExpression>
#include <QStringDecoder>

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

// The arguments that were not valid UTF-8, as the program got them as text.
QStringList& argumentsNotText()
{
    static QStringList arguments;
    return arguments;
}

} // namespace

void keepArgumentBytes(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8(QByteArrayView(argv[i]));
        if (utf8.hasError())
            argumentsNotText() << text;
    }
}

bool cameAsText(const QString& text)
{
    if (!text.contains(QChar::ReplacementCharacter))
        return true;
    // "--source=/a/x\xff" and "/a/x\xff" hold the value at their end.
    for (const QString& argument : argumentsNotText())
        if (argument.endsWith(text))
            return false;
    return true;
}

QString argumentsText(const CliCommand& command)
{
    QStringList words;
    if (!command.argument.isEmpty())
        words << command.argument;
    QString optional; // "[NAME [VALUE]]": the ones that may be left out, nested
    for (qsizetype i = command.moreArguments.size() - 1; i >= 0; --i) {
        const QString& name = command.moreArguments[i];
        if (!name.startsWith(QLatin1Char('[')))
            break;
        optional = name.chopped(1) +
                   (optional.isEmpty() ? QString() : QLatin1Char(' ') + optional) +
                   QLatin1Char(']');
    }
    for (const QString& name : command.moreArguments)
        if (!name.startsWith(QLatin1Char('[')))
            words << name;
    if (!optional.isEmpty())
        words << optional;
    return words.join(QLatin1Char(' '));
}

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
    if (const QString arguments = argumentsText(command); !arguments.isEmpty())
        usage << arguments;
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
    const qsizetype first = command.argument.isEmpty() ? 0 : 1;
    qsizetype required = first;
    while (required - first < command.moreArguments.size() &&
           !command.moreArguments[required - first].startsWith(QLatin1Char('[')))
        ++required;
    const qsizetype most = first + command.moreArguments.size();
    if (first > 0 && positional.isEmpty()) {
        cliError(QStringLiteral("%1: no profile file given; usage: ketrano-cli %1 %2 %3")
                     .arg(command.name, argumentsText(command), command.synopsis)
                     .trimmed());
        return CliExit::BadInput;
    }
    if (positional.size() < required)
        return usageError(
            command,
            QStringLiteral("%1 is missing").arg(command.moreArguments[positional.size() - first]));
    if (positional.size() > most) {
        if (first > 0 && most == 1)
            return usageError(command, QStringLiteral("unexpected argument \"%1\": more than one "
                                                      "profile file given")
                                           .arg(positional[1]));
        return usageError(command,
                          QStringLiteral("unexpected argument \"%1\"").arg(positional[most]));
    }
    if (first == 0)
        return -1;
    // The file that the text names is not the one given.
    if (!cameAsText(positional[0])) {
        cliError(QStringLiteral("%1: the file name \"%2\" is not valid UTF-8, so it would name "
                                "another file")
                     .arg(command.name, positional[0]));
        return CliExit::BadInput;
    }
    argument = positional[0];
    return -1;
}

QString optionValue(const QCommandLineParser& parser, const QString& name, const QString& fallback)
{
    return parser.isSet(name) ? parser.value(name) : fallback;
}
