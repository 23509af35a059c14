// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/registry/registry.h"

#include "core/trim_blanks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace Registry {
namespace {

// Module state: where the "Incorrect Format:" message goes.
std::function<void(const QString&)> g_messageHandler;

constexpr int ReadCapacity = 255; // bytes, terminating zero included

const char* const RootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

// A key or value name as a file name: "/" and "%" escaped, and a leading "." too, so that no
// name can climb out of its key's folder or hide itself.
QString encodeName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("%"); // the key's default value; no escaped name is "%" alone
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('%'))
            out += QLatin1String("%25");
        else if (c == QLatin1Char('/'))
            out += QLatin1String("%2F");
        else if (c == QLatin1Char('.') && i == 0)
            out += QLatin1String("%2E");
        else
            out += c;
    }
    return out;
}

QString keyFolder(Root root, const QString& subKey)
{
    QString folder = storeFolder() + QLatin1Char('/') + QLatin1String(RootNames[int(root) - 1]);
    const QStringList parts = subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        folder += QLatin1Char('/') + encodeName(part);
    return folder;
}

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

void showMessage(const QString& text)
{
    if (g_messageHandler)
        g_messageHandler(text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

void setMessageHandler(std::function<void(const QString&)> handler)
{
    g_messageHandler = std::move(handler);
}

QString storeFolder()
{
    // A relative XDG_CONFIG_HOME is not valid and is ignored, as the freedesktop rules say.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QLatin1String("/.config");
    return config + QLatin1String("/ketrano/registry");
}

Root RootKeyFromName(const QString& name)
{
    for (int i = 0; i < int(std::size(RootNames)); ++i) {
        if (name == QLatin1String(RootNames[i]))
            return Root(i + 1);
    }
    return Root::None;
}

Root ParseKeyPath(QString& keyPath)
{
    if (!keyPath.startsWith(QLatin1String("HKEY_")) || keyPath.endsWith(QLatin1Char('\\'))) {
        showMessage(QStringLiteral("Incorrect Format:") + QLatin1String("\n\n") + keyPath);
        return Root::None;
    }
    const qsizetype slash = keyPath.indexOf(QLatin1Char('\\'));
    const Root root = RootKeyFromName(slash >= 0 ? keyPath.left(slash) : keyPath);
    keyPath = slash >= 0 ? keyPath.mid(slash + 1) : QString();
    return root;
}

QString ReadValue(const QString& keyPath, const QString& valueName)
{
    QString subKey = keyPath;
    const Root root = ParseKeyPath(subKey);
    if (root == Root::None)
        return {};
    const QString folder = keyFolder(root, subKey);
    // A root key always exists, even before anything was stored under it.
    const QFileInfo key(folder);
    if (!subKey.isEmpty() && (!key.isDir() || !key.isReadable()))
        return QStringLiteral("Error");
    // Only a regular file is a value: a folder there is a key, and anything else (a pipe, a
    // device) could block the read.
    const QFileInfo info(folder + QLatin1Char('/') + encodeName(valueName));
    if (!info.isFile())
        return QStringLiteral("Error");
    QFile value(info.filePath());
    if (!value.open(QIODevice::ReadOnly))
        return QStringLiteral("Error");
    const QByteArray data = value.read(ReadCapacity);
    if (value.error() != QFileDevice::NoError)
        return QStringLiteral("Error");
    if (data.size() + 1 > ReadCapacity) // no room for the terminating zero
        return QStringLiteral("Error");
    // The value and its terminating zero land in a buffer of blanks; the blanks around it are
    // trimmed and the zero dropped, so leading blanks of the value go and trailing ones stay.
    QByteArray buffer(ReadCapacity, ' ');
    buffer.replace(0, data.size() + 1, data + QByteArray(1, '\0'));
    const QByteArrayView text = trimBlanks(QByteArrayView(buffer));
    if (text.isEmpty())
        return {};
    return QString::fromUtf8(text.first(text.size() - 1));
}

QString CleanValue(const QString& text)
{
    if (text.toUpper() == QLatin1String("ERROR"))
        return {};
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool CreateKey(const QString& keyPath, QString* error)
{
    QString subKey = keyPath;
    const Root root = ParseKeyPath(subKey);
    if (root == Root::None)
        return fail(error, QStringLiteral("Incorrect Format: ") + keyPath);
    const QString folder = keyFolder(root, subKey);
    if (!QDir().mkpath(folder))
        return fail(error, QStringLiteral("%1 cannot be created").arg(folder));
    return true;
}

bool WriteValue(const QString& keyPath, const QString& valueName, const QString& text,
                QString* error)
{
    QString subKey = keyPath;
    const Root root = ParseKeyPath(subKey);
    if (root == Root::None)
        return fail(error, QStringLiteral("Incorrect Format: ") + keyPath);
    const QString folder = keyFolder(root, subKey);
    // A root key always exists; any other key only once it has been created.
    if (subKey.isEmpty())
        QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir())
        return fail(error, QStringLiteral("%1 is not there").arg(folder));
    QSaveFile value(folder + QLatin1Char('/') + encodeName(valueName));
    const QByteArray bytes = text.toUtf8();
    if (!value.open(QIODevice::WriteOnly) || value.write(bytes) != bytes.size() || !value.commit())
        return fail(error, QStringLiteral("%1: %2").arg(value.fileName(), value.errorString()));
    return true;
}

} // namespace Registry
