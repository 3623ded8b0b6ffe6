#include "fields/meta_field.h"

#include <gtest/gtest.h>

#include "fields/field_catalogue.h"

namespace {

// Stands in for a row's widgets.
struct FakeControls : IFieldControls {
    std::string text;
    int action = ACTION_NEVER_CHANGE;
    int* destroyed = nullptr;
    ~FakeControls() override {
        if (destroyed)
            ++*destroyed;
    }
    std::string GetValue() const override { return text; }
    void SetValue(const std::string& value) override { text = value; }
    int GetAction() const override { return action; }
    void SetAction(int code) override { action = code; }
};

TEST(MetaField, DefineAndGetDefinition) {
    CMetaField field(FIELD_USER);
    field.Define("rating", 1, "", 1, 1, 0);
    std::string name;
    int httpEquiv = 0, multiLine = 0;
    field.GetDefinition(name, httpEquiv, multiLine);
    EXPECT_EQ(name, "rating");
    EXPECT_EQ(httpEquiv, 1);
    EXPECT_EQ(multiLine, 1);
    // Redefining as one line takes the add-before/after actions away.
    EXPECT_EQ(field.GetActionList().GetCount(), 7);
    field.Define("rating", 0, "", 1, 0, 0);
    EXPECT_EQ(field.GetActionList().GetCount(), 5);
}

TEST(MetaField, ValueWithoutControlsIsKept) {
    CMetaField field(FIELD_FOUND);
    field.SetValue("draft");
    EXPECT_EQ(field.GetValue(), "draft");
    field.SetAction(ACTION_REMOVE);
    EXPECT_EQ(field.GetAction(), ACTION_REMOVE);
    field.SetAction(ACTION_APPEND); // not offered by a one-line field
    EXPECT_EQ(field.GetAction(), -1);
}

TEST(MetaField, AttachedControlsHoldValueAndAction) {
    CMetaField field(FIELD_USER);
    field.SetValue("before");
    auto controls = std::make_unique<FakeControls>();
    FakeControls* row = controls.get();
    int destroyed = 0;
    row->destroyed = &destroyed;
    field.AttachControls(std::move(controls));
    EXPECT_EQ(field.IsCreated(), 1);
    EXPECT_EQ(field.GetValue(), "");
    field.SetValue("typed");
    field.SetAction(ACTION_ALWAYS_SET);
    EXPECT_EQ(row->text, "typed");
    EXPECT_EQ(field.GetAction(), ACTION_ALWAYS_SET);
    field.DestroyControls();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(field.GetValue(), "before");
}

TEST(MetaField, CopyTakesDefinitionStateAndCurrentText) {
    CMetaField source(FIELD_STANDARD);
    DefineStandardField(source, 1);
    source.SetDisplay(DISPLAY_NEVER);
    source.SetTop(300);
    source.SetEditHeight(54);
    source.SetVisible(1);
    source.SetTemplateMode(1);
    source.SetValue("stale");
    auto controls = std::make_unique<FakeControls>();
    controls->text = "on screen";
    source.AttachControls(std::move(controls));

    const CMetaField copy(source);
    EXPECT_EQ(copy.GetName(), "description");
    EXPECT_EQ(copy.GetBaseId(), 20);
    EXPECT_EQ(copy.GetButton(), "Suggest");
    EXPECT_EQ(copy.IsMultiLine(), 1);
    EXPECT_EQ(copy.GetKind(), FIELD_STANDARD);
    EXPECT_EQ(copy.GetDisplay(), DISPLAY_NEVER);
    EXPECT_EQ(copy.GetTop(), 300);
    EXPECT_EQ(copy.GetEditHeight(), 54);
    EXPECT_EQ(copy.GetValue(), "on screen");
    EXPECT_EQ(copy.IsCreated(), 0);
    EXPECT_EQ(copy.IsVisible(), 0);
    EXPECT_EQ(copy.IsTemplateMode(), 0);

    source.DestroyControls();
    EXPECT_EQ(CMetaField(source).GetValue(), "stale");
}

TEST(MetaField, WantsVisibleByDisplayMode) {
    struct Case {
        int display;
        const char* value;
        int all;
        int shown;
    };
    const Case cases[] = {
        {DISPLAY_ALWAYS, "", 0, 1},
        {DISPLAY_IF_CONTENT, "", 0, 0},
        {DISPLAY_IF_CONTENT, "x", 0, 1},
        {DISPLAY_IF_CONTENT, "", 1, 1},
        {DISPLAY_NEVER, "x", 0, 0},
        {DISPLAY_NEVER, "", 1, 1},
        {7, "", 0, 1},
    };
    for (const Case& c : cases) {
        CMetaField field(FIELD_USER);
        field.SetDisplay(c.display);
        field.SetValue(c.value);
        EXPECT_EQ(field.WantsVisible(c.all), c.shown)
            << "display " << c.display << " value '" << c.value << "' all " << c.all;
    }
}

} // namespace
