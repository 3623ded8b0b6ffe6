#include <gtest/gtest.h>

#include "assistants/options_custom_tags_page.h"
#include "assistants/options_std_tags_page.h"
#include "fields/field_groups.h"

namespace {

std::unique_ptr<CMetaField> Field(const char* name, int kind, int display = DISPLAY_IF_CONTENT) {
    auto field = std::make_unique<CMetaField>(kind);
    field->Define(name, 0, "", 1, 0, 0);
    field->SetDisplay(display);
    return field;
}

// A scripted Define Meta Tag dialog: records what it was shown, then types
// the given values and presses OK (or Cancel).
struct ScriptedDialog {
    explicit ScriptedDialog(std::string typedName, int typedHttpEquiv = 0, int typedMultiLine = 0)
        : name(std::move(typedName)), httpEquiv(typedHttpEquiv), multiLine(typedMultiLine) {}
    std::string name;
    int httpEquiv;
    int multiLine;
    bool property = false;
    int ok = 1;
    CDefineTagDlg shown;
    int runs = 0;
    DefineTagRunner Runner() {
        return [this](CDefineTagDlg& dlg) {
            shown = dlg;
            ++runs;
            dlg.m_strName = name;
            dlg.m_bHttpEquiv = httpEquiv;
            dlg.m_bProperty = property;
            dlg.m_bMultiLine = multiLine;
            return ok;
        };
    }
};

TEST(StdTagsPage, EditsCopyUntilApply) {
    CFieldList fields;
    int refreshed = 0;
    CStdTagsPage page(fields, [&] { ++refreshed; });
    EXPECT_EQ(page.GetCheckedMode(), -1);
    page.OnSetActive();
    // The catalogue, then the Search and Social rows.
    ASSERT_EQ(page.GetNames().size(), static_cast<size_t>(FIRST_CUSTOM_FIELD));
    EXPECT_EQ(page.GetNames()[3], "Author");
    EXPECT_EQ(page.GetNames()[STANDARD_FIELD_COUNT], "canonical");
    EXPECT_EQ(page.GetCurrent(), 0);
    EXPECT_EQ(page.GetCheckedMode(), DISPLAY_ALWAYS);

    page.OnSelChange(3);
    page.OnModeClicked(DISPLAY_NEVER);
    page.OnSelChange(4);
    EXPECT_EQ(page.GetCheckedMode(), DISPLAY_IF_CONTENT);
    EXPECT_EQ(page.IsModified(), 1);
    EXPECT_EQ(fields.GetAt(3).GetDisplay(), DISPLAY_ALWAYS);

    page.OnSetActive(); // showing it again keeps the unapplied change
    EXPECT_EQ(page.GetDisplay(3), DISPLAY_NEVER);
    page.OnApply();
    EXPECT_EQ(fields.GetAt(3).GetDisplay(), DISPLAY_NEVER);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(page.IsModified(), 0);
}

TEST(StdTagsPage, NeverShownAppliesNothing) {
    CFieldList fields;
    int refreshed = 0;
    CStdTagsPage page(fields, [&] { ++refreshed; });
    page.OnModeClicked(DISPLAY_NEVER);
    page.OnApply();
    EXPECT_EQ(refreshed, 0);
    EXPECT_EQ(fields.GetAt(0).GetDisplay(), DISPLAY_ALWAYS);
}

TEST(CustomTagsPage, EmptyListDisablesControlsAndAddWorks) {
    CFieldList fields;
    int refreshed = 0;
    CCustomTagsPage page(fields, [&] { ++refreshed; });
    page.OnSetActive();
    EXPECT_EQ(page.GetCount(), 0);
    EXPECT_EQ(page.GetCurrent(), -1);
    EXPECT_EQ(page.AreControlsEnabled(), 0);
    EXPECT_EQ(page.GetCheckedMode(), -1);

    ScriptedDialog dialog{"rating", 1, 1};
    EXPECT_EQ(page.OnAdd(dialog.Runner()), 1);
    EXPECT_EQ(dialog.shown.m_strName, ""); // Add starts from the initial values
    EXPECT_EQ(page.GetCurrent(), 0);
    EXPECT_EQ(page.AreControlsEnabled(), 1);
    EXPECT_EQ(page.GetCheckedMode(), DISPLAY_ALWAYS);
    EXPECT_EQ(page.IsModified(), 1);

    page.OnApply();
    EXPECT_EQ(refreshed, 1);
    ASSERT_EQ(fields.GetCount(), FIRST_CUSTOM_FIELD + 1);
    const CMetaField& added = fields.GetAt(FIRST_CUSTOM_FIELD);
    EXPECT_EQ(added.GetName(), "rating");
    EXPECT_EQ(added.GetKind(), FIELD_USER);
    EXPECT_EQ(added.IsHttpEquiv(), 1);
    EXPECT_EQ(added.IsMultiLine(), 1);
    EXPECT_EQ(added.IsEditable(), 1);
    EXPECT_EQ(added.GetButton(), "");
    EXPECT_EQ(added.IsDropDown(), 0);
}

TEST(CustomTagsPage, CancelChangesNothing) {
    CFieldList fields;
    fields.AddField(Field("rating", FIELD_USER));
    CCustomTagsPage page(fields, nullptr);
    page.OnSetActive();
    ScriptedDialog dialog{"other"};
    dialog.ok = 0;
    EXPECT_EQ(page.OnAdd(dialog.Runner()), 0);
    EXPECT_EQ(page.OnEdit(dialog.Runner()), 0);
    EXPECT_EQ(page.GetNames(), std::vector<std::string>{"rating"});
    EXPECT_EQ(page.IsModified(), 0);
}

TEST(CustomTagsPage, RadioRulesForFoundFields) {
    struct NamedCase {
        const char* name;
        int mode;
        int kind;
    };
    // A nameless tag ("") or one whose name holds both quote kinds never
    // becomes a user tag: it would be stored under a name no tag can be
    // written with or matched by.
    const NamedCase cases[] = {
        {"found", DISPLAY_ALWAYS, FIELD_USER}, {"found", DISPLAY_IF_CONTENT, FIELD_FOUND},
        {"found", DISPLAY_NEVER, FIELD_USER},  {"", DISPLAY_ALWAYS, FIELD_FOUND},
        {"", DISPLAY_NEVER, FIELD_FOUND},      {"a\"b'c", DISPLAY_NEVER, FIELD_FOUND},
    };
    for (const NamedCase& c : cases) {
        CFieldList fields;
        fields.AddField(Field(c.name, FIELD_FOUND));
        CCustomTagsPage page(fields, nullptr);
        page.OnSetActive();
        page.OnModeClicked(c.mode);
        EXPECT_EQ(page.GetCheckedMode(), c.mode);
        EXPECT_EQ(page.GetField(0).GetKind(), c.kind) << c.name << " " << c.mode;
        const CMetaField& field = fields.GetAt(FIRST_CUSTOM_FIELD);
        EXPECT_EQ(field.GetKind(), FIELD_FOUND); // the view's field until apply
        page.OnApply();
        const CMetaField& applied = fields.GetAt(FIRST_CUSTOM_FIELD);
        EXPECT_EQ(applied.GetKind(), c.kind) << c.name << " " << c.mode;
        EXPECT_EQ(applied.GetDisplay(), c.mode);
    }
}

TEST(CustomTagsPage, EditKeepsKindModeAndValue) {
    CFieldList fields;
    auto found = Field("ratng", FIELD_FOUND, DISPLAY_NEVER);
    found->SetValue("general");
    fields.AddField(std::move(found));
    fields.AddField(Field("other", FIELD_USER));
    CCustomTagsPage page(fields, nullptr);
    page.OnSetActive();

    ScriptedDialog dialog{"  rating  ", 0, 1};
    ASSERT_EQ(page.OnEdit(dialog.Runner()), 1);
    EXPECT_EQ(dialog.shown.m_strName, "ratng");
    const CMetaField& edited = page.GetField(0);
    EXPECT_EQ(edited.GetName(), "rating"); // trimmed
    EXPECT_EQ(edited.IsMultiLine(), 1);
    EXPECT_EQ(edited.GetKind(), FIELD_FOUND);
    EXPECT_EQ(edited.GetDisplay(), DISPLAY_NEVER);
    page.OnApply();
    EXPECT_EQ(fields.GetAt(FIRST_CUSTOM_FIELD).GetValue(), "general");
    EXPECT_EQ(fields.GetAt(FIRST_CUSTOM_FIELD + 1).GetName(), "other");
}

TEST(CustomTagsPage, DuplicateAndEmptyNamesAreRefused) {
    CFieldList fields;
    fields.AddField(Field("rating", FIELD_USER));
    fields.AddField(Field("found", FIELD_FOUND));
    CCustomTagsPage page(fields, nullptr);
    page.OnSetActive();

    // Another tag's name, in any case, and the catalogue's meta tags are taken.
    for (const char* name : {"RATING", "found", "author", "Window-Target", "", "   "}) {
        ScriptedDialog dialog{name};
        EXPECT_EQ(page.OnAdd(dialog.Runner()), 0) << name;
    }
    EXPECT_EQ(page.GetCount(), 2);
    EXPECT_EQ(page.IsModified(), 0);

    // A meta tag may be called "title": the title row is no meta tag.
    ScriptedDialog title{"title"};
    EXPECT_EQ(page.OnAdd(title.Runner()), 1);

    // Editing may keep the entry's own name or change its case, not take another's.
    page.OnSelChange(0);
    ScriptedDialog own{"Rating"};
    EXPECT_EQ(page.OnEdit(own.Runner()), 1);
    ScriptedDialog other{"found"};
    EXPECT_EQ(page.OnEdit(other.Runner()), 0);
    EXPECT_EQ(page.GetField(0).GetName(), "Rating");
}

TEST(DefineTagDlg, NameChecks) {
    CDefineTagDlg dlg;
    dlg.SetTakenNames({"description", "rating"});
    EXPECT_EQ(CDefineTagDlg::CanAccept(""), 0);
    EXPECT_EQ(CDefineTagDlg::CanAccept(" \t"), 0);
    EXPECT_EQ(CDefineTagDlg::CanAccept("x"), 1);

    std::string message;
    dlg.m_strName = " Rating ";
    EXPECT_EQ(dlg.OnOK(message), 0);
    EXPECT_EQ(message, "A tag named \"Rating\" already exists.");
    EXPECT_EQ(dlg.m_strName, " Rating "); // the dialog stays open with the text
    dlg.m_strName = "";
    EXPECT_EQ(dlg.OnOK(message), 0);
    EXPECT_FALSE(message.empty());
    // Both quote kinds cannot be written into a tag that reads back the same.
    dlg.m_strName = "it's \"x\"";
    EXPECT_EQ(dlg.OnOK(message), 0);
    EXPECT_EQ(message, "A tag name cannot hold both kinds of quote mark (\" and ').");
    dlg.m_strName = "it's";
    EXPECT_EQ(dlg.OnOK(message), 1);
    dlg.m_strName = " audience ";
    EXPECT_EQ(dlg.OnOK(message), 1);
    EXPECT_EQ(message, "");
    EXPECT_EQ(dlg.m_strName, "audience");
}

TEST(CustomTagsPage, RemoveSelectsNeighbour) {
    CFieldList fields;
    for (const char* name : {"a", "b", "c"})
        fields.AddField(Field(name, FIELD_USER));
    CCustomTagsPage page(fields, nullptr);
    page.OnSetActive();
    page.OnSelChange(2);
    page.OnRemove(); // the last entry: the new last one is selected
    EXPECT_EQ(page.GetCurrent(), 1);
    page.OnSelChange(0);
    page.OnRemove(); // the entry behind moves into its place
    EXPECT_EQ(page.GetCurrent(), 0);
    EXPECT_EQ(page.GetNames(), std::vector<std::string>{"b"});
    page.OnRemove();
    EXPECT_EQ(page.GetCurrent(), -1);
    EXPECT_EQ(page.AreControlsEnabled(), 0);
    EXPECT_EQ(page.OnRemove(), 0);
    page.OnApply();
    EXPECT_EQ(fields.GetCount(), FIRST_CUSTOM_FIELD);
}

// The group rows and the page's property and alternate rows are no user
// tags: the page neither lists nor replaces them, and a tag added as a
// property stays one.
TEST(CustomTagsPage, ApplyReplacesOnlyTheCustomFieldsAndKeepsCopies) {
    CFieldList fields;
    fields.AddField(Field("found1", FIELD_FOUND));
    auto property = Field("article:tag", FIELD_FOUND);
    property->SetTag(FieldTag::PROPERTY);
    fields.AddField(std::move(property));
    fields.AddField(Field("user", FIELD_USER));
    CCustomTagsPage page(fields, nullptr);
    page.OnSetActive();
    EXPECT_EQ(page.GetNames(), (std::vector<std::string>{"found1", "user"}));
    ScriptedDialog dialog{"og:locale", 1}; // both boxes ticked: a property tag
    dialog.property = true;
    page.OnAdd(dialog.Runner());
    page.OnSetActive(); // switching pages and back keeps the added tag
    page.OnApply();
    ASSERT_EQ(fields.GetCount(), FIRST_CUSTOM_FIELD + 4);
    EXPECT_EQ(fields.GetAt(FIRST_CUSTOM_FIELD).GetName(), "article:tag");
    const CMetaField& added = fields.GetAt(FIRST_CUSTOM_FIELD + 3);
    EXPECT_EQ(added.GetName(), "og:locale");
    EXPECT_EQ(added.GetTag(), FieldTag::PROPERTY);
    EXPECT_EQ(added.IsHttpEquiv(), 0);
    EXPECT_EQ(added.GetDisplay(), DISPLAY_ALWAYS);
    EXPECT_EQ(fields.GetAt(0).GetName(), "title");
    EXPECT_EQ(fields.GetAt(STANDARD_FIELD_COUNT).GetName(), "canonical");
    // A second apply (OK after Apply) gives the same list, not a doubled one.
    page.OnApply();
    EXPECT_EQ(fields.GetCount(), FIRST_CUSTOM_FIELD + 4);
    EXPECT_EQ(page.GetCount(), 3);
}

} // namespace
