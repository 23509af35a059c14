// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/status_presenter.h"

#include <QCoreApplication>

#include "core/status_bar.h"
#include "results/display_format.h"
#include "scan/compare_sides.h"

void StatusPresenter::panel(int index, const QString& text)
{
    setPanel(m_state.status, m_ui, index, text);
}

void StatusPresenter::busy(bool on)
{
    if (m_ui.busyChanged)
        m_ui.busyChanged(on);
}

StatusPresenter::RowTexts& StatusPresenter::rowTexts()
{
    if (m_rowTexts.ofTotal.isEmpty())
        m_rowTexts = {QCoreApplication::translate("Status", "%1 of %2"),
                      QCoreApplication::translate("Status", "%1 KB Copied"),
                      QCoreApplication::translate("Status", "Errors : %1"), -1, QString()};
    return m_rowTexts;
}

void StatusPresenter::show(const RunEvent& event)
{
    AppState& s = m_state;
    StatusBarState& bar = s.status;
    switch (event.type) {
    case RunEvent::ScanStarted:
        panel(1, QCoreApplication::translate("Status", "Ready"));
        for (int p = 2; p <= 5; ++p)
            panel(p, QString());
        setProgressRange(bar, m_ui, 0, 1);
        setProgressValue(bar, m_ui, 0);
        busy(true);
        panel(1, QCoreApplication::translate("Status", "Scanning"));
        break;
    case RunEvent::EntryStarted:
        panel(1, QCoreApplication::translate("Status", "Scanning"));
        break;
    case RunEvent::Comparing:
        panel(1, QCoreApplication::translate("Status", "Comparing"));
        break;
    case RunEvent::ScanFinished: {
        busy(false);
        panel(1, event.stopped ? QCoreApplication::translate("Status", "Canceled")
                               : QCoreApplication::translate("Status", "Ready  "));
        panel(2, QCoreApplication::translate("Status", "Source Files: ") +
                     QString::number(s.SourceFileCount));
        panel(3, QCoreApplication::translate("Status", "Source Size: %1KB")
                     .arg(formatKB(s.SourceSizeKB)));
        panel(4, QCoreApplication::translate("Status", "Target Files: ") +
                     QString::number(s.TargetFileCount));
        panel(5, QCoreApplication::translate("Status", "Target Size: %1KB")
                     .arg(formatKB(s.TargetSizeKB)));
        qint64 maximum = s.SourceSizeKB;
        addToCounter(maximum, s.TargetSizeKB);
        addToCounter(maximum, 1);
        setProgressRange(bar, m_ui, 0, maximum);
        break;
    }
    case RunEvent::SyncStarted:
        m_flushing = false;
        busy(true);
        panel(1, QCoreApplication::translate("Status", "Copying"));
        panel(2, QCoreApplication::translate("Status", "From source to Target"));
        panel(4, QString());
        break;
    case RunEvent::DirectionStarted:
        if (event.direction == Direction::TargetToSource)
            panel(2, QCoreApplication::translate("Status", "From Target to Source"));
        break;
    case RunEvent::FileProgress:
        // During a large file the bar follows its bytes; the panels keep their texts.
        if (event.bytesDone > 0)
            setProgressValue(bar, m_ui, s.KBCopied + event.bytesDone / 1024);
        break;
    case RunEvent::RowPassed: {
        RowTexts& texts = rowTexts();
        panel(4, texts.ofTotal.arg(s.FilesCopied).arg(s.SourceFileCount + s.TargetFileCount));
        panel(5, texts.kbCopied.arg(formatKB(s.KBCopied)));
        panel(2, event.row ? event.row->name() : QString());
        if (texts.errorCount != s.ErrorCount)
            texts.errorText = texts.errors.arg(texts.errorCount = s.ErrorCount);
        panel(3, texts.errorText);
        setProgressValue(bar, m_ui, s.KBCopied);
        break;
    }
    case RunEvent::Problem:
        // A failed flush comes after the last row, and another run's hold on the profile
        // before anything: panel 3 counts them too.
        if (m_flushing)
            panel(3, QCoreApplication::translate("Status", "Errors : %1").arg(s.ErrorCount));
        if (event.error && event.error->kind == ErrorKind::ProfileBusy) {
            panel(2, event.error->error);
            panel(3, QCoreApplication::translate("Status", "Errors : %1").arg(s.ErrorCount));
        }
        break;
    case RunEvent::Flushing:
        m_flushing = true;
        break;
    case RunEvent::SyncFinished:
        m_flushing = false;
        busy(false);
        panel(1, event.stopped ? QCoreApplication::translate("Status", "Canceled ")
                               : QCoreApplication::translate("Status", "Ready  "));
        panel(2, QString());
        panel(4, panelText(bar, 4) + QCoreApplication::translate("Status", "  Files copied"));
        setProgressValue(bar, m_ui, bar.progressMax);
        break;
    case RunEvent::FileStarted:
    case RunEvent::FilesFound:
    case RunEvent::DirectionSkipped:
        break;
    }
}
