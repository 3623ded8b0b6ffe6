#include "form/field_form.h"

#include <algorithm>
#include <unordered_map>

#include "document/head_metas.h"
#include "document/page_text.h"
#include "document/tessel_doc.h"
#include "fields/field_catalogue.h"
#include "fields/field_groups.h"
#include "fields/field_names.h"
#include "fields/template_action.h"
#include "page/social_tags.h"

// While the form fills its fields, the changes they report are its own: the
// document does not track them and the form ignores them.
class CFieldForm::LoadingScope {
public:
    explicit LoadingScope(CFieldForm& form)
        : m_form(form), m_bTracking(form.m_doc.IsTrackingEdits()) {
        ++m_form.m_nLoading;
        m_form.m_doc.SetTrackEdits(0);
    }
    ~LoadingScope() {
        m_form.m_doc.SetTrackEdits(m_bTracking);
        --m_form.m_nLoading;
    }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    CFieldForm& m_form;
    int m_bTracking;
};

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

// FindField for many names: built once per load, so that a page of many
// distinct tags is read in linear time.
class CFieldForm::NameIndex {
public:
    // charset: the row that shows the page's charset, which no tag's name finds.
    NameIndex(const CFieldList& fields, int charset) {
        // Only the rows of meta tags: a property or link row of the same name
        // is another tag.
        for (int pos = 1; pos < fields.GetCount(); ++pos)
            if (pos != charset && fields.GetAt(pos).GetTag() == FieldTag::META)
                m_positions.emplace(AsciiLower(fields.GetAt(pos).GetName()), pos); // first wins
        for (int pos = STANDARD_FIELD_COUNT; pos < fields.GetCount(); ++pos)
            if (fields.GetAt(pos).GetKind() == FIELD_FOUND)
                ++m_nFound;
    }
    // Whether a field has the name; when none has, the name is taken for the
    // row that the caller adds next (SetLast).
    bool TakeName(std::string_view name) {
        const auto [it, added] = m_positions.try_emplace(AsciiLower(name), -1);
        m_last = added ? &it->second : nullptr;
        return added;
    }
    void SetLast(int pos) {
        if (m_last)
            *m_last = pos;
        ++m_nFound;
    }
    int FoundCount() const { return m_nFound; }

private:
    std::unordered_map<std::string, int> m_positions;
    int* m_last = nullptr;
    int m_nFound = 0;
};

CFieldForm::CFieldForm(CTesselDoc& doc) : m_doc(doc) {}

// --- Settings ---------------------------------------------------------------------------

void CFieldForm::LoadSettings(const IProfile& profile, CAppSettings& settings) {
    m_fields.LoadSettings(profile, settings);
    RefreshFields();
}

void CFieldForm::SaveSettings(IProfile& profile, const CAppSettings& settings) const {
    m_fields.SaveSettings(profile, settings);
}

// --- Filling the fields ---------------------------------------------------------------------

void CFieldForm::OnInitialUpdate() {
    LoadingScope loading(*this);
    RemoveFoundFields();
    m_pageCodec = CPageCodec::ForPage(m_doc.GetPageText(), m_doc.GetPage());
    // A page opened while the template is edited leaves the template on show.
    if (m_doc.IsEditingTemplate())
        LoadFromTemplate();
    else
        LoadFromPage();
    UpdateVisibility();
    ReportTagsLeftOut();
}

void CFieldForm::OnUpdate() {
    if (m_doc.IsEditingTemplate())
        LoadFromTemplate();
    else
        LoadFromPage();
}

void CFieldForm::RemoveFoundFields() {
    m_fields.RemoveFoundFields();
    RenumberFields();
}

int CFieldForm::FindField(std::string_view name, FieldTag tag) const {
    // The charset row is no meta tag of that name.
    const int charset = CharsetField();
    for (int pos = 1; pos < m_fields.GetCount(); ++pos) {
        const CMetaField& field = m_fields.GetAt(pos);
        if (pos != charset && field.GetTag() == tag && EqualsNoCase(field.GetName(), name))
            return pos;
    }
    return -1;
}

int CFieldForm::FindAlternate(std::string_view hreflang) const {
    for (int pos = STANDARD_FIELD_COUNT; pos < m_fields.GetCount(); ++pos) {
        const CMetaField& field = m_fields.GetAt(pos);
        if (field.GetTag() == FieldTag::ALTERNATE && EqualsNoCase(field.GetHreflang(), hreflang))
            return pos;
    }
    return -1;
}

