// CStdTagsPage: the logic of the "Standard meta tags" options page.
//
// The page edits a copy of the display modes of the thirteen standard fields
// and of the Search and Social rows, and writes it back to the field list on
// apply. The widget page shows
// GetNames() in its list, checks the radio button for GetCheckedMode() and
// forwards selection changes and radio clicks here.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "fields/field_list.h"

class CStdTagsPage {
public:
    // refreshFields is called after apply so that the view shows the new modes.
    CStdTagsPage(CFieldList& fields, std::function<void()> refreshFields);

    // Every showing; the first one copies the fields' names and display modes
    // and selects entry 0. Returns 1.
    int OnSetActive();
    int IsLoaded() const { return m_bLoaded; }

    // The list entries: the standard fields' names, then the group rows'
    // (empty before the first showing).
    const std::vector<std::string>& GetNames() const { return m_names; }
    // The selected entry, -1 when none.
    int GetCurrent() const { return m_nCurrent; }
    void OnSelChange(int index);
    // The display mode whose radio button is checked, -1 for none (nothing
    // selected, or a mode other than the three choices).
    int GetCheckedMode() const;
    // A radio button for mode (DISPLAY_ALWAYS, DISPLAY_IF_CONTENT or
    // DISPLAY_NEVER) was clicked: the selected entry takes that mode.
    void OnModeClicked(int mode);
    // The page's copy of entry i's display mode.
    int GetDisplay(int i) const { return m_nDisplay[static_cast<size_t>(i)]; }

    // Changes not yet applied (the sheet's Apply button is enabled).
    int IsModified() const { return m_bModified; }
    // Sets the fields' display modes from the page and refreshes the view; a
    // page never shown applies nothing. Returns 1.
    int OnApply();

private:
    CFieldList& m_fields;
    std::function<void()> m_refreshFields;
    std::vector<std::string> m_names;
    std::vector<int> m_positions; // in the field list, of each entry
    std::vector<int> m_nDisplay;
    int m_nCurrent = -1;
    int m_bLoaded = 0;
    int m_bModified = 0;
};
