// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"

#include <QByteArray>
#include <QString>

// The profile toolbar's "Create ShortCut": a freedesktop launcher on the user's desktop that
// starts the program with the current profile file, which then scans and synchronizes it. The
// same launcher goes into the user's application menu, since several desktops show no icons
// on the desktop.

namespace DesktopShortcut {

// The file-name part of the profile path without its last four characters (".prf").
QString linkName(const QString& profileFileName);

// A text as the value of a desktop entry key: backslash, newline, tab and carriage return
// escaped, and a blank at either end written as \s so that readers do not trim it.
QString keyValue(const QString& text);

// One word of an Exec line before the key value escapes: '%' doubled (no field code), then
// in double quotes with '"', '`', '$' and '\' escaped by a backslash.
QString quoteExecWord(const QString& word);

// The whole launcher file.
QByteArray launcherText(const QString& linkName, const QString& program,
                        const QString& profilePath);

} // namespace DesktopShortcut

// Where a launcher goes and what it starts.
struct LauncherPlace
{
    QString desktopFolder;    // created when missing
    QString program;          // the program's own folder + "/ketrano"
    bool markTrusted = false; // ask gio to mark the launcher trusted, when gio is installed
    QString menuFolder;       // the application menu's folder; empty: no menu entry
};

// The user's desktop and application menu folders and this program, trust mark on.
LauncherPlace userLauncherPlace();

struct LauncherResult
{
    bool created = false;
    QString path;     // the launcher file on the desktop
    QString error;    // why it could not be written
    QString menuPath; // the menu's launcher, when it was written
};

// Writes (or replaces) "<link name>.desktop" atomically, executable, and the same launcher as
// "ketrano-<link name>.desktop" in the menu folder (the prefix keeps a profile from hiding
// another program's menu entry). A relative profile path is made absolute: the desktop starts
// the launcher in a folder of its own. Only the desktop's launcher counts for the result.
LauncherResult writeLauncher(const QString& profileFileName, const LauncherPlace& place);

// The command: writes the launcher and says what happened in an OK-only message. With no
// profile file chosen nothing is written and the user is asked to save the profile first.
void createDesktopShortcut(const QString& profileFileName, const LauncherPlace& place,
                           const Callbacks& cb);
