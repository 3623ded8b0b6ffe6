#include "fields/field_groups.h"
#include "fields/field_list.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/memory_profile.h"
#include "settings/settings_profile.h"

namespace {

constexpr std::string_view USER = PROFILE_SECTION_USER;

std::unique_ptr<CMetaField> UserField(const char* name, int display = DISPLAY_IF_CONTENT,
                                      int kind = FIELD_USER) {
    auto field = std::make_unique<CMetaField>(kind);
    field->Define(name, 0, "", 1, 0, 0);
    field->SetDisplay(display);
    return field;
}

TEST(FieldList, EmptyProfileGivesCatalogueDefaults) {
    const CMemoryProfile profile;
    CAppSettings app;
    app.m_strFileTypes = "stale";
    CFieldList list;
    list.LoadSettings(profile, app);
    EXPECT_EQ(app.m_strFileTypes, "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl");
    ASSERT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD);
    for (int pos = 0; pos < 13; ++pos) {
        const bool always = pos == 0 || pos == 1 || pos == 2 || pos == 3 || pos == 5 || pos == 7;
        EXPECT_EQ(list.GetAt(pos).GetDisplay(), always ? DISPLAY_ALWAYS : DISPLAY_IF_CONTENT)
            << pos;
    }
}

TEST(FieldList, SaveWritesExactValuesAndSkipsFoundFields) {
    CFieldList list;
    list.GetAt(4).SetDisplay(DISPLAY_NEVER);
    list.AddField(UserField("rating", DISPLAY_ALWAYS));
    list.AddField(UserField("found", DISPLAY_ALWAYS, FIELD_FOUND));
    auto multi = UserField("summary");
    multi->Define("summary", 1, "", 1, 1, 0);
    EXPECT_EQ(list.AddField(std::move(multi)), FIRST_CUSTOM_FIELD + 2);

    CMemoryProfile profile;
    CAppSettings app;
    app.m_strFileTypes = "*.htm;*.shtml;";
    list.SaveSettings(profile, app);

    EXPECT_EQ(profile.GetProfileString(USER, "FileTypes", ""), "*.htm;*.shtml;");
    EXPECT_EQ(profile.GetProfileInt(USER, "IBC", -1), 15);
    EXPECT_EQ(profile.GetProfileInt(USER, "FIB_0_D", -1), DISPLAY_ALWAYS);
    EXPECT_EQ(profile.GetProfileInt(USER, "FIB_4_D", -1), DISPLAY_NEVER);
    EXPECT_EQ(profile.GetProfileInt(USER, "FIB_12_D", -1), DISPLAY_IF_CONTENT);
    EXPECT_EQ(profile.GetProfileString(USER, "UIB_0_N", ""), "rating");
    EXPECT_EQ(profile.GetProfileInt(USER, "UIB_0_D", -1), DISPLAY_ALWAYS);
    EXPECT_EQ(profile.GetProfileString(USER, "UIB_1_N", ""), "summary");
    EXPECT_EQ(profile.GetProfileInt(USER, "UIB_1_H", -1), 1);
    EXPECT_EQ(profile.GetProfileInt(USER, "UIB_1_L", -1), 1);
    EXPECT_EQ(profile.HasValue(USER, "UIB_2_N"), 0);
    EXPECT_EQ(profile.HasValue(USER, "FIB_0_N"), 0); // standard fields: mode only
    EXPECT_EQ(profile.GetProfileInt(USER, "UIB_1_P", -1), 0);
    EXPECT_EQ(profile.GetProfileInt(USER, "GIB_0_D", -1), DISPLAY_IF_CONTENT); // canonical
    EXPECT_EQ(profile.GetProfileInt(USER, "NormalizeHead", -1), 0);
    // FileTypes, NormalizeHead, the preview's two, the five limits, the
    // project sites, IBC, 13 + 12 modes and 5 values for each of the two user
    // fields.
    EXPECT_EQ(profile.GetCount(), 11 + 25 + 10);
}

// Records every write as "type:name" in order.
struct RecordingProfile : CMemoryProfile {
    std::vector<std::string> writes;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        writes.push_back("int:" + std::string(entry));
        CMemoryProfile::WriteProfileInt(section, entry, value);
    }
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override {
        writes.push_back("string:" + std::string(entry));
        CMemoryProfile::WriteProfileString(section, entry, value);
    }
};

