// CFieldForm: the meta-data form's rules, without widgets.
//
// The form owns the field list and works on the document: it fills the
// fields from the page (or from the template while that is edited), adds a
// row for every further named meta tag and drops those rows when another page
// comes, decides which rows show, writes what the user changed back into the
// model, and keeps the focused and the last changed field for the status text,
// the clipboard commands and their enable states. The editing view creates the
// widgets of each row, attaches them to the fields (AttachControls) and
// forwards what happens in them (OnValueChanged, OnControlEntered ...).
//
// Field values are text (UTF-8) as a reader sees it. The page's bytes are
// decoded with the page's codec, decided when the page comes, and their
// character references resolved ("&amp;" shows as "&"); what the user
// changed is written with "&" escaped where it would start a reference and
// encoded with the same codec, and a field nobody changed is never written,
// so its tag keeps its bytes. A character the encoding cannot hold is
// refused: the user is told through the document's prompt and the field goes
// back to its last written value. A page's <meta charset> shows as a
// read-only row named "charset", which is never written.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/page_codec.h"
#include "fields/field_list.h"
#include "form/form_layout.h"

class CHtmlPage;
class CHtmlSection;
class CTesselDoc;

// At most this many rows are added for the meta tags of a page or template
// that no field names: a form taller than that cannot be laid out. The tags
// past them stay in the page as they are.
inline constexpr int MAX_FOUND_FIELDS = 100000;

class CFieldForm {
public:
    // doc must outlive the form.
    explicit CFieldForm(CTesselDoc& doc);
    CFieldForm(const CFieldForm&) = delete;
    CFieldForm& operator=(const CFieldForm&) = delete;

    CFieldList& GetFields() { return m_fields; }
    const CFieldList& GetFields() const { return m_fields; }
    CTesselDoc& GetDocument() const { return m_doc; }

    // --- Settings ---------------------------------------------------------------------
    // The fields' display modes, the user fields and the file types.
    void LoadSettings(const IProfile& profile, CAppSettings& settings);
    void SaveSettings(IProfile& profile, const CAppSettings& settings) const;

    // --- Filling the fields -------------------------------------------------------------
    // A page was created or opened: the rows found in the last page go, the
    // page's encoding is decided, the fields are filled and the display modes
    // applied.
    void OnInitialUpdate();
    // The document changed the page or the template: the fields are filled
    // again (from the template while it is edited); rows that now have
    // something to show are shown, none is hidden.
    void OnUpdate();
    void RemoveFoundFields();
    // Position of the field named name (ASCII case ignored; never the title
    // nor the charset row) among the fields of tag kind tag, or -1.
    int FindField(std::string_view name, FieldTag tag = FieldTag::META) const;
    // Position of the row of the hreflang alternate link for hreflang, or -1.
    int FindAlternate(std::string_view hreflang) const;
    // The label (and accessible name) of the row of an hreflang alternate.
    static std::string AlternateRowName(const std::string& hreflang);
    // Position of the read-only row that shows the page's <meta charset>, or -1.
    int CharsetField() const;
    static constexpr char kCharsetRowName[] = "charset";
    void LoadFromPage();
    void LoadFromTemplate();
    // Every row shown or hidden by its display mode and the all-fields switch.
    void UpdateVisibility();
    // After the options or the all-fields switch: ids renumbered, visibility.
    void RefreshFields();
    // Gives the field at pos its widgets: they show the field's value and
    // action, and the field reads and writes through them from now on.
    void AttachControls(int pos, std::unique_ptr<IFieldControls> controls);

    int IsDisplayAll() const { return m_bDisplayAll; }
    void ToggleDisplayAll();

    // --- Editing ------------------------------------------------------------------------
    // The value box at pos changed (typed, pasted, undone, or set by an
    // assistant). While the document tracks edits, every edited field is
    // written and the page (or template) is marked modified.
    void OnValueChanged(int pos);
    // The template action list at pos changed.
    void OnActionChanged(int pos);
    // Puts value into the field at pos as if the user had typed it.
    void SetValueAsTyped(int pos, const std::string& value);
    // Writes every edited field into the page or template; returns how many
    // were written.
    int CommitFields();

    // --- Focus and status text ---------------------------------------------------------
    // A control (FormControl) of the row at pos got or lost the keyboard focus.
    void OnControlEntered(int pos, int control);
    void OnControlLeft(int pos, int control);
    // The status bar's text for the focused control; "" means idle.
    const QString& GetStatusText() const { return m_strStatus; }
    int GetFocusField() const { return m_nFocusField; }
    int GetChangedField() const { return m_nChangedField; }
    int GetCurrentField() const { return m_nCurrentField; }
    // The field whose box takes the focus when the view gets it (the one last
    // entered, or the title when toFirst or when that one is gone), -1 when it
    // is hidden.
    int FocusTarget(bool toFirst) const;

