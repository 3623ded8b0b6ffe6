#include "settings/settings_profile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "fields/field_groups.h"
#include "fields/field_list.h"

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

TEST_F(SettingsProfileTest, FieldListRoundTrip) {
    {
        CFieldList list;
        auto field = std::make_unique<CMetaField>(FIELD_USER);
        field->Define("rating", 1, "", 1, 1, 0);
        field->SetDisplay(DISPLAY_ALWAYS);
        list.AddField(std::move(field));
        list.GetAt(6).SetDisplay(DISPLAY_NEVER);
        list.GetAt(list.FindField("og:image", FieldTag::PROPERTY)).SetDisplay(DISPLAY_ALWAYS);
        auto property = std::make_unique<CMetaField>(FIELD_USER);
        property->Define("article:author", 0, "", 1, 0, 0);
        property->SetTag(FieldTag::PROPERTY);
        list.AddField(std::move(property));
        CSettingsProfile profile;
        CAppSettings saved;
        saved.m_strFileTypes = "*.htm;";
        saved.m_preview.m_scriptFolders = {"/srv/s\xc3\xbc"
                                           "d site",
                                           "/home/x/a=b;c"};
        saved.m_preview.m_bScriptsThisRun = true; // never stored
        list.SaveSettings(profile, saved);
    }
    CFieldList list;
    CAppSettings app;
    list.LoadSettings(CSettingsProfile(), app);
    EXPECT_EQ(app.m_strFileTypes, "*.htm;");
    EXPECT_EQ(app.m_preview.m_scriptFolders, (std::vector<std::string>{"/srv/s\xc3\xbc"
                                                                       "d site",
                                                                       "/home/x/a=b;c"}));
    EXPECT_FALSE(app.m_preview.m_bScriptsThisRun);
    ASSERT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD + 2);
    EXPECT_EQ(list.GetAt(6).GetDisplay(), DISPLAY_NEVER);
    EXPECT_EQ(list.GetAt(list.FindField("og:image", FieldTag::PROPERTY)).GetDisplay(),
              DISPLAY_ALWAYS);
    EXPECT_EQ(list.GetAt(list.FindField("og:title", FieldTag::PROPERTY)).GetDisplay(),
              DISPLAY_IF_CONTENT);
    const CMetaField& rating = list.GetAt(FIRST_CUSTOM_FIELD);
    EXPECT_EQ(rating.GetName(), "rating");
    EXPECT_EQ(rating.IsHttpEquiv(), 1);
    EXPECT_EQ(rating.IsMultiLine(), 1);
    EXPECT_EQ(rating.GetDisplay(), DISPLAY_ALWAYS);
    EXPECT_EQ(rating.GetTag(), FieldTag::META);
    EXPECT_EQ(list.GetAt(FIRST_CUSTOM_FIELD + 1).GetTag(), FieldTag::PROPERTY);
}

} // namespace
