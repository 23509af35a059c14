#include "results/list_commands.h"

#include "core/name_bytes.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace {

ResultListModel* idleActiveList(AppState& state)
{
    return state.running == Running::Idle ? state.ActiveResultList : nullptr;
}

bool ask(const Callbacks& cb, const QString& question)
{
    return cb.askYesNo && cb.askYesNo(question);
}

// Deletes the files of the rows whose check mark equals 'checked', last row first, and
// removes the rows whose files are gone in one step.
void deleteRowsChecked(AppState& state, const Callbacks& cb, bool checked, const QString& question)
{
    if (state.running != Running::Idle || !ask(cb, question))
        return;
    ResultListModel* list = idleActiveList(state);
    if (!list)
        return;
    list->flush();
    const std::vector<ResultRow>& rows = list->rows();
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

} // namespace

bool deleteRowFile(const ResultRow& row)
{
    const QByteArray path = nameBytes(row.sourcePath());
    if (::unlink(path.constData()) == 0)
        return true;
    // Already gone, or a folder on the way is missing or is no folder: nothing is there.
    return errno == ENOENT || errno == ENOTDIR;
}

void CheckAll_Click(AppState& state)
{
    if (ResultListModel* list = idleActiveList(state))
        list->setAllChecked(true);
}

void UnCheckAll_Click(AppState& state)
{
    if (ResultListModel* list = idleActiveList(state))
        list->setAllChecked(false);
}

void InvertChecking_Click(AppState& state)
{
    if (ResultListModel* list = idleActiveList(state))
        list->invertAll();
}

void CheckUnCheckFile_Click(AppState& state, int selected)
{
    ResultListModel* list = idleActiveList(state);
    if (!list || selected < 0 || selected >= list->size())
        return;
    list->setChecked(selected, !list->at(selected).checked);
}

void DeleteFile_Click(AppState& state, const Callbacks& cb, int selected)
{
    ResultListModel* list = idleActiveList(state);
    if (!list || list->size() == 0 || selected < 0 || selected >= list->size())
        return;
    const ResultRow row = list->at(selected);
    if (!ask(cb, QStringLiteral("Permenantly Delete [") + row.name + QStringLiteral("] from  [") +
                     row.sourceFolder + QStringLiteral("]")))
        return;
    // The question's event loop must not have changed the list under us.
    if (idleActiveList(state) != list || selected >= list->size() ||
        list->at(selected).name != row.name || list->at(selected).sourceFolder != row.sourceFolder)
        return;
    if (deleteRowFile(row))
        list->removeAt(selected);
}

void DeleteChecked_Click(AppState& state, const Callbacks& cb)
{
    deleteRowsChecked(state, cb, true,
                      QStringLiteral("Permenantly Delete All Checked Files From Disk"));
}

void DeleteUnchecked_Click(AppState& state, const Callbacks& cb)
{
    deleteRowsChecked(state, cb, false,
                      QStringLiteral("Permenantly Delete All UnChecked Files From Disk"));
}
