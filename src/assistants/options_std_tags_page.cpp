#include "assistants/options_std_tags_page.h"

#include <utility>

CStdTagsPage::CStdTagsPage(CFieldList& fields, std::function<void()> refreshFields)
    : m_fields(fields), m_refreshFields(std::move(refreshFields)) {}

int CStdTagsPage::OnSetActive() {
    if (m_bLoaded)
        return 1;
    for (int i = 0; i < STANDARD_FIELD_COUNT; ++i) {
        m_names.push_back(m_fields.GetAt(i).GetName());
        m_nDisplay[static_cast<size_t>(i)] = m_fields.GetAt(i).GetDisplay();
    }
    m_bLoaded = 1;
    m_nCurrent = 0;
    return 1;
}

void CStdTagsPage::OnSelChange(int index) {
    m_nCurrent = m_bLoaded && index >= 0 && index < STANDARD_FIELD_COUNT ? index : -1;
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
    for (int i = 0; i < STANDARD_FIELD_COUNT; ++i)
        m_fields.GetAt(i).SetDisplay(m_nDisplay[static_cast<size_t>(i)]);
    if (m_refreshFields)
        m_refreshFields();
    m_bModified = 0;
    return 1;
}
