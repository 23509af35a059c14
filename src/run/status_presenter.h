// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "run/app_state.h"

// Turns a run's events into what the window's status bar and progress bar show: the five
// panel texts at the points where the window has always shown them, the progress bar's range
// and value, and the busy pointer. The counters it shows are those the run counted from the
// same events before (AppState::FilesCopied, KBCopied, ErrorCount and the scan counters).
class StatusPresenter
{
public:
    StatusPresenter(AppState& state, const Callbacks& ui) : m_state(state), m_ui(ui) {}
    void show(const RunEvent& event);

private:
    void panel(int index, const QString& text);
    void busy(bool on);

    AppState& m_state;
    const Callbacks& m_ui;
    bool m_flushing = false;
    // The texts of the panels shown after every row, translated once per run, and the error
    // count's text for the count it was made for (it seldom changes).
    struct RowTexts
    {
        QString ofTotal, kbCopied, errors;
        qint64 errorCount = -1;
        QString errorText;
    };
    RowTexts& rowTexts();
    RowTexts m_rowTexts;
};
