// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/registry/registry.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The settings store as files: every key a folder, every value a file holding its bytes.

namespace {

const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillmark\\Ketrano");

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        Registry::setMessageHandler([this](const QString& text) { messages << text; });
    }
    QTemporaryDir config;
    const QString store = config.path() + "/ketrano/registry/HKEY_CURRENT_USER/";
    QStringList messages;
};

TEST_F(RegistryTest, ReadsThroughTheBufferRulesAndCleans)
{
    EXPECT_EQ(Registry::ReadValue(Key, "v"), "Error"); // no key
    Registry::CreateKey(Key);
    EXPECT_EQ(Registry::ReadValue(Key, "v"), "Error"); // no value
    const std::tuple<QString, QString, QString> cases[] = {
        {"/a b.prf", "/a b.prf", "/a b.prf"},
        {"   ", "", ""},
        {"  lead and trail  ", "lead and trail  ", "lead and trail  "},
        {"eRRoR", "eRRoR", ""},
        {"errors", "errors", "errors"},
        {QString::fromLatin1("ab\0cd", 5), QString::fromLatin1("ab\0cd", 5), "ab"},
        {QString(254, 'x'), QString(254, 'x'), QString(254, 'x')},
        {QString(255, 'x'), "Error", ""},
        {QString(127, QChar(0xE9)), QString(127, QChar(0xE9)), QString(127, QChar(0xE9))},
        {QString(128, QChar(0xE9)), "Error", ""}, // the capacity counts bytes
    };
    for (const auto& [stored, read, clean] : cases) {
        Registry::WriteValue(Key, "v", stored);
        EXPECT_EQ(TempTree::read(store + "Software/Quillmark/Ketrano/v"), stored.toUtf8());
        EXPECT_EQ(Registry::ReadValue(Key, "v"), read) << stored.left(20).toStdString();
        EXPECT_EQ(Registry::CleanValue(read), clean) << stored.left(20).toStdString();
    }
    // Each write replaces the value's one file and leaves no temporary beside it.
    EXPECT_EQ(QDir(store + "Software/Quillmark/Ketrano").entryList(QDir::Files | QDir::Hidden),
              QStringList{"v"});
}

TEST_F(RegistryTest, NoKeyNoWriteMalformedPathsShowTheMessage)
{
    const QStringList malformed = {"Software", "hkey_current_user\\Software", Key + "\\", ""};
    const QStringList unknownRoot = {"HKEY_NOWHERE\\Software", "HKEY_current_user\\Software"};
    EXPECT_FALSE(Registry::WriteValue(Key, "v", "0")); // the key was never created
    for (const QString& path : malformed + unknownRoot) {
        messages.clear();
        EXPECT_EQ(Registry::ReadValue(path, "v"), QString());
        Registry::CreateKey(path);
        Registry::WriteValue(path, "v", "x");
        const QString text = "Incorrect Format:\n\n" + path;
        EXPECT_EQ(messages, malformed.contains(path) ? QStringList(3, text) : QStringList());
    }
    EXPECT_TRUE(QDir(config.path()).isEmpty());
}

} // namespace
