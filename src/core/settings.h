// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The settings that persist between runs, under the program's settings key.
namespace Settings {

inline const QString KeyPath = QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillmark\\Ketrano");
inline const QString LastProfile = QStringLiteral("Last Profile");
inline const QString ShowFileNames = QStringLiteral("Show File Names");
inline const QString CopySource = QStringLiteral("Copy Source");
inline const QString CopyTarget = QStringLiteral("Copy Target");
// How many days a replaced file is kept as a version: a whole number 0..36500, as text.
inline const QString KeepVersions = QStringLiteral("Keep Versions");
constexpr int KeepVersionsDefault = 30;
constexpr int KeepVersionsMost = 36500;

// A toggle's stored text is the inverse of its state: "0" pressed, "1" released. Reading takes
// the leading number (empty or non-numeric counts as 0), computes 1 - number rounded half to
// even; a result other than 0 leaves the toggle pressed.
bool toggleFromSetting(const QString& text);
QString settingFromToggle(bool pressed);

struct Values
{
    QString profileFileName; // command line, or "Last Profile" when there is none
    bool showIcons = true;
    bool copySource = true;
    bool copyTarget = true;
};

// Start-up: reads the settings ("Last Profile" only when commandLine is empty).
Values read(const QString& commandLine);
// Shutdown: creates the key and writes the four values. Returns a null string when all were
// saved, else what failed and why, for the user.
QString write(const Values& values);

// The saved state of one toggle (ShowFileNames, CopySource, CopyTarget); pressed when none is.
bool readToggle(const QString& name);
// Saves one value, creating the key. Returns a null string when it was saved, else what
// failed and why, for the user.
QString writeValue(const QString& name, const QString& text);

// "Keep Versions": the days saved, or KeepVersionsDefault when none are or the text is not a
// whole number 0..KeepVersionsMost.
int readKeepVersions();
// Saves days (0..KeepVersionsMost) as "Keep Versions"; as writeValue.
QString writeKeepVersions(int days);

} // namespace Settings
