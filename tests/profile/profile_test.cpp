// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/desktop_shortcut.h"
#include "profile/profile_file.h"
#include "support/recording_callbacks.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Profile files byte for byte and the desktop launcher (New, Open and Save with their dialogs
// are on the road of tests/app/window_road_test).

namespace {

const auto field = [](const QByteArray& text) { return text + QByteArray(300 - text.size(), ' '); };
// A record as the file holds it: Source, Target, Include and Exclude, each padded to 300 bytes.
const auto record = [](const QByteArray& s, const QByteArray& t, const QByteArray& i = "*",
                       const QByteArray& x = "") {
    return field(s) + field(t) + field(i) + field(x);
};
std::vector<ProfileEntry> load(const QString& path)
{
    ProfileModel list;
    LoadProfileFile(list, path);
    return list.entries();
}
const auto entry = [](const char* s, const char* t, const char* i = "*", const char* x = "") {
    return EntryBuffer{s, t, i, x};
};

TEST(Profile, SavedRecordsHaveTheExactLayout)
{
    const TempTree t;
    const QString e = "é", euro = "€"; // two and three bytes
    const std::pair<QString, QByteArray> cases[] = {
        {"", ""},
        {" lead", " lead"},
        {QString(310, 'a'), QByteArray(300, 'a')},
        {QString(299, 'a') + e, QByteArray(299, 'a')},                    // é would end at 301
        {QString(298, 'a') + e + "b", QByteArray(298, 'a') + e.toUtf8()}, // é ends at 300
        {QString(298, 'a') + euro, QByteArray(298, 'a')},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(ProfileFile::encodeField(text), field(bytes)) << text.left(9).toStdString();

    const std::vector<ProfileEntry> entries = {
        entry("/s1", "/t1"), entry("/s2", "/mnt/b", "doc,xls", "tmp,bak"), entry("/s3", "/t3")};
    ASSERT_TRUE(ProfileFile::write(t.path("p.prf"), entries));
    const QByteArray bytes = TempTree::read(t.path("p.prf"));
    ASSERT_EQ(bytes.size(), 3600);
    EXPECT_EQ(bytes.mid(1200, 1200), record("/s2", "/mnt/b", "doc,xls", "tmp,bak"));
    EXPECT_EQ(load(t.path("p.prf")), entries);
    ASSERT_TRUE(ProfileFile::write(t.path("p.prf"), {}));
    EXPECT_TRUE(QFileInfo(t.path("p.prf")).isFile() && TempTree::read(t.path("p.prf")).isEmpty());
}

TEST(Profile, LoadingTrimsSpacesSkipsDamagedRecordsAndFailsQuietly)
{
    const TempTree t;
    const QByteArray good = record("  /padded src ", "/t", " doc , xls ");
    const ProfileEntry loaded = entry("/padded src", "/t", "doc , xls", "");
    const QByteArray nulInSource = record(QByteArray("/\0junk", 6), "/t");
    const QByteArray nulPadded =
        field("/s") + field("/t") + QByteArray("*").append(299, '\0') + field("");
    const QByteArray tabInTarget = record("/s", "\t/t");
    struct Case
    {
        QByteArray bytes;
        size_t entries;
        std::vector<int> skipped; // record numbers
    } cases[] = {
        {{}, 0, {}},
        {good.left(1199), 0, {1}},
        {good + good.left(100), 1, {2}},
        {good + good, 2, {}},
        {nulInSource + good + nulPadded + tabInTarget, 1, {1, 3, 4}},
        {QByteArray(2400, '\x9d'), 0, {1, 2}}, // random bytes: C1 controls in Windows-1252
    };
    for (const Case& c : cases) {
        TempTree::write(t.path("f.prf"), c.bytes, 0);
        std::vector<ProfileFile::SkippedRecord> skipped;
        ProfileModel list;
        LoadProfileFile(list, t.path("f.prf"), &skipped);
        EXPECT_EQ(list.entries(), std::vector(c.entries, loaded)) << c.bytes.size();
        std::vector<int> numbers;
        for (const auto& s : skipped)
            numbers.push_back(s.number);
        EXPECT_EQ(numbers, c.skipped) << c.bytes.size();
        EXPECT_EQ(TempTree::read(t.path("f.prf")), c.bytes); // loading changes nothing
    }
    std::vector<ProfileFile::SkippedRecord> skipped;
    ProfileFile::decode(tabInTarget, &skipped);
    EXPECT_EQ(ProfileFile::describe("/p.prf", skipped.at(0)),
              "record 1 of /p.prf: its Target holds a control character");
    // Not UTF-8: Windows-1252, so profiles written on Windows still load.
    TempTree::write(t.path("w.prf"), record("Caf\xE9 \x80\x9F", "/t"), 0);
    EXPECT_EQ(load(t.path("w.prf"))[0].source, "Café €Ÿ");

    EXPECT_TRUE(load(t.path("new.prf")).empty());
    EXPECT_EQ(TempTree::read(t.path("new.prf")), QByteArray()); // created empty
    QDir().mkpath(t.path("dir.prf"));
    EXPECT_TRUE(load(t.path("dir.prf")).empty() && load(t.path("no/such/x.prf")).empty());
    TempTree::write(t.path("ro.prf"), record("/a", "/b"), 0, 0, 0400);
    ProfileModel list; // a read-only profile still loads, after the rows there are
    list.append(entry("/kept", "/kept"));
    LoadProfileFile(list, t.path("ro.prf"));
    EXPECT_EQ(list.entries(), std::vector({entry("/kept", "/kept"), entry("/a", "/b")}));
    EXPECT_FALSE(ProfileFile::write(t.path("dir.prf"), {entry("/n", "/n")}));
    EXPECT_FALSE(ProfileFile::write(t.path("new.prf/sub.prf"), {entry("/n", "/n")}));
    EXPECT_EQ(QDir(t.root()).entryList(QDir::Files | QDir::Hidden).join(' '),
              "f.prf new.prf ro.prf w.prf"); // and no temporary file left
}

QByteArray launcher(const QByteArray& name, const QByteArray& exec)
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec +
           "\nIcon=ketrano\nTerminal=false\n";
}

TEST(DesktopShortcut, NameExecLineAndTheCommand)
{
    const QStringList profiles = {"/a/My Week.prf", "/d/plan.backup", "Local.prf", "/x/a😀.prf",
                                  "/x/b.😀😀😀😀",      "/x/.prf",        "/x/ab"};
    const QStringList names = {"My Week", "plan.ba", "Local", "a😀",
                               "b.",      "",        ""}; // characters, not UTF-16 units
    for (int i = 0; i < profiles.size(); ++i)
        EXPECT_EQ(DesktopShortcut::linkName(profiles[i]), names[i]) << profiles[i].toStdString();
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/My Backups/Week  1.prf", R"("/home/ann/My Backups/Week  1.prf")"},
        {R"(/p/say "hi" it's.prf)", R"("/p/say \\"hi\\" it's.prf")"},
        {R"(/p/$HOME `id` back\slash.prf)", R"("/p/\\$HOME \\`id\\` back\\\\slash.prf")"},
        {"/p/100%f %u.prf", R"("/p/100%%f %%u.prf")"},
        {"/p/line\nbreak\ttab.prf", R"("/p/line\nbreak\ttab.prf")"},
        {"/p/;|&<>*?#~().prf", R"("/p/;|&<>*?#~().prf")"},
    };
    for (const auto& [profile, word] : cases)
        EXPECT_EQ(DesktopShortcut::launcherText("Week", "/opt/k/ketrano", profile),
                  launcher("Week", "\"/opt/k/ketrano\" " + QByteArray(word)))
            << profile;
    EXPECT_EQ(DesktopShortcut::launcherText(" My \\ Week ", "/opt/$my apps/ketrano", "/w.prf"),
              launcher(R"(\sMy \\ Week\s)", R"("/opt/\\$my apps/ketrano" "/w.prf")"));

    QTemporaryDir dir; // the command writes an executable launcher or says why not
    const QString desktop = dir.path() + "/Desk top", menu = dir.path() + "/share/applications",
                  failed = "The shortcut could not be created on the desktop: ";
    RecordingCallbacks rec;
    const auto create = [&](const QString& profile, const QString& folder) {
        createDesktopShortcut(profile, {folder, "/k", false, menu}, rec.callbacks());
    };
    create("", desktop);
    create("*.prf", desktop);
    EXPECT_FALSE(QFileInfo::exists(desktop));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path())); // a relative profile path is made absolute
    create("p/My Daily.prf", desktop);
    create("p/My Daily.prf", desktop); // replaces the first
    QDir::setCurrent(before);
    create("/p/.prf", desktop);
    create("/p/Daily.prf", desktop + "/My Daily.desktop/sub");
    const QString save = "Save the profile to a file first: the shortcut starts the program with a "
                         "saved profile file.";
    EXPECT_EQ(rec.messages,
              QStringList({save, save, "Shortcut Created on Desktop", "Shortcut Created on Desktop",
                           failed + "The profile file name \"/p/.prf\" gives the shortcut no name.",
                           failed + "The desktop folder \"" + desktop +
                               "/My Daily.desktop/sub\" cannot be created."}));
    const QString path = desktop + "/My Daily.desktop";
    EXPECT_EQ(
        TempTree::read(path),
        launcher("My Daily", "\"/k\" \"" + QFile::encodeName(dir.path()) + "/p/My Daily.prf\""));
    EXPECT_EQ(int(QFile::permissions(path)), 0x7755); // rwxr-xr-x
    EXPECT_EQ(QDir(desktop).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList({"My Daily.desktop"}));
    // The same launcher in the application menu, under a name no other program's entry has.
    EXPECT_EQ(QDir(menu).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList({"ketrano-My Daily.desktop"}));
    EXPECT_EQ(TempTree::read(menu + "/ketrano-My Daily.desktop"), TempTree::read(path));
}

} // namespace
