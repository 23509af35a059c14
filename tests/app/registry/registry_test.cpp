#include "app/registry/registry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

// The settings store as files: every key a folder, every value a file holding its bytes.

namespace {

const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillmark\\Ketrano");

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        Registry::setMessageHandler([this](const QString& text) { messages << text; });
    }
    void TearDown() override { Registry::setMessageHandler({}); }

    QString keyFolder() const
    {
        return config.path() + QStringLiteral("/ketrano/registry/HKEY_CURRENT_USER/Software/"
                                              "Quillmark/Ketrano");
    }
    // Stores raw bytes as a value, bypassing WriteValue.
    void putValue(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(keyFolder());
        QFile f(keyFolder() + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Every file and folder below the config folder, relative to it.
    QStringList everything() const
    {
        QStringList all;
        QDirIterator it(config.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all << QDir(config.path()).relativeFilePath(it.next());
        all.sort();
        return all;
    }
    static QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir config;
    QStringList messages;
};

TEST_F(RegistryTest, MissingKeyOrValueReadsAsErrorAndCleansToEmpty)
{
    EXPECT_EQ(Registry::ReadValue(Key, QStringLiteral("Last Profile")), QStringLiteral("Error"));
    EXPECT_EQ(Registry::LastStatus(), 2);
    Registry::CreateKey(Key);
    EXPECT_EQ(Registry::ReadValue(Key, QStringLiteral("Last Profile")), QStringLiteral("Error"));
    EXPECT_EQ(Registry::CleanValue(QStringLiteral("Error")), QString());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RegistryTest, ReadsStoredBytesThroughTheBufferRules)
{
    const struct
    {
        QByteArray stored;
        QString read;  // ReadValue
        QString clean; // CleanValue of it
    } cases[] = {
        {"C:/data/work.prf", "C:/data/work.prf", "C:/data/work.prf"},
        {"", "", ""},
        {"   ", "", ""},
        {"  lead and trail  ", "lead and trail  ", "lead and trail  "},
        {"error", "error", ""},
        {"eRRoR", "eRRoR", ""},
        {"errors", "errors", "errors"},
        {QByteArray("ab\0cd", 5), QString::fromLatin1("ab\0cd", 5), "ab"},
        {QByteArray(254, 'x'), QString(254, QLatin1Char('x')), QString(254, QLatin1Char('x'))},
        {QByteArray(255, 'x'), "Error", ""},
        {QByteArray(300, 'x'), "Error", ""},
        // The capacity counts bytes: 127 two-byte characters fit, 128 do not.
        {QString(127, QChar(0xE9)).toUtf8(), QString(127, QChar(0xE9)), QString(127, QChar(0xE9))},
        {QString(128, QChar(0xE9)).toUtf8(), "Error", ""},
    };
    for (const auto& c : cases) {
        putValue(QStringLiteral("v"), c.stored);
        const QString read = Registry::ReadValue(Key, QStringLiteral("v"));
        EXPECT_EQ(read, c.read) << c.stored.size() << " bytes: " << c.stored.left(20).constData();
        EXPECT_EQ(Registry::CleanValue(read), c.clean) << c.stored.left(20).constData();
    }
}

TEST_F(RegistryTest, WritingNeedsTheKeyAndStoresExactBytes)
{
    Registry::WriteValue(Key, QStringLiteral("Copy Source"), QStringLiteral("0"));
    EXPECT_TRUE(everything().isEmpty()) << everything().join(' ').toStdString();

    Registry::CreateKey(Key);
    Registry::CreateKey(Key); // an existing key is left as it is
    Registry::WriteValue(Key, QStringLiteral("Copy Source"), QStringLiteral("0"));
    Registry::WriteValue(Key, QStringLiteral("Last Profile"), QStringLiteral("/tmp/ä b.prf"));
    EXPECT_EQ(fileBytes(keyFolder() + QStringLiteral("/Copy Source")), QByteArray("0"));
    EXPECT_EQ(fileBytes(keyFolder() + QStringLiteral("/Last Profile")),
              QStringLiteral("/tmp/ä b.prf").toUtf8());

    // Replacing a value leaves no other file behind, and an empty text is an empty file.
    Registry::WriteValue(Key, QStringLiteral("Last Profile"), QString());
    EXPECT_EQ(fileBytes(keyFolder() + QStringLiteral("/Last Profile")), QByteArray());
    EXPECT_EQ(QDir(keyFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(Registry::ReadValue(Key, QStringLiteral("Copy Source")), QStringLiteral("0"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RegistryTest, RootKeyAloneIsAddressable)
{
    const QString root = QStringLiteral("HKEY_CURRENT_USER");
    EXPECT_EQ(Registry::ReadValue(root, QStringLiteral("v")), QStringLiteral("Error"));
    Registry::WriteValue(root, QStringLiteral("v"), QStringLiteral("at the root"));
    EXPECT_EQ(Registry::ReadValue(root, QStringLiteral("v")), QStringLiteral("at the root"));
    EXPECT_EQ(everything(),
              QStringList({"ketrano", "ketrano/registry", "ketrano/registry/HKEY_CURRENT_USER",
                           "ketrano/registry/HKEY_CURRENT_USER/v"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RegistryTest, MalformedPathsShowTheMessageAndTouchNothing)
{
    putValue(QStringLiteral("v"), "kept");
    const QStringList before = everything();
    const QString paths[] = {
        QStringLiteral("Software\\Quillmark\\Ketrano"),
        QStringLiteral("hkey_current_user\\Software"),
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillmark\\Ketrano\\"),
        QStringLiteral("HKEY_CURRENT_USER\\"),
        QString(),
    };
    for (const QString& path : paths) {
        messages.clear();
        EXPECT_EQ(Registry::ReadValue(path, QStringLiteral("v")), QString());
        Registry::CreateKey(path);
        Registry::WriteValue(path, QStringLiteral("v"), QStringLiteral("new"));
        const QString expected = QStringLiteral("Incorrect Format:\n\n") + path;
        EXPECT_EQ(messages, QStringList({expected, expected, expected})) << path.toStdString();
    }
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(fileBytes(keyFolder() + QStringLiteral("/v")), QByteArray("kept"));
}

TEST_F(RegistryTest, UnknownRootIsSilentAndDoesNothing)
{
    for (const QString& path :
         {QStringLiteral("HKEY_NOWHERE\\Software"), QStringLiteral("HKEY_current_user\\Software"),
          QStringLiteral("HKEY_")}) {
        EXPECT_EQ(Registry::ReadValue(path, QStringLiteral("v")), QString());
        Registry::CreateKey(path);
        Registry::WriteValue(path, QStringLiteral("v"), QStringLiteral("x"));
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(everything().isEmpty());
}

TEST_F(RegistryTest, SevenRootsAreTheTopFolders)
{
    const QStringList roots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                               "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                               "HKEY_DYN_DATA"};
    for (const QString& root : roots) {
        EXPECT_NE(Registry::RootKeyFromName(root), Registry::Root::None) << root.toStdString();
        Registry::CreateKey(root + QStringLiteral("\\K"));
        Registry::WriteValue(root + QStringLiteral("\\K"), QStringLiteral("v"), root);
    }
    for (const QString& root : roots)
        EXPECT_EQ(Registry::ReadValue(root + QStringLiteral("\\K"), QStringLiteral("v")), root);
    QStringList top = QDir(config.path() + QStringLiteral("/ketrano/registry"))
                          .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QStringList sorted = roots;
    sorted.sort();
    EXPECT_EQ(top, sorted);
}

TEST_F(RegistryTest, AwkwardNamesStayInsideTheirKey)
{
    Registry::CreateKey(Key);
    const QString names[] = {"a/b", "../up", "%", "50%", "%2F", ".hidden", ".", "..", "", "a\\b"};
    for (const QString& name : names)
        Registry::WriteValue(Key, name, QStringLiteral("value of ") + name);
    for (const QString& name : names)
        EXPECT_EQ(Registry::ReadValue(Key, name), QStringLiteral("value of ") + name)
            << name.toStdString();
    // One plain, visible file per value, all of them directly in the key's folder.
    const QFileInfoList files =
        QDir(keyFolder()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(files.size(), int(std::size(names)));
    for (const QFileInfo& f : files) {
        EXPECT_TRUE(f.isFile()) << f.fileName().toStdString();
        EXPECT_FALSE(f.fileName().startsWith(QLatin1Char('.'))) << f.fileName().toStdString();
    }
    EXPECT_EQ(everything().size(), 6 + int(std::size(names))); // the key's folders + values

    // Key names that look like folder steps stay below the root too.
    Registry::CreateKey(QStringLiteral("HKEY_CURRENT_USER\\..\\..\\..\\escaped"));
    Registry::CreateKey(QStringLiteral("HKEY_CURRENT_USER\\a/b"));
    EXPECT_FALSE(QFileInfo::exists(config.path() + QStringLiteral("/escaped")));
    EXPECT_FALSE(QFileInfo::exists(config.path() + QStringLiteral("/ketrano/escaped")));
    EXPECT_FALSE(QFileInfo::exists(config.path() + QStringLiteral("/ketrano/registry/escaped")));
    EXPECT_EQ(QDir(config.path() + QStringLiteral("/ketrano/registry"))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({"HKEY_CURRENT_USER"}));
}

TEST_F(RegistryTest, AFolderOrPipeInPlaceOfAValueReadsAsError)
{
    QDir().mkpath(keyFolder() + QStringLiteral("/Sub"));
    EXPECT_EQ(Registry::ReadValue(Key, QStringLiteral("Sub")), QStringLiteral("Error"));
    Registry::WriteValue(Key, QStringLiteral("Sub"), QStringLiteral("x"));
    EXPECT_TRUE(QFileInfo(keyFolder() + QStringLiteral("/Sub")).isDir());
    const QByteArray fifo = (keyFolder() + QStringLiteral("/Pipe")).toLocal8Bit();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(Registry::ReadValue(Key, QStringLiteral("Pipe")), QStringLiteral("Error"));
}

TEST_F(RegistryTest, StoreFollowsXdgConfigHome)
{
    EXPECT_EQ(Registry::storeFolder(), config.path() + QStringLiteral("/ketrano/registry"));
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(Registry::storeFolder(),
              QDir::homePath() + QStringLiteral("/.config/ketrano/registry"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Registry::storeFolder(),
              QDir::homePath() + QStringLiteral("/.config/ketrano/registry"));
}

} // namespace
