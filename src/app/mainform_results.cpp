#include "app/mainform.h"

#include "results/list_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

// The result lists' commands in the window: keys, the popup menu, sorting by a column and
// opening a row's file. The check and delete commands themselves are engine code
// (list_commands.h); here they get the active list's selected row. Everything is refused
// while Scan or Synchronize runs.

namespace {

enum class ListCommand {
    DeleteFile,
    DeleteChecked,
    DeleteUnchecked,
    CheckUnCheckFile,
    CheckAll,
    UnCheckAll,
    InvertChecking
};

void runListCommand(MainForm& form, ListCommand command)
{
    AppState& state = form.state();
    if (state.running != Running::Idle)
        return;
    const int selected =
        state.ActiveResultList ? MainForm::selectedRow(form.viewOf(*state.ActiveResultList)) : -1;
    switch (command) {
    case ListCommand::DeleteFile:
        DeleteFile_Click(state, form.callbacks(), selected);
        break;
    case ListCommand::DeleteChecked:
        DeleteChecked_Click(state, form.callbacks());
        break;
    case ListCommand::DeleteUnchecked:
        DeleteUnchecked_Click(state, form.callbacks());
        break;
    case ListCommand::CheckUnCheckFile:
        CheckUnCheckFile_Click(state, selected);
        break;
    case ListCommand::CheckAll:
        CheckAll_Click(state);
        break;
    case ListCommand::UnCheckAll:
        UnCheckAll_Click(state);
        break;
    case ListCommand::InvertChecking:
        InvertChecking_Click(state);
        break;
    }
}

// The header shows the list's sort column, ascending, or no indicator before the first sort.
void showSortIndicator(QTreeView* view, const ResultListModel& list)
{
    QHeaderView* header = view->header();
    header->setSortIndicatorShown(list.sortColumn() >= 0);
    header->setSortIndicator(list.sortColumn(), Qt::AscendingOrder);
}

} // namespace

void MainForm::ListView_KeyUp(ResultListModel& list, int key, Qt::KeyboardModifiers modifiers)
{
    if (isBusy())
        return;
    // The list that receives keys has the focus and is the active list.
    m_state.ActiveResultList = &list;
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Delete) {
        runListCommand(*this, held == Qt::ShiftModifier ? ListCommand::DeleteUnchecked
                                                        : ListCommand::DeleteFile);
        return;
    }
    if (held != Qt::ControlModifier)
        return;
    switch (key) {
    case Qt::Key_A:
        runListCommand(*this, ListCommand::CheckAll);
        break;
    case Qt::Key_U:
        runListCommand(*this, ListCommand::UnCheckAll);
        break;
    case Qt::Key_I:
        runListCommand(*this, ListCommand::InvertChecking);
        break;
    default:
        break;
    }
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
    if (isBusy() || list.size() == 0)
        return;
    const int row = selectedRow(viewOf(list));
    if (row < 0 || row >= list.size())
        return;
    // A file that is gone opens nothing, silently.
    const QString path = list.at(row).sourcePath();
    if (QFileInfo::exists(path) && m_cb.openFile)
        m_cb.openFile(path);
}

void MainForm::OpenFile_Click()
{
    ListView_DblClick(m_state.ActiveResultList == &m_state.ListView1 ? m_state.ListView1
                                                                     : m_state.ListView2);
}

void MainForm::connectFileMenu()
{
    const struct
    {
        const char* name;
        ListCommand command;
    } items[] = {
        {"DeleteFile", ListCommand::DeleteFile},
        {"DeleteChecked", ListCommand::DeleteChecked},
        {"DeleteUnchecked", ListCommand::DeleteUnchecked},
        {"CheckUnCheckFile", ListCommand::CheckUnCheckFile},
        {"CheckAll", ListCommand::CheckAll},
        {"UnCheckAll", ListCommand::UnCheckAll},
        {"InvertChecking", ListCommand::InvertChecking},
    };
    for (QAction* action : FileMenu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("OpenFile")) {
            connect(action, &QAction::triggered, this, [this] { OpenFile_Click(); });
            continue;
        }
        for (const auto& item : items) {
            if (name == QLatin1String(item.name)) {
                const ListCommand command = item.command;
                connect(action, &QAction::triggered, this,
                        [this, command] { runListCommand(*this, command); });
            }
        }
    }
    // While Scan or Synchronize runs the menu still opens, with its commands disabled.
    connect(FileMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : FileMenu->actions())
            action->setEnabled(!isBusy());
    });
}
