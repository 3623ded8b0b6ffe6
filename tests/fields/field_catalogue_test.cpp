#include "fields/field_catalogue.h"
#include "fields/field_groups.h"

#include <gtest/gtest.h>

#include "fields/field_list.h"

namespace {

TEST(FieldCatalogue, Rows) {
    struct Row {
        const char* name;
        int id, httpEquiv, editable, multiLine, dropDown;
        const char* button;
        int display;
    };
    const Row rows[STANDARD_FIELD_COUNT] = {
        {"title", 10, 0, 1, 0, 0, "", DISPLAY_ALWAYS},
        {"description", 20, 0, 1, 1, 0, "Suggest", DISPLAY_ALWAYS},
        {"keywords", 30, 0, 1, 1, 0, "Suggest", DISPLAY_ALWAYS},
        {"Author", 40, 0, 1, 0, 0, "", DISPLAY_ALWAYS},
        {"owner", 50, 0, 1, 0, 0, "", DISPLAY_IF_CONTENT},
        {"copyright", 60, 0, 1, 0, 0, "", DISPLAY_ALWAYS},
        {"PICS-label", 70, 0, 1, 1, 0, "", DISPLAY_IF_CONTENT},
        {"robots", 80, 0, 0, 0, 0, "Edit", DISPLAY_ALWAYS},
        {"Cache-Control", 90, 1, 0, 0, 0, "Edit", DISPLAY_IF_CONTENT},
        {"Expires", 100, 1, 0, 0, 0, "Edit", DISPLAY_IF_CONTENT},
        {"Window-Target", 110, 1, 1, 0, 1, "", DISPLAY_IF_CONTENT},
        {"generator", 120, 0, 1, 0, 0, "", DISPLAY_IF_CONTENT},
        {"Refresh", 130, 1, 0, 0, 0, "Edit", DISPLAY_IF_CONTENT},
    };
    const CFieldList list;
    ASSERT_EQ(list.GetCount(), FIRST_CUSTOM_FIELD);
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos) {
        const Row& row = rows[pos];
        const CMetaField& field = list.GetAt(pos);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(field.GetName(), row.name);
        EXPECT_EQ(field.GetBaseId(), row.id);
        EXPECT_EQ(field.IsHttpEquiv(), row.httpEquiv);
        EXPECT_EQ(field.IsEditable(), row.editable);
        EXPECT_EQ(field.IsMultiLine(), row.multiLine);
        EXPECT_EQ(field.IsDropDown(), row.dropDown);
        EXPECT_EQ(field.GetButton(), row.button);
        EXPECT_EQ(field.GetDisplay(), row.display);
        EXPECT_EQ(field.GetKind(), FIELD_STANDARD);
    }
}

TEST(FieldCatalogue, StatusDescriptions) {
    EXPECT_EQ(FieldDescription(10), "The title of the web page (not actually a meta tag)");
    EXPECT_EQ(FieldDescription(70), "PICS ratings label (See help for more information)");
    EXPECT_EQ(FieldDescription(90), "Instructions for controling cacheing");
    EXPECT_EQ(FieldDescription(130), "A refresh period (in seconds) and optional replacement page");
    EXPECT_EQ(FieldDescription(110), ""); // Window-Target has none
    EXPECT_EQ(FieldDescription(140), "");
    EXPECT_EQ(FieldDescription(21), ""); // a button id
}

TEST(FieldCatalogue, WindowTargetChoices) {
    EXPECT_EQ((std::array<std::string_view, 4>{"_blank", "_parent", "_self", "_top"}),
              WINDOW_TARGET_CHOICES);
}

TEST(TemplateActionList, EntriesInOrder) {
    const CTemplateActionList list(1);
    const int codes[] = {2, 1, 3, 4, 7, 6, 5};
    const char* texts[] = {"Never change",
                           "Always set to this value",
                           "Set this value if tag doesn't exit",
                           "Replace existing data if tag exists",
                           "Add this data before existing data",
                           "Add this data after existing data",
                           "Always remove this tag"};
    ASSERT_EQ(list.GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(list.GetItemData(i), codes[i]);
        EXPECT_EQ(list.GetText(i), texts[i]);
    }
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(list.GetAction(), ACTION_NEVER_CHANGE);
}

TEST(TemplateActionList, AddEntriesOnlyForTitleAndMultiLine) {
    const CFieldList list;
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos) {
        const CMetaField& field = list.GetAt(pos);
        const bool seven = field.GetName() == "title" || field.GetName() == "description" ||
                           field.GetName() == "keywords" || field.GetName() == "PICS-label";
        EXPECT_EQ(field.GetActionList().GetCount(), seven ? 7 : 5) << field.GetName();
    }
    // The title rule compares exactly.
    CMetaField upper(FIELD_FOUND);
    upper.Define("Title", 0, "", 1, 0, 0);
    EXPECT_EQ(upper.GetActionList().GetCount(), 5);
}

TEST(TemplateActionList, SelectByCode) {
    CTemplateActionList oneLine(0);
    oneLine.SelectAction(ACTION_REMOVE);
    EXPECT_EQ(oneLine.GetCurSel(), 4);
    EXPECT_EQ(oneLine.GetAction(), ACTION_REMOVE);
    for (int code : {6, 7, 0, -1, 8}) {
        oneLine.SelectAction(code);
        EXPECT_EQ(oneLine.GetCurSel(), -1) << code;
        EXPECT_EQ(oneLine.GetAction(), -1) << code;
    }
    CTemplateActionList multi(1);
    multi.SelectAction(ACTION_APPEND);
    EXPECT_EQ(multi.GetCurSel(), 5);
    multi.SetCurSel(9);
    EXPECT_EQ(multi.GetAction(), -1);
}

} // namespace
