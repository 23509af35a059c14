// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_list_commands.h"

bool canChangeEntries(const AppState& state)
{
    return state.control.running == Running::Idle;
}

bool newProfileEntry(AppState& state, const EntryEditor& editor)
{
    if (!canChangeEntries(state) || !editor)
        return false;
    state.entryBuffer = {QString(), QString(), QStringLiteral("*"), QString()};
    editor(state);
    const EntryBuffer& typed = state.entryBuffer;
    // A cancelled editor leaves both folders empty, so it ends here as well.
    if (typed.target.trimmed().isEmpty() || typed.source.trimmed().isEmpty())
        return false;
    state.profileEntries.append(typed);
    return true;
}

bool editProfileEntry(AppState& state, int row, const EntryEditor& editor)
{
    if (!canChangeEntries(state) || !editor || row < 0 || row >= state.profileEntries.size())
        return false;
    state.entryBuffer = state.profileEntries.at(row);
    editor(state);
    // The list may have changed while the editor was open only if the editor did it itself;
    // check the row again rather than write past the end.
    if (row < state.profileEntries.size())
        state.profileEntries.replace(row, state.entryBuffer);
    return true;
}

bool deleteProfileEntry(AppState& state, int row)
{
    if (!canChangeEntries(state) || row < 0 || row >= state.profileEntries.size())
        return false;
    state.profileEntries.removeAt(row);
    return true;
}