int CFieldForm::CharsetField() const {
    for (int pos = STANDARD_FIELD_COUNT; pos < m_fields.GetCount(); ++pos) {
        const CMetaField& field = m_fields.GetAt(pos);
        if (field.GetKind() == FIELD_FOUND && !field.IsEditable() &&
            field.GetTag() == FieldTag::META)
            return pos;
    }
    return -1;
}

void CFieldForm::ShowCharset(const CHtmlPage& page) {
    const std::string charset = MetaCharsetOf(page);
    int pos = CharsetField();
    if (pos < 0) {
        if (charset.empty())
            return;
        auto field = std::make_unique<CMetaField>(FIELD_FOUND);
        field->Define(kCharsetRowName, 0, "", 0, 0, 0);
        field->SetBaseId(BaseId(m_fields.GetCount()));
        pos = m_fields.AddField(std::move(field));
    }
    // A charset is ASCII in every encoding a page can declare one in.
    SetLoaded(pos, QString::fromLatin1(charset.data(), static_cast<qsizetype>(charset.size())));
}

int CFieldForm::EncodeName(int pos, const CPageCodec& codec, std::string& bytes) const {
    QString error;
    return codec.Encode(Text(m_fields.GetAt(pos).GetName()), bytes, error);
}

void CFieldForm::SetLoaded(int pos, const QString& value) {
    CMetaField& field = m_fields.GetAt(pos);
    field.SetValue(value.toStdString());
    // What the widgets hold, which is what a later comparison reads.
    field.SetCommitted(field.GetValue(), field.GetAction());
}

int CFieldForm::AddFoundField(const std::string& name, int httpEquiv, FieldTag tag) {
    auto field = std::make_unique<CMetaField>(FIELD_FOUND);
    field->Define(name, httpEquiv, "", 1, 0, 0);
    field->SetTag(tag);
    field->SetBaseId(BaseId(m_fields.GetCount()));
    return m_fields.AddField(std::move(field));
}

void CFieldForm::MeetProperty(const std::string& property, const CPageCodec& codec) {
    if (TrimWhiteSpace(property).empty())
        return;
    const std::string text = codec.Decode(property).toStdString();
    if (FindField(text, FieldTag::PROPERTY) < 0)
        AddFoundField(text, 0, FieldTag::PROPERTY);
}

void CFieldForm::MeetAlternate(const std::string& hreflang, const CPageCodec& codec) {
    if (TrimWhiteSpace(hreflang).empty())
        return;
    const std::string text = codec.Decode(hreflang).toStdString();
    if (FindAlternate(text) >= 0)
        return;
    auto field = std::make_unique<CMetaField>(FIELD_FOUND);
    field->Define(AlternateRowName(text), 0, "", 1, 0, 0);
    field->SetTag(FieldTag::ALTERNATE, text);
    m_fields.InsertField(m_fields.AlternateInsertPosition(), std::move(field));
    RenumberFields();
}

std::string CFieldForm::AlternateRowName(const std::string& hreflang) {
    return "alternate " + hreflang;
}

void CFieldForm::RenumberFields() {
    for (int pos = STANDARD_FIELD_COUNT; pos < m_fields.GetCount(); ++pos)
        m_fields.GetAt(pos).SetBaseId(BaseId(pos));
}

void CFieldForm::MeetSocialTags(const CHtmlPage& page, const CPageCodec& codec) {
    std::string property, content;
    for (int n = 0; GetPropertyAt(page, n, property, content); ++n)
        MeetProperty(property, codec);
    for (const CHeadLink& link : ListHeadLinks(page))
        if (link.kind == LinkKind::ALTERNATE)
            MeetAlternate(link.hreflang, codec);
}

CHtmlSection* CFieldForm::FindTagOf(const CHtmlPage& page, int pos, const CPageCodec& codec,
                                    std::string& value) const {
    const CMetaField& field = m_fields.GetAt(pos);
    std::string key;
    value.clear();
    switch (field.GetTag()) {
    case FieldTag::META:
        if (!EncodeName(pos, codec, key) || !page.FindMeta(key))
            return nullptr;
        value = page.GetMetaContent(key);
        return page.FindMeta(key);
    case FieldTag::PROPERTY: {
        if (!EncodeName(pos, codec, key))
            return nullptr;
        const POSITION at = FindProperty(page, key);
        if (at)
            value = GetPropertyContent(page, key);
        return at;
    }
    case FieldTag::CANONICAL:
    case FieldTag::ALTERNATE: {
        const LinkKind kind =
            field.GetTag() == FieldTag::CANONICAL ? LinkKind::CANONICAL : LinkKind::ALTERNATE;
        QString error;
        if (kind == LinkKind::ALTERNATE && !codec.Encode(Text(field.GetHreflang()), key, error))
            return nullptr;
        const POSITION at = FindLink(page, kind, key);
        if (at)
            value = GetLinkHref(page, kind, key);
        return at;
    }
    case FieldTag::LANG: {
        const POSITION at = FindHtmlTag(page);
        if (at && !GetHtmlLang(page, value))
            return nullptr;
        return at;
    }
    }
    return nullptr;
}

