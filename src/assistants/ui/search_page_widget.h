// CSearchPageWidget: the "Search results" page of the options sheet: the
// widths at which results cut titles and descriptions, and the project's
// site address (CSearchOptionsPage).
#pragma once

#include "assistants/options_search_page.h"
#include "assistants/ui/options_page_widget.h"

class QLineEdit;
class QSpinBox;

class CSearchPageWidget : public COptionsPageWidget {
    Q_OBJECT
public:
    // projectDir: the project folder open now, "" for none.
    CSearchPageWidget(CAppSettings& settings, const QString& projectDir, QWidget* parent = nullptr);

    void Activate() override;
    int IsModified() const override { return m_page.IsModified(); }
    // A site address that is none is reported and nothing is applied.
    void Apply() override;

private:
    void Show();

    CSearchOptionsPage m_page;
    QSpinBox* m_spins[5];
    QLineEdit* m_site;
};
