// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainform.h"

#include "results/list_commands.h"

#include <QAbstractProxyModel>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

// How the three lists of the main window take keys, focus and mouse presses. The result
// lists' commands themselves are in mainform_results.cpp, the profile list's in
// mainform_profile.cpp.

bool MainForm::listEventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool isMouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                         type == QEvent::MouseButtonDblClick;
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::FocusIn &&
        type != QEvent::ContextMenu && !isMouse)
        return false;
    ResultListModel* list = nullptr;
    if (watched == ListView1 || watched == ListView1->viewport())
        list = &m_state.sourceRows;
    else if (watched == ListView2 || watched == ListView2->viewport())
        list = &m_state.targetRows;

    if (list) {
        QTreeView* view = viewOf(*list);
        if (type == QEvent::ContextMenu) {
            // The menu key asks for the menu; the right button has opened it already when it
            // went down.
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
                ListView_MenuKey(*list);
            return true;
        }
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched == view) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) {
                // The menu key opens the menu here, whether or not the platform would ask.
                if (type == QEvent::KeyPress && !key->isAutoRepeat())
                    ListView_MenuKey(*list);
                return true;
            }
            // One press runs its command once: a held key's repeats only keep it from the list.
            if (key->isAutoRepeat())
                return type == QEvent::KeyPress &&
                       listCommandForKey(key->key(), key->modifiers(), ListKey::Pressed);
            if (type == QEvent::KeyPress) // a command run here is not the list's key as well
                return ListView_KeyDown(*list, key->key(), key->modifiers());
            ListView_KeyUp(*list, key->key(), key->modifiers());
        } else if (type == QEvent::FocusIn && watched == view) {
            ListView_GotFocus(*list);
        } else if (isMouse && watched == view->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (type == QEvent::MouseButtonPress)
                ListView_MouseDown(*list, mouse->button(), mouse->globalPosition().toPoint());
            // Anywhere in the list, also below the last row, opens the selected row's file.
            if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
                ListView_DblClick(*list);
            // A click on the empty space keeps the selection (the view would clear it), so that
            // a double-click there opens the selected row's file. The list still takes the focus.
            if (!view->indexAt(mouse->position().toPoint()).isValid()) {
                view->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
        return false;
    }
    if (type == QEvent::MouseButtonPress && watched == ProfileList->viewport())
        ProfileList_MouseDown(static_cast<QMouseEvent*>(event)->button());
    return false;
}

void MainForm::ListView_GotFocus(ResultListModel& list)
{
    m_state.ActiveResultList = &list;
}

void MainForm::ListView_MouseDown(ResultListModel& list, Qt::MouseButton button,
                                  const QPoint& globalPos)
{
    if (button != Qt::RightButton)
        return;
    m_state.ActiveResultList = &list;
    FileMenu->popup(globalPos);
}

void MainForm::ListView_MenuKey(ResultListModel& list)
{
    m_state.ActiveResultList = &list;
    QTreeView* view = viewOf(list);
    // Below the selected row's name, or at the list's top when no row is selected.
    const QModelIndexList selected =
        view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
    QRect row = selected.isEmpty() ? QRect() : view->visualRect(selected.constFirst());
    if (!row.isValid() || !view->viewport()->rect().intersects(row))
        row = QRect(0, 0, 1, 1);
    FileMenu->popup(view->viewport()->mapToGlobal(row.bottomLeft() + QPoint(16, 0)));
}

int MainForm::selectedRow(const QTreeView* view)
{
    const QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return -1;
    const QModelIndexList rows = selection->selectedRows();
    if (rows.isEmpty())
        return -1;
    QModelIndex index = rows.constFirst();
    if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(view->model()))
        index = proxy->mapToSource(index);
    return index.row();
}
