// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_notice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

#include <cmath>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

QString count(qint64 n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}
} // namespace

QString DesktopNotice::runText(qint64 copied, qint64 failed, bool cancelled)
{
    const QString text =
        count(copied, "file", "files") + QStringLiteral(" copied, %1 failed.").arg(failed);
    return cancelled ? tr("Canceled: ") + text : text;
}

void DesktopNotice::notify(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!m_listening) {
        m_listening = bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                                  SLOT(actionInvoked(uint, QString)));
    }
    QVariantMap hints;
    if (!QGuiApplication::desktopFileName().isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << QStringLiteral("Ketrano Backup") << uint(0) << QStringLiteral("ketrano") << summary
         << body << QStringList{QStringLiteral("default"), tr("Show")} << hints << int(-1);
    // Asynchronous: the window never waits for the desktop; an error (no service) is dropped.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isValid())
            m_id = reply.value();
        w->deleteLater();
    });
}

void DesktopNotice::actionInvoked(uint id, const QString& action)
{
    if (m_id != 0 && id == m_id && action == QLatin1String("default"))
        Q_EMIT activated();
}

void DesktopNotice::showProgress(double fraction)
{
    const int percent = int(std::floor(qBound(0.0, fraction, 1.0) * 100));
    if (m_progressShown && percent == m_percent)
        return;
    m_percent = percent;
    m_progressShown = true;
    sendProgress(percent / 100.0, true);
}

void DesktopNotice::hideProgress()
{
    if (!m_progressShown)
        return;
    m_progressShown = false;
    m_percent = -1;
    sendProgress(0, false);
}

void DesktopNotice::sendProgress(double fraction, bool visible)
{
    const QString desktopFile = QGuiApplication::desktopFileName();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (desktopFile.isEmpty() || !bus.isConnected())
        return;
    const QString uri = QStringLiteral("application://%1.desktop").arg(desktopFile);
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/com/canonical/unity/launcherentry/%1").arg(qHash(uri)),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    signal << uri
           << QVariantMap{{QStringLiteral("progress"), fraction},
                          {QStringLiteral("progress-visible"), visible}};
    bus.send(signal);
}
