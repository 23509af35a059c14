// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/status_presenter.h"

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

void StatusPresenter::show(const RunEvent& event)
{
    AppState& s = m_state;
    StatusBarState& bar = s.status;
    switch (event.type) {
    case RunEvent::ScanStarted:
        panel(1, QStringLiteral("Ready"));
        for (int p = 2; p <= 5; ++p)
            panel(p, QString());
        setProgressRange(bar, m_ui, 0, 1);
        setProgressValue(bar, m_ui, 0);
        busy(true);
        panel(1, QStringLiteral("Scanning"));
        break;
    case RunEvent::EntryStarted:
        panel(1, QStringLiteral("Scanning"));
        break;
    case RunEvent::Comparing:
        panel(1, QStringLiteral("Comparing"));
        break;
    case RunEvent::ScanFinished: {
        busy(false);
        panel(1, event.stopped ? QStringLiteral("Canceled") : QStringLiteral("Ready  "));
        panel(2, QStringLiteral("Source Files: ") + QString::number(s.SourceFileCount));
        panel(3, QStringLiteral("Source Size: ") + formatKB(s.SourceSizeKB) + QStringLiteral("KB"));
        panel(4, QStringLiteral("Target Files: ") + QString::number(s.TargetFileCount));
        panel(5, QStringLiteral("Target Size: ") + formatKB(s.TargetSizeKB) + QStringLiteral("KB"));
        qint64 maximum = s.SourceSizeKB;
        addToCounter(maximum, s.TargetSizeKB);
        addToCounter(maximum, 1);
        setProgressRange(bar, m_ui, 0, maximum);
        break;
    }
    case RunEvent::SyncStarted:
        m_flushing = false;
        busy(true);
        panel(1, QStringLiteral("Copying"));
        panel(2, QStringLiteral("From source to Target"));
        panel(4, QString());
        break;
    case RunEvent::DirectionStarted:
        if (event.direction == Direction::TargetToSource)
            panel(2, QStringLiteral("From Target to Source"));
        break;
    case RunEvent::FileProgress:
        // During a large file the bar follows its bytes; the panels keep their texts.
        if (event.bytesDone > 0)
            setProgressValue(bar, m_ui, s.KBCopied + event.bytesDone / 1024);
        break;
    case RunEvent::RowPassed:
        panel(4, QString::number(s.FilesCopied) + QLatin1String(" of ") +
                     QString::number(s.SourceFileCount + s.TargetFileCount));
        panel(5, formatKB(s.KBCopied) + QLatin1String(" KB Copied"));
        panel(2, event.row ? event.row->name : QString());
        panel(3, QLatin1String("Errors : ") + QString::number(s.ErrorCount));
        setProgressValue(bar, m_ui, s.KBCopied);
        break;
    case RunEvent::Problem:
        // A failed flush comes after the last row, and another run's hold on the profile
        // before anything: panel 3 counts them too.
        if (m_flushing)
            panel(3, QLatin1String("Errors : ") + QString::number(s.ErrorCount));
        if (event.error && event.error->kind == ErrorKind::ProfileBusy) {
            panel(2, event.error->error);
            panel(3, QLatin1String("Errors : ") + QString::number(s.ErrorCount));
        }
        break;
    case RunEvent::Flushing:
        m_flushing = true;
        break;
    case RunEvent::SyncFinished:
        m_flushing = false;
        busy(false);
        panel(1, event.stopped ? QStringLiteral("Canceled ") : QStringLiteral("Ready  "));
        panel(2, QString());
        panel(4, panelText(bar, 4) + QLatin1String("  Files copied"));
        setProgressValue(bar, m_ui, bar.progressMax);
        break;
    case RunEvent::FileStarted:
    case RunEvent::FilesFound:
    case RunEvent::DirectionSkipped:
        break;
    }
}
