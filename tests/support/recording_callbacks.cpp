// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_callbacks.h"

namespace {
// The next scripted answer; an empty queue answers No / Cancel.
template <typename T> T next(std::deque<T>& queue)
{
    if (queue.empty())
        return T();
    T answer = queue.front();
    queue.pop_front();
    return answer;
}
} // namespace

Callbacks RecordingCallbacks::callbacks()
{
    Callbacks cb;
    cb.panelChanged = [this](int panel, const QString& text) {
        panelLog << QStringLiteral("%1:%2").arg(panel).arg(text);
    };
    cb.askYesNo = cb.askYesNoPlain = [this](const QString& text) {
        questions << text;
        return next(answers);
    };
    cb.showMessage = [this](const QString& text) { messages << text; };
    cb.showIcons = [this] { return toggles[1]; };
    cb.saveFileName = cb.openFileName = [this](const QString& title, const QString& filter,
                                               const QString& initial) {
        dialogs << title + QLatin1Char('|') + filter + QLatin1Char('|') + initial;
        return next(fileNames);
    };
    cb.pickFolder = [this](const QString& start) {
        dialogs << QStringLiteral("Pick a Folder|") + start;
        return next(fileNames);
    };
    cb.openFile = [this](const QString& path) { opened << path; };
    return cb;
}

RunResult RecordingCallbacks::scan(AppState& state, const Callbacks& cb)
{
    return runProfile(state, {.scan = true, .copy = false}, cb);
}

RunResult RecordingCallbacks::synchronize(AppState& state, const Callbacks& cb)
{
    RunRequest request{.scan = false, .copy = true};
    request.directionOn = directionOn ? directionOn : [this](Direction d) {
        return toggles[d == Direction::SourceToTarget ? 2 : 3];
    };
    return runProfile(state, request, cb);
}

QStringList copyErrors(const AppState& state, const QString& root)
{
    QStringList texts;
    for (const ErrorRow& e : state.errorRows.rows())
        if (!e.beforeCopies())
            texts << (root.isEmpty() ? e.error : QString(e.error).replace(root + '/', QString()));
    return texts;
}
