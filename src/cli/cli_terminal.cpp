// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_terminal.h"

#include "core/plain_text.h"
#include "sync/versions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A redrawing at most this often: the line moves well within a fifth of a second and does
// not flicker.
constexpr qint64 RedrawMs = 100;

bool dumbTerminal()
{
    const char* term = std::getenv("TERM");
    return !term || !*term || std::strcmp(term, "dumb") == 0;
}

// The columns the line may take: one less than the terminal's, so that the cursor never wraps
// to the next line (a wrapped line can no longer be redrawn in place).
int lineColumns()
{
    struct winsize size = {};
    int columns = 0;
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0)
        columns = size.ws_col;
    if (columns <= 0)
        columns = 80;
    return qMax(columns - 1, 10);
}

void put(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

TerminalProgress::TerminalProgress(const AppState& state, std::array<bool, 2> directions)
    : m_state(state), m_directions(directions), m_dumb(dumbTerminal())
{
    m_clock.start();
}

bool TerminalProgress::available()
{
    return ::isatty(STDERR_FILENO) == 1;
}

QString TerminalProgress::relativeName(const RunEvent& event) const
{
    const ResultRow* row = event.row;
    if (!row)
        return {};
    if (row->entry() < m_state.scannedEntries.size()) {
        const ScannedEntry& e = m_state.scannedEntries[row->entry()];
        const QString& root =
            event.direction == Direction::SourceToTarget ? e.source.path : e.target.path;
        const QString below = folderBelow(root, row->sourceFolder());
        if (!below.isNull())
            return below.isEmpty() ? row->name() : below + QLatin1Char('/') + row->name();
    }
    return row->name();
}

void TerminalProgress::note(const RunEvent& event)
{
    switch (event.type) {
    case RunEvent::ScanStarted:
        m_copying = false;
        m_sourceFound = m_targetFound = 0;
        break;
    case RunEvent::EntryStarted:
        m_entry = event.entry;
        m_sourceFound = m_targetFound = 0;
        break;
    case RunEvent::FilesFound:
        m_entry = event.entry;
        m_sourceFound = event.count;
        m_targetFound = event.otherCount;
        break;
    case RunEvent::SyncStarted:
        m_copying = true;
        m_copy = CopyProgress();
        // The checked rows of the directions this run copies in.
        for (int d = 0; d < 2; ++d)
            if (m_directions[size_t(d)])
                for (const ResultRow& row :
                     (d == 0 ? m_state.sourceRows : m_state.targetRows).rows())
                    if (row.checked) {
                        ++m_copy.filesTotal;
                        m_copy.bytesTotal += row.sizeBytes;
                    }
        m_bytesPassed = m_bytesMoved = m_fileDone = 0;
        m_rate = RateMeter();
        break;
    case RunEvent::FileStarted:
        m_copy.file = escapeForLine(relativeName(event));
        m_copy.filePercent = -1;
        m_fileDone = 0;
        break;
    case RunEvent::FileProgress:
        m_fileDone = event.bytesDone;
        m_copy.filePercent = percentOf(event.bytesDone, event.bytesTotal);
        break;
    case RunEvent::RowPassed:
        if (!event.row || !event.row->checked)
            break;
        ++m_copy.filesDone;
        m_bytesPassed += event.row->sizeBytes;
        if (event.outcome == RunEvent::Copied)
            m_bytesMoved += event.row->sizeBytes;
        else if (event.outcome == RunEvent::Failed)
            ++m_copy.failed;
        m_copy.file.clear();
        m_copy.filePercent = -1;
        m_fileDone = 0;
        break;
    case RunEvent::Flushing:
        m_copy.file = QStringLiteral("writing to disk");
        m_copy.filePercent = -1;
        break;
    case RunEvent::ScanFinished:
    case RunEvent::SyncFinished:
        wipe();
        break;
    default:
        break;
    }
}

QString TerminalProgress::text(int columns) const
{
    if (!m_copying)
        return scanLine(m_entry + 1, int(m_state.profileEntries.size()), m_sourceFound,
                        m_targetFound, columns);
    CopyProgress p = m_copy;
    // What the passed rows hold, and the part of the current file done; never beyond the total
    // (a file that grew since the scan).
    p.bytesDone = qMin(m_bytesPassed + m_fileDone, qMax(p.bytesTotal, m_bytesPassed));
    p.bytesPerSecond = m_rate.rate();
    return copyLine(p, columns);
}

void TerminalProgress::tick()
{
    const qint64 now = m_clock.elapsed();
    if (m_copying)
        m_rate.add(now, m_bytesMoved + m_fileDone);
    if (m_drawnAt >= 0 && now - m_drawnAt < RedrawMs)
        return;
    m_drawnAt = now;
    draw();
}

void TerminalProgress::draw()
{
    const QString line = text(lineColumns());
    const int columns = columnsOf(line);
    QByteArray bytes = "\r" + line.toUtf8();
    if (m_dumb)
        bytes += QByteArray(qMax(m_drawnColumns - columns, 0), ' '); // over the longer old line
    else
        bytes += "\033[K";
    put(bytes);
    m_drawnColumns = qMax(columns, 1);
}

void TerminalProgress::wipe()
{
    if (m_drawnColumns == 0)
        return;
    put(m_dumb ? "\r" + QByteArray(m_drawnColumns, ' ') + "\r" : QByteArray("\r\033[K"));
    m_drawnColumns = 0;
    m_drawnAt = -1;
}
