// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/app_state.h"
#include "core/callbacks.h"

// Status bar panels are numbered 1..5.
void setPanel(AppState& state, const Callbacks& cb, int panel, const QString& text);
const QString& panelText(const AppState& state, int panel);

void setProgressRange(AppState& state, const Callbacks& cb, qint64 minimum, qint64 maximum);
// A value outside the range is rejected and the bar keeps its value.
void setProgressValue(AppState& state, const Callbacks& cb, qint64 value);

// The progress bar's range is int: a larger range is scaled down so that it fits.
struct ScaledProgress
{
    int minimum;
    int maximum;
    int value;
};
ScaledProgress scaledProgress(const StatusBarState& status);
