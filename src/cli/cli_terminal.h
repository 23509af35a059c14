// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/cli_progress.h"
#include "run/app_state.h"

#include <QElapsedTimer>

#include <array>

// The progress line of a scan or a synchronization, drawn on stderr when it is a terminal: one
// line, redrawn in place at the run's turns (every 30 ms or so while it works, and during a
// large file's copy) when a tenth of a second has passed since the last drawing. With TERM
// unset or "dumb" it is redrawn with a carriage return and blanks, without escape sequences.
class TerminalProgress
{
public:
    // 'directions': whether the run copies Source to Target and Target to Source.
    TerminalProgress(const AppState& state, std::array<bool, 2> directions);

    // Whether stderr is a terminal the line can be drawn on.
    static bool available();

    // What the run tells (cb.event).
    void note(const RunEvent& event);
    // At each turn of the run (cb.yield): draws the line when it is due.
    void tick();
    // Takes the line off the screen, before anything else is printed.
    void wipe();

private:
    void draw();
    QString text(int columns) const;
    QString relativeName(const RunEvent& event) const;

    const AppState& m_state;
    const std::array<bool, 2> m_directions;
    const bool m_dumb;
    QElapsedTimer m_clock; // since the command began
    qint64 m_drawnAt = -1;
    int m_drawnColumns = 0; // of the line on the screen, 0 for none

    bool m_copying = false;
    int m_entry = 0;
    qint64 m_sourceFound = 0, m_targetFound = 0;
    CopyProgress m_copy;
    qint64 m_bytesPassed = 0; // of the rows passed
    qint64 m_bytesMoved = 0;  // of the rows copied
    qint64 m_fileDone = 0;    // of the file being copied
    RateMeter m_rate;
};
