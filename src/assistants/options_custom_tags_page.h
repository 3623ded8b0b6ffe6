// CCustomTagsPage: the logic of the "User defined meta tags" options page.
//
// The page works on its own copies of the fields after the catalogue (the
// user-defined fields and the fields found in the open page or template) and
// replaces the field list's positions from 13 on with new copies of them on
// apply. The widget page shows GetNames() in its list, enables the radio
// buttons, "Edit" and "Remove" by AreControlsEnabled(), checks the radio
// button for GetCheckedMode() and forwards its events here. "Add ..." and
// "Edit" run the Define Meta Tag dialog through a DefineTagRunner.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assistants/options_define_tag_dlg.h"
#include "fields/field_list.h"

// Shows dlg modally (its members set beforehand); returns 1 when it ended with
// OK, its members then holding the accepted values.
using DefineTagRunner = std::function<int(CDefineTagDlg& dlg)>;

class CCustomTagsPage {
public:
    // refreshFields is called after apply so that the view creates the rows of
    // new fields and shows the new modes.
    CCustomTagsPage(CFieldList& fields, std::function<void()> refreshFields);

    // Every showing; only the first one copies the fields. Later showings change
    // nothing, so unapplied changes survive switching pages. Returns 1.
    int OnSetActive();
    int IsLoaded() const { return m_bLoaded; }

    int GetCount() const { return static_cast<int>(m_userFields.size()); }
    // The page's copy at index i (0 <= i < GetCount()).
    const CMetaField& GetField(int i) const { return *m_userFields[static_cast<size_t>(i)]; }
    // The list entries: the copies' names, in order.
    std::vector<std::string> GetNames() const;
    // The selected entry, -1 when none.
    int GetCurrent() const { return m_nCurrent; }
    void OnSelChange(int index);

    // Radio buttons, "Edit" and "Remove" are enabled exactly while an entry is
    // selected.
    int AreControlsEnabled() const { return m_nCurrent >= 0 ? 1 : 0; }
    // The display mode whose radio button is checked, -1 for none.
    int GetCheckedMode() const;
    // A radio button was clicked: the selected entry takes mode. "Always" and
    // "Never" also make it a FIELD_USER field (so a found field is kept in the
    // profile from now on); "Display if content exists" leaves the kind. A found
    // field whose name a user tag cannot have (a nameless tag's "") keeps its
    // kind: the mode then lasts until the fields are read again.
    void OnModeClicked(int mode);

    // "Add ...": on OK appends a new user field shown always and selects it.
    // Returns 1 when a field was added.
    int OnAdd(const DefineTagRunner& runDialog);
    // "Edit": on OK redefines the selected entry with the dialog's name and
    // flags; its kind and display mode stay. Returns 1 when it changed.
    int OnEdit(const DefineTagRunner& runDialog);
    // "Remove": deletes the selected entry and selects the one now at its
    // place, or the new last one. Returns 1 when an entry was removed.
    int OnRemove();

    int IsModified() const { return m_bModified; }
    // Replaces the field list from position 13 on with copies of the page's
    // fields and refreshes the view; the page keeps its copies. A page never
    // shown applies nothing. Returns 1.
    int OnApply();

private:
    // The names the define dialog must refuse: the catalogue's meta tags and
    // every entry except the one at index self.
    std::vector<std::string> TakenNames(int self) const;
    // Runs the dialog and checks its result once more, so a dialog that let an
    // unacceptable name through changes nothing.
    static int RunDefineDialog(const DefineTagRunner& runDialog, CDefineTagDlg& dlg);

    CFieldList& m_fields;
    std::function<void()> m_refreshFields;
    std::vector<std::unique_ptr<CMetaField>> m_userFields;
    int m_nCurrent = -1;
    int m_bLoaded = 0;
    int m_bModified = 0;
};
