// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

#include <functional>
#include <span>

// The commands of the result lists: check marks, deletes and opening a row's file. Each one is
// declared once, in the table of list_commands.cpp, with all its faces: its popup menu item
// (object name, caption, shortcut label) and the key that runs it in a list. The window builds
// the popup menu and the lists' key handling from that table, so a new command is one line
// there plus its function.
//
// Every command acts on state.ActiveResultList and does nothing without one (the two bulk
// deletes still ask their question first). While Scan or Synchronize runs, every command is
// refused.
//
// A delete removes the row's file (Source + "/" + Name) for good with unlink. A row whose
// file is gone afterwards, deleted now or already before, leaves the list; a row whose file
// could not be deleted stays, so the list never hides a file that is still on disk.

// What a command works with.
struct ListCommandContext
{
    AppState& state;
    const Callbacks& cb;
    // The row selected in a list's view, -1 when none.
    std::function<int(const ResultListModel& list)> selectedRow;
};

// The key that runs a command in a result list.
struct ListKey
{
    enum Moment { Released, Pressed };
    int key = 0; // a Qt::Key; 0 for a command without a key
    // The modifiers that must be held, exactly (the keypad flag aside), unless 'anyModifiers'.
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    bool anyModifiers = false;
    Moment moment = Released; // whether the command runs when the key goes up or down
};

struct ListCommand
{
    const char* name;     // the menu item's object name
    const char* caption;  // the menu item's text
    const char* shortcut; // the label shown beside the caption, "" for none
    ListKey key;          // what the lists' key handling runs it for
    void (*run)(const ListCommandContext& context);
};

// The commands in the order of the popup menu.
std::span<const ListCommand> listCommands();

// The command that a key going up or down in a result list runs, null when none. A key bound
// to exactly the modifiers held wins over one bound to any modifiers.
const ListCommand* listCommandForKey(int key, Qt::KeyboardModifiers modifiers,
                                     ListKey::Moment moment);

// Runs the command, unless Scan or Synchronize is running.
void runListCommand(const ListCommand& command, const ListCommandContext& context);

// Opens the file of the list's selected row with the desktop's program for it (a double-click
// in the list). A file that is gone opens nothing, silently.
void openSelectedFile(const ListCommandContext& context, const ResultListModel& list);

// Deletes the row's file; true when the file is gone afterwards.
bool deleteRowFile(const ResultRow& row);