int CFieldForm::MeetTag(const std::string& name, int httpEquiv, const CPageCodec& codec,
                        NameIndex& index) {
    // Tags without a name (charset, property, itemprop) are no field: a row
    // for them would write a tag of its own under an empty name.
    if (TrimWhiteSpace(name).empty())
        return -1;
    const std::string text = codec.Decode(name).toStdString();
    if (!index.TakeName(text))
        return -1;
    if (index.FoundCount() >= MAX_FOUND_FIELDS) {
        ++m_nTagsLeftOut; // once per name: it stays taken
        return -1;
    }
    const int pos = AddFoundField(text, httpEquiv);
    index.SetLast(pos);
    return pos;
}

void CFieldForm::ReportTagsLeftOut() {
    if (m_nTagsLeftOut == 0)
        return;
    if (IUserPrompt* prompt = m_doc.GetPrompt()) {
        prompt->Info(QStringLiteral("This page has more meta tags than the form can show: the "
                                    "first %1 names get a row each, %2 further names none. "
                                    "They stay in the page as they are; tsle-cli show lists them.")
                         .arg(MAX_FOUND_FIELDS)
                         .arg(m_nTagsLeftOut)
                         .toStdString());
    }
}

void CFieldForm::LoadFromPage() {
    LoadingScope loading(*this);
    m_bShowingTemplate = 0;
    const CHtmlPage& page = m_doc.GetPage();
    std::string name, content;
    int httpEquiv = 0;
    // The property and alternate rows first: an alternate row goes into the
    // Search group, before the rows of the meta tags met below.
    MeetSocialTags(page, m_pageCodec);
    NameIndex index(m_fields, CharsetField());
    m_nTagsLeftOut = 0;
    // A row made for a tag shows that tag, the first of its name.
    const int firstNew = m_fields.GetCount();
    std::vector<std::string> newContent;
    for (int n = 0; m_doc.GetPageMetaAt(n, name, content, httpEquiv); ++n)
        if (MeetTag(name, httpEquiv, m_pageCodec, index) >= 0)
            newContent.push_back(content);
    SetLoaded(0, m_pageCodec.DecodeValue(page.GetTitle(), RefPlace::TEXT));
    // Each field shows the tag its edits would change: the first of its name
    // anywhere in the page, even after the body tag.
    const int charset = CharsetField();
    for (int pos = 1; pos < m_fields.GetCount(); ++pos) {
        if (pos >= firstNew) {
            SetLoaded(pos, m_pageCodec.DecodeValue(newContent[static_cast<size_t>(pos - firstNew)],
                                                   RefPlace::ATTRIBUTE));
            continue;
        }
        if (pos == charset)
            continue;
        std::string value;
        FindTagOf(page, pos, m_pageCodec, value);
        SetLoaded(pos, m_pageCodec.DecodeValue(value, RefPlace::ATTRIBUTE));
    }
    ShowCharset(page);
    ShowWanted();
}

