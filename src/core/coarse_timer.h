// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <ctime>

// Milliseconds since start() on the coarse monotonic clock: a few milliseconds of resolution,
// and a read costs a few nanoseconds instead of the twenty or more of the precise clock, so a
// loop over millions of files may read it at every file.
class CoarseTimer
{
public:
    void start() { m_start = now(); }
    void invalidate() { m_start = -1; }
    bool isValid() const { return m_start >= 0; }
    qint64 elapsed() const { return now() - m_start; }

private:
    static qint64 now()
    {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
        return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    }
    qint64 m_start = -1;
};
