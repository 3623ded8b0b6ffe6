#include "assistants/ui/expires_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "assistants/ui/date_button.h"
#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CExpiresDlg::CExpiresDlg(const QString& value, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Expires"));
    setObjectName(QString::number(IDD_EXPIRES));
    const CDialogUnits du(this);

    auto* label = new QLabel(QStringLiteral("Expires date -"), this);
    m_dateButton = new CDateButton(this);
    m_dateButton->setObjectName(QString::number(IDC_DATE_BUTTON));
    label->setBuddy(m_dateButton);
    du.SetMinimum(m_dateButton, 121, 14);
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    NameControl(clear, IDC_CLEAR_DATE, clear->text());
    connect(clear, &QPushButton::clicked, m_dateButton, &CDateButton::Clear);
    QPushButton* ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    for (QPushButton* button : {clear, ok, cancel})
        du.SetMinimum(button, 50, 14);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(4), du.Y(4), du.X(4), du.Y(4));
    layout->setHorizontalSpacing(du.X(1));
    layout->setVerticalSpacing(du.Y(3));
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_dateButton, 1, 0);
    layout->addWidget(clear, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(du.X(2));
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    SetTabOrder({m_dateButton, clear, ok, cancel});

    m_value.SetValue(value.toStdString());
    DateButtonState shown = m_dateButton->State();
    m_value.ShowIn(shown);
    m_dateButton->SetState(shown);
    resize(du.Size(180, 55).expandedTo(minimumSizeHint()));
}

void CExpiresDlg::accept() {
    std::string message;
    if (!m_value.TakeFrom(m_dateButton->State(), message)) {
        ShowDialogMessage(this, message);
        m_dateButton->setFocus();
        return;
    }
    QDialog::accept();
}
