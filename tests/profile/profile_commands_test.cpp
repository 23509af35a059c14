#include "profile/profile_commands.h"
#include "profile/profile_file.h"
#include "support/recording_callbacks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// New, Open and Save Profile with scripted dialogs and answers.

namespace {

const QString Question = QStringLiteral("Profile has changed, Do you want to save?");
const QString NewCaption = QStringLiteral("Ketrano Backup   [New Profile]");

class ProfileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ProfileFile::write(path("a.prf"),
                                       {{"/a1", "/b1", "*", ""}, {"/a2", "/b2", "doc", ""}}));
        ASSERT_TRUE(ProfileFile::write(path("b.prf"), {{"/other", "/side", "*", "tmp"}}));
        prepare(state);
    }
    // a.prf loaded, one result row from an earlier scan.
    void prepare(AppState& s) const
    {
        s.ProfileFileName = path("a.prf");
        LoadProfileFile(s.ProfileList, s.ProfileFileName);
        s.ListView1.append(ResultRow{});
        s.ListView1.flush();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // An entry editor OK: the profile changed.
    static void edit(AppState& s)
    {
        s.ProfileList.append({"/edited", "/edited", "*", ""});
        s.ProfileChanged = true;
    }
    void edit() { edit(state); }
    QByteArray bytes(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    std::vector<ProfileEntry> fileEntries(const QString& name) const
    {
        std::vector<ProfileEntry> entries;
        ProfileFile::read(path(name), entries);
        return entries;
    }

    QTemporaryDir dir;
    AppState state;
    RecordingCallbacks rec;
};

TEST_F(ProfileCommandsTest, CaptionsAndNoFileNames)
{
    EXPECT_EQ(profileCaption(QString()), QStringLiteral("Ketrano Backup []"));
    EXPECT_EQ(profileCaption(QStringLiteral("/p/x.prf")),
              QStringLiteral("Ketrano Backup [/p/x.prf]"));
    EXPECT_TRUE(isNoProfileFile(QString()));
    EXPECT_TRUE(isNoProfileFile(QStringLiteral("*.prf")));
    EXPECT_FALSE(isNoProfileFile(QStringLiteral("*.PRF")));
    EXPECT_FALSE(isNoProfileFile(QStringLiteral(" *.prf")));
}

TEST_F(ProfileCommandsTest, NewProfileAsksOnlyAfterEdits)
{
    const struct
    {
        bool edited;
        std::deque<bool> answers;
        std::deque<QString> files;
        QStringList questions;
        size_t savedEntries; // entries in c.prf afterwards (0: not written)
    } cases[] = {
        {false, {}, {}, {}, 0},
        {true, {false}, {}, {Question}, 0},
        {true, {true}, {QStringLiteral("c.prf")}, {Question}, 3},
        {true, {true}, {}, {Question}, 0}, // Yes, then Cancel in the save dialog
    };
    for (const auto& c : cases) {
        AppState state;
        prepare(state);
        QFile::remove(path("c.prf"));
        RecordingCallbacks rec;
        rec.answers = c.answers;
        for (const QString& f : c.files)
            rec.fileNames.push_back(path(f));
        if (c.edited)
            edit(state);
        const QString before = state.ProfileFileName;
        EXPECT_EQ(NewProfile(state, rec.callbacks()), NewCaption);
        EXPECT_EQ(rec.questions, c.questions);
        EXPECT_EQ(fileEntries("c.prf").size(), c.savedEntries);
        EXPECT_EQ(state.ProfileList.size(), 0);
        EXPECT_EQ(state.ListView1.rowCount(), 0);
        EXPECT_FALSE(state.ProfileChanged);
        EXPECT_EQ(state.status.progressMax, 1);
        // The file name stays unless the profile was saved under a new one.
        EXPECT_EQ(state.ProfileFileName, c.savedEntries ? path("c.prf") : before);
    }
}

TEST_F(ProfileCommandsTest, OpenLoadsTheChosenFile)
{
    rec.fileNames = {path("b.prf")};
    edit();
    EXPECT_EQ(OpenProfile(state, rec.callbacks()), profileCaption(path("b.prf")));
    EXPECT_EQ(rec.dialogs, QStringList({"Open File Name|Profiles(*.prf)|*.prf"}));
    EXPECT_EQ(state.ProfileFileName, path("b.prf"));
    EXPECT_EQ(state.ProfileList.entries(), fileEntries("b.prf"));
    EXPECT_FALSE(state.ProfileChanged);
    EXPECT_EQ(state.ListView1.rowCount(), 1); // the last scan's results stay
}

TEST_F(ProfileCommandsTest, CancelledOpenKeepsEverything)
{
    for (const QString& answer : {QString(), QStringLiteral("*.prf")}) {
        rec.fileNames = {answer};
        edit();
        const std::vector<ProfileEntry> before = state.ProfileList.entries();
        EXPECT_TRUE(OpenProfile(state, rec.callbacks()).isNull());
        EXPECT_EQ(state.ProfileFileName, path("a.prf"));
        EXPECT_EQ(state.ProfileList.entries(), before);
        EXPECT_TRUE(state.ProfileChanged); // the edits are still unsaved
    }
}

TEST_F(ProfileCommandsTest, SaveWritesTheChosenFileAndKeepsTheCaption)
{
    edit();
    rec.fileNames = {path("new.prf")};
    EXPECT_TRUE(SaveProfile(state, rec.callbacks()));
    EXPECT_EQ(rec.dialogs, QStringList({"Save to File Name|Profiles(*.prf)|" + path("a.prf")}));
    EXPECT_EQ(fileEntries("new.prf"), state.ProfileList.entries());
    EXPECT_EQ(QFileInfo(path("new.prf")).size(), 3 * 1200);
    EXPECT_EQ(state.ProfileFileName, path("new.prf"));
    EXPECT_FALSE(state.ProfileChanged);
    EXPECT_EQ(fileEntries("a.prf").size(), 2u); // the old file is untouched
}

TEST_F(ProfileCommandsTest, CancelledSaveWritesAndDeletesNothing)
{
    for (const QString& name : {path("a.prf"), QStringLiteral("*.prf"), QString()}) {
        state.ProfileFileName = name;
        edit();
        rec = RecordingCallbacks(); // the dialog is cancelled
        const QByteArray before = bytes("a.prf");
        EXPECT_FALSE(SaveProfile(state, rec.callbacks()));
        EXPECT_EQ(rec.dialogs, QStringList({"Save to File Name|Profiles(*.prf)|" + name}));
        EXPECT_EQ(bytes("a.prf"), before);
        EXPECT_EQ(state.ProfileFileName, name);
        EXPECT_TRUE(state.ProfileChanged);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"a.prf", "b.prf"}));
    }
}

TEST_F(ProfileCommandsTest, FailedSaveSaysSoAndKeepsTheChangesMarked)
{
    edit();
    rec.fileNames = {path("b.prf/inside.prf")}; // below a regular file: cannot be created
    EXPECT_FALSE(SaveProfile(state, rec.callbacks()));
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(
        rec.messages[0].startsWith("The profile could not be saved to " + path("b.prf/inside.prf")))
        << rec.messages[0].toStdString();
    EXPECT_TRUE(state.ProfileChanged);
    EXPECT_EQ(state.ProfileFileName, path("a.prf"));
    EXPECT_EQ(fileEntries("b.prf").size(), 1u);
}

} // namespace
