#include "fields/meta_field.h"

#include <cstdio>

namespace {

std::string ProfilePrefix(int number, int user) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, user ? "UIB_%i_" : "FIB_%i_", number);
    return prefix;
}

} // namespace

CMetaField::CMetaField(int kind) : m_nKind(kind) {}

CMetaField::CMetaField(const CMetaField& other)
    : m_strName(other.m_strName), m_nBaseId(other.m_nBaseId), m_bHttpEquiv(other.m_bHttpEquiv),
      m_strButton(other.m_strButton), m_bEditable(other.m_bEditable),
      m_bMultiLine(other.m_bMultiLine), m_bDropDown(other.m_bDropDown), m_nTop(other.m_nTop),
      m_nWidth(other.m_nWidth), m_nEditHeight(other.m_nEditHeight), m_nKind(other.m_nKind),
      m_nDisplay(other.m_nDisplay), m_strValue(other.GetValue()),
      m_actions(CTemplateActionList::OffersAddEntries(m_strName, m_bMultiLine)),
      m_strCommitted(other.m_strCommitted), m_nCommittedAction(other.m_nCommittedAction),
      m_tag(other.m_tag), m_strHreflang(other.m_strHreflang) {
    m_actions.SelectAction(other.GetAction());
}

CMetaField::~CMetaField() = default;

void CMetaField::Define(std::string_view name, int httpEquiv, std::string_view button, int editable,
                        int multiLine, int dropDown) {
    m_strName = name;
    m_bHttpEquiv = httpEquiv;
    m_strButton = button;
    m_bEditable = editable;
    m_bMultiLine = multiLine;
    m_bDropDown = dropDown;
    m_actions = CTemplateActionList(CTemplateActionList::OffersAddEntries(name, multiLine));
}

void CMetaField::GetDefinition(std::string& name, int& httpEquiv, int& multiLine) const {
    name = m_strName;
    httpEquiv = m_bHttpEquiv;
    multiLine = m_bMultiLine;
}

int CMetaField::WantsVisible(int displayAll) const {
    switch (m_nDisplay) {
    case DISPLAY_IF_CONTENT:
        if (displayAll)
            return 1;
        return (m_controls ? !m_controls->GetValue().empty() : !m_strValue.empty()) ? 1 : 0;
    case DISPLAY_NEVER:
        return displayAll ? 1 : 0;
    default:
        return 1;
    }
}

void CMetaField::AttachControls(std::unique_ptr<IFieldControls> controls) {
    m_controls = std::move(controls);
}

std::string CMetaField::GetValue() const {
    return m_controls ? m_controls->GetValue() : m_strValue;
}

void CMetaField::SetValue(const std::string& text) {
    if (m_controls)
        m_controls->SetValue(text);
    else
        m_strValue = text;
}

int CMetaField::GetAction() const {
    return m_controls ? m_controls->GetAction() : m_actions.GetAction();
}

void CMetaField::SetAction(int code) {
    if (m_controls)
        m_controls->SetAction(code);
    else
        m_actions.SelectAction(code);
}

int CMetaField::IsEdited() const {
    // Without controls, compared in place: a form of many rows asks this of
    // every row at each keystroke.
    if (!m_controls)
        return m_strValue != m_strCommitted || m_actions.GetAction() != m_nCommittedAction ? 1 : 0;
    return GetValue() != m_strCommitted || GetAction() != m_nCommittedAction ? 1 : 0;
}

void CMetaField::ReleaseControls() {
    if (!m_controls)
        return;
    m_strValue = m_controls->GetValue();
    m_actions.SelectAction(m_controls->GetAction());
    m_controls.reset();
}

void CMetaField::ReadProfile(const IProfile& profile, int number, int user) {
    const std::string prefix = ProfilePrefix(number, user);
    m_nDisplay = profile.GetProfileInt(PROFILE_SECTION_USER, prefix + "D", m_nDisplay);
    if (!user)
        return;
    const std::string name =
        profile.GetProfileString(PROFILE_SECTION_USER, prefix + "N", "Error" + prefix);
    const int httpEquiv = profile.GetProfileInt(PROFILE_SECTION_USER, prefix + "H", 0);
    const int multiLine = profile.GetProfileInt(PROFILE_SECTION_USER, prefix + "L", 0);
    m_tag = profile.GetProfileInt(PROFILE_SECTION_USER, prefix + "P", 0) ? FieldTag::PROPERTY
                                                                         : FieldTag::META;
    // The rest keeps what a user field always has: editable, no button, no drop-down.
    Define(name, httpEquiv, m_strButton, m_bEditable, multiLine, m_bDropDown);
}

void CMetaField::WriteProfile(IProfile& profile, int number, int user) const {
    const std::string prefix = ProfilePrefix(number, user);
    profile.WriteProfileInt(PROFILE_SECTION_USER, prefix + "D", m_nDisplay);
    if (!user)
        return;
    profile.WriteProfileString(PROFILE_SECTION_USER, prefix + "N", m_strName);
    profile.WriteProfileInt(PROFILE_SECTION_USER, prefix + "H", m_bHttpEquiv);
    profile.WriteProfileInt(PROFILE_SECTION_USER, prefix + "L", m_bMultiLine);
    profile.WriteProfileInt(PROFILE_SECTION_USER, prefix + "P",
                            m_tag == FieldTag::PROPERTY ? 1 : 0);
}
