#include "app/registry/registry.h"
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The four settings: read at start-up, written at shutdown, toggles stored inverted.

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    QString valuePath(const QString& name) const
    {
        return config.path() +
               QStringLiteral("/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano/") +
               name;
    }
    void store(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(valuePath(name)).path());
        QFile f(valuePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray stored(const QString& name) const
    {
        QFile f(valuePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir config;
};

TEST_F(SettingsTest, FirstStartHasNoProfileAndAllTogglesPressed)
{
    const Settings::Values v = Settings::read(QString());
    EXPECT_EQ(v.profileFileName, QString());
    EXPECT_TRUE(v.showIcons);
    EXPECT_TRUE(v.copySource);
    EXPECT_TRUE(v.copyTarget);
    EXPECT_FALSE(
        QFileInfo::exists(config.path() + QStringLiteral("/ketrano"))); // reading writes nothing
}

TEST_F(SettingsTest, WritesFourExactValuesAndReadsThemBack)
{
    Settings::write({QStringLiteral("/home/u/my profile.prf"), false, true, false});
    EXPECT_EQ(stored(Settings::LastProfile), QByteArray("/home/u/my profile.prf"));
    EXPECT_EQ(stored(Settings::ShowFileNames), QByteArray("1"));
    EXPECT_EQ(stored(Settings::CopySource), QByteArray("0"));
    EXPECT_EQ(stored(Settings::CopyTarget), QByteArray("1"));

    const Settings::Values v = Settings::read(QString());
    EXPECT_EQ(v.profileFileName, QStringLiteral("/home/u/my profile.prf"));
    EXPECT_FALSE(v.showIcons);
    EXPECT_TRUE(v.copySource);
    EXPECT_FALSE(v.copyTarget);

    // Names that mean "no profile" are stored as they stand.
    for (const QString& name : {QString(), QStringLiteral("*.prf")}) {
        Settings::write({name, true, true, true});
        EXPECT_EQ(stored(Settings::LastProfile), name.toUtf8());
        EXPECT_EQ(Settings::read(QString()).profileFileName, name);
    }
}

TEST_F(SettingsTest, CommandLineReplacesLastProfileButNotTheToggles)
{
    Settings::write({QStringLiteral("/old.prf"), false, false, true});
    const Settings::Values v = Settings::read(QStringLiteral("/new dir/run.prf"));
    EXPECT_EQ(v.profileFileName, QStringLiteral("/new dir/run.prf"));
    EXPECT_FALSE(v.showIcons);
    EXPECT_FALSE(v.copySource);
    EXPECT_TRUE(v.copyTarget);
}

TEST_F(SettingsTest, LastProfileIsCleaned)
{
    const struct
    {
        QByteArray stored;
        QString profile;
    } cases[] = {
        {"ERROR", ""},
        {"  /lead.prf", "/lead.prf"},
        {QByteArray("/a.prf\0junk", 11), "/a.prf"},
        {QByteArray(300, 'p'), ""}, // too long to read
    };
    for (const auto& c : cases) {
        store(Settings::LastProfile, c.stored);
        EXPECT_EQ(Settings::read(QString()).profileFileName, c.profile) << c.stored.constData();
    }
}

TEST_F(SettingsTest, OddToggleTextsNeverLeaveAThirdState)
{
    // pressed = 1 - number, rounded half to even; anything but 0 keeps the button pressed.
    const struct
    {
        QByteArray stored;
        bool pressed;
    } cases[] = {
        {"0", true},    {"1", false},    {"", true},        {"abc", true}, {"2", true},
        {"-1", true},   {"0.5", false},  {"1.5", false},    {"2.5", true}, {"-0.5", true},
        {" 1", false},  {"1abc", false}, {"1e0", false},    {"+1", false}, {".5", false},
        {"0x1", true},  {"1e400", true}, {"inf", true},     {"nan", true}, {"1,0", false},
        {"\t1", false}, {"0.4", true},   {"1.4999", false}, {"٢", true}, // not an ASCII digit
    };
    for (const auto& c : cases) {
        for (const QString& name :
             {Settings::ShowFileNames, Settings::CopySource, Settings::CopyTarget})
            store(name, c.stored);
        const Settings::Values v = Settings::read(QString());
        EXPECT_EQ(v.showIcons, c.pressed) << '"' << c.stored.constData() << '"';
        EXPECT_EQ(v.copySource, c.pressed) << '"' << c.stored.constData() << '"';
        EXPECT_EQ(v.copyTarget, c.pressed) << '"' << c.stored.constData() << '"';
    }
}

} // namespace
