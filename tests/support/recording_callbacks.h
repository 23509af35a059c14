// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/run_profile.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <map>

// Callbacks for engine tests: records what the engine shows and answers questions and
// dialogs from scripted queues (an empty queue answers No / Cancel).
struct RecordingCallbacks
{
    QStringList questions;         // texts of askYesNo and askYesNoPlain, in order
    QStringList messages;          // texts of showMessage
    QStringList panelLog;          // "N:text" for every panel change
    std::deque<bool> answers;      // answers to questions
    std::deque<QString> fileNames; // answers to file dialogs and folder pickers
    QStringList dialogs;           // "title|filter|initial" of each file dialog
    std::map<int, bool> toggles{{1, true}, {2, true}, {3, true}};
    QStringList opened;

    Callbacks callbacks();

    // The window's Scan and Synchronize buttons as they run the engine. Synchronize asks
    // 'directionOn' when a direction's stage begins; by default it reads toggles 2 and 3.
    std::function<bool(Direction)> directionOn;
    RunResult scan(AppState& state, const Callbacks& cb);
    RunResult synchronize(AppState& state, const Callbacks& cb);
};

// The error rows of the synchronization (not those of the scan), with 'root' + "/" left out.
QStringList copyErrors(const AppState& state, const QString& root = QString());
