// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/list_commands.h"

#include "core/name_bytes.h"
#include "core/thread_check.h"
#include "sync/versions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace {

ResultListModel* idleActiveList(AppState& state)
{
    return state.control.running == Running::Idle ? state.ActiveResultList : nullptr;
}

bool ask(const Callbacks& cb, const QString& question)
{
    return cb.askYesNo && cb.askYesNo(question);
}

// Deletes the files of the rows whose check mark equals 'checked', last row first, and
// removes the rows whose files are gone in one step.
void deleteRowsChecked(AppState& state, const Callbacks& cb, bool checked, const QString& question)
{
    if (state.control.running != Running::Idle || !ask(cb, question))
        return;
    ResultListModel* list = idleActiveList(state);
    if (!list)
        return;
    list->flush();
    const ResultRows& rows = list->rows();
    std::vector<char> gone(rows.size(), 0);
    bool anyGone = false;
    for (size_t i = rows.size(); i-- > 0;) {
        if (rows[i].checked == checked && deleteRowFile(rows[i])) {
            gone[i] = 1;
            anyGone = true;
        }
    }
    if (!anyGone)
        return;
    // remove_if reads every row in its original place before it moves anything there.
    const ResultRow* first = rows.data();
    list->removeIf([&gone, first](const ResultRow& r) { return gone[size_t(&r - first)] != 0; });
}

void OpenFile_Click(const ListCommandContext& c)
{
    const AppState& s = c.state;
    openSelectedFile(c, s.ActiveResultList == &s.sourceRows ? s.sourceRows : s.targetRows);
}

void DeleteFile_Click(const ListCommandContext& c)
{
    ResultListModel* list = idleActiveList(c.state);
    if (!list || list->size() == 0)
        return;
    const int selected = c.selectedRow(*list);
    if (selected < 0 || selected >= list->size())
        return;
    const ResultRow row = list->at(selected);
    if (!ask(c.cb, QCoreApplication::translate("Results", "Permenantly Delete [%1] from  [%2]")
                       .arg(row.name(), row.sourceFolder())))
        return;
    // The question's event loop must not have changed the list under us.
    if (idleActiveList(c.state) != list || selected >= list->size() ||
        list->at(selected).name() != row.name() ||
        list->at(selected).sourceFolder() != row.sourceFolder())
        return;
    if (deleteRowFile(row))
        list->removeAt(selected);
}

void DeleteChecked_Click(const ListCommandContext& c)
{
    deleteRowsChecked(
        c.state, c.cb, true,
        QCoreApplication::translate("Results", "Permenantly Delete All Checked Files From Disk"));
}

void DeleteUnchecked_Click(const ListCommandContext& c)
{
    deleteRowsChecked(
        c.state, c.cb, false,
        QCoreApplication::translate("Results", "Permenantly Delete All UnChecked Files From Disk"));
}

// The versions kept of the selected row's destination, below the root of that side.
void ShowVersions_Click(const ListCommandContext& c)
{
    ResultListModel* list = idleActiveList(c.state);
    const int selected = list ? c.selectedRow(*list) : -1;
    if (selected < 0 || selected >= list->size() || !c.cb.showVersions)
        return;
    const ResultRow& row = list->at(selected);
    if (row.entry() >= c.state.scannedEntries.size())
        return;
    const ScannedEntry& entry = c.state.scannedEntries[row.entry()];
    const QString root = list == &c.state.sourceRows ? entry.target.path : entry.source.path;
    const QString folder = folderBelow(root, row.targetFolder());
    c.cb.showVersions(root, folder.isEmpty() ? row.name() : folder + QLatin1Char('/') + row.name());
}

void CheckUnCheckFile_Click(const ListCommandContext& c)
{
    ResultListModel* list = idleActiveList(c.state);
    const int selected = list ? c.selectedRow(*list) : -1;
    if (selected < 0 || selected >= list->size())
        return;
    list->setChecked(selected, !list->at(selected).checked);
}

void CheckAll_Click(const ListCommandContext& c)
{
    if (ResultListModel* list = idleActiveList(c.state))
        list->setAllChecked(true);
}

void UnCheckAll_Click(const ListCommandContext& c)
{
    if (ResultListModel* list = idleActiveList(c.state))
        list->setAllChecked(false);
}

void InvertChecking_Click(const ListCommandContext& c)
{
    if (ResultListModel* list = idleActiveList(c.state))
        list->invertAll();
}

