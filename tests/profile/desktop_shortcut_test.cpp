#include "profile/desktop_shortcut.h"
#include "support/recording_callbacks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

// The desktop launcher: its name, its exact text, how it is written and what a desktop that
// reads it hands to the program.

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

unsigned modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QByteArray expectedText(const char* name, const char* exec)
{
    return QByteArray("[Desktop Entry]\nType=Application\nName=") + name + "\nExec=" + exec +
           "\nIcon=ketrano\nTerminal=false\n";
}

} // namespace

TEST(DesktopShortcut, LinkNameIsTheFileNameWithoutItsLastFourCharacters)
{
    const struct
    {
        const char* profile;
        const char* name;
    } cases[] = {
        {"/home/ann/Daily.prf", "Daily"},
        {"/home/ann/My Backups/Week 1.prf", "Week 1"},
        {"/data/plan.backup", "plan.ba"}, // any four characters go
        {"Local.prf", "Local"},
        {"/x/Übung.prf", "Übung"},
        {"/x/a😀.prf", "a😀"},
        {"/x/b.😀😀😀😀", "b."}, // characters, not UTF-16 units
        {"/x/.prf", ""},
        {"/x/ab", ""},
        {"/x/dir/", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopShortcut::linkName(QString::fromUtf8(c.profile)),
                  QString::fromUtf8(c.name))
            << c.profile;
}

TEST(DesktopShortcut, LauncherTextQuotesTheProfilePathWhole)
{
    const struct
    {
        const char* profile;
        const char* exec;
    } cases[] = {
        {"/home/ann/Daily.prf", R"("/opt/k/ketrano" "/home/ann/Daily.prf")"},
        {"/home/ann/My Backups/Week  1.prf",
         R"("/opt/k/ketrano" "/home/ann/My Backups/Week  1.prf")"},
        {R"(/p/say "hi".prf)", R"("/opt/k/ketrano" "/p/say \\"hi\\".prf")"},
        {"/p/it's.prf", R"("/opt/k/ketrano" "/p/it's.prf")"},
        {"/p/$HOME.prf", R"("/opt/k/ketrano" "/p/\\$HOME.prf")"},
        {"/p/`id`.prf", R"("/opt/k/ketrano" "/p/\\`id\\`.prf")"},
        {R"(/p/back\slash.prf)", R"("/opt/k/ketrano" "/p/back\\\\slash.prf")"},
        {"/p/100%f %u.prf", R"("/opt/k/ketrano" "/p/100%%f %%u.prf")"},
        {"/p/line\nbreak\ttab.prf", R"("/opt/k/ketrano" "/p/line\nbreak\ttab.prf")"},
        {"/p/;|&<>*?#~().prf", R"("/opt/k/ketrano" "/p/;|&<>*?#~().prf")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopShortcut::launcherText(QStringLiteral("Week"),
                                                QStringLiteral("/opt/k/ketrano"),
                                                QString::fromUtf8(c.profile)),
                  expectedText("Week", c.exec))
            << c.profile;

    // The program's own folder is quoted the same way; the name keeps its blanks.
    EXPECT_EQ(DesktopShortcut::launcherText(QStringLiteral(" My \\ Week "),
                                            QStringLiteral("/opt/$my apps/ketrano"),
                                            QStringLiteral("/w.prf")),
              expectedText(R"(\sMy \\ Week\s)", R"("/opt/\\$my apps/ketrano" "/w.prf")"));
}

TEST(DesktopShortcut, WritesAnExecutableLauncherAndReplacesIt)
{
    QTemporaryDir dir;
    const LauncherPlace place{dir.path() + QStringLiteral("/Desk top/new"),
                              QStringLiteral("/opt/k/ketrano"), false};
    const QString profile = QStringLiteral("/home/ann/My Backups/Week 1.prf");

    const LauncherResult first = writeLauncher(profile, place);
    ASSERT_TRUE(first.created) << first.error.toStdString();
    EXPECT_EQ(first.path, place.desktopFolder + QStringLiteral("/Week 1.desktop"));
    EXPECT_EQ(readAll(first.path),
              expectedText("Week 1", R"("/opt/k/ketrano" "/home/ann/My Backups/Week 1.prf")"));
    EXPECT_EQ(modeOf(first.path), 0755u);

    // A second launcher of the same name replaces the first and leaves nothing else behind.
    const LauncherPlace moved{place.desktopFolder, QStringLiteral("/usr/bin/ketrano"), false};
    const LauncherResult second = writeLauncher(profile, moved);
    ASSERT_TRUE(second.created);
    EXPECT_EQ(readAll(second.path),
              expectedText("Week 1", R"("/usr/bin/ketrano" "/home/ann/My Backups/Week 1.prf")"));
    EXPECT_EQ(modeOf(second.path), 0755u);
    EXPECT_EQ(
        QDir(place.desktopFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{"Week 1.desktop"});
}

TEST(DesktopShortcut, RelativeProfilePathIsMadeAbsolute)
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const LauncherResult result =
        writeLauncher(QStringLiteral("sub/Rel.prf"), {dir.path(), QStringLiteral("/k"), false});
    QDir::setCurrent(before);
    ASSERT_TRUE(result.created);
    const QByteArray exec = "\"/k\" \"" + QFile::encodeName(dir.path()) + "/sub/Rel.prf\"";
    EXPECT_EQ(readAll(result.path), expectedText("Rel", exec.constData()));
}

TEST(DesktopShortcut, FailuresAreReportedNotHidden)
{
    QTemporaryDir dir;
    // The desktop folder's name is taken by a file.
    const QString blocked = dir.path() + QStringLiteral("/Desktop");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    LauncherResult r = writeLauncher(QStringLiteral("/p/Daily.prf"), {blocked, "/k", false});
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(r.error.contains(blocked)) << r.error.toStdString();
    EXPECT_EQ(readAll(blocked), QByteArray());

    // The launcher's own name is taken by a folder.
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/desk/Daily.desktop")));
    r = writeLauncher(QStringLiteral("/p/Daily.prf"), {dir.path() + "/desk", "/k", false});
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(r.error.startsWith(dir.path() + QStringLiteral("/desk/Daily.desktop: ")))
        << r.error.toStdString();
    EXPECT_TRUE(QFileInfo(dir.path() + "/desk/Daily.desktop").isDir());

    // No name to give it.
    r = writeLauncher(QStringLiteral("/p/.prf"), {dir.path() + "/desk", "/k", false});
    EXPECT_FALSE(r.created);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(DesktopShortcut, CommandTellsWhatHappened)
{
    QTemporaryDir dir;
    const LauncherPlace place{dir.path() + QStringLiteral("/Desktop"), QStringLiteral("/k"), false};
    for (const char* none : {"", "*.prf"}) {
        RecordingCallbacks rec;
        createDesktopShortcut(QString::fromLatin1(none), place, rec.callbacks());
        ASSERT_EQ(rec.messages.size(), 1);
        EXPECT_TRUE(rec.messages[0].startsWith(QStringLiteral("Save the profile to a file first")));
        EXPECT_FALSE(QFileInfo::exists(place.desktopFolder)) << none;
    }
    {
        RecordingCallbacks rec;
        createDesktopShortcut(QStringLiteral("/p/Daily.prf"), place, rec.callbacks());
        EXPECT_EQ(rec.messages, QStringList{"Shortcut Created on Desktop"});
        EXPECT_TRUE(QFileInfo::exists(place.desktopFolder + QStringLiteral("/Daily.desktop")));
    }
    {
        ASSERT_TRUE(QDir().mkpath(place.desktopFolder + QStringLiteral("/Weekly.desktop")));
        RecordingCallbacks rec;
        createDesktopShortcut(QStringLiteral("/p/Weekly.prf"), place, rec.callbacks());
        ASSERT_EQ(rec.messages.size(), 1);
        EXPECT_TRUE(rec.messages[0].startsWith(
            QStringLiteral("The shortcut could not be created on the desktop: ")));
    }
}

// GLib's own launcher reads the file as a desktop does and starts the program: the profile
// path must arrive as one argument, character for character.
TEST(DesktopShortcut, DesktopLauncherHandsOverTheExactPath)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        GTEST_SKIP() << "gio is not installed";
    QTemporaryDir dir;
    const QString bin = dir.path() + QStringLiteral("/my apps $HOME \"x\"");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString out = dir.path() + QStringLiteral("/args");
    {
        QFile script(bin + QStringLiteral("/ketrano"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                     QFile::encodeName(out) + ".tmp' && mv '" + QFile::encodeName(out) + ".tmp' '" +
                     QFile::encodeName(out) + "'\n");
        script.close();
        ASSERT_TRUE(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }
    const QStringList profiles = {
        QStringLiteral("/home/ann/My Backups/Week  1.prf"),
        QStringLiteral("/p/say \"hi\" it's $HOME `id` 100%f %u back\\slash;|&*?#~().prf"),
    };
    for (const QString& profile : profiles) {
        QFile::remove(out);
        const LauncherResult r = writeLauncher(
            profile, {dir.path() + QStringLiteral("/Desktop"), bin + "/ketrano", false});
        ASSERT_TRUE(r.created);
        QProcess launch;
        launch.start(gio, {QStringLiteral("launch"), r.path});
        ASSERT_TRUE(launch.waitForFinished(30000));
        ASSERT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(out) && waited.elapsed() < 30000)
            QThread::msleep(20);
        EXPECT_EQ(readAll(out), profile.toUtf8() + '\0') << profile.toStdString();
    }
}
