// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/desktop_shortcut.h"

#include "profile/profile_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace DesktopShortcut {

QString linkName(const QString& profileFileName)
{
    const qsizetype slash = profileFileName.lastIndexOf(QLatin1Char('/'));
    QString name = profileFileName.mid(slash + 1);
    // Four characters, not four UTF-16 units: never leave half a surrogate pair behind.
    for (int dropped = 0; dropped < 4 && !name.isEmpty(); ++dropped) {
        const qsizetype n = name.size();
        const bool pair =
            n >= 2 && name.at(n - 1).isLowSurrogate() && name.at(n - 2).isHighSurrogate();
        name.chop(pair ? 2 : 1);
    }
    return name;
}

QString keyValue(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char(' ') && (i == 0 || i == text.size() - 1))
            out += QLatin1String("\\s");
        else
            out += c;
    }
    return out;
}

QString quoteExecWord(const QString& word)
{
    QString out(QLatin1Char('"'));
    for (const QChar c : word) {
        if (c == QLatin1Char('%')) {
            out += QLatin1String("%%");
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QByteArray launcherText(const QString& linkName, const QString& program, const QString& profilePath)
{
    const QString exec = quoteExecWord(program) + QLatin1Char(' ') + quoteExecWord(profilePath);
    const QString text = QLatin1String("[Desktop Entry]\n"
                                       "Type=Application\n"
                                       "Name=") +
                         keyValue(linkName) + QLatin1String("\nExec=") + keyValue(exec) +
                         QLatin1String("\n"
                                       "Icon=ketrano\n"
                                       "Terminal=false\n");
    return text.toUtf8();
}

} // namespace DesktopShortcut

LauncherPlace userLauncherPlace()
{
    LauncherPlace place;
    place.desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    place.program = QCoreApplication::applicationDirPath() + QLatin1String("/ketrano");
    place.markTrusted = true;
    place.menuFolder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return place;
}

namespace {

// Writes a launcher file atomically; empty on success, else why not.
QString writeLauncherFile(const QString& path, const QByteArray& text,
                          QFileDevice::Permissions permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() ||
        !file.setPermissions(permissions) || !file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

} // namespace

LauncherResult writeLauncher(const QString& profileFileName, const LauncherPlace& place)
{
    LauncherResult result;
    const QString name = DesktopShortcut::linkName(profileFileName);
    if (name.isEmpty()) {
        result.error = QCoreApplication::translate(
                           "Profile", "The profile file name \"%1\" gives the shortcut no name.")
                           .arg(profileFileName);
        return result;
    }
    if (place.desktopFolder.isEmpty() || !QDir().mkpath(place.desktopFolder)) {
        result.error =
            QCoreApplication::translate("Profile", "The desktop folder \"%1\" cannot be created.")
                .arg(place.desktopFolder);
        return result;
    }
    const QString profilePath = QDir::isRelativePath(profileFileName)
                                    ? QDir::current().absoluteFilePath(profileFileName)
                                    : profileFileName;
    result.path = place.desktopFolder + QLatin1Char('/') + name + QLatin1String(".desktop");

    const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions executable =
        readable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const QByteArray text = DesktopShortcut::launcherText(name, place.program, profilePath);
    result.error = writeLauncherFile(result.path, text, executable);
    if (!result.error.isEmpty())
        return result;
    result.created = true;

    const QString menuPath =
        place.menuFolder + QLatin1String("/ketrano-") + name + QLatin1String(".desktop");
    if (!place.menuFolder.isEmpty() && QDir().mkpath(place.menuFolder) &&
        writeLauncherFile(menuPath, text, readable).isEmpty())
        result.menuPath = menuPath;

    if (place.markTrusted) {
        // GNOME's desktop starts a launcher only when it is marked trusted. Best effort.
        const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
        if (!gio.isEmpty())
            QProcess::startDetached(gio,
                                    {QStringLiteral("set"), result.path,
                                     QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    }
    return result;
}

void createDesktopShortcut(const QString& profileFileName, const LauncherPlace& place,
                           const Callbacks& cb)
{
    const auto tell = [&cb](const QString& text) {
        if (cb.showMessage)
            cb.showMessage(text);
    };
    if (isNoProfileFile(profileFileName)) {
        tell(QCoreApplication::translate(
            "Profile", "Save the profile to a file first: the shortcut starts the program "
                       "with a saved profile file."));
        return;
    }
    const LauncherResult result = writeLauncher(profileFileName, place);
    if (result.created)
        tell(QCoreApplication::translate("Profile", "Shortcut Created on Desktop"));
    else
        tell(QCoreApplication::translate("Profile",
                                         "The shortcut could not be created on the desktop: %1")
                 .arg(result.error));
}
