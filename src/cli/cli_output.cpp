// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_output.h"

#include "cli/cli_commands.h"
#include "cli/cli_stop.h"
#include "core/plain_text.h"
#include "results/display_format.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

QString s_outputError;

bool failed(int error)
{
    if (s_outputError.isEmpty()) {
        s_outputError = QString::fromLocal8Bit(std::strerror(error ? error : EIO));
        stopForOutputFailure();
    }
    return false;
}

QStringList rowFields(const ResultRow& r)
{
    return {r.name(),
            r.sourceFolder(),
            r.targetFolder(),
            r.statusText(),
            formatGeneralDate(r.modified),
            formatKB(r.sizeKB())};
}

// Lines of fields in columns two blanks apart; the last column is not padded, and the
// columns in rightAligned are aligned to the right.
void printColumns(const std::vector<QStringList>& lines, int rightAligned = -1)
{
    if (lines.empty())
        return;
    const qsizetype columns = lines.front().size();
    std::vector<qsizetype> width(size_t(columns), 0);
    for (const QStringList& l : lines)
        for (qsizetype c = 0; c < columns; ++c)
            width[size_t(c)] = qMax(width[size_t(c)], l[c].size());
    for (const QStringList& l : lines) {
        QString text;
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                text += QLatin1String("  ");
            if (c == rightAligned)
                text += l[c].rightJustified(width[size_t(c)]);
            else if (c == columns - 1)
                text += l[c];
            else
                text += l[c].leftJustified(width[size_t(c)]);
        }
        if (!writeOut(text + QLatin1Char('\n')))
            return;
    }
}

void printTable(const ResultListModel& list, const QString& heading)
{
    std::vector<QStringList> lines;
    QStringList header;
    for (int c = 0; c < ResultListModel::ColumnCount; ++c)
        header << ResultListModel::caption(c);
    lines.push_back(header);
    for (const ResultRow& r : list.rows()) {
        QStringList fields = rowFields(r);
        for (QString& f : fields)
            f = escapeForLine(f); // keeps each row on one line
        lines.push_back(fields);
    }
    writeOut(heading + QLatin1Char('\n'));
    printColumns(lines, ResultListModel::SizeKB);
}

} // namespace

bool writeOut(const QString& text)
{
    return writeOut(text.toUtf8());
}

bool writeOut(const QByteArray& bytes)
{
    if (!s_outputError.isEmpty())
        return false;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        return failed(errno);
    return true;
}

bool flushOut()
{
    if (!s_outputError.isEmpty())
        return false;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return failed(errno);
    return true;
}

QString outputError()
{
    return s_outputError;
}

namespace {

// Writes 'value' as 'width' digits at 'at'.
void putDigits(char* at, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = char('0' + value % 10);
}

} // namespace

char* putLocalTime(char* at, qint64 utcSeconds)
{
    const std::time_t t = std::time_t(utcSeconds);
    std::tm tm = {};
    if (!localtime_r(&t, &tm))
        return at;
    const int year = tm.tm_year + 1900;
    if (year < 0 || year > 9999) // beyond four digits: as printf writes it
        return at + std::snprintf(at, LocalTimeRoom, "%04d-%02d-%02d %02d:%02d:%02d", year,
                                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    std::memcpy(at, "YYYY-MM-DD HH:MM:SS", 19);
    putDigits(at, year, 4);
    putDigits(at + 5, tm.tm_mon + 1, 2);
    putDigits(at + 8, tm.tm_mday, 2);
    putDigits(at + 11, tm.tm_hour, 2);
    putDigits(at + 14, tm.tm_min, 2);
    putDigits(at + 17, tm.tm_sec, 2);
    return at + 19;
}

void appendLocalTime(QByteArray& out, qint64 utcSeconds)
{
    char text[LocalTimeRoom];
    out.append(text, putLocalTime(text, utcSeconds) - text);
}

QString isoLocalTime(qint64 utcSeconds)
{
    QByteArray text;
    appendLocalTime(text, utcSeconds);
    return QString::fromLatin1(text);
}

void printResultLists(const AppState& state, bool tsv)
{
    if (tsv) {
        printTsv(state.sourceRows, '1');
        printTsv(state.targetRows, '2');
    } else {
        printTable(state.sourceRows, QStringLiteral("Source Files"));
        writeOut(QStringLiteral("\n"));
        printTable(state.targetRows, QStringLiteral("Target Files"));
        writeOut(QStringLiteral("\n"));
    }
    flushOut();
}

void printPanels(const AppState& state, bool tsv)
{
    QString text;
    for (const QString& p : state.status.panels) {
        if (tsv)
            text += QLatin1Char('\t') + escapeForLine(p);
        else
            text += escapeForLine(p) + QLatin1Char('\n');
    }
    writeOut(tsv ? QLatin1Char('#') + text + QLatin1Char('\n') : text);
    flushOut();
}

int reportScanProblems(const AppState& state)
{
    int problems = 0;
    for (const ErrorRow& e : state.errorRows.rows())
        if (e.beforeCopies()) {
            // A file that cannot go to the other side (a folder of its name is there) names
            // itself and both folders; the other problems name their folder in their text.
            if (!e.fileName.isEmpty() && !e.target.isEmpty())
                cliError(QStringLiteral("%1 in %2 cannot be copied to %3: %4")
                             .arg(escapeForLine(e.fileName), escapeForLine(e.source),
                                  escapeForLine(e.target), escapeForLine(e.error)));
            else
                cliError(escapeForLine(e.error));
            ++problems;
        }
    return problems;
}

void printErrors(const ErrorListModel& errors, bool tsv)
{
    std::vector<QStringList> lines;
    if (!tsv)
        lines.push_back({QStringLiteral("File Name"), QStringLiteral("Source"),
                         QStringLiteral("Target"), QStringLiteral("Error")});
    for (const ErrorRow& e : errors.rows())
        if (!e.beforeCopies()) // on stderr already
            lines.push_back({escapeForLine(e.fileName), escapeForLine(e.source),
                             escapeForLine(e.target), escapeForLine(e.error)});
    if (tsv) {
        for (const QStringList& l : lines)
            if (!writeOut(QStringLiteral("E\t") + l.join(QLatin1Char('\t')) + QLatin1Char('\n')))
                break;
    } else if (lines.size() > 1) {
        writeOut(QStringLiteral("Failed Copies\n"));
        printColumns(lines);
        writeOut(QStringLiteral("\n"));
    }
    flushOut();
}
