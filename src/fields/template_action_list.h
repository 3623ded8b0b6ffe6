// CTemplateActionList: the entries and selection of a field's template action
// list, without the widget. The editing view fills its drop-down list from
// GetText/GetItemData; a field without controls keeps its action here.
#pragma once

#include <string_view>
#include <vector>

#include "fields/template_action.h"

class CTemplateActionList {
public:
    // withAddEntries: offer the two actions that add data before or after the
    // existing data (see OffersAddEntries). Starts with entry 0 selected.
    explicit CTemplateActionList(int withAddEntries = 0);

    // 1 for the fields whose list offers ACTION_PREPEND and ACTION_APPEND:
    // multi-line fields and the field named exactly "title" (case-sensitive).
    static int OffersAddEntries(std::string_view fieldName, int multiLine);

    int GetCount() const { return static_cast<int>(m_codes.size()); }
    // Entry i's text and action code; "" and -1 for an index out of range.
    std::string_view GetText(int i) const;
    int GetItemData(int i) const;

    // The selected entry, -1 when none.
    int GetCurSel() const { return m_nCurSel; }
    // Selects entry i; an index out of range selects nothing.
    void SetCurSel(int i);

    // Selects the first entry whose code is code; none when no entry has it.
    void SelectAction(int code);
    // The selected entry's code, -1 when no entry is selected.
    int GetAction() const { return GetItemData(m_nCurSel); }

private:
    std::vector<int> m_codes;
    int m_nCurSel = 0;
};
