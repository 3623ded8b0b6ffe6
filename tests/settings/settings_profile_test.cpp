#include "settings/settings_profile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr std::string_view USER = PROFILE_SECTION_USER;

class SettingsProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Everything the tests write goes below the temporary directory.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    QTemporaryDir m_dir;
};

TEST_F(SettingsProfileTest, ApplicationProfileFile) {
    CSettingsProfile profile;
    profile.WriteProfileInt(USER, "IBC", 14);
    profile.Sync();
    const QString expected =
        QDir(m_dir.path()).filePath("Local AppWizard-Generated Applications/TSLE.ini");
    EXPECT_EQ(profile.GetFileName(), expected);
    EXPECT_TRUE(QFileInfo::exists(expected));
}

TEST_F(SettingsProfileTest, ValuesSurviveReopening) {
    const std::string latin1 = "caf\xe9";
    {
        CSettingsProfile profile;
        profile.WriteProfileInt(USER, "FIB_0_D", 2);
        profile.WriteProfileString(USER, "UIB_0_N", "Zeichensatz \xc3\xa4");
        profile.WriteProfileString(USER, "UIB_1_N", latin1);
        profile.WriteProfileString(USER, "FileTypes", "*.htm;*.html;");
        profile.WriteProfileString(USER, "Bad", "12x");
    }
    const CSettingsProfile profile;
    EXPECT_EQ(profile.GetProfileInt(USER, "FIB_0_D", -1), 2);
    EXPECT_EQ(profile.GetProfileString(USER, "UIB_0_N", ""), "Zeichensatz \xc3\xa4");
    EXPECT_EQ(profile.GetProfileString(USER, "UIB_1_N", ""), latin1);
    EXPECT_EQ(profile.GetProfileString(USER, "FileTypes", ""), "*.htm;*.html;");
    EXPECT_EQ(profile.GetProfileInt(USER, "Bad", 7), 7);
    EXPECT_EQ(profile.GetProfileInt(USER, "Missing", 13), 13);
    EXPECT_EQ(profile.GetProfileString(USER, "Missing", "ErrorUIB_0_"), "ErrorUIB_0_");
    EXPECT_EQ(profile.GetProfileInt("Other", "FIB_0_D", -1), -1);
}

} // namespace