    // --- Clipboard and undo (on editable edit boxes only) --------------------------------
    int CanCut() const;
    int CanCopy() const;
    int CanPaste() const;
    int CanUndo() const;
    void Cut();
    void Copy();
    void Paste();
    void Undo();

    // --- Assistants -----------------------------------------------------------------------
    // The id the assistant button of the row at pos dispatches on (21 for the
    // description, 81 for robots ...).
    static int AssistantButtonId(int pos) { return BaseId(pos) + 1; }
    static int BaseId(int pos) { return 10 * (pos + 1); }
    // The text a reader sees in the open page's body (never the
    // template's), decoded: what the suggestions work on.
    QString GetPageBodyText() const;

    // --- Encodings --------------------------------------------------------------------------
    const CPageCodec& GetPageCodec() const { return m_pageCodec; }
    const CPageCodec& GetTemplateCodec() const { return m_templateCodec; }

    // --- Layout -------------------------------------------------------------------------------
    // Lays out the shown rows for a view clientWidth wide (96-dpi pixels) and
    // keeps each row's place in its field.
    CFormLayout Layout(int clientWidth);
    // Whether the title and description rows show length meters (not while
    // a template is edited: its action lists stand there).
    void SetMeters(bool meters) { m_bMeters = meters; }
    bool HasMeters() const { return m_bMeters; }
    std::vector<TabStop> GetTabOrder() const;
    // Where to scroll so that the row at pos shows: scroll when it already
    // does (or is hidden).
    int ScrollToShow(int pos, int scroll, int clientHeight) const;
    // The template bar's text and the texts and state of its buttons.
    QString TemplateBarText() const;
    QString EditButtonText() const;
    int IsApplyEnabled() const;

private:
    class LoadingScope;
    bool IsLoading() const { return m_nLoading > 0; }
    // The field's name as bytes of the given codec; 0 when it cannot be written.
    int EncodeName(int pos, const CPageCodec& codec, std::string& bytes) const;
    // Value and action as loaded: shown and held as written.
    void SetLoaded(int pos, const QString& value);
    int AddFoundField(const std::string& name, int httpEquiv, FieldTag tag = FieldTag::META);
    // Rows for the property tags and hreflang alternates of page that no
    // field shows yet.
    void MeetSocialTags(const CHtmlPage& page, const CPageCodec& codec);
    void MeetProperty(const std::string& property, const CPageCodec& codec);
    void MeetAlternate(const std::string& hreflang, const CPageCodec& codec);
    // The tag the field at pos reads and writes in page, with its value (as
    // stored); null (and "") when the page has none.
    CHtmlSection* FindTagOf(const CHtmlPage& page, int pos, const CPageCodec& codec,
                            std::string& value) const;
    // Writes a property, link or language field; 0 when it could not be.
    int WriteSocialField(int pos, const std::string& name, const std::string& value, int action);
    // Control ids follow the positions after the catalogue.
    void RenumberFields();
    // The meta tags' fields by name (ASCII case ignored, never the title or the charset
    // row), for meeting many tags at once.
    class NameIndex;
    // A meta tag of the page or template: a row for it when it has a name
    // that no field has. Returns the new row's position, or -1.
    int MeetTag(const std::string& name, int httpEquiv, const CPageCodec& codec, NameIndex& index);
    // Tells the user once when tags were left without a row.
    void ReportTagsLeftOut();
    void ShowWanted();
    // The charset row: added when page declares a <meta charset>, filled.
    void ShowCharset(const CHtmlPage& page);
    // Writes the field at pos; 0 when its text cannot be encoded (the field
    // then goes back to what was written last, and the user is told).
    int WriteField(int pos);
    void Refuse(int pos, const QString& reason);
    // The field at pos when it is an editable edit box with widgets, else null.
    const CMetaField* EditBoxAt(int pos) const;
    IFieldControls* EditControlsAt(int pos) const;

    CTesselDoc& m_doc;
    CFieldList m_fields;
    CPageCodec m_pageCodec;
    CPageCodec m_templateCodec;
    int m_nFocusField = -1;
    int m_nChangedField = -1;
    int m_nCurrentField = 0;
    int m_bDisplayAll = 0;
    // The fields show the template (else the page).
    int m_bShowingTemplate = 0;
    int m_nLoading = 0;
    bool m_bMeters = false;
    // Tags met in the last load that got no row (past MAX_FOUND_FIELDS).
    long long m_nTagsLeftOut = 0;
    QString m_strStatus;
};
