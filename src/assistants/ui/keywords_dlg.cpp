#include "assistants/ui/keywords_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"
#include "suggestions/keyword_suggestion.h"

CKeywordsDlg::CKeywordsDlg(const QString& offer, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keyword suggestions"));
    setObjectName(QString::number(IDD_KEYWORDS));
    const CDialogUnits du(this);

    const QString prompt = QStringLiteral("Select keywords");
    auto* label = new QLabel(prompt, this);
    m_list = new QListWidget(this);
    NameControl(m_list, IDC_KEYWORD_LIST, prompt);
    label->setBuddy(m_list);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    du.SetMinimum(m_list, 72, 66);
    for (const std::string& word : KeywordListEntries(offer.toStdString()))
        m_list->addItem(QString::fromStdString(word));

    auto* selectAll = new QPushButton(QStringLiteral("Select all"), this);
    NameControl(selectAll, IDC_SELECT_ALL, selectAll->text());
    m_append = new QCheckBox(QStringLiteral("Append list"), this);
    NameControl(m_append, IDC_APPEND_LIST, m_append->text());
    QPushButton* ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    for (QWidget* button : {static_cast<QWidget*>(selectAll), static_cast<QWidget*>(ok),
                            static_cast<QWidget*>(cancel)})
        du.SetMinimum(button, 50, 14);
    connect(selectAll, &QPushButton::clicked, this, &CKeywordsDlg::SelectAll);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(du.Y(4));
    buttons->addWidget(selectAll);
    buttons->addWidget(m_append);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(3), du.Y(3), du.X(3), du.Y(3));
    layout->setHorizontalSpacing(du.X(6));
    layout->setVerticalSpacing(du.Y(1));
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    SetTabOrder({m_list, selectAll, m_append, ok, cancel});
    m_list->setFocus();
    resize(du.Size(134, 84).expandedTo(minimumSizeHint()));
}

void CKeywordsDlg::SelectAll() {
    m_list->selectAll();
}

void CKeywordsDlg::accept() {
    std::vector<std::string> chosen;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected())
            chosen.push_back(m_list->item(row)->text().toStdString());
    m_strKeywords = QString::fromStdString(JoinChosenKeywords(chosen));
    m_bAppend = m_append->isChecked() ? 1 : 0;
    QDialog::accept();
}
