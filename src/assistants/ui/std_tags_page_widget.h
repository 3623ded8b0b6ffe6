// CStdTagsPageWidget: the "Standard meta tags" page of the options sheet, the
// display mode of each of the thirteen standard fields.
#pragma once

#include "assistants/options_std_tags_page.h"
#include "assistants/ui/options_page_widget.h"

class CDisplayModeButtons;
class QListWidget;

class CStdTagsPageWidget : public COptionsPageWidget {
    Q_OBJECT
public:
    CStdTagsPageWidget(CFieldList& fields, QWidget* parent = nullptr);

    void Activate() override;
    int IsModified() const override { return m_page.IsModified(); }
    void Apply() override { m_page.OnApply(); }

private:
    void UpdateButtons();

    CStdTagsPage m_page;
    QListWidget* m_list;
    CDisplayModeButtons* m_modes;
};
