#include "fields/template_action_list.h"

#include <algorithm>

CTemplateActionList::CTemplateActionList(int withAddEntries) {
    m_codes = {ACTION_NEVER_CHANGE, ACTION_ALWAYS_SET, ACTION_SET_IF_MISSING,
               ACTION_REPLACE_IF_EXISTS};
    if (withAddEntries) {
        m_codes.push_back(ACTION_PREPEND);
        m_codes.push_back(ACTION_APPEND);
    }
    m_codes.push_back(ACTION_REMOVE);
}

int CTemplateActionList::OffersAddEntries(std::string_view fieldName, int multiLine) {
    return multiLine || fieldName == "title" ? 1 : 0;
}

std::string_view CTemplateActionList::GetText(int i) const {
    return TemplateActionText(GetItemData(i));
}

int CTemplateActionList::GetItemData(int i) const {
    return i >= 0 && i < GetCount() ? m_codes[static_cast<size_t>(i)] : -1;
}

void CTemplateActionList::SetCurSel(int i) {
    m_nCurSel = i >= 0 && i < GetCount() ? i : -1;
}

void CTemplateActionList::SelectAction(int code) {
    const auto it = std::find(m_codes.begin(), m_codes.end(), code);
    m_nCurSel = it == m_codes.end() ? -1 : static_cast<int>(it - m_codes.begin());
}
