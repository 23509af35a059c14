// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <deque>

// The texts of ketrano-cli's progress line, apart from any terminal: sizes, speed, time left
// and the line itself, fitted to a width in terminal columns.

// "0 B", "999 B", "1.5 KiB", "12.3 MiB", "1.21 GiB": three significant digits from KiB on.
QString formatBytes(qint64 bytes);
// "12.3 MiB/s"; "--" while nothing is known (a negative rate).
QString formatRate(double bytesPerSecond);
// The time that 'remaining' bytes take at the rate: "0:41", "1:02:03"; "--:--" without a rate
// (none measured yet, or nothing moving), ">99h" beyond 99 hours.
QString formatTimeLeft(qint64 remaining, double bytesPerSecond);
// Whole percent of done in total, rounded down: 100 only when all is done (and for 0 of 0).
int percentOf(qint64 done, qint64 total);

// How many terminal columns text takes: wide (East Asian) characters two, combining marks
// none. The text holds no control characters (escapeForLine took them out).
int columnsOf(const QString& text);
// text cut to at most 'columns' columns from its start, "..." in place of the rest;
// fromStart: the end is kept and the start replaced ("...photos/2023/img.jpg").
QString fitColumns(const QString& text, int columns, bool fromStart = false);

// What the copy line shows.
struct CopyProgress
{
    qint64 filesDone = 0; // rows passed: copied, failed or refused
    qint64 filesTotal = 0;
    qint64 failed = 0;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    double bytesPerSecond = -1; // negative: not measured yet
    QString file;               // the one being copied, empty between files
    int filePercent = -1;       // of a large file, -1 for none
};

// "12/40 files  1.20 GiB/3.40 GiB  35%  54.2 MiB/s  0:41 left  big.iso 45%", at most
// 'columns' columns wide: the file name is shortened first, then the line cut.
QString copyLine(const CopyProgress& p, int columns);

// "Scanning entry 1 of 2: 1234 source, 1200 target files found", fitted the same way.
QString scanLine(int entry, int entries, qint64 sourceFiles, qint64 targetFiles, int columns);

// The current speed: bytes moved over the last few seconds, from samples taken as the run
// goes (milliseconds since it began, bytes moved so far).
class RateMeter
{
public:
    void add(qint64 msecs, qint64 bytes);
    // Bytes per second over the samples kept; negative until they span a quarter of a second.
    double rate() const;

private:
    std::deque<std::pair<qint64, qint64>> m_samples;
};
