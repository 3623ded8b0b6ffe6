#include "assistants/ui/robots_dlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CRobotsDlg::CRobotsDlg(const QString& value, QWidget* parent)
    : QDialog(parent), m_model(value.toStdString()), m_strValue(value) {
    setWindowTitle(QStringLiteral("Robots"));
    setObjectName(QString::number(IDD_ROBOTS));
    const CDialogUnits du(this);

    m_noIndex =
        new QCheckBox(QStringLiteral("Prevent robots adding this page to search engines"), this);
    NameControl(m_noIndex, IDC_NO_INDEX, m_noIndex->text());
    m_noFollow = new QCheckBox(QStringLiteral("Prevent robots following links in this page"), this);
    NameControl(m_noFollow, IDC_NO_FOLLOW, m_noFollow->text());
    m_noIndex->setChecked(m_model.m_bNoIndex);
    m_noFollow->setChecked(m_model.m_bNoFollow);
    QPushButton* ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    du.SetMinimum(ok, 50, 14);
    du.SetMinimum(cancel, 50, 14);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(du.X(6));
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setSpacing(du.Y(3));
    layout->addWidget(m_noIndex);
    layout->addWidget(m_noFollow);
    layout->addSpacing(du.Y(6));
    layout->addLayout(buttons);
    SetTabOrder({m_noIndex, m_noFollow, ok, cancel});
    resize(du.Size(189, 63).expandedTo(minimumSizeHint()));
}

void CRobotsDlg::accept() {
    m_model.m_bNoIndex = m_noIndex->isChecked();
    m_model.m_bNoFollow = m_noFollow->isChecked();
    m_strValue = QString::fromStdString(m_model.Compose());
    QDialog::accept();
}