void CFieldForm::LoadFromTemplate() {
    LoadingScope loading(*this);
    m_bShowingTemplate = 1;
    m_templateCodec = CPageCodec::ForPage(m_doc.GetTemplateText(), m_doc.GetTemplatePage());
    const CHtmlPage& page = m_doc.GetTemplatePage();
    std::string name, content;
    int httpEquiv = 0, action = 0;
    MeetSocialTags(page, m_templateCodec);
    NameIndex index(m_fields, CharsetField());
    m_nTagsLeftOut = 0;
    const int firstNew = m_fields.GetCount();
    std::vector<std::pair<std::string, int>> newValues;
    for (int n = 0; m_doc.GetTemplateMetaAt(n, name, content, httpEquiv, action); ++n)
        if (MeetTag(name, httpEquiv, m_templateCodec, index) >= 0)
            newValues.emplace_back(content, action);

    std::string title;
    int titleAction = ACTION_NEVER_CHANGE;
    if (!m_doc.GetTemplateTitle(title, titleAction))
        titleAction = ACTION_NEVER_CHANGE;
    m_fields.GetAt(0).SetAction(titleAction);
    SetLoaded(0, m_templateCodec.DecodeValue(title, RefPlace::TEXT));
    const int charset = CharsetField();
    for (int pos = 1; pos < m_fields.GetCount(); ++pos) {
        CMetaField& field = m_fields.GetAt(pos);
        if (pos >= firstNew) {
            const auto& [newValue, tagAction] = newValues[static_cast<size_t>(pos - firstNew)];
            field.SetAction(tagAction);
            SetLoaded(pos, m_templateCodec.DecodeValue(newValue, RefPlace::ATTRIBUTE));
            continue;
        }
        std::string value;
        const POSITION tag =
            pos == charset ? nullptr : FindTagOf(page, pos, m_templateCodec, value);
        if (pos == charset) {
            field.SetAction(ACTION_NEVER_CHANGE);
        } else if (tag && (field.GetTag() != FieldTag::LANG || !value.empty() ||
                           page.GetTagAction(tag) >= 0)) {
            const int tagAction = page.GetTagAction(tag);
            field.SetAction(tagAction < 0 ? ACTION_NEVER_CHANGE : tagAction);
            SetLoaded(pos, m_templateCodec.DecodeValue(value, RefPlace::ATTRIBUTE));
        } else {
            field.SetAction(ACTION_NEVER_CHANGE);
            SetLoaded(pos, QString());
        }
    }
    ShowCharset(page);
    ShowWanted();
}

void CFieldForm::ShowWanted() {
    for (int pos = 0; pos < m_fields.GetCount(); ++pos) {
        CMetaField& field = m_fields.GetAt(pos);
        if (field.WantsVisible(m_bDisplayAll))
            field.SetVisible(1);
    }
}

void CFieldForm::UpdateVisibility() {
    for (int pos = 0; pos < m_fields.GetCount(); ++pos) {
        CMetaField& field = m_fields.GetAt(pos);
        field.SetVisible(field.WantsVisible(m_bDisplayAll));
    }
}

void CFieldForm::RefreshFields() {
    RenumberFields();
    UpdateVisibility();
}

void CFieldForm::AttachControls(int pos, std::unique_ptr<IFieldControls> controls) {
    if (pos < 0 || pos >= m_fields.GetCount() || !controls)
        return;
    LoadingScope loading(*this);
    CMetaField& field = m_fields.GetAt(pos);
    const bool edited = field.IsEdited();
    controls->SetValue(field.GetValue());
    controls->SetAction(field.GetAction());
    field.AttachControls(std::move(controls));
    if (!edited)
        field.SetCommitted(field.GetValue(), field.GetAction());
}

void CFieldForm::ToggleDisplayAll() {
    m_bDisplayAll = !m_bDisplayAll;
    RefreshFields();
}

// --- Editing ----------------------------------------------------------------------------------

void CFieldForm::OnValueChanged(int pos) {
    if (IsLoading() || !m_doc.IsTrackingEdits())
        return;
    m_nChangedField = pos >= 0 && pos < m_fields.GetCount() ? pos : -1;
    CommitFields();
}

void CFieldForm::OnActionChanged(int pos) {
    (void)pos;
    if (IsLoading() || !m_doc.IsTrackingEdits())
        return;
    CommitFields();
}

void CFieldForm::SetValueAsTyped(int pos, const std::string& value) {
    if (pos < 0 || pos >= m_fields.GetCount())
        return;
    CMetaField& field = m_fields.GetAt(pos);
    // Widgets report the change themselves; a field without them does not.
    field.SetValue(value);
    if (field.IsEdited())
        OnValueChanged(pos);
}

int CFieldForm::CommitFields() {
    int written = 0;
    for (int pos = 0; pos < m_fields.GetCount(); ++pos) {
        if (m_fields.GetAt(pos).IsEdited() && WriteField(pos))
            ++written;
    }
    if (written) {
        if (m_bShowingTemplate)
            m_doc.SetTemplateModified(1);
        else
            m_doc.SetModifiedFlag(1);
    }
    return written;
}

