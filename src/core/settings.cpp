#include "core/settings.h"

#include "core/registry/registry.h"

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
    v.showIcons = toggleFromSetting(readClean(ShowFileNames));
    v.copySource = toggleFromSetting(readClean(CopySource));
    v.copyTarget = toggleFromSetting(readClean(CopyTarget));
    return v;
}

void write(const Values& values)
{
    Registry::CreateKey(KeyPath);
    Registry::WriteValue(KeyPath, LastProfile, values.profileFileName);
    Registry::WriteValue(KeyPath, ShowFileNames, settingFromToggle(values.showIcons));
    Registry::WriteValue(KeyPath, CopySource, settingFromToggle(values.copySource));
    Registry::WriteValue(KeyPath, CopyTarget, settingFromToggle(values.copyTarget));
}

} // namespace Settings