// Delete with exactly Shift held deletes the unchecked rows, with anything else the selected one.
// Like the check mark keys with Ctrl, they act when the key goes down, with the modifiers held
// then: a quick press that lets go of Shift or Ctrl before the key still counts as pressed, and
// Shift+Delete never becomes a Delete of the selected row's file.
constexpr ListKey NoKey{};
constexpr ListKey AnyDelete{Qt::Key_Delete, Qt::NoModifier, true, ListKey::Pressed};
constexpr ListKey ShiftDelete{Qt::Key_Delete, Qt::ShiftModifier, false, ListKey::Pressed};
// Space checks or unchecks the selected row whichever of its cells is current (the view's own
// Space reaches the check box only from the Name cell).
constexpr ListKey SpaceKey{Qt::Key_Space, Qt::NoModifier, false, ListKey::Pressed};
constexpr ListKey Ctrl(Qt::Key key)
{
    return {key, Qt::ControlModifier, false, ListKey::Pressed};
}

// The popup menu shows the shortcut labels; the keys act through the key column only.
const ListCommand Commands[] = {
    {"OpenFile", QT_TRANSLATE_NOOP("ListCommand", "Open File"), "", NoKey, OpenFile_Click},
    {"DeleteFile", QT_TRANSLATE_NOOP("ListCommand", "Delete File"), "Del", AnyDelete,
     DeleteFile_Click},
    {"DeleteChecked", QT_TRANSLATE_NOOP("ListCommand", "Delete Checked Files  "), "", NoKey,
     DeleteChecked_Click},
    {"DeleteUnchecked", QT_TRANSLATE_NOOP("ListCommand", "Delete UnChecked Files"), "Shift+Del",
     ShiftDelete, DeleteUnchecked_Click},
    {"CheckUnCheckFile", QT_TRANSLATE_NOOP("ListCommand", "Check / UnCheck File"), "", SpaceKey,
     CheckUnCheckFile_Click},
    {"ShowVersions", QT_TRANSLATE_NOOP("ListCommand", "Show Versions"), "", NoKey,
     ShowVersions_Click},
    {"CheckAll", QT_TRANSLATE_NOOP("ListCommand", "Check All Files"), "Ctrl+A", Ctrl(Qt::Key_A),
     CheckAll_Click},
    {"UnCheckAll", QT_TRANSLATE_NOOP("ListCommand", "UnCheck All Files"), "Ctrl+U", Ctrl(Qt::Key_U),
     UnCheckAll_Click},
    {"InvertChecking", QT_TRANSLATE_NOOP("ListCommand", "Invert Checking of All Files"), "Ctrl+I",
     Ctrl(Qt::Key_I), InvertChecking_Click},
};

} // namespace

std::span<const ListCommand> listCommands()
{
    return Commands;
}

const ListCommand* listCommandForKey(int key, Qt::KeyboardModifiers modifiers,
                                     ListKey::Moment moment)
{
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const ListCommand* anyHeld = nullptr;
    for (const ListCommand& c : Commands) {
        if (c.key.key == 0 || c.key.key != key || c.key.moment != moment)
            continue;
        if (!c.key.anyModifiers && c.key.modifiers == held)
            return &c;
        if (c.key.anyModifiers && !anyHeld)
            anyHeld = &c;
    }
    return anyHeld;
}

void runListCommand(const ListCommand& command, const ListCommandContext& context)
{
    KETRANO_ON_WINDOW_THREAD(&context.state.sourceRows);
    if (context.state.control.running == Running::Idle)
        command.run(context);
}

void openSelectedFile(const ListCommandContext& context, const ResultListModel& list)
{
    KETRANO_ON_WINDOW_THREAD(&list);
    if (context.state.control.running != Running::Idle || list.size() == 0)
        return;
    const int row = context.selectedRow(list);
    if (row < 0 || row >= list.size())
        return;
    // A file that is gone opens nothing, silently. By its bytes: any name works.
    const QString path = list.at(row).sourcePath();
    if (::access(nameBytes(path).constData(), F_OK) == 0 && context.cb.openFile)
        context.cb.openFile(path);
}

bool deleteRowFile(const ResultRow& row)
{
    const QByteArray path = nameBytes(row.sourcePath());
    if (::unlink(path.constData()) == 0)
        return true;
    // Already gone, or a folder on the way is missing or is no folder: nothing is there.
    return errno == ENOENT || errno == ENOTDIR;
}