int CFieldForm::WriteField(int pos) {
    if (pos == CharsetField())
        return 0; // shown, never written
    CMetaField& field = m_fields.GetAt(pos);
    const CPageCodec& codec = m_bShowingTemplate ? m_templateCodec : m_pageCodec;
    std::string value, name;
    QString error;
    if (!codec.EncodeValue(Text(field.GetValue()), pos == 0 ? RefPlace::TEXT : RefPlace::ATTRIBUTE,
                           value, error) ||
        (pos > 0 && !codec.Encode(Text(field.GetName()), name, error))) {
        Refuse(pos, error);
        return 0;
    }
    const int action = field.GetAction();
    if (pos > 0 && field.GetTag() != FieldTag::META) {
        if (!WriteSocialField(pos, name, value, action))
            return 0;
    } else if (!m_bShowingTemplate) {
        if (pos == 0)
            m_doc.SetPageTitle(value);
        else
            m_doc.SetMetaValue(name, value, field.IsHttpEquiv());
    } else if (pos == 0) {
        m_doc.SetTemplateTitle(value, action);
    } else if (TrimWhiteSpace(value).empty() && action != ACTION_REMOVE) {
        // An empty value says nothing to apply: no tag, rather than content="".
        m_doc.RemoveTemplateMeta(name);
    } else {
        m_doc.SetTemplateMeta(name, value, field.IsHttpEquiv(), action);
    }
    field.SetCommitted(field.GetValue(), action);
    return 1;
}

int CFieldForm::WriteSocialField(int pos, const std::string& name, const std::string& value,
                                 int action) {
    const CMetaField& field = m_fields.GetAt(pos);
    const CPageCodec& codec = m_bShowingTemplate ? m_templateCodec : m_pageCodec;
    // An empty value says nothing to apply in a template: no tag.
    const bool remove =
        TrimWhiteSpace(value).empty() && (!m_bShowingTemplate || action != ACTION_REMOVE);
    switch (field.GetTag()) {
    case FieldTag::PROPERTY:
        if (!m_bShowingTemplate)
            m_doc.SetPropertyValue(name, value);
        else if (remove)
            m_doc.RemoveTemplateProperty(name);
        else
            m_doc.SetTemplateProperty(name, value, action);
        return 1;
    case FieldTag::CANONICAL:
    case FieldTag::ALTERNATE: {
        const LinkKind kind =
            field.GetTag() == FieldTag::CANONICAL ? LinkKind::CANONICAL : LinkKind::ALTERNATE;
        std::string hreflang;
        QString error;
        if (kind == LinkKind::ALTERNATE &&
            !codec.Encode(Text(field.GetHreflang()), hreflang, error)) {
            Refuse(pos, error);
            return 0;
        }
        if (!m_bShowingTemplate)
            m_doc.SetLinkValue(kind, hreflang, value);
        else if (remove)
            m_doc.RemoveTemplateLink(kind, hreflang);
        else
            m_doc.SetTemplateLink(kind, hreflang, value, action);
        return 1;
    }
    case FieldTag::LANG: {
        int done = 1;
        if (!m_bShowingTemplate)
            done = m_doc.SetPageLang(value) || remove;
        else if (remove)
            m_doc.RemoveTemplateLang();
        else
            done = m_doc.SetTemplateLang(value, action);
        if (!done)
            Refuse(pos, QStringLiteral("The page has no <html> tag to hold its language."));
        return done;
    }
    case FieldTag::META:
        break;
    }
    return 0;
}

void CFieldForm::Refuse(int pos, const QString& reason) {
    CMetaField& field = m_fields.GetAt(pos);
    {
        LoadingScope loading(*this);
        field.SetValue(field.GetCommittedValue());
        field.SetAction(field.GetCommittedAction());
    }
    if (IUserPrompt* prompt = m_doc.GetPrompt()) {
        prompt->Info((reason + QStringLiteral("\nThe field \"%1\" keeps its previous value.")
                                   .arg(Text(field.GetName())))
                         .toStdString());
    }
}

// --- Focus and status text ----------------------------------------------------------------------

void CFieldForm::OnControlEntered(int pos, int control) {
    if (pos < 0 || pos >= m_fields.GetCount())
        return;
    switch (control) {
    case CONTROL_VALUE:
        if (pos < STANDARD_FIELD_COUNT)
            m_strStatus =
                Text(std::string(STANDARD_CATALOGUE[static_cast<size_t>(pos)].description));
        else if (const int entry = GroupEntryOf(m_fields.GetAt(pos)); entry >= 0)
            m_strStatus =
                Text(std::string(GROUP_CATALOGUE[static_cast<size_t>(entry)].description));
        else
            m_strStatus.clear();
        m_nFocusField = m_nCurrentField = pos;
        break;
    case CONTROL_ACTION:
        m_strStatus.clear();
        m_nFocusField = m_nCurrentField = pos;
        break;
    default: // a button is no clipboard target
        m_strStatus.clear();
        m_nFocusField = -1;
        break;
    }
}

