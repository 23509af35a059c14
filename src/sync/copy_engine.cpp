#include "sync/copy_engine.h"

#include "core/status_bar.h"
#include "core/ui_yield.h"
#include "results/display_format.h"
#include "sync/copy_ahead.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool makeFolder(const QByteArray& path)
{
    return ::mkdir(path.constData(), 0777) == 0 || errno == EEXIST;
}

void showRowProgress(AppState& state, const Callbacks& cb, const QString& name)
{
    const qint64 listed = state.SourceFileCount + state.TargetFileCount;
    setPanel(state, cb, 4,
             QString::number(state.FilesCopied) + QLatin1String(" of ") + QString::number(listed));
    setPanel(state, cb, 5, formatKB(state.KBCopied) + QLatin1String(" KB Copied"));
    setPanel(state, cb, 2, name);
    setPanel(state, cb, 3, QLatin1String("Errors : ") + QString::number(state.ErrorCount));
    setProgressValue(state, cb, state.KBCopied);
}

} // namespace

void MakeFolderPath(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return;
    // Mostly the folder exists already, or only its last level is missing: one call.
    if (::mkdir(encoded.constData(), 0777) == 0 || errno == EEXIST)
        return;
    for (qsizetype slash = encoded.indexOf('/', 1); slash > 0;
         slash = encoded.indexOf('/', slash + 1))
        makeFolder(encoded.left(slash));
    makeFolder(encoded);
}

void CopyCheckedFiles(AppState& state, const Callbacks& cb, ResultListModel& list)
{
    // Pass 1: the Target folder of every row. Rows of one folder mostly follow each other, and
    // a folder tried once gives the same result the second time: try each folder once.
    QSet<QString> tried;
    QString previous;
    for (const ResultRow& row : list.rows()) {
        if (!previous.isNull() && row.targetFolder == previous)
            continue;
        previous = row.targetFolder;
        if (!tried.contains(previous)) {
            tried.insert(previous);
            MakeFolderPath(previous);
        }
    }

    // Pass 2: the copies. The window refuses every command that would change the list while
    // this runs, so the rows and their check marks are taken once. The files are copied a few
    // rows ahead on a worker thread; each is put in its destination's place here, in order.
    const int count = list.size();
    std::vector<CopyAhead::Job> jobs;
    for (int i = 0; i < count; ++i)
        if (list.at(i).checked)
            jobs.push_back({i, list.at(i)});
    CopyAhead ahead(CopyPreparer(), std::move(jobs), &state.abandonCopy);
    CopyPlacer placer;
    // During a large file the bar follows its bytes at each turn of the window; the panels
    // keep their texts until the file is done.
    const std::function<void(qint64)> copying = [&state, &cb](qint64 bytesSoFar) {
        if (!uiYieldDue(state))
            return;
        if (bytesSoFar > 0)
            setProgressValue(state, cb, state.KBCopied + bytesSoFar / 1024);
        uiYieldNow(state, cb);
    };
    for (int i = 0; i < count && i < list.size(); ++i) {
        if (state.cancelled())
            break;
        const ResultRow row = list.at(i);
        if (ahead.nextIndex() == i) {
            PreparedCopy copy = ahead.take(copying);
            if (state.abandonCopy)
                break; // the program ends: the copy is given up, its temporary file removed
            const QString error = placer.place(row, copy);
            if (error.isNull()) {
                list.setDestination(i, copy.copied.modified, copy.copied.modifiedNs,
                                    copy.copied.sizeBytes);
                uiYield(state, cb);
                state.KBCopied += row.sizeKB;
                ++state.FilesCopied;
            } else {
                ++state.ErrorCount;
                state.ErrorsList.append({row.name, row.sourceFolder, row.targetFolder, error});
            }
        }
        showRowProgress(state, cb, row.name);
    }
}
