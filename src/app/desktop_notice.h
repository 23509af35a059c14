// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// What the desktop shows of the program outside its window, over the session bus: a
// notification when an unattended run has ended (freedesktop Notifications; a click on it
// emits activated()), and the progress of a synchronization on the program's task bar entry
// (the launcher entry signal that GNOME docks, KDE's task manager and others read). The entry
// is named by the desktop file name the application announces. Where no session bus or no
// notification service runs, nothing happens.
class DesktopNotice : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // "3 files copied, 1 failed." for the notification's body.
    static QString runText(qint64 copied, qint64 failed, bool cancelled);
    void notify(const QString& summary, const QString& body);

    // Progress 0..1 on the task bar entry; sent when the whole percent changes.
    void showProgress(double fraction);
    void hideProgress();

Q_SIGNALS:
    void activated();

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);

private:
    void sendProgress(double fraction, bool visible);

    uint m_id = 0;
    bool m_listening = false;
    bool m_progressShown = false;
    int m_percent = -1;
};
