// CFileTypesPageWidget: the "File types" page of the options sheet, the
// extensions of the files that count as web pages, and how they are saved.
#pragma once

#include "assistants/options_file_types_page.h"
#include "assistants/ui/options_page_widget.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CFileTypesPageWidget : public COptionsPageWidget {
    Q_OBJECT
public:
    CFileTypesPageWidget(CAppSettings& settings, QWidget* parent = nullptr);

    void Activate() override;
    int IsModified() const override { return m_page.IsModified(); }
    void Apply() override { m_page.OnApply(); }

private:
    void Refill();
    void UpdateButtons();
    // Runs a button's action; on a change refills the list and tells the sheet.
    void Act(int (CFileTypesPage::*action)());

    CFileTypesPage m_page;
    QLineEdit* m_edit;
    QPushButton* m_add;
    QPushButton* m_replace;
    QPushButton* m_remove;
    QListWidget* m_list;
    QCheckBox* m_normalizeHead;
};
