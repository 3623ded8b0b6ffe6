#include "assistants/options_custom_tags_page.h"

#include <utility>

CCustomTagsPage::CCustomTagsPage(CFieldList& fields, std::function<void()> refreshFields)
    : m_fields(fields), m_refreshFields(std::move(refreshFields)) {}

int CCustomTagsPage::OnSetActive() {
    if (m_bLoaded)
        return 1;
    for (int pos = STANDARD_FIELD_COUNT; pos < m_fields.GetCount(); ++pos)
        if (CFieldList::IsCustomField(m_fields.GetAt(pos)))
            m_userFields.push_back(std::make_unique<CMetaField>(m_fields.GetAt(pos)));
    m_bLoaded = 1;
    m_nCurrent = m_userFields.empty() ? -1 : 0;
    return 1;
}

std::vector<std::string> CCustomTagsPage::GetNames() const {
    std::vector<std::string> names;
    names.reserve(m_userFields.size());
    for (const auto& field : m_userFields)
        names.push_back(field->GetName());
    return names;
}

void CCustomTagsPage::OnSelChange(int index) {
    m_nCurrent = index >= 0 && index < GetCount() ? index : -1;
}

int CCustomTagsPage::GetCheckedMode() const {
    if (m_nCurrent < 0)
        return -1;
    const int mode = GetField(m_nCurrent).GetDisplay();
    return mode >= DISPLAY_ALWAYS && mode <= DISPLAY_NEVER ? mode : -1;
}

void CCustomTagsPage::OnModeClicked(int mode) {
    if (m_nCurrent < 0 || mode < DISPLAY_ALWAYS || mode > DISPLAY_NEVER)
        return;
    CMetaField& field = *m_userFields[static_cast<size_t>(m_nCurrent)];
    // A found tag whose name no user tag may have (a meta tag without a name
    // gives "") keeps its kind: stored as a user tag it would take every
    // nameless tag of every page as its own.
    if (mode != DISPLAY_IF_CONTENT && CDefineTagDlg::NameProblem(field.GetName()).empty())
        field.SetKind(FIELD_USER);
    field.SetDisplay(mode);
    m_bModified = 1;
}

std::vector<std::string> CCustomTagsPage::TakenNames(int self) const {
    std::vector<std::string> names;
    // Position 0 is the title, not a meta tag: a meta tag may be named "title".
    for (int pos = 1; pos < m_fields.GetCount(); ++pos)
        if (pos < STANDARD_FIELD_COUNT || m_fields.GetAt(pos).GetKind() == FIELD_GROUP)
            names.push_back(m_fields.GetAt(pos).GetName());
    for (int i = 0; i < GetCount(); ++i)
        if (i != self)
            names.push_back(GetField(i).GetName());
    return names;
}

int CCustomTagsPage::RunDefineDialog(const DefineTagRunner& runDialog, CDefineTagDlg& dlg) {
    if (!runDialog || runDialog(dlg) != 1)
        return 0;
    std::string message;
    return dlg.OnOK(message);
}

int CCustomTagsPage::OnAdd(const DefineTagRunner& runDialog) {
    if (!m_bLoaded)
        return 0;
    CDefineTagDlg dlg;
    dlg.SetTakenNames(TakenNames(-1));
    if (!RunDefineDialog(runDialog, dlg))
        return 0;
    auto field = std::make_unique<CMetaField>(FIELD_USER);
    field->Define(dlg.m_strName, dlg.m_bHttpEquiv, "", 1, dlg.m_bMultiLine, 0);
    field->SetTag(dlg.m_bProperty ? FieldTag::PROPERTY : FieldTag::META);
    field->SetDisplay(DISPLAY_ALWAYS);
    m_userFields.push_back(std::move(field));
    m_nCurrent = GetCount() - 1;
    m_bModified = 1;
    return 1;
}

int CCustomTagsPage::OnEdit(const DefineTagRunner& runDialog) {
    if (m_nCurrent < 0)
        return 0;
    CMetaField& field = *m_userFields[static_cast<size_t>(m_nCurrent)];
    CDefineTagDlg dlg;
    field.GetDefinition(dlg.m_strName, dlg.m_bHttpEquiv, dlg.m_bMultiLine);
    dlg.m_bProperty = field.GetTag() == FieldTag::PROPERTY;
    dlg.SetTakenNames(TakenNames(m_nCurrent));
    if (!RunDefineDialog(runDialog, dlg))
        return 0;
    field.Define(dlg.m_strName, dlg.m_bHttpEquiv, "", 1, dlg.m_bMultiLine, 0);
    field.SetTag(dlg.m_bProperty ? FieldTag::PROPERTY : FieldTag::META);
    m_bModified = 1;
    return 1;
}

int CCustomTagsPage::OnRemove() {
    if (m_nCurrent < 0)
        return 0;
    m_userFields.erase(m_userFields.begin() + m_nCurrent);
    if (m_nCurrent >= GetCount())
        m_nCurrent = GetCount() - 1;
    m_bModified = 1;
    return 1;
}

int CCustomTagsPage::OnApply() {
    if (!m_bLoaded)
        return 1;
    std::vector<std::unique_ptr<CMetaField>> copies;
    for (const auto& field : m_userFields)
        copies.push_back(std::make_unique<CMetaField>(*field));
    m_fields.ReplaceCustomFields(std::move(copies));
    if (m_refreshFields)
        m_refreshFields();
    m_bModified = 0;
    return 1;
}
