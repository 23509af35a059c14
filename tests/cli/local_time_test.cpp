// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <thread>

// The --tsv dates keep the offset of the last quarter of an hour each thread was asked about:
// they must still say what localtime_r says, second for second, across changes of the offset
// (also where a zone changes at an odd second, as the Netherlands did before 1937, or by half
// an hour) and leap seconds.

namespace {

std::string expected(qint64 utc)
{
    const std::time_t t = std::time_t(utc);
    std::tm tm = {};
    char text[64];
    if (!localtime_r(&t, &tm))
        return {};
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

TEST(LocalTime, SaysWhatTheCLibrarySaysAcrossEveryChangeOfOffset)
{
    const char* zones[] = {"Europe/Berlin", "Europe/Amsterdam", "Australia/Lord_Howe",
                           "America/St_Johns", "right/Europe/Berlin"};
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const char* zone : zones) {
        SCOPED_TRACE(zone);
        ::setenv("TZ", zone, 1);
        ::tzset();
        // A thread of its own each: its remembered offset starts afresh with the zone.
        std::thread([zone] {
            int changes = 0;
            long lastOffset = 0;
            const auto check = [](qint64 s) {
                QByteArray out;
                appendLocalTime(out, s);
                EXPECT_EQ(out.toStdString(), expected(s)) << s;
                return out.toStdString() == expected(s);
            };
            const auto offsetAt = [](qint64 s) {
                const std::time_t t = std::time_t(s);
                std::tm tm = {};
                localtime_r(&t, &tm);
                return tm.tm_gmtoff;
            };
            // Every twelve hours from 1900 to 2040; around each change of offset met on the
            // way, found to the second, every second of the half hour around it.
            for (qint64 t = -2'208'988'800; t < 2'208'988'800; t += 12 * 3600) {
                if (offsetAt(t) != lastOffset) {
                    ++changes;
                    qint64 before = t - 12 * 3600, after = t; // the change is in (before, after]
                    while (after - before > 1) {
                        const qint64 middle = before + (after - before) / 2;
                        (offsetAt(middle) == offsetAt(t) ? after : before) = middle;
                    }
                    for (qint64 s = after - 900; s < after + 900; ++s)
                        ASSERT_TRUE(check(s));
                    lastOffset = offsetAt(t);
                }
                ASSERT_TRUE(check(t + 1));
            }
            EXPECT_GT(changes, 2) << zone << ": no change of offset met, none was checked";
        }).join();
    }
    saved ? ::setenv("TZ", before.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

} // namespace
