#include "assistants/ui/std_tags_page_widget.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "assistants/ui/display_mode_buttons.h"
#include "resource_ids.h"

CStdTagsPageWidget::CStdTagsPageWidget(CFieldList& fields, QWidget* parent)
    : COptionsPageWidget(parent), m_page(fields, nullptr) {
    setObjectName(QString::number(IDD_STD_TAGS_PAGE));
    const CDialogUnits du(this);
    m_list = new QListWidget(this);
    NameControl(m_list, IDC_TAG_LIST, QStringLiteral("Standard meta tags"));
    du.SetMinimum(m_list, 98, 105);
    m_modes = new CDisplayModeButtons(this);
    du.SetMinimum(m_modes->Label(), 91, 20);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setHorizontalSpacing(du.X(9));
    layout->setVerticalSpacing(du.Y(3));
    layout->addWidget(m_list, 0, 0, 5, 1);
    layout->addWidget(m_modes->Label(), 0, 1);
    for (int mode = DISPLAY_ALWAYS; mode <= DISPLAY_NEVER; ++mode)
        layout->addWidget(m_modes->Button(mode), 1 + mode, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(0, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_page.OnSelChange(row);
        UpdateButtons();
    });
    connect(m_modes, &CDisplayModeButtons::modeClicked, this, [this](int mode) {
        m_page.OnModeClicked(mode);
        emit changed();
    });
}

void CStdTagsPageWidget::Activate() {
    if (m_page.IsLoaded())
        return;
    m_page.OnSetActive();
    const QSignalBlocker blocker(m_list);
    for (const std::string& name : m_page.GetNames())
        m_list->addItem(QString::fromStdString(name));
    m_list->setCurrentRow(m_page.GetCurrent());
    UpdateButtons();
}

void CStdTagsPageWidget::UpdateButtons() {
    m_modes->SetChecked(m_page.GetCheckedMode());
}