void CFieldForm::OnControlLeft(int pos, int control) {
    (void)pos;
    (void)control;
    m_strStatus.clear();
    m_nFocusField = -1;
}

int CFieldForm::FocusTarget(bool toFirst) const {
    if (m_fields.GetCount() == 0)
        return -1;
    int pos = m_nCurrentField;
    if (toFirst || pos < 0 || pos >= m_fields.GetCount())
        pos = 0;
    // A row of a long form may be without widgets while out of view; the
    // view makes them before it gives the focus.
    return m_fields.GetAt(pos).IsVisible() ? pos : -1;
}

// --- Clipboard and undo
// ----------------------------------------------------------------------------

const CMetaField* CFieldForm::EditBoxAt(int pos) const {
    if (pos < 0 || pos >= m_fields.GetCount())
        return nullptr;
    const CMetaField& field = m_fields.GetAt(pos);
    if (!field.IsEditable() || field.IsDropDown() || !field.IsCreated())
        return nullptr;
    return &field;
}

IFieldControls* CFieldForm::EditControlsAt(int pos) const {
    const CMetaField* field = EditBoxAt(pos);
    return field ? field->GetControls() : nullptr;
}

int CFieldForm::CanCut() const {
    return CanCopy();
}

int CFieldForm::CanCopy() const {
    const IFieldControls* controls = EditControlsAt(m_nFocusField);
    return controls && controls->HasSelection() ? 1 : 0;
}

int CFieldForm::CanPaste() const {
    return EditControlsAt(m_nFocusField) ? 1 : 0;
}

int CFieldForm::CanUndo() const {
    const IFieldControls* controls = EditControlsAt(m_nChangedField);
    return controls && controls->CanUndo() ? 1 : 0;
}

void CFieldForm::Cut() {
    if (CanCut())
        EditControlsAt(m_nFocusField)->Cut();
}

void CFieldForm::Copy() {
    if (CanCopy())
        EditControlsAt(m_nFocusField)->Copy();
}

void CFieldForm::Paste() {
    if (CanPaste())
        EditControlsAt(m_nFocusField)->Paste();
}

void CFieldForm::Undo() {
    if (CanUndo())
        EditControlsAt(m_nChangedField)->Undo();
}

// --- Assistants
// ------------------------------------------------------------------------------------

QString CFieldForm::GetPageBodyText() const {
    return PageReaderText(m_doc.GetPage(), m_pageCodec);
}

// --- Layout
// ------------------------------------------------------------------------------------------

CFormLayout CFieldForm::Layout(int clientWidth) {
    CFormLayout layout = LayoutForm(m_fields, clientWidth, m_doc.IsTemplateOpen(),
                                    m_bMeters && !m_doc.IsEditingTemplate());
    for (const CRowLayout& row : layout.rows) {
        CMetaField& field = m_fields.GetAt(row.pos);
        field.SetTop(row.top);
        field.SetWidth(layout.content.width());
        field.SetEditHeight(row.height - ROW_SPACING);
        field.SetTemplateMode(m_doc.IsEditingTemplate());
    }
    return layout;
}

std::vector<TabStop> CFieldForm::GetTabOrder() const {
    return TabOrder(m_fields, m_doc.IsTemplateOpen(), m_doc.IsEditingTemplate());
}

int CFieldForm::ScrollToShow(int pos, int scroll, int clientHeight) const {
    if (pos < 0 || pos >= m_fields.GetCount())
        return scroll;
    const CMetaField& field = m_fields.GetAt(pos);
    if (!field.IsVisible())
        return scroll;
    const int top = field.GetTop();
    const int height = field.GetEditHeight() + ROW_SPACING;
    if (top < scroll)
        return top;
    if (top + height > scroll + clientHeight)
        return top + height - clientHeight;
    return scroll;
}

QString CFieldForm::TemplateBarText() const {
    return (m_doc.IsEditingTemplate() ? QStringLiteral("Editing template - ")
                                      : QStringLiteral("Template - ")) +
           m_doc.GetTemplateName();
}

QString CFieldForm::EditButtonText() const {
    return m_doc.IsEditingTemplate() ? QStringLiteral("End editing")
                                     : QStringLiteral("Edit template");
}

int CFieldForm::IsApplyEnabled() const {
    return m_doc.IsEditingTemplate() ? 0 : 1;
}
