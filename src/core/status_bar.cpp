// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_bar.h"

#include "core/thread_check.h"

#include <limits>

namespace {
void notifyProgress(const StatusBarState& status, const Callbacks& cb)
{
    if (cb.progressChanged) {
        const ScaledProgress p = scaledProgress(status);
        cb.progressChanged(p.minimum, p.maximum, p.value);
    }
}
} // namespace

void setPanel(StatusBarState& status, const Callbacks& cb, int panel, const QString& text)
{
    KETRANO_ON_OWNER_THREAD(status.owner);
    if (panel < 1 || panel > 5)
        return;
    status.panels[size_t(panel - 1)] = text;
    if (cb.panelChanged)
        cb.panelChanged(panel, text);
}

const QString& panelText(const StatusBarState& status, int panel)
{
    static const QString none;
    if (panel < 1 || panel > 5)
        return none;
    return status.panels[size_t(panel - 1)];
}

void setProgressRange(StatusBarState& status, const Callbacks& cb, qint64 minimum, qint64 maximum)
{
    KETRANO_ON_OWNER_THREAD(status.owner);
    status.progressMin = minimum;
    status.progressMax = qMax(minimum, maximum);
    status.progressValue = qBound(minimum, status.progressValue, status.progressMax);
    notifyProgress(status, cb);
}

void setProgressValue(StatusBarState& status, const Callbacks& cb, qint64 value)
{
    KETRANO_ON_OWNER_THREAD(status.owner);
    if (value < status.progressMin || value > status.progressMax)
        return;
    status.progressValue = value;
    notifyProgress(status, cb);
}

ScaledProgress scaledProgress(const StatusBarState& status)
{
    constexpr qint64 limit = std::numeric_limits<int>::max();
    const qint64 span = qMax<qint64>(qAbs(status.progressMax), qAbs(status.progressMin));
    const qint64 divisor = span > limit ? span / limit + 1 : 1;
    return {int(status.progressMin / divisor), int(status.progressMax / divisor),
            int(status.progressValue / divisor)};
}
