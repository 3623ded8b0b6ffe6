// CMetaField: one row of the meta-data form as a model record.
//
// A field holds its tag definition (name, http-equiv flag, assistant button,
// kind of control), its display setting, where it came from, the layout state
// the editing view keeps in it, and its value. Once the view has created the
// row's widgets it attaches them as IFieldControls and the value and template
// action live there; before that (and in copies) they live in the field.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "fields/field_controls.h"
#include "fields/template_action_list.h"
#include "settings/profile.h"

// Where a field came from; decides what the profile keeps of it.
enum FieldKind : int {
    FIELD_STANDARD = 1, // one of the catalogue fields: display mode only
    FIELD_USER = 2,     // defined by the user: the whole definition
    FIELD_FOUND = 3,    // met in a page or template, matching no field: nothing
    FIELD_GROUP = 4,    // a row of the Search or Social group: display mode only
};

// What a field reads and writes in the page.
enum class FieldTag {
    META,      // <meta name> or, with the http-equiv flag, <meta http-equiv>
    PROPERTY,  // <meta property> (og:title ...)
    CANONICAL, // <link rel="canonical" href>
    ALTERNATE, // <link rel="alternate" hreflang href>, the hreflang in GetHreflang()
    LANG,      // the lang attribute of <html>
};

// When a row is shown while the all-fields switch is off.
enum DisplayMode : int {
    DISPLAY_ALWAYS = 0,
    DISPLAY_IF_CONTENT = 1,
    DISPLAY_NEVER = 2,
};

// Positions 0 .. STANDARD_FIELD_COUNT - 1 of the field list are the catalogue.
inline constexpr int STANDARD_FIELD_COUNT = 13;

class CMetaField {
public:
    explicit CMetaField(int kind);
    // Copies definition, layout state, kind and display mode; the copy's value
    // and action are the source's current ones, what the model holds of them
    // is copied too, and the copy has no controls.
    CMetaField(const CMetaField& other);
    CMetaField& operator=(const CMetaField&) = delete;
    ~CMetaField();

    // --- Definition -----------------------------------------------------------
    // Sets the six definition members at once and rebuilds the action list
    // (which depends on the name and the multi-line flag).
    void Define(std::string_view name, int httpEquiv, std::string_view button, int editable,
                int multiLine, int dropDown);
    void GetDefinition(std::string& name, int& httpEquiv, int& multiLine) const;

    const std::string& GetName() const { return m_strName; }
    int GetBaseId() const { return m_nBaseId; }
    void SetBaseId(int baseId) { m_nBaseId = baseId; }
    int IsHttpEquiv() const { return m_bHttpEquiv; }
    // Caption of the assistant button, "" when the row has none.
    const std::string& GetButton() const { return m_strButton; }
    int IsEditable() const { return m_bEditable; }
    int IsMultiLine() const { return m_bMultiLine; }
    int IsDropDown() const { return m_bDropDown; }
    FieldTag GetTag() const { return m_tag; }
    // The hreflang of an ALTERNATE field, as written in the page.
    const std::string& GetHreflang() const { return m_strHreflang; }
    void SetTag(FieldTag tag, std::string hreflang = {}) {
        m_tag = tag;
        m_strHreflang = std::move(hreflang);
    }

    // --- Kind and display mode ------------------------------------------------
    int GetKind() const { return m_nKind; }
    void SetKind(int kind) { m_nKind = kind; }
    int GetDisplay() const { return m_nDisplay; }
    void SetDisplay(int display) { m_nDisplay = display; }
    // Whether the row should be shown under its display mode: always, when the
    // value is not empty, or never; displayAll shows every row. An unknown mode
    // shows the row.
    int WantsVisible(int displayAll) const;

    // --- Layout state kept for the editing view -------------------------------
    int IsVisible() const { return m_bVisible; }
    void SetVisible(int visible) { m_bVisible = visible; }
    int GetTop() const { return m_nTop; }
    void SetTop(int top) { m_nTop = top; }
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int width) { m_nWidth = width; }
    int GetEditHeight() const { return m_nEditHeight; }
    void SetEditHeight(int height) { m_nEditHeight = height; }
    int IsTemplateMode() const { return m_bTemplateMode; }
    void SetTemplateMode(int templateMode) { m_bTemplateMode = templateMode; }

    // --- Controls --------------------------------------------------------------
    // The field takes ownership. Attaching null destroys the current controls.
    void AttachControls(std::unique_ptr<IFieldControls> controls);
    void DestroyControls() { m_controls.reset(); }
    // Destroys the controls, keeping their value and action in the field (a
    // row that scrolled far out of view).
    void ReleaseControls();
    int IsCreated() const { return m_controls ? 1 : 0; }
    IFieldControls* GetControls() const { return m_controls.get(); }

    // --- Value and template action ----------------------------------------------
    // The controls' text, or the stored value while there are none.
    std::string GetValue() const;
    // Into the controls when there are some, else into the stored value (kept
    // for a row created later).
    void SetValue(const std::string& text);
    // The selected template action's code, -1 for none.
    int GetAction() const;
    // Selects the first action with code; an unknown code selects nothing.
    void SetAction(int code);
    // The entries the row's action list offers, for the view to fill it.
    const CTemplateActionList& GetActionList() const { return m_actions; }

    // --- What the model holds ------------------------------------------------------
    // The value and action last loaded from the page or template or written
    // into it: a field whose value and action still equal them was not edited
    // since, and its tag is left alone.
    const std::string& GetCommittedValue() const { return m_strCommitted; }
    int GetCommittedAction() const { return m_nCommittedAction; }
    void SetCommitted(std::string value, int action) {
        m_strCommitted = std::move(value);
        m_nCommittedAction = action;
    }
    // The value or the action differs from what the model holds.
    int IsEdited() const;

    // --- Profile ----------------------------------------------------------------
    // Reads or writes this field's values in the "User" section: standard
    // fields under "FIB_<number>_" (display mode only), user fields under
    // "UIB_<number>_" (display mode, name, http-equiv and multi-line flags,
    // and "P": 1 for a property tag).
    void ReadProfile(const IProfile& profile, int number, int user);
    void WriteProfile(IProfile& profile, int number, int user) const;

private:
    std::string m_strName = "Unknown";
    int m_nBaseId = 0;
    int m_bHttpEquiv = 0;
    std::string m_strButton;
    int m_bEditable = 1;
    int m_bMultiLine = 0;
    int m_bDropDown = 0;
    int m_nTop = 20;
    int m_nWidth = 80;
    int m_nEditHeight = 0;
    int m_bVisible = 0;
    int m_nKind;
    int m_nDisplay = DISPLAY_IF_CONTENT;
    std::unique_ptr<IFieldControls> m_controls;
    int m_bTemplateMode = 0;
    std::string m_strValue;
    CTemplateActionList m_actions;
    std::string m_strCommitted;
    int m_nCommittedAction = ACTION_NEVER_CHANGE;
    FieldTag m_tag = FieldTag::META;
    std::string m_strHreflang;
};
