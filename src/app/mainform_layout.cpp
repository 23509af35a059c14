// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "app/column_fit.h"
#include "app/window_layout.h"
#include "results/display_format.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>

// The main window's sizes: list columns that fit their lists, the smallest window that still
// shows every control, and the size, position and column widths kept between runs.

namespace {

// The width a cell needs to show the widest of 'texts' whole, margins included.
int cellWidth(const QTreeView* view, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = qMax(widest, view->fontMetrics().horizontalAdvance(text));
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view);
    return widest + 2 * (margin + 1) + 8;
}

// The width a column header needs for its caption and the sort arrow.
int headerWidth(const QTreeView* view, int column)
{
    const QHeaderView* header = view->header();
    const QString caption = view->model()->headerData(column, Qt::Horizontal).toString();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    return header->fontMetrics().horizontalAdvance(caption) + 4 * margin + arrow;
}

// The dates and times of the user's locale that are widest: two-digit days and hours of every
// month, in the morning and in the evening.
QStringList widestDates()
{
    QStringList dates;
    for (int month = 1; month <= 12; ++month) {
        for (int hour : {10, 22}) {
            const QDateTime local(QDate(2026, month, 28), QTime(hour, 58, 58));
            dates << formatGeneralDate(local.toSecsSinceEpoch());
        }
    }
    return dates;
}

// The smallest widths at which the result list's columns show their texts: the Name column a
// check box, an icon and about ten letters; a folder about eight letters; Status, Last
// Modified and size(KB) every text they can hold.
QList<int> resultColumnMinimums(const QTreeView* view)
{
    const int letter = view->fontMetrics().averageCharWidth();
    const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
    QList<int> minimums = {
        box + 16 + 10 * letter + 16,
        8 * letter,
        8 * letter,
        cellWidth(view, {QCoreApplication::translate("Results", "New File"),
                         QCoreApplication::translate("Results", "OverWrite")}),
        cellWidth(view, widestDates()),
        cellWidth(view, {formatKB(99'999'999)}),
    };
    for (int column = 0; column < minimums.size(); ++column)
        minimums[column] = qMax(minimums[column], headerWidth(view, column));
    return minimums;
}

// Header, a few rows and a scroll bar.
int listMinimumHeight(const QTreeView* view, int rows)
{
    const int row = qMax(view->fontMetrics().height() + 4, 20);
    const int bar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    return view->header()->sizeHint().height() + rows * row + bar + 2 * view->frameWidth();
}

} // namespace

void MainForm::setUpSizes()
{
    // Result lists: Name a quarter of the width, Source and Target 1.35/8 each, the other
    // three an eighth each. Profile list: Source and Target a third each, Include and
    // Exclude a seventh each.
    const QList<double> resultShares = {1 / 4.0, 1.35 / 8, 1.35 / 8, 1 / 8.0, 1 / 8.0, 1 / 8.0};
    for (QTreeView* view : {ListView1, ListView2}) {
        m_columnFits << new ColumnFit(view, resultShares,
                                      [view] { return resultColumnMinimums(view); });
    }
    m_columnFits << new ColumnFit(ProfileList, {1 / 3.0, 1 / 3.0, 1 / 7.0, 1 / 7.0});

    // The smallest window keeps every toolbar button, a few rows of each list and the status
    // panels (which have minimum widths of their own) in view.
    for (QToolBar* bar : {tbrMain, tbrSecond})
        bar->setMinimumWidth(bar->sizeHint().width());
    TbrProfile->setMinimumHeight(TbrProfile->sizeHint().height());
    for (QTreeView* view : {ListView1, ListView2, ProfileList})
        view->setMinimumHeight(listMinimumHeight(view, 2));
}

void MainForm::restoreLayout()
{
    const WindowLayout::Values values = WindowLayout::read();
    if (!values.geometry.isEmpty())
        restoreGeometry(values.geometry);
    if (!values.splitter.isEmpty())
        m_splitter->restoreState(values.splitter);
    fitOnScreen();
    for (ColumnFit* fit : std::as_const(m_columnFits))
        fit->setUserShares(values.shares.value(fit->view()->objectName()));
}

void MainForm::saveLayout() const
{
    WindowLayout::Values values;
    values.geometry = saveGeometry();
    values.splitter = m_splitter->saveState();
    for (const ColumnFit* fit : m_columnFits) {
        if (!fit->userShares().isEmpty())
            values.shares.insert(fit->view()->objectName(), fit->userShares());
    }
    WindowLayout::write(values);
}

void MainForm::fitOnScreen()
{
    if (isMaximized() || isFullScreen())
        return;
    // The screen the window is on, or the one its remembered place was on, or the first.
    QScreen* on = QGuiApplication::screenAt(frameGeometry().center());
    if (!on)
        on = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!on)
        return;
    const QRect room = on->availableGeometry();
    // The frame's own width and height (title bar, borders) come off the room as well; before
    // the window is shown the platform may not know them yet, so a margin is kept.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize border(qMax(frame.width(), 16), qMax(frame.height(), 40));
    const QSize most = (room.size() - border).expandedTo(QSize(1, 1));
    if (minimumSizeHint().width() > most.width() || minimumSizeHint().height() > most.height()) {
        // A small or scaled screen: the smallest window gives way (the toolbars fold their
        // last buttons into their menu, the lists show fewer rows).
        for (QToolBar* bar : {tbrMain, tbrSecond})
            bar->setMinimumWidth(0);
        for (QTreeView* view : {ListView1, ListView2, ProfileList})
            view->setMinimumHeight(listMinimumHeight(view, 1));
        setMinimumSize(0, 0);
    }
    const QSize size = this->size().boundedTo(most);
    if (size != this->size())
        resize(size);
    // Onto the screen when the remembered place is off it, or partly off it: the window as
    // large as it will be, at least its smallest size.
    QRect placed(frameGeometry().topLeft(),
                 size.expandedTo(minimumSizeHint()).expandedTo(minimumSize()) + border);
    if (!room.contains(placed)) {
        placed.moveLeft(qBound(room.left(), placed.left(), room.right() - placed.width() + 1));
        placed.moveTop(qBound(room.top(), placed.top(), room.bottom() - placed.height() + 1));
        move(placed.topLeft());
    }
}
