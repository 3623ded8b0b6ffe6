// CPreviewPageWidget: the "Web page preview" page of the options sheet: when
// a page's scripts run in the preview, and whether images and styles load
// from the web (CPreviewOptionsPage).
#pragma once

#include "assistants/options_preview_page.h"
#include "assistants/ui/options_page_widget.h"

class QCheckBox;
class QRadioButton;

class CPreviewPageWidget : public COptionsPageWidget {
    Q_OBJECT
public:
    // projectDir: the project folder open now, "" for none.
    CPreviewPageWidget(CAppSettings& settings, const QString& projectDir,
                       QWidget* parent = nullptr);

    void Activate() override;
    int IsModified() const override { return m_page.IsModified(); }
    void Apply() override { m_page.OnApply(); }

private:
    void Show();

    CPreviewOptionsPage m_page;
    QRadioButton* m_never;
    QRadioButton* m_project;
    QRadioButton* m_thisRun;
    QCheckBox* m_remote;
};
