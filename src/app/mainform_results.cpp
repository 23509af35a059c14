// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "results/list_commands.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

// The result lists' commands in the window: the popup menu and the keys, both built from the
// command table (list_commands.h), sorting by a column and opening a row's file. Everything
// is refused while Scan or Synchronize runs.

namespace {

// The header shows the list's sort column, ascending, or no indicator before the first sort.
void showSortIndicator(QTreeView* view, const ResultListModel& list)
{
    QHeaderView* header = view->header();
    header->setSortIndicatorShown(list.sortColumn() >= 0);
    header->setSortIndicator(list.sortColumn(), Qt::AscendingOrder);
}

} // namespace

ListCommandContext MainForm::listCommandContext()
{
    return {m_state, m_cb,
            [this](const ResultListModel& list) { return selectedRow(viewOf(list)); }};
}

void MainForm::buildFileMenu()
{
    FileMenu = new QMenu(this);
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    for (const ListCommand& command : listCommands()) {
        // The shortcut is a label only: the lists handle the keys themselves.
        QString text = QCoreApplication::translate("ListCommand", command.caption);
        if (*command.shortcut)
            text += QLatin1Char('\t') + QString::fromLatin1(command.shortcut);
        QAction* action = FileMenu->addAction(text);
        action->setObjectName(QString::fromLatin1(command.name));
        connect(action, &QAction::triggered, this,
                [this, &command] { runListCommand(command, listCommandContext()); });
    }
    // While Scan or Synchronize runs the menu still opens, with its commands disabled.
    connect(FileMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : FileMenu->actions())
            action->setEnabled(!isBusy());
    });
}

void MainForm::ListView_KeyUp(ResultListModel& list, int key, Qt::KeyboardModifiers modifiers)
{
    if (isBusy())
        return;
    // The list that receives keys has the focus and is the active list.
    m_state.ActiveResultList = &list;
    if (const ListCommand* command = listCommandForKey(key, modifiers, ListKey::Released))
        runListCommand(*command, listCommandContext());
}

bool MainForm::ListView_KeyDown(ResultListModel& list, int key, Qt::KeyboardModifiers modifiers)
{
    const ListCommand* command = listCommandForKey(key, modifiers, ListKey::Pressed);
    if (!command)
        return false;
    if (!isBusy()) {
        m_state.ActiveResultList = &list;
        runListCommand(*command, listCommandContext());
    }
    return true;
}

void MainForm::ListView_ColumnClick(ResultListModel& list, int column)
{
    // The same header again changes nothing; there is no descending order.
    if (!isBusy() && column != list.sortColumn())
        list.sort(column, Qt::AscendingOrder);
    // The header flips its indicator by itself on every click: put it back.
    showSortIndicator(viewOf(list), list);
}

void MainForm::ListView_DblClick(ResultListModel& list)
{
    openSelectedFile(listCommandContext(), list);
}
