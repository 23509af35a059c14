// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "core/settings.h"

#include <QRegularExpression>

// ketrano-cli settings [NAME [VALUE]]: the window's saved settings, read and set through the
// same store as the window's.

namespace {

struct CliSetting
{
    const char* name;     // as the command line names it
    const QString* value; // the value name in the store
    bool toggle;          // on/off, else a number of days
};

const CliSetting Known[] = {{"copy-source", &Settings::CopySource, true},
                            {"copy-target", &Settings::CopyTarget, true},
                            {"show-icons", &Settings::ShowFileNames, true},
                            {"keep-versions", &Settings::KeepVersions, false}};

QString names()
{
    QStringList all;
    for (const CliSetting& s : Known)
        all << QLatin1String(s.name);
    return all.join(QLatin1String(", "));
}

QString valueOf(const CliSetting& s)
{
    if (!s.toggle)
        return QString::number(Settings::readKeepVersions());
    return Settings::readToggle(*s.value) ? QStringLiteral("on") : QStringLiteral("off");
}

// Saves text as the setting's value; the exit status.
int set(const CliSetting& s, const QString& text)
{
    QString error;
    if (s.toggle) {
        if (text != QLatin1String("on") && text != QLatin1String("off"))
            return usageError(settingsCommand(),
                              QStringLiteral("%1 takes on or off").arg(QLatin1String(s.name)));
        // Stored as the window stores its toggles.
        error = Settings::writeValue(*s.value,
                                     Settings::settingFromToggle(text == QLatin1String("on")));
    } else {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        const int days = digits.match(text).hasMatch() ? text.toInt() : -1;
        if (days < 0 || days > Settings::KeepVersionsMost)
            return usageError(settingsCommand(),
                              QStringLiteral("%1 takes a whole number of days from 0 to %2")
                                  .arg(QLatin1String(s.name))
                                  .arg(Settings::KeepVersionsMost));
        error = Settings::writeKeepVersions(days);
    }
    if (error.isEmpty())
        return CliExit::Ok;
    cliError(QStringLiteral("settings: ") + error);
    return CliExit::BadInput;
}

int runSettings(const QCommandLineParser& parser, const QString&)
{
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        for (const CliSetting& s : Known)
            if (!writeOut(QStringLiteral("%1=%2\n").arg(QLatin1String(s.name), valueOf(s))))
                break;
        flushOut();
        return CliExit::Ok;
    }
    for (const CliSetting& s : Known) {
        if (words[0] != QLatin1String(s.name))
            continue;
        if (words.size() == 2)
            return set(s, words[1]);
        writeOut(QStringLiteral("%1=%2\n").arg(words[0], valueOf(s)));
        flushOut();
        return CliExit::Ok;
    }
    return usageError(settingsCommand(),
                      QStringLiteral("no setting \"%1\" (there are %2)").arg(words[0], names()));
}

} // namespace

const CliCommand& settingsCommand()
{
    static const CliCommand command{
        QStringLiteral("settings"),
        QString(),
        QString(),
        QStringLiteral("show or set the saved settings"),
        QStringLiteral(
            "Without NAME, prints every setting as NAME=VALUE, one per line; with NAME, that\n"
            "one; with VALUE, saves it. The settings are the window's:\n"
            "  copy-source    on|off  the Copy Source toggle: sync copies Source to Target\n"
            "  copy-target    on|off  the Copy Target toggle: sync copies Target to Source\n"
            "  show-icons     on|off  the Show Icons toggle of the result lists\n"
            "  keep-versions  DAYS    how many days replaced files are to be kept as\n"
            "                         versions (0 to 36500, default 30); saved, but this\n"
            "                         version of the program keeps no versions yet\n"
            "The window reads them when it starts and saves its toggles when it closes, so a\n"
            "toggle set here while the window is open gives way to the window's."),
        {},
        runSettings,
        {QStringLiteral("[NAME]"), QStringLiteral("[VALUE]")}};
    return command;
}
