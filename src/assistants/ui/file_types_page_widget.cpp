#include "assistants/ui/file_types_page_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CFileTypesPageWidget::CFileTypesPageWidget(CAppSettings& settings, QWidget* parent)
    : COptionsPageWidget(parent), m_page(settings) {
    setObjectName(QString::number(IDD_FILE_TYPES_PAGE));
    const CDialogUnits du(this);
    auto* label = new QLabel(QStringLiteral("Extention"), this);
    m_edit = new QLineEdit(this);
    NameControl(m_edit, IDC_EDIT, label->text());
    label->setBuddy(m_edit);
    du.SetMinimum(m_edit, 59, 13);
    m_add = new QPushButton(QStringLiteral("Add"), this);
    NameControl(m_add, IDC_ADD_FILE_TYPE, m_add->text());
    m_replace = new QPushButton(QStringLiteral("Replace"), this);
    NameControl(m_replace, IDC_REPLACE_FILE_TYPE, m_replace->text());
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    NameControl(m_remove, IDC_REMOVE_FILE_TYPE, m_remove->text());
    for (QPushButton* button : {m_add, m_replace, m_remove}) {
        du.SetMinimum(button, 50, 13);
        button->setEnabled(false);
    }
    m_list = new QListWidget(this);
    NameControl(m_list, IDC_FILE_TYPE_LIST, QStringLiteral("File types"));
    du.SetMinimum(m_list, 74, 104);
    // How pages of these types are saved.
    m_normalizeHead = new QCheckBox(QStringLiteral("Normalize head tags on save"), this);
    m_normalizeHead->setObjectName(QStringLiteral("NormalizeHead"));
    m_normalizeHead->setAccessibleName(m_normalizeHead->text());
    m_normalizeHead->setToolTip(
        QStringLiteral("Write every tag before the body in one form (lower case, double "
                       "quotes, new tags on lines ending in CR LF) instead of changing only "
                       "the tags you changed"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setHorizontalSpacing(du.X(4));
    layout->setVerticalSpacing(du.Y(4));
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_edit, 0, 1);
    layout->addWidget(m_add, 1, 1, Qt::AlignLeft);
    layout->addWidget(m_replace, 2, 1, Qt::AlignLeft);
    layout->addWidget(m_remove, 3, 1, Qt::AlignLeft);
    layout->addWidget(m_list, 0, 2, 5, 1);
    layout->addWidget(m_normalizeHead, 5, 0, 1, 3);
    layout->setColumnMinimumWidth(1, du.X(59));
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(4, 1);

    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_page.SetEditText(text.toStdString());
        UpdateButtons();
    });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_page.OnSelChange(row);
        UpdateButtons();
    });
    connect(m_normalizeHead, &QCheckBox::toggled, this, [this](bool checked) {
        m_page.SetNormalizeHead(checked);
        emit changed();
    });
    connect(m_add, &QPushButton::clicked, this, [this] { Act(&CFileTypesPage::OnAdd); });
    connect(m_replace, &QPushButton::clicked, this, [this] { Act(&CFileTypesPage::OnReplace); });
    connect(m_remove, &QPushButton::clicked, this, [this] { Act(&CFileTypesPage::OnRemove); });
}

void CFileTypesPageWidget::Activate() {
    m_page.OnSetActive();
    {
        const QSignalBlocker blocker(m_normalizeHead);
        m_normalizeHead->setChecked(m_page.GetNormalizeHead());
    }
    Refill();
}

void CFileTypesPageWidget::Act(int (CFileTypesPage::*action)()) {
    if (!(m_page.*action)())
        return;
    // The buttons are disabled now: the focus goes to the edit box for the
    // next extension, not to the list, which would select an entry as it
    // takes the focus.
    m_edit->setFocus();
    Refill();
    emit changed();
}

void CFileTypesPageWidget::Refill() {
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        for (const std::string& extension : m_page.GetExtensions())
            m_list->addItem(QString::fromStdString(extension));
        m_list->setCurrentRow(m_page.GetSelected());
    }
    UpdateButtons();
}

void CFileTypesPageWidget::UpdateButtons() {
    m_add->setEnabled(m_page.IsAddEnabled() != 0);
    m_replace->setEnabled(m_page.IsReplaceEnabled() != 0);
    m_remove->setEnabled(m_page.IsRemoveEnabled() != 0);
}
