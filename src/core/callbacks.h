// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/run_events.h"

#include <QString>
#include <functional>

// The one interface between the engine and whoever drives it. The main window fills it with
// the real widgets, ketrano-cli with a terminal progress line, tests with recorders and
// scripted answers. Every member may be left empty: the engine then skips the call and uses
// the documented fallback (no events, No to questions, cancelled dialogs, icons shown).
struct Callbacks
{
    // Process pending window events once. The engine throttles its calls (see uiYield).
    std::function<void()> yield;

    // Status bar panel 1..5 has a new text.
    std::function<void(int panel, const QString& text)> panelChanged;
    // Progress bar range or value has changed (already scaled to int by the engine).
    std::function<void(int minimum, int maximum, int value)> progressChanged;
    // Busy pointer on or off; also tells the window that a long command started or ended.
    std::function<void(bool busy)> busyChanged;

    // Yes/No question box: question icon, No as default, the application's title.
    std::function<bool(const QString& text)> askYesNo;
    // A question with Yes and No and no icon (the save question of the profile commands).
    std::function<bool(const QString& text)> askYesNoPlain;
    // A message box with an OK button only.
    std::function<void(const QString& text)> showMessage;

    // Whether the second toolbar's "Show Icons " is pressed (rows added now show an icon).
    std::function<bool()> showIcons;

    // What a run does, as it happens (run_events.h).
    std::function<void(const RunEvent& event)> event;

    // File dialogs of the profile commands. Return the chosen path, or an empty string when
    // the user cancels. 'initial' is the initial file name.
    std::function<QString(const QString& title, const QString& filter, const QString& initial)>
        saveFileName;
    std::function<QString(const QString& title, const QString& filter, const QString& initial)>
        openFileName;

    // Folder picker titled "Pick a Folder"; empty when cancelled.
    std::function<QString(const QString& startFolder)> pickFolder;

    // Show the error list window modally (status bar panel 3, Show Errors).
    std::function<void()> showErrors;

    // Open a file with the desktop's associated program.
    std::function<void(const QString& path)> openFile;

    // Show the versions kept of the file 'relativePath' below 'root' (Show Versions).
    std::function<void(const QString& root, const QString& relativePath)> showVersions;
};

// Tells cb.event, when there is one.
inline void emitEvent(const Callbacks& cb, const RunEvent& event)
{
    if (cb.event)
        cb.event(event);
}
