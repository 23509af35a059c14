#include "profile/profile_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Profile files byte for byte: 1200-byte records of four space-padded 300-byte fields.

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray field(const QByteArray& text)
{
    return text + QByteArray(300 - text.size(), ' ');
}

std::vector<ProfileEntry> load(const QString& path)
{
    ProfileModel list;
    LoadProfileFile(list, path);
    return list.entries();
}

class ProfileFileTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, FieldsAreCutAtCharacterBoundariesAndPadded)
{
    const QString e = QStringLiteral("é");    // two bytes
    const QString euro = QStringLiteral("€"); // three bytes
    const struct
    {
        QString text;
        QByteArray bytes; // the field's content before its padding
    } cases[] = {
        {"", ""},
        {"/home/u/docs", "/home/u/docs"},
        {" lead", " lead"},
        {QString(310, 'a'), QByteArray(300, 'a')},
        {QString(300, 'a'), QByteArray(300, 'a')},
        {QString(299, 'a') + e, QByteArray(299, 'a')},                    // 301 bytes: é goes
        {QString(298, 'a') + e + "b", QByteArray(298, 'a') + e.toUtf8()}, // é ends at 300
        {QString(298, 'a') + euro, QByteArray(298, 'a')},                 // € would end at 301
        {QString(150, QChar(0xE9)) + "x", QString(150, QChar(0xE9)).toUtf8()},
    };
    for (const auto& c : cases) {
        const QByteArray encoded = ProfileFile::encodeField(c.text);
        EXPECT_EQ(encoded, field(c.bytes)) << c.text.left(12).toStdString();
    }
}

TEST_F(ProfileFileTest, SavedRecordsHaveTheExactLayout)
{
    const std::vector<ProfileEntry> entries = {
        {"/src one", "/tgt one", "*", ""},
        {"/src two", "/mnt/b", "doc,xls", "tmp,bak"},
        {"/s3", "/t3", "txt", "*.old"},
    };
    ASSERT_TRUE(ProfileFile::write(path("three.prf"), entries));
    const QByteArray bytes = readBytes(path("three.prf"));
    ASSERT_EQ(bytes.size(), 3600);
    EXPECT_EQ(bytes.mid(1200, 1200),
              field("/src two") + field("/mnt/b") + field("doc,xls") + field("tmp,bak"));
    EXPECT_EQ(load(path("three.prf")), entries);

    ASSERT_TRUE(ProfileFile::write(path("three.prf"), {}));
    EXPECT_EQ(readBytes(path("three.prf")), QByteArray()); // no header, no terminator
}

TEST_F(ProfileFileTest, LoadingTrimsSpacesOnlyAndIgnoresAPartialRecord)
{
    const QByteArray record =
        field("  /padded src ") + field("\t/tab target\t") + field(" doc , xls ") + field("");
    const struct
    {
        const char* name;
        QByteArray bytes;
        size_t entries;
    } files[] = {
        {"empty.prf", "", 0},
        {"short.prf", record.left(1199), 0},
        {"one.prf", record, 1},
        {"tail.prf", record + QByteArray(100, 'x'), 1}, // 1300 bytes
        {"two.prf", record + record + record.left(600), 2},
    };
    for (const auto& f : files) {
        writeBytes(path(f.name), f.bytes);
        const std::vector<ProfileEntry> got = load(path(f.name));
        ASSERT_EQ(got.size(), f.entries) << f.name;
        for (const ProfileEntry& e : got)
            EXPECT_EQ(e, (ProfileEntry{"/padded src", "\t/tab target\t", "doc , xls", ""}));
        EXPECT_EQ(readBytes(path(f.name)), f.bytes) << f.name; // loading changes nothing
    }
}

TEST_F(ProfileFileTest, FieldsThatAreNotUtf8AreReadAsWindows1252)
{
    // "Café Ärger" in Windows-1252, then bytes 0x80 and 0x9F, then one unassigned byte.
    const QByteArray cp1252("Caf\xE9 \xC4rger \x80\x9F\x81", 14);
    writeBytes(path("win.prf"), field(cp1252) + field("C:\\Daten") + field("*") + field(""));
    const std::vector<ProfileEntry> got = load(path("win.prf"));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].source, QStringLiteral("Café Ärger €Ÿ\u0081"));
    EXPECT_EQ(got[0].target, QStringLiteral("C:\\Daten"));
    // Saved again, the text is UTF-8.
    ASSERT_TRUE(ProfileFile::write(path("win.prf"), got));
    EXPECT_EQ(readBytes(path("win.prf")).left(300),
              field(QStringLiteral("Café Ärger €Ÿ\u0081").toUtf8()));
}

TEST_F(ProfileFileTest, MissingFileIsCreatedEmptyButOtherFailuresAddNothing)
{
    EXPECT_TRUE(load(path("new.prf")).empty());
    EXPECT_TRUE(QFileInfo(path("new.prf")).isFile());
    EXPECT_EQ(QFileInfo(path("new.prf")).size(), 0);

    QDir().mkpath(path("folder.prf"));
    EXPECT_TRUE(load(path("folder.prf")).empty());
    EXPECT_TRUE(load(path("no/such/folder/x.prf")).empty());
    EXPECT_FALSE(QFileInfo::exists(path("no")));

    // Loading appends to what the list already holds.
    writeBytes(path("one.prf"), field("/a") + field("/b") + field("*") + field(""));
    ProfileModel list;
    list.append({"/kept", "/kept", "*", ""});
    LoadProfileFile(list, path("one.prf"));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).source, QStringLiteral("/kept"));
    EXPECT_EQ(list.at(1).source, QStringLiteral("/a"));
}

TEST_F(ProfileFileTest, ReadOnlyProfileStillLoads)
{
    writeBytes(path("ro.prf"), field("/a") + field("/b") + field("*") + field(""));
    QFile::setPermissions(path("ro.prf"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(load(path("ro.prf")).size(), 1u);
}

TEST_F(ProfileFileTest, FailedSaveLeavesTheOldFile)
{
    const QByteArray old = field("/old") + field("/old") + field("*") + field("");
    writeBytes(path("keep.prf"), old);
    // A folder where the file should be, and a path below a regular file: both fail even for
    // root, who may write anywhere else.
    QDir().mkpath(path("dir.prf"));
    QString error;
    EXPECT_FALSE(ProfileFile::write(path("dir.prf"), {{"/n", "/n", "*", ""}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ProfileFile::write(path("keep.prf/sub.prf"), {{"/n", "/n", "*", ""}}));
    EXPECT_EQ(readBytes(path("keep.prf")), old);
    EXPECT_TRUE(QFileInfo(path("dir.prf")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.prf"}));
}

} // namespace
