// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/local_time.h"

#include <cstdio>
#include <ctime>
#include <limits>

namespace {

void appendDigits(QByteArray& out, int value, int width)
{
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    out.append(digits, width);
}

} // namespace

namespace {

// The fields of a time that is 'local' seconds from the epoch on the local clock (the proleptic
// Gregorian calendar, as gmtime has it).
std::tm fieldsOf(qint64 local)
{
    qint64 days = local / 86400, second = local % 86400;
    if (second < 0) {
        second += 86400;
        --days;
    }
    // Days to year, month and day: the civil calendar from 0000-03-01 in eras of 400 years.
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    std::tm tm = {};
    tm.tm_mday = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    tm.tm_mon = int(monthFromMarch < 10 ? monthFromMarch + 2 : monthFromMarch - 10);
    tm.tm_year = int(yearOfEra + era * 400 + (tm.tm_mon <= 1) - 1900);
    tm.tm_hour = int(second / 3600);
    tm.tm_min = int(second / 60 % 60);
    tm.tm_sec = int(second % 60);
    return tm;
}

bool sameFields(const std::tm& a, const std::tm& b)
{
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

// localtime_r takes the C library's time zone lock at every call, which the threads that
// format a long list would wait on; most times of a list lie close together. So each thread
// keeps the offset of the last quarter of an hour it was asked about, once localtime_r agrees
// with it at both ends of that quarter (no change of the offset, no leap second inside).
bool localFields(qint64 utcSeconds, std::tm& tm)
{
    constexpr qint64 Quarter = 900;
    thread_local qint64 cachedQuarter = std::numeric_limits<qint64>::min();
    thread_local qint64 cachedOffset = 0;
    const qint64 quarter = (utcSeconds >= 0 ? utcSeconds : utcSeconds - (Quarter - 1)) / Quarter;
    if (quarter == cachedQuarter) {
        tm = fieldsOf(utcSeconds + cachedOffset);
        return true;
    }
    const auto system = [](qint64 seconds, std::tm& fields) {
        const std::time_t t = std::time_t(seconds);
        return localtime_r(&t, &fields) != nullptr;
    };
    if (!system(utcSeconds, tm))
        return false;
    const qint64 offset = tm.tm_gmtoff;
    std::tm first, last;
    if (system(quarter * Quarter, first) && system(quarter * Quarter + Quarter - 1, last) &&
        sameFields(first, fieldsOf(quarter * Quarter + offset)) &&
        sameFields(last, fieldsOf(quarter * Quarter + Quarter - 1 + offset)) &&
        sameFields(tm, fieldsOf(utcSeconds + offset))) {
        cachedQuarter = quarter;
        cachedOffset = offset;
    }
    return true;
}

} // namespace

void appendLocalTime(QByteArray& out, qint64 utcSeconds)
{
    std::tm tm = {};
    if (!localFields(utcSeconds, tm))
        return;
    const int year = tm.tm_year + 1900;
    if (year < 0 || year > 9999) { // beyond four digits: as printf writes it
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        out += buffer;
        return;
    }
    appendDigits(out, year, 4);
    out += '-';
    appendDigits(out, tm.tm_mon + 1, 2);
    out += '-';
    appendDigits(out, tm.tm_mday, 2);
    out += ' ';
    appendDigits(out, tm.tm_hour, 2);
    out += ':';
    appendDigits(out, tm.tm_min, 2);
    out += ':';
    appendDigits(out, tm.tm_sec, 2);
}
