// CCustomTagsPageWidget: the "User defined meta tags" page of the options
// sheet: the fields after the standard ones, their display modes, and "Add
// ...", "Edit" and "Remove" through the Define Meta Tag dialog.
#pragma once

#include "assistants/options_custom_tags_page.h"
#include "assistants/ui/options_page_widget.h"

class CDisplayModeButtons;
class QListWidget;
class QPushButton;

class CCustomTagsPageWidget : public COptionsPageWidget {
    Q_OBJECT
public:
    explicit CCustomTagsPageWidget(CFieldList& fields, QWidget* parent = nullptr);

    void Activate() override;
    int IsModified() const override { return m_page.IsModified(); }
    void Apply() override { m_page.OnApply(); }

private:
    void Refill();
    void UpdateControls();
    // Runs the Define Meta Tag dialog modally over this page.
    int RunDefineDialog(CDefineTagDlg& dlg);

    CCustomTagsPage m_page;
    QListWidget* m_list;
    CDisplayModeButtons* m_modes;
    QPushButton* m_edit;
    QPushButton* m_remove;
};
