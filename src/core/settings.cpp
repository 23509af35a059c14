// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"

#include "core/registry/registry.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace Settings {
namespace {

// The leading number of a text, as the settings have always been read: blanks skipped, then
// an optional sign, digits with an optional decimal point, an optional exponent; 0 when the
// text does not start with a number. Read the same way whatever the user's locale.
double leadingNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return 0;
    // Out of range gives an infinity (or 0 when too small), which is what the number is.
    return QLocale::c().toDouble(m.captured(1));
}

QString readClean(const QString& name)
{
    return Registry::CleanValue(Registry::ReadValue(KeyPath, name));
}

} // namespace

bool toggleFromSetting(const QString& text)
{
    const double value = std::nearbyint(1.0 - leadingNumber(text)); // halves to even
    return value != 0.0;
}

QString settingFromToggle(bool pressed)
{
    return pressed ? QStringLiteral("0") : QStringLiteral("1");
}

Values read(const QString& commandLine)
{
    Values v;
    v.profileFileName = commandLine.isEmpty() ? readClean(LastProfile) : commandLine;
    v.showIcons = readToggle(ShowFileNames);
    v.copySource = readToggle(CopySource);
    v.copyTarget = readToggle(CopyTarget);
    return v;
}

QString write(const Values& values)
{
    QString error;
    bool ok = Registry::CreateKey(KeyPath, &error);
    const std::pair<QString, QString> texts[] = {
        {LastProfile, values.profileFileName},
        {ShowFileNames, settingFromToggle(values.showIcons)},
        {CopySource, settingFromToggle(values.copySource)},
        {CopyTarget, settingFromToggle(values.copyTarget)}};
    // Each value on its own: one that fails does not keep the others from being saved.
    for (const auto& [name, text] : texts) {
        QString failed;
        if (!Registry::WriteValue(KeyPath, name, text, &failed) && ok) {
            ok = false;
            error = failed;
        }
    }
    if (ok)
        return {};
    return QCoreApplication::translate("Settings", "The settings could not be saved: ") + error;
}

bool readToggle(const QString& name)
{
    return toggleFromSetting(readClean(name));
}

QString writeValue(const QString& name, const QString& text)
{
    QString error;
    if (Registry::CreateKey(KeyPath, &error) && Registry::WriteValue(KeyPath, name, text, &error))
        return {};
    return QCoreApplication::translate("Settings", "The settings could not be saved: ") + error;
}

int readKeepVersions()
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const QString text = readClean(KeepVersions).trimmed();
    const int days = digits.match(text).hasMatch() ? text.toInt() : -1;
    return days >= 0 && days <= KeepVersionsMost ? days : KeepVersionsDefault;
}

QString writeKeepVersions(int days)
{
    if (days < 0 || days > KeepVersionsMost)
        return QCoreApplication::translate(
                   "Settings", "The settings could not be saved: %1 days is not 0 to %2")
            .arg(days)
            .arg(KeepVersionsMost);
    return writeValue(KeepVersions, QString::number(days));
}

} // namespace Settings
