// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_file.h"
#include "support/temp_tree.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

// A power cut must leave every replaced destination old or new, never empty: the new data
// (and its time) of a file that replaces another is on disk before the rename that replaces
// the old one. A new file is never seen half-written, and until the run has put it on disk it
// carries a time older than its source's, so that one cut short is copied again. ketrano-cli
// sync runs under strace, and the order of its system calls is checked: for every rename over
// an existing destination, a flush of the file system (syncfs or fsync) ended after the last
// write into the file that takes the name; every new file takes its name after its last write,
// with an older time, and gets its source's time only after a flush that ended after that.

namespace {

// One system call as strace -f printed it: its thread, name, arguments and result, and the
// lines where it began and ended (a call interrupted by another thread's line ends later).
struct Call
{
    QString name;
    QStringList args;
    long long result = -1;
    int ended = 0;
    int began = 0;
};

// The arguments, split at the commas outside quotes, brackets and braces.
QStringList splitArgs(const QString& text)
{
    static const QRegularExpression arg(R"((?:"(?:[^"\\]|\\.)*"|\[[^\]]*\]|\{[^}]*\}|[^,\[{"])+)");
    QStringList args;
    for (auto it = arg.globalMatch(text); it.hasNext();)
        args << it.next().captured().trimmed();
    return args;
}

// The calls in the order they ended, with unfinished calls joined to their resumption.
std::vector<Call> readTrace(const QString& path)
{
    static const QRegularExpression whole(R"(^(\d+)\s+(\w+)\((.*)\)\s+=\s+(-?\d+).*$)");
    static const QRegularExpression start(R"(^(\d+)\s+(\w+)\((.*) <unfinished \.\.\.>$)");
    static const QRegularExpression resumed(
        R"(^(\d+)\s+<\.\.\. (\w+) resumed>(.*)\)\s+=\s+(-?\d+).*$)");
    // Thread -> the start of its unfinished call's arguments, and its line.
    QHash<QString, std::pair<QString, int>> pending;
    std::vector<Call> calls;
    int line = 0;
    for (const QByteArray& raw : TempTree::read(path).split('\n')) {
        ++line;
        const QString text = QString::fromUtf8(raw);
        if (const auto m = start.match(text); m.hasMatch()) {
            pending.insert(m.captured(1), {m.captured(3), line});
        } else if (const auto m = resumed.match(text); m.hasMatch()) {
            const auto [args, began] = pending.take(m.captured(1));
            calls.push_back({m.captured(2), splitArgs(args + m.captured(3)),
                             m.captured(4).toLongLong(), line, began});
        } else if (const auto m = whole.match(text); m.hasMatch()) {
            calls.push_back(
                {m.captured(2), splitArgs(m.captured(3)), m.captured(4).toLongLong(), line, line});
        }
    }
    return calls;
}

QString unquoted(const QString& arg)
{
    return arg.startsWith('"') ? arg.mid(1, arg.size() - 2) : arg;
}

} // namespace

TEST(FlushOrder, NoRenameReplacesADestinationBeforeItsNewDataIsOnDisk)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "the order of system calls is not checked: strace is not installed";
    TempTree tree;
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("f%1.txt").arg(i);
        tree.add({{"left/" + name, 1000 + i, 1'700'000'000}, {"right/" + name, 10, 1'600'000'000}});
    }
    // A large one goes through an unnamed temporary file.
    tree.add({{"left/large.bin", 9 << 20, 1'700'000'000}, {"right/large.bin", 1, 1'600'000'000}});
    for (int i = 0; i < 20; ++i)
        tree.add({QStringLiteral("left/new/n%1.txt").arg(i), 100 + i, 1'700'000'000});
    const QString profile = tree.path("flush.prf");
    ASSERT_TRUE(ProfileFile::write(profile, {{tree.path("left"), tree.path("right"), "*", ""}}));

    QProcess run;
    run.start(strace, {"-f", "-qq", "-s", "256", "-o", tree.path("trace"), "-e",
                       "trace=openat,pwrite64,write,copy_file_range,ioctl,ftruncate,utimensat,"
                       "fchmod,fchown,linkat,renameat,renameat2,syncfs,fsync,fdatasync,close",
                       KETRANO_CLI, "sync", "--quiet", profile});
    ASSERT_TRUE(run.waitForFinished(120000));
    if (run.exitCode() != 0 && run.readAllStandardError().contains("ptrace"))
        GTEST_SKIP() << "the order of system calls is not checked: this machine forbids ptrace";
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    ASSERT_EQ(TempTree::read(tree.path("right/large.bin")).size(), 9 << 20);

    // Follow every temporary file from its descriptor to its name, and note when it was last
    // written; a replacing rename must come after a flush that ended after that.
    QHash<QString, QString> nameOf; // open descriptor -> the temporary file's name
    QHash<QString, int> openedAt;   // open descriptor -> line where its open ended
    QHash<QString, int> lastWrite;  // temporary file -> line where its last write ended
    QHash<QString, QString> given;  // temporary file -> the modification time it was given
    QHash<QString, int> linked;     // new file -> line where it took its name
    int lastFlush = 0, replaced = 0, timed = 0;
    const std::vector<Call> calls = readTrace(tree.path("trace"));
    const auto written = [&](const QString& fd, int line) {
        if (nameOf.contains(fd))
            lastWrite[nameOf[fd]] = line;
    };
    static const QRegularExpression modified(R"(\{tv_sec=-?\d+.*\{tv_sec=(-?\d+))");
    const auto timeOf = [](const QString& arg) { return modified.match(arg).captured(1); };
    for (const Call& c : calls) {
        const QStringList& a = c.args;
        if (c.result < 0)
            continue;
        if (c.name == "openat" && a.size() >= 3 && a[2].contains("O_WRONLY")) {
            const QString name = unquoted(a[1]);
            nameOf.insert(QString::number(c.result),
                          name == "." ? QString("unnamed at %1").arg(c.ended) : name);
            openedAt.insert(QString::number(c.result), c.ended);
        } else if (c.name == "close" && !a.isEmpty()) {
            // A close that began before the descriptor was opened again closed the one before.
            if (c.began > openedAt.value(a[0]))
                nameOf.remove(a[0]);
        } else if ((c.name == "pwrite64" || c.name == "write" || c.name == "ftruncate" ||
                    c.name == "fchmod" || c.name == "fchown" || c.name == "ioctl" ||
                    (c.name == "utimensat" && a.value(1) == "NULL")) &&
                   !a.isEmpty()) {
            written(a[0], c.ended);
            if (c.name == "utimensat" && nameOf.contains(a[0]))
                given[nameOf[a[0]]] = timeOf(a.value(2));
        } else if (c.name == "utimensat" && a.size() >= 3) {
            // A new file gets its source's time by its name once it is on disk.
            const QString name = unquoted(a[1]);
            ASSERT_TRUE(linked.contains(name))
                << "the time of an unknown file " << qPrintable(name);
            EXPECT_LT(linked[name], lastFlush) << qPrintable(name) << " got its time unflushed";
            EXPECT_LT(given[name].toLongLong(), timeOf(a[2]).toLongLong()) << qPrintable(name);
            ++timed;
        } else if (c.name == "copy_file_range" && a.size() >= 3) {
            written(a[2], c.ended);
        } else if (c.name == "linkat" && a.size() >= 4) {
            // An unnamed file gets a hidden name before it replaces the destination.
            QString fd = a[0];
            if (a[1].contains("/proc/self/fd/"))
                fd = unquoted(a[1]).section('/', -1);
            if (nameOf.contains(fd)) {
                const QString name = unquoted(a[3]);
                lastWrite[name] = lastWrite.value(nameOf[fd]);
                given[name] = given.value(nameOf[fd]);
                nameOf[fd] = name;
                if (!name.contains(".ketrano-partial-"))
                    linked[name] = c.ended;
            }
        } else if (c.name == "syncfs" || c.name == "fsync" || c.name == "fdatasync") {
            lastFlush = c.ended;
        } else if (c.name == "renameat" && a.size() >= 4) {
            const QString from = unquoted(a[1]);
            ASSERT_TRUE(lastWrite.contains(from))
                << "a rename of an unknown file " << qPrintable(from);
            EXPECT_LT(lastWrite[from], lastFlush)
                << qPrintable(from) << " replaced " << qPrintable(unquoted(a[3]))
                << " before its data was flushed";
            ++replaced;
        }
    }
    EXPECT_EQ(replaced, 41); // every destination was replaced by a plain rename
    // Every new file took its name whole, by a link of the file written.
    EXPECT_EQ(linked.size(), 20);
    for (auto it = linked.cbegin(); it != linked.cend(); ++it)
        EXPECT_LT(lastWrite.value(it.key()), it.value())
            << qPrintable(it.key()) << " written after it took its name";
    EXPECT_EQ(timed, 20);
}
