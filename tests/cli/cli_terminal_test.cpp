// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/backup_fixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cerrno>
#include <pty.h>
#include <unistd.h>
#include <utmp.h>

// ketrano-cli sync on a pseudo-terminal: the progress line, and what is left of it where the
// output is not a terminal that draws.

namespace {

struct TerminalRun
{
    int status = -1;
    QByteArray output; // stdout and stderr, as the terminal got them
};

// Runs ketrano-cli with its stdin, stdout and stderr on a terminal 100 columns wide, with the
// environment of the test and TERM set to 'term' (nullptr: unset).
TerminalRun onTerminal(const QStringList& args, const char* term)
{
    TerminalRun run;
    int master = -1, slave = -1;
    struct winsize size = {};
    size.ws_row = 24;
    size.ws_col = 100;
    if (::openpty(&master, &slave, nullptr, nullptr, &size) != 0) {
        ADD_FAILURE() << "openpty: " << std::strerror(errno);
        return run;
    }
    // A file written slowly (it has a folder of its own: a new file is written without a
    // name): every run lasts long enough for its line to be drawn.
    const QStringList env = {"LD_PRELOAD=" KETRANO_FAULTS, "KETRANO_FAULT=slow-write",
                             "KETRANO_FAULT_PATH=/slow/", QStringLiteral("TERM=") + term};
    const auto read = [&](QProcess&) { // until the program's end closes the terminal (EIO)
        ::close(slave);
        char buffer[65536];
        for (ssize_t n;
             (n = ::read(master, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);)
            run.output.append(buffer, qMax<ssize_t>(n, 0));
    };
    const auto onTheTerminal = [slave] { ::login_tty(slave); }; // in the child
    run.status = runCli(args, env, onTheTerminal, read).status;
    ::close(master);
    return run;
}

// The progress lines: what lies between carriage returns and line ends.
QStringList progressLines(const QByteArray& output)
{
    QStringList lines;
    for (const QByteArray& part : output.split('\r'))
        for (const QByteArray& line : part.split('\n'))
            if (line.contains(" files  "))
                lines << QString::fromUtf8(line);
    return lines;
}

class CliTerminalTest : public BackupFixture
{
protected:
    CliTerminalTest() : BackupFixture("ketrano-terminal") {}
    void SetUp() override
    {
        BackupFixture::SetUp();
        // A large file and many small ones: the run lasts long enough to be drawn.
        put(src("/a big.bin"), QByteArray(16 << 20, 'b'));
        for (int i = 0; i < 300; ++i)
            put(src(QStringLiteral("/%1/f%2").arg(i == 77 ? "slow" : "many").arg(i)),
                QByteArray(1000, 'x'));
    }
    // Every run copies everything anew.
    TerminalRun sync(const QStringList& options, const char* term)
    {
        QDir(dst()).removeRecursively();
        // A target-only file, not copied when Target to Source is off.
        QFile::remove(src("/only here.txt"));
        put(dst("/only here.txt"), "t");
        return onTerminal(QStringList{"sync", profile} + options, term);
    }
};

TEST_F(CliTerminalTest, TheLineOnATerminalThatDrawsAndWhatIsLeftOfItElsewhere)
{
    // The total leaves out the rows of the direction that is off.
    const TerminalRun r = sync({"--target-to-source", "off"}, "xterm");
    EXPECT_EQ(r.status, 0) << r.output.right(500).constData();
    static const QRegularExpression layout(
        "^\\d+/301 files  [\\d.]+ (B|KiB|MiB)/16\\.3 MiB  \\d+%  (--|[\\d.]+ [KMG]?i?B/s)  "
        "(--:--|\\d+:\\d\\d) left(  (a big\\.bin( \\d+%)?|(many|slow)/f\\d+|writing to "
        "disk))?\x1b\\[K$");
    const QStringList lines = progressLines(r.output);
    ASSERT_FALSE(lines.isEmpty()) << r.output.right(500).constData();
    for (const QString& line : lines) {
        EXPECT_TRUE(layout.match(line).hasMatch()) << qPrintable(line);
        EXPECT_LT(line.size() - 3, 100) << qPrintable(line); // never wraps
    }
    EXPECT_TRUE(lines.filter(QRegularExpression(" (a big\\.bin|(many|slow)/f\\d+)")).size() > 0);
    // The line is gone before the summary. No escapes on a dumb terminal, nothing quiet, and
    // only the summary in a pipe.
    EXPECT_TRUE(r.output.contains("\r\x1b[KReady  \r\n")) << r.output.right(300).constData();
    for (const char* term : {"dumb", static_cast<const char*>(nullptr)}) {
        const TerminalRun dumb = sync({}, term);
        EXPECT_EQ(dumb.status, 0);
        EXPECT_FALSE(dumb.output.contains('\x1b')) << dumb.output.right(300).constData();
        EXPECT_FALSE(progressLines(dumb.output).isEmpty()); // redrawn with \r and blanks
    }

    const TerminalRun quiet = sync({"--quiet"}, "xterm");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.output, "");

    QFile::remove(src("/only here.txt"));
    QDir(dst()).removeRecursively();
    QDir().mkpath(dst());
    const CliRun piped = runCli({"sync", profile, "-v"}, {"TERM=xterm"});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err.toStdString(), "");
    EXPECT_FALSE(piped.out.contains('\r') || piped.out.contains('\x1b'));
    // -v: one line for each copy, the summary after them.
    const QStringList copies = piped.lines().filter(" -> ");
    EXPECT_EQ(copies.size(), 301);
    EXPECT_TRUE(copies.contains(src("/many/f7") + " -> " + dst("/many/f7")));
    EXPECT_EQ(piped.lines().last().toStdString(), "16,684 KB Copied");
}

} // namespace
