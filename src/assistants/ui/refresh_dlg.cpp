#include "assistants/ui/refresh_dlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CRefreshDlg::CRefreshDlg(const QString& value, QWidget* parent)
    : QDialog(parent), m_model(value.toStdString()) {
    setWindowTitle(QStringLiteral("Refresh"));
    setObjectName(QString::number(IDD_REFRESH));
    const CDialogUnits du(this);

    m_choices = new QButtonGroup(this);
    auto* none = new QRadioButton(QStringLiteral("Do not include refresh META tag"), this);
    NameControl(none, REFRESH_NONE, none->text());
    m_choices->addButton(none, REFRESH_NONE);
    auto* after = new QRadioButton(QStringLiteral("Refresh after - (seconds)"), this);
    NameControl(after, REFRESH_AFTER, after->text());
    m_choices->addButton(after, REFRESH_AFTER);
    m_seconds = new QLineEdit(QString::number(m_model.m_nSeconds), this);
    NameControl(m_seconds, IDC_EDIT, QStringLiteral("Refresh after (seconds)"));
    du.SetMinimum(m_seconds, 55, 13);
    const QString urlText = QStringLiteral("Refresh with (URL, optional)");
    auto* urlLabel = new QLabel(urlText, this);
    m_url = new QLineEdit(QString::fromStdString(m_model.m_strUrl), this);
    NameControl(m_url, IDC_REFRESH_URL, urlText);
    urlLabel->setBuddy(m_url);
    du.SetMinimum(m_url, 180, 13);
    QPushButton* ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    du.SetMinimum(ok, 50, 14);
    du.SetMinimum(cancel, 50, 14);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(3), du.Y(3), du.X(3), du.Y(3));
    layout->setHorizontalSpacing(du.X(7));
    layout->setVerticalSpacing(du.Y(3));
    layout->addWidget(none, 0, 0, 1, 3);
    layout->addWidget(after, 1, 0);
    layout->addWidget(m_seconds, 1, 1);
    layout->addWidget(urlLabel, 2, 0, 1, 3);
    layout->addWidget(m_url, 3, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 4, 0, 1, 3);
    SetTabOrder({none, after, m_seconds, m_url, ok, cancel});

    m_choices->button(m_model.OpenChoice())->setChecked(true);
    connect(m_choices, &QButtonGroup::idClicked, this, &CRefreshDlg::UpdateControls);
    UpdateControls();
    resize(du.Size(186, 79).expandedTo(minimumSizeHint()));
}

void CRefreshDlg::UpdateControls() {
    const bool after = m_choices->checkedId() == REFRESH_AFTER;
    m_seconds->setEnabled(after);
    m_url->setEnabled(after);
}

void CRefreshDlg::accept() {
    std::string message;
    if (!m_model.Exchange(m_choices->checkedId(), m_seconds->text().toStdString(),
                          m_url->text().toStdString(), message)) {
        ShowDialogMessage(this, message);
        if (m_seconds->isEnabled()) {
            m_seconds->setFocus();
            m_seconds->selectAll();
        }
        return;
    }
    QDialog::accept();
}