TEST(FieldList, SaveOrderAndTypes) {
    CFieldList list;
    list.AddField(UserField("rating"));
    RecordingProfile profile;
    list.SaveSettings(profile, CAppSettings{});
    std::vector<std::string> expected = {"string:FileTypes",
                                         "int:NormalizeHead",
                                         "string:PreviewScriptFolders",
                                         "int:PreviewRemoteResources",
                                         "int:SearchTitleFontPx",
                                         "int:SearchTitlePx",
                                         "int:SearchDescriptionFontPx",
                                         "int:SearchDescriptionPx",
                                         "int:SearchDescriptionMobilePx",
                                         "string:ProjectSites"};
    for (int i = 0; i < 13; ++i)
        expected.push_back("int:FIB_" + std::to_string(i) + "_D");
    for (int i = 0; i < GROUP_FIELD_COUNT; ++i)
        expected.push_back("int:GIB_" + std::to_string(i) + "_D");
    for (const char* write :
         {"int:UIB_0_D", "string:UIB_0_N", "int:UIB_0_H", "int:UIB_0_L", "int:UIB_0_P", "int:IBC"})
        expected.push_back(write);
    EXPECT_EQ(profile.writes, expected);
}

TEST(FieldList, MissingUserNameReadsAsErrorPrefix) {
    CMemoryProfile profile;
    profile.WriteProfileInt(USER, "IBC", 15);
    profile.WriteProfileString(USER, "UIB_0_N", "rating");
    profile.WriteProfileInt(USER, "UIB_1_D", DISPLAY_NEVER);
    CFieldList list;
    CAppSettings app;
    list.LoadSettings(profile, app);
    ASSERT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD + 2);
    const CMetaField& rating = list.GetAt(FIRST_CUSTOM_FIELD);
    const CMetaField& missing = list.GetAt(FIRST_CUSTOM_FIELD + 1);
    EXPECT_EQ(rating.GetName(), "rating");
    EXPECT_EQ(missing.GetName(), "ErrorUIB_1_");
    for (const CMetaField* field : {&rating, &missing}) {
        EXPECT_EQ(field->GetKind(), FIELD_USER);
        EXPECT_EQ(field->IsMultiLine(), 0);
        EXPECT_EQ(field->IsHttpEquiv(), 0);
        EXPECT_EQ(field->IsEditable(), 1);
        EXPECT_EQ(field->GetButton(), "");
    }
    EXPECT_EQ(rating.GetDisplay(), DISPLAY_IF_CONTENT);
    EXPECT_EQ(missing.GetDisplay(), DISPLAY_NEVER);
}

TEST(FieldList, CountBoundsTheUserFieldsRead) {
    struct Case {
        int ibc;
        int fields; // user fields read
    };
    // A count below 13 reads no user field; a damaged huge one is capped.
    const Case cases[] = {{0, 0},  {-5, 0}, {12, 0},
                          {13, 0}, {14, 1}, {2'000'000'000, MAX_USER_FIELDS}};
    for (const Case& c : cases) {
        CMemoryProfile profile;
        profile.WriteProfileInt(USER, "IBC", c.ibc);
        profile.WriteProfileString(USER, "UIB_0_N", "rating");
        CFieldList list;
        CAppSettings app;
        list.LoadSettings(profile, app);
        EXPECT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD + c.fields) << c.ibc;
    }
}

TEST(FieldList, StaleValuesAboveCountStayAndAreIgnored) {
    CMemoryProfile profile;
    CFieldList before;
    before.AddField(UserField("one"));
    before.AddField(UserField("two"));
    before.SaveSettings(profile, CAppSettings{});

    CFieldList after;
    after.AddField(UserField("one"));
    after.SaveSettings(profile, CAppSettings{});
    EXPECT_EQ(profile.GetProfileString(USER, "UIB_1_N", ""), "two");

    CFieldList loaded;
    CAppSettings app;
    loaded.LoadSettings(profile, app);
    ASSERT_EQ(loaded.GetCount(), FIRST_CUSTOM_FIELD + 1);
    EXPECT_EQ(loaded.GetAt(FIRST_CUSTOM_FIELD).GetName(), "one");
}

TEST(FieldList, FindFieldAndRemoveFound) {
    CFieldList list;
    list.AddField(UserField("found1", DISPLAY_IF_CONTENT, FIELD_FOUND));
    list.AddField(UserField("Rating"));
    list.AddField(UserField("found2", DISPLAY_IF_CONTENT, FIELD_FOUND));
    EXPECT_EQ(list.FindField("AUTHOR"), 3);
    EXPECT_EQ(list.FindField("title"), -1); // the title is no meta tag
    EXPECT_EQ(list.FindField("rating"), FIRST_CUSTOM_FIELD + 1);
    // og:title is a property row: no meta tag of that name matches it.
    EXPECT_EQ(list.FindField("og:title"), -1);
    EXPECT_EQ(list.FindField("og:title", FieldTag::PROPERTY), STANDARD_FIELD_COUNT + 2);
    EXPECT_EQ(list.FindField("twitter:card"), STANDARD_FIELD_COUNT + 8);
    list.RemoveFoundFields();
    ASSERT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD + 1);
    EXPECT_EQ(list.GetAt(FIRST_CUSTOM_FIELD).GetName(), "Rating");
    list.TruncateTo(0); // never below the catalogue
    EXPECT_EQ(list.GetCount(), 13);
}

// Through the settings file itself, where numbers and texts are typed by QSettings.
TEST(FieldList, SurvivesTheSettingsFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
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
