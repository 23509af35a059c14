// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/desktop_notice.h"
#include "app/run_progress.h"
#include "results/error_model.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

// What the window shows of a run besides the status panels' texts (which the run's presenter
// sets): the progress bar by bytes over the whole synchronization with its percent, speed and
// time left; the files a scan has found so far; and in each result row's Status cell what the
// synchronization did with it.

namespace {

qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

// A text for the bar, whose format would read "%p", "%v" and "%m" as placeholders (and has
// no escape for them): a "%" before a letter is given a zero-width joiner.
QString barText(const QString& text)
{
    QString shown = text;
    for (qsizetype at = shown.indexOf(QLatin1Char('%')); at >= 0 && at + 1 < shown.size();
         at = shown.indexOf(QLatin1Char('%'), at + 1))
        if (shown.at(at + 1).isLetter())
            shown.insert(at + 1, QChar(0x200D));
    return shown;
}

ResultRow::Outcome outcomeOf(RunEvent::Outcome outcome)
{
    switch (outcome) {
    case RunEvent::Copied:
        return ResultRow::Outcome::Copied;
    case RunEvent::Failed:
        return ResultRow::Outcome::Failed;
    case RunEvent::NotCopied:
        break;
    }
    return ResultRow::Outcome::NotCopied;
}

} // namespace

void MainForm::showRunEvent(const RunEvent& event)
{
    const QLocale locale;
    const auto showBar = [this](const QString& text) {
        ProgressBar1->setFormat(barText(text));
        ProgressBar1->setTextVisible(!text.isEmpty());
        ProgressBar1->setToolTip(text);
        ProgressBar1->setAccessibleDescription(text);
    };
    const auto showBytes = [&] {
        ProgressBar1->setRange(0, 1000);
        ProgressBar1->setValue(m_progress->permille());
        const QString done = tr("%1 of %2")
                                 .arg(RunProgress::bytesText(double(m_progress->done())),
                                      RunProgress::bytesText(double(m_progress->total())));
        showBar(m_progress->text() + QStringLiteral(" · ") + done);
        m_notice->showProgress(m_progress->permille() / 1000.0);
    };
    switch (event.type) {
    case RunEvent::ScanStarted:
        m_foundBefore[0] = m_foundBefore[1] = m_foundNow[0] = m_foundNow[1] = 0;
        showBar(tr("Scanning"));
        break;
    case RunEvent::EntryStarted:
        for (int side : {0, 1}) {
            m_foundBefore[side] += m_foundNow[side];
            m_foundNow[side] = 0;
        }
        break;
    case RunEvent::FilesFound:
        m_foundNow[0] = event.count;
        m_foundNow[1] = event.otherCount;
        showBar(tr("Files found: %1 in the source folders, %2 in the target folders")
                    .arg(locale.toString(m_foundBefore[0] + m_foundNow[0]),
                         locale.toString(m_foundBefore[1] + m_foundNow[1])));
        break;
    case RunEvent::ScanFinished:
        showBar(QString());
        break;
    case RunEvent::SyncStarted:
        m_lastFailure.clear();
        m_state.sourceRows.resetOutcomes(ResultRow::Outcome::NotCopied);
        m_state.targetRows.resetOutcomes(ResultRow::Outcome::NotCopied);
        m_progress->start(event.bytesTotal, nowMs());
        showBytes();
        break;
    case RunEvent::FileProgress:
        m_progress->fileProgress(event.bytesDone, nowMs());
        showBytes();
        break;
    case RunEvent::Problem:
        if (event.error)
            m_lastFailure = event.error->error;
        break;
    case RunEvent::RowPassed: {
        ResultListModel& list =
            event.direction == Direction::SourceToTarget ? m_state.sourceRows : m_state.targetRows;
        list.setOutcome(event.index, outcomeOf(event.outcome),
                        event.outcome == RunEvent::Failed ? m_lastFailure : QString());
        // Rows that were checked at the start were counted in the run's bytes.
        if (event.row && event.row->checked)
            m_progress->rowPassed(event.row->sizeBytes, nowMs());
        showBytes();
        break;
    }
    case RunEvent::SyncFinished:
        if (event.stopped) {
            // A stopped run leaves an empty bar: what is left was not done.
            ProgressBar1->setRange(0, 1);
            ProgressBar1->setValue(0);
            showBar(QString());
            ProgressBar1->setToolTip(tr("Stopped after %1 of %2")
                                         .arg(RunProgress::bytesText(double(m_progress->done())),
                                              RunProgress::bytesText(double(m_progress->total()))));
        } else {
            ProgressBar1->setRange(0, 1);
            ProgressBar1->setValue(1);
            showBar(QString());
            ProgressBar1->setToolTip(
                tr("%1 copied").arg(RunProgress::bytesText(double(m_progress->done()))));
        }
        break;
    default:
        break;
    }
}
