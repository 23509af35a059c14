// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_bar.h"

#include "core/thread_check.h"

#include <limits>

namespace {
void notifyProgress(const AppState& state, const Callbacks& cb)
{
    if (cb.progressChanged) {
        const ScaledProgress p = scaledProgress(state.status);
        cb.progressChanged(p.minimum, p.maximum, p.value);
    }
}
} // namespace

void setPanel(AppState& state, const Callbacks& cb, int panel, const QString& text)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    if (panel < 1 || panel > 5)
        return;
    state.status.panels[size_t(panel - 1)] = text;
    if (cb.panelChanged)
        cb.panelChanged(panel, text);
}

const QString& panelText(const AppState& state, int panel)
{
    static const QString none;
    if (panel < 1 || panel > 5)
        return none;
    return state.status.panels[size_t(panel - 1)];
}

void setProgressRange(AppState& state, const Callbacks& cb, qint64 minimum, qint64 maximum)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    state.status.progressMin = minimum;
    state.status.progressMax = qMax(minimum, maximum);
    state.status.progressValue =
        qBound(minimum, state.status.progressValue, state.status.progressMax);
    notifyProgress(state, cb);
}

void setProgressValue(AppState& state, const Callbacks& cb, qint64 value)
{
    KETRANO_ON_WINDOW_THREAD(&state.ListView1);
    if (value < state.status.progressMin || value > state.status.progressMax)
        return;
    state.status.progressValue = value;
    notifyProgress(state, cb);
}

ScaledProgress scaledProgress(const StatusBarState& status)
{
    constexpr qint64 limit = std::numeric_limits<int>::max();
    const qint64 span = qMax<qint64>(qAbs(status.progressMax), qAbs(status.progressMin));
    const qint64 divisor = span > limit ? span / limit + 1 : 1;
    return {int(status.progressMin / divisor), int(status.progressMax / divisor),
            int(status.progressValue / divisor)};
}
