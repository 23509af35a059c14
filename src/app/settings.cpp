#include "app/settings.h"

#include "app/registry/registry.h"

#include <cmath>
#include <cstdlib>

namespace Settings {
namespace {

// The leading number of a text, as the settings have always been read: blanks skipped, then
// an optional sign, digits, a decimal point and an exponent; 0 when there is no number.
double leadingNumber(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(value))
        return 0;
    // strtod also reads "inf", "nan" and hex numbers, which do not count as numbers here.
    for (const char* p = begin; p < end; ++p) {
        if (!(std::isdigit(static_cast<unsigned char>(*p)) || *p == '+' || *p == '-' || *p == '.' ||
              *p == 'e' || *p == 'E'))
            return 0;
    }
    return value;
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
