#include "app/mainform.h"

#include <QAbstractProxyModel>
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
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::FocusIn &&
        type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    ResultListModel* list = nullptr;
    if (watched == ListView1 || watched == ListView1->viewport())
        list = &m_state.ListView1;
    else if (watched == ListView2 || watched == ListView2->viewport())
        list = &m_state.ListView2;

    if (list) {
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched == viewOf(*list)) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat())
                return false;
            if (type == QEvent::KeyPress) // a command run here is not the list's key as well
                return ListView_KeyDown(*list, key->key(), key->modifiers());
            ListView_KeyUp(*list, key->key(), key->modifiers());
        } else if (type == QEvent::FocusIn && watched == viewOf(*list)) {
            ListView_GotFocus(*list);
        } else if (type == QEvent::MouseButtonPress && watched == viewOf(*list)->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            ListView_MouseDown(*list, mouse->button(), mouse->globalPosition().toPoint());
        } else if (type == QEvent::MouseButtonDblClick && watched == viewOf(*list)->viewport()) {
            // Anywhere in the list, also below the last row, opens the selected row's file.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                ListView_DblClick(*list);
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
