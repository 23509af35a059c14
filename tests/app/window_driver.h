// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainform.h"
#include "support/recording_callbacks.h"

#include <QStringList>
#include <functional>

class QTreeView;
class QWidget;

// The real main window for a test, driven as a person would: keys and clicks on its controls.
// Its questions, messages and file dialogs are answered from the scripts of 'rec' (an empty
// queue answers No or Cancel) and recorded there, as are the files it opens; everything else
// (panels, progress, the error list, help and about) is the window's own.
struct WindowDriver
{
    RecordingCallbacks rec;
    MainForm form;
    QStringList states; // panel 1's texts, in order

    explicit WindowDriver(const QString& commandLine = QString());
    AppState& state() { return form.state(); }
    template <typename T = QWidget> T* find(const char* name) const
    {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    // Types a key sequence ("Ctrl+S", "Tab, Space") as a person would: the named control takes
    // the focus first ("MainForm" is the window itself), and each key goes where the focus is.
    void keys(const char* control, const QString& sequence);
    // The five status panels' texts joined with "|".
    QString panels() const;
    // Names in row order, "-" before unchecked ones.
    static QString shown(const ResultListModel& list);
    // A synchronization has ended (panel 4 says how many files were copied) and nothing runs.
    bool finished();
};

// Runs action() and hands the modal window or popup menu it opens (then or within waitMs) to
// inspect(), then closes it. Returns whether one showed.
bool onModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect = {},
             int waitMs = 5000);
// The same, failing the test when no modal window shows.
void withModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect);

// What the list's view shows in a cell, in the role.
QVariant cell(const QTreeView* view, int row, int column, int role = Qt::DisplayRole);
// Makes the row (-1: none) the list's selected row.
void select(QTreeView* view, int row);
// A click on the list's column header.
void clickHeader(QTreeView* view, int column);

// The settings as stored: "Last Profile|Show File Names|Copy Source|Copy Target", "<none>"
// for a value that is missing.
QString storedSettings();
