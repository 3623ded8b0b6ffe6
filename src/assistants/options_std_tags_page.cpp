#include "assistants/options_std_tags_page.h"

#include <utility>

CStdTagsPage::CStdTagsPage(CFieldList& fields, std::function<void()> refreshFields)
    : m_fields(fields), m_refreshFields(std::move(refreshFields)) {}

int CStdTagsPage::OnSetActive() {
    if (m_bLoaded)
        return 1;
    for (int pos = 0; pos < m_fields.GetCount(); ++pos) {
        const CMetaField& field = m_fields.GetAt(pos);
        if (pos >= STANDARD_FIELD_COUNT && field.GetKind() != FIELD_GROUP)
            continue;
        m_positions.push_back(pos);
        m_names.push_back(field.GetName());
        m_nDisplay.push_back(field.GetDisplay());
    }
    m_bLoaded = 1;
    m_nCurrent = 0;
    return 1;
}

void CStdTagsPage::OnSelChange(int index) {
    m_nCurrent = m_bLoaded && index >= 0 && index < static_cast<int>(m_names.size()) ? index : -1;
}

int CStdTagsPage::GetCheckedMode() const {
    if (m_nCurrent < 0)
        return -1;
    const int mode = m_nDisplay[static_cast<size_t>(m_nCurrent)];
    return mode >= DISPLAY_ALWAYS && mode <= DISPLAY_NEVER ? mode : -1;
}

void CStdTagsPage::OnModeClicked(int mode) {
    if (m_nCurrent < 0 || mode < DISPLAY_ALWAYS || mode > DISPLAY_NEVER)
        return;
    m_nDisplay[static_cast<size_t>(m_nCurrent)] = mode;
    m_bModified = 1;
}

int CStdTagsPage::OnApply() {
    if (!m_bLoaded)
        return 1;
    for (size_t i = 0; i < m_positions.size(); ++i) {
        // The options may have been opened on a list that has changed since.
        if (m_positions[i] < m_fields.GetCount() &&
            m_fields.GetAt(m_positions[i]).GetName() == m_names[i])
            m_fields.GetAt(m_positions[i]).SetDisplay(m_nDisplay[i]);
    }
    if (m_refreshFields)
        m_refreshFields();
    m_bModified = 0;
    return 1;
}
