#include "assistants/ui/custom_tags_page_widget.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "assistants/ui/define_tag_dialog.h"
#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "assistants/ui/display_mode_buttons.h"
#include "resource_ids.h"

CCustomTagsPageWidget::CCustomTagsPageWidget(CFieldList& fields, QWidget* parent)
    : COptionsPageWidget(parent), m_page(fields, nullptr) {
    setObjectName(QString::number(IDD_CUSTOM_TAGS_PAGE));
    const CDialogUnits du(this);
    m_list = new QListWidget(this);
    NameControl(m_list, IDC_TAG_LIST, QStringLiteral("User defined meta tags"));
    du.SetMinimum(m_list, 99, 105);
    m_modes = new CDisplayModeButtons(this);
    du.SetMinimum(m_modes->Label(), 91, 20);
    auto* add = new QPushButton(QStringLiteral("Add ..."), this);
    NameControl(add, IDC_ADD_TAG, add->text());
    m_edit = new QPushButton(QStringLiteral("Edit"), this);
    NameControl(m_edit, IDC_EDIT_TAG, m_edit->text());
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    NameControl(m_remove, IDC_REMOVE_TAG, m_remove->text());
    for (QPushButton* button : {add, m_edit, m_remove})
        du.SetMinimum(button, 55, 14);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setHorizontalSpacing(du.X(8));
    layout->setVerticalSpacing(du.Y(2));
    layout->addWidget(m_list, 0, 0, 8, 1);
    layout->addWidget(m_modes->Label(), 0, 1);
    for (int mode = DISPLAY_ALWAYS; mode <= DISPLAY_NEVER; ++mode)
        layout->addWidget(m_modes->Button(mode), 1 + mode, 1);
    layout->addWidget(add, 4, 1, Qt::AlignLeft);
    layout->addWidget(m_edit, 5, 1, Qt::AlignLeft);
    layout->addWidget(m_remove, 6, 1, Qt::AlignLeft);
    layout->setRowStretch(7, 1);
    layout->setColumnStretch(0, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_page.OnSelChange(row);
        UpdateControls();
    });
    connect(m_modes, &CDisplayModeButtons::modeClicked, this, [this](int mode) {
        m_page.OnModeClicked(mode);
        emit changed();
    });
    const auto runner = [this](CDefineTagDlg& dlg) { return RunDefineDialog(dlg); };
    connect(add, &QPushButton::clicked, this, [this, runner] {
        if (m_page.OnAdd(runner)) {
            Refill();
            emit changed();
        }
    });
    connect(m_edit, &QPushButton::clicked, this, [this, runner] {
        if (m_page.OnEdit(runner)) {
            Refill();
            emit changed();
        }
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (m_page.OnRemove()) {
            Refill();
            emit changed();
        }
    });
    UpdateControls();
}

int CCustomTagsPageWidget::RunDefineDialog(CDefineTagDlg& dlg) {
    CDefineTagDialog dialog(dlg, this);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

void CCustomTagsPageWidget::Activate() {
    // Later showings change nothing: changes not applied survive switching pages.
    if (m_page.IsLoaded())
        return;
    m_page.OnSetActive();
    Refill();
}

void CCustomTagsPageWidget::Refill() {
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        for (const std::string& name : m_page.GetNames())
            m_list->addItem(QString::fromStdString(name));
        m_list->setCurrentRow(m_page.GetCurrent());
    }
    UpdateControls();
}

void CCustomTagsPageWidget::UpdateControls() {
    const bool enabled = m_page.AreControlsEnabled() != 0;
    m_modes->SetEnabled(enabled);
    m_edit->setEnabled(enabled);
    m_remove->setEnabled(enabled);
    m_modes->SetChecked(m_page.GetCheckedMode());
}
