// CFileTypesPage: the logic of the "File types" options page, which also holds
// the check box "Normalize head tags on save" (how pages of these types are
// written).
//
// The page edits a working copy of the file-types string ("*.ext;" patterns)
// and shows its extensions, without "*.", sorted. The widget page shows
// GetExtensions(), passes the edit box's text to SetEditText and list
// selection changes to OnSelChange, enables its buttons by IsAddEnabled,
// IsReplaceEnabled and IsRemoveEnabled, and clears its list selection
// whenever the page does (after every change the list is refilled).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/app_settings.h"

class CFileTypesPage {
public:
    // Copies app's file types; a copy that is not empty gets a final ";" so
    // that every pattern in it is followed by one.
    explicit CFileTypesPage(CAppSettings& app);

    // Every showing: refills the list from the working string. Returns 1.
    int OnSetActive();
    int IsLoaded() const { return m_bLoaded; }

    const std::string& GetFileTypes() const { return m_strFileTypes; }
    // The list: one extension per pattern, sorted ignoring ASCII case (ties in
    // byte order).
    const std::vector<std::string>& GetExtensions() const { return m_extensions; }

    // The edit box's text (taken with surrounding white space removed).
    void SetEditText(std::string_view text);
    // The selected list entry, -1 when none.
    int GetSelected() const { return m_nSelected; }
    void OnSelChange(int index);

    // "Add": the edit text is not empty, holds no ";" (which would split the
    // pattern) and its pattern is not in the string yet (case-sensitive).
    int IsAddEnabled() const;
    // "Replace": as "Add", and an entry is selected.
    int IsReplaceEnabled() const { return IsAddEnabled() && m_nSelected >= 0 ? 1 : 0; }
    // "Remove": an entry is selected.
    int IsRemoveEnabled() const { return m_nSelected >= 0 ? 1 : 0; }

    // Appends "*." + text + ";". Returns 1 when done (the button was enabled).
    int OnAdd();
    // Deletes the selected entry and rebuilds the string from the list in its
    // sorted order, every pattern followed by ";" ("" for an empty list).
    int OnRemove();
    // "Remove" then "Add": the selected extension goes, the typed one is
    // appended at the end.
    int OnReplace();

    // "Normalize head tags on save", as the page shows it.
    bool GetNormalizeHead() const { return m_bNormalizeHead; }
    void SetNormalizeHead(bool normalize);

    int IsModified() const { return m_bModified; }
    // Gives the application the working string and the check box. A page
    // never shown applies nothing. Returns 1.
    int OnApply();

private:
    void RefillList();
    std::string Pattern() const;

    CAppSettings& m_app;
    std::string m_strFileTypes;
    bool m_bNormalizeHead = false;
    std::vector<std::string> m_extensions;
    std::string m_strEdit;
    int m_nSelected = -1;
    int m_bLoaded = 0;
    int m_bModified = 0;
};
