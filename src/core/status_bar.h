// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/callbacks.h"
#include "core/thread_check.h"

#include <QString>
#include <array>

// Status bar and progress bar as the engine sets them; the window mirrors them through the
// callbacks.
struct StatusBarState
{
    std::array<QString, 5> panels; // panels 1..5 at [0..4]
    qint64 progressMin = 0;
    qint64 progressMax = 1;
    qint64 progressValue = 0;
    ThreadOwner owner;
};

// Status bar panels are numbered 1..5.
void setPanel(StatusBarState& status, const Callbacks& cb, int panel, const QString& text);
const QString& panelText(const StatusBarState& status, int panel);

void setProgressRange(StatusBarState& status, const Callbacks& cb, qint64 minimum, qint64 maximum);
// A value outside the range is rejected and the bar keeps its value.
void setProgressValue(StatusBarState& status, const Callbacks& cb, qint64 value);

// The progress bar's range is int: a larger range is scaled down so that it fits.
struct ScaledProgress
{
    int minimum;
    int maximum;
    int value;
};
ScaledProgress scaledProgress(const StatusBarState& status);
