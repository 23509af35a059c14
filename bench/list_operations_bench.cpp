// SPDX-License-Identifier: GPL-3.0-or-later
// Result list operations on a million rows in the real main window (offscreen):
// Check All, UnCheck All, Invert Checking and a sort by each column, each timed together with
// the view's update; then Delete Checked Files on 100,000 checked rows' files of a list of a
// million rows, against `rm` and a bare unlink loop deleting the same number of files.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKETRANO_BUILD_BENCH=ON
//   cmake --build build-bench --target list_operations_bench
//   build-bench/bench/list_operations_bench [rows] [files]

#include "app/mainform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FilesPerFolder = 1000;

QString folderName(const QString& root, int folder)
{
    return root + QStringLiteral("/d%1").arg(folder, 4, 10, QLatin1Char('0'));
}

// Rows in a shuffled order, sharing their folder strings as a scan does.
void fillRows(ResultListModel& list, int rows, const QString& root, int checkedEvery)
{
    std::mt19937 rng(7);
    std::vector<int> ids(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        ids[size_t(i)] = i;
    std::shuffle(ids.begin(), ids.end(), rng);
    QString source, target;
    int folder = -1;
    for (int i = 0; i < rows; ++i) {
        const int id = ids[size_t(i)];
        if (i / FilesPerFolder != folder) {
            folder = i / FilesPerFolder;
            source = folderName(root, folder);
            target = QStringLiteral("/backup/Target/D%1").arg(folder % 977);
        }
        ResultRow row(QStringLiteral("%1File_%2.txt").arg(QChar(u'a' + id % 26)).arg(id), source,
                      target);
        row.status = rng() % 2 ? ResultRow::Status::NewFile : ResultRow::Status::OverWrite;
        row.modified = 1'600'000'000 + qint64(rng() % 100'000'000);
        row.sizeBytes = qint64(rng() % 50'000'000);
        row.checked = checkedEvery > 0 && i % checkedEvery == 0;
        list.append(std::move(row));
    }
    list.flush();
}

double timed(const std::function<void()>& step)
{
    QElapsedTimer t;
    t.start();
    step();
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e9;
}

// The paths of the checked rows' files.
std::vector<QByteArray> checkedPaths(const ResultListModel& list)
{
    std::vector<QByteArray> paths;
    for (const ResultRow& r : list.rows()) {
        if (r.checked) {
            QDir().mkpath(r.sourceFolder());
            paths.push_back(QFile::encodeName(r.sourcePath()));
        }
    }
    return paths;
}

void createFiles(const std::vector<QByteArray>& paths)
{
    for (const QByteArray& p : paths) {
        const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    ::sync();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 1'000'000;
    const int files = argc > 2 ? atoi(argv[2]) : 100'000;
    QTemporaryDir dir;
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    MainForm form{QString()};
    form.callbacks().askYesNo = [](const QString&) { return true; };
    form.show();
    QApplication::processEvents();
    AppState& state = form.state();

    std::printf("rows: %d, Qt %s\n", rows, qVersion());
    const double fill = timed([&] { fillRows(state.sourceRows, rows, dir.path() + "/a", 0); });
    std::printf("%-28s %8.3f s\n", "fill ListView1", fill);
    state.ActiveResultList = &state.sourceRows;
    const struct
    {
        const char* name;
        Qt::Key key;
    } checks[] = {{"Check All (Ctrl+A)", Qt::Key_A},
                  {"UnCheck All (Ctrl+U)", Qt::Key_U},
                  {"Invert Checking (Ctrl+I)", Qt::Key_I}};
    for (const auto& c : checks) {
        const double s =
            timed([&] { form.ListView_KeyUp(state.sourceRows, c.key, Qt::ControlModifier); });
        std::printf("%-28s %8.3f s\n", c.name, s);
    }
    for (int column = ResultListModel::ColumnCount - 1; column >= 0; --column) {
        const double s = timed([&] { form.ListView_ColumnClick(state.sourceRows, column); });
        std::printf("sort by %-20s %8.3f s\n", qPrintable(ResultListModel::caption(column)), s);
    }
    // The same sorts without a view: the model's own share.
    {
        ResultListModel alone(QStringLiteral("alone"));
        fillRows(alone, rows, dir.path() + "/a", 0);
        for (int column = ResultListModel::ColumnCount - 1; column >= 0; --column) {
            const double s = timed([&] { alone.sort(column); });
            std::printf("model only: sort by %-8s %8.3f s\n",
                        qPrintable(ResultListModel::caption(column)), s);
        }
    }
    // Rows a later scan adds: 10,000 more, then the scan's closing resort.
    const double more = timed([&] {
        for (int i = 0; i < 10'000; ++i) {
            const ResultRow& r = state.sourceRows.at(i);
            state.sourceRows.append(
                r.withPaths(QStringLiteral("Later_%1").arg(i), r.sourceFolder(), r.targetFolder()));
        }
        state.sourceRows.resort();
    });
    std::printf("%-28s %8.3f s\n", "append 10,000 + resort", more);
    state.sourceRows.clear();

    // Delete Checked Files: every tenth row checked and its file on disk.
    const int every = std::max(1, rows / std::max(1, files));
    fillRows(state.targetRows, rows, dir.path() + "/b", every);
    state.ActiveResultList = &state.targetRows;
    const std::vector<QByteArray> paths = checkedPaths(state.targetRows);
    const QString listFile = dir.path() + "/list";
    QFile f(listFile);
    if (f.open(QIODevice::WriteOnly)) {
        for (const QByteArray& p : paths)
            f.write(p + '\0');
        f.close();
    }
    // Each deletion starts from the same freshly created files; the list's comes last.
    const auto measure = [&](const std::function<void()>& remove) {
        createFiles(paths);
        return timed(remove);
    };
    const double rm = measure([&] {
        QProcess::execute("sh", {"-c", "xargs -0 rm -f < '" + listFile + "'"});
    });
    const double bare = measure([&] {
        for (const QByteArray& p : paths)
            ::unlink(p.constData());
    });
    const double bareBackwards = measure([&] { // the list deletes from its last row up
        for (auto p = paths.rbegin(); p != paths.rend(); ++p)
            ::unlink(p->constData());
    });
    QAction* deleteChecked = form.findChild<QAction*>("DeleteChecked");
    const double ours = measure([&] { deleteChecked->trigger(); });
    std::printf("%-28s %8.3f s\n", "xargs rm -f", rm);
    std::printf("%-28s %8.3f s\n", "bare unlink loop", bare);
    std::printf("%-28s %8.3f s\n", "bare unlink loop, last first", bareBackwards);
    std::printf("%-28s %8.3f s  (%zu files, %d of %d rows left)\n", "Delete Checked Files", ours,
                paths.size(), state.targetRows.size(), rows);
    std::printf("ratio Delete Checked / rm: %.2f, / bare unlink: %.2f, / last first: %.2f\n",
                ours / rm, ours / bare, ours / bareBackwards);
    return 0;
}
