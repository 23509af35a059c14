// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_driver.h"

#include "core/registry/registry.h"
#include "core/settings.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeView>

WindowDriver::WindowDriver(const QString& commandLine) : form(commandLine)
{
    const Callbacks scripted = rec.callbacks();
    Callbacks& cb = form.callbacks();
    cb.askYesNo = scripted.askYesNo;
    cb.askYesNoPlain = scripted.askYesNoPlain;
    cb.showMessage = scripted.showMessage;
    cb.saveFileName = scripted.saveFileName;
    cb.openFileName = scripted.openFileName;
    cb.pickFolder = scripted.pickFolder;
    cb.openFile = scripted.openFile;
    cb.panelChanged = [this, shown = cb.panelChanged](int panel, const QString& text) {
        if (panel == 1)
            states << text;
        shown(panel, text);
    };
}

void WindowDriver::keys(const char* control, const QString& sequence)
{
    QWidget* target = qstrcmp(control, "MainForm") == 0 ? &form : find(control);
    if (!target)
        qFatal("no control %s", control);
    // Keys reach the window's shortcuts only while it is the active window. A dialog closed a
    // moment ago may still be told active by the platform (and the window shares activation
    // with its dialogs, so isActiveWindow() does not tell): wait until the window is.
    if (!form.isVisible())
        form.show();
    QCoreApplication::processEvents();
    if (QApplication::activeWindow() != &form) {
        form.activateWindow();
        if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }))
            qFatal("the window does not become active");
    }
    target->setFocus(Qt::OtherFocusReason);
    // Each key goes where the focus is then, as typed: Tab moves it on.
    const QKeySequence keys(sequence);
    for (int i = 0; i < keys.count(); ++i) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : target;
        QTest::keyClick(focus, keys[i].key(), keys[i].keyboardModifiers());
    }
}

QString WindowDriver::panels() const
{
    QStringList texts;
    for (int i = 1; i <= 5; ++i)
        texts << form.panel(i)->text();
    return texts.join(QLatin1Char('|'));
}

bool WindowDriver::finished()
{
    return form.panel(4)->text().endsWith(QLatin1String("Files copied")) &&
           form.state().control.running == Running::Idle;
}

QString WindowDriver::shown(const ResultListModel& list)
{
    QStringList out;
    for (const ResultRow& r : list.rows())
        out << (r.checked ? QString() : QStringLiteral("-")) + r.name();
    return out.join(QLatin1Char(' '));
}

bool onModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect,
             int waitMs)
{
    // Watches for a modal window from the action's own event loop on, however many turns of
    // the event loop it takes to open.
    bool seen = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = true;
        watch.stop();
        if (inspect)
            inspect(modal);
        modal->close();
    });
    watch.start();
    action();
    // A button's key clicks it a moment later, as a person would see it pressed.
    return seen || (waitMs > 0 && QTest::qWaitFor([&] { return seen; }, waitMs));
}

void withModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect)
{
    QVERIFY2(onModal(action, inspect), "no modal window was shown");
}

QVariant cell(const QTreeView* view, int row, int column, int role)
{
    return view->model()->index(row, column).data(role);
}

void select(QTreeView* view, int row)
{
    view->setCurrentIndex(view->model()->index(row, 0));
}

void clickHeader(QTreeView* view, int column)
{
    QHeaderView* h = view->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      {h->sectionViewportPosition(column) + h->sectionSize(column) / 2, 5});
}

QString storedSettings()
{
    QStringList values;
    for (const QString& name : {Settings::LastProfile, Settings::ShowFileNames,
                                Settings::CopySource, Settings::CopyTarget})
        values << Registry::ReadValue(Settings::KeyPath, name);
    return values.join(QLatin1Char('|'));
}
