#include "assistants/ui/define_tag_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "assistants/options_define_tag_dlg.h"
#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CDefineTagDialog::CDefineTagDialog(CDefineTagDlg& dlg, QWidget* parent)
    : QDialog(parent), m_dlg(dlg) {
    setWindowTitle(QStringLiteral("Define Meta Tag"));
    setObjectName(QString::number(IDD_DEFINE_TAG));
    const CDialogUnits du(this);

    auto* label = new QLabel(QStringLiteral("Name"), this);
    m_name = new QLineEdit(QString::fromStdString(dlg.m_strName), this);
    NameControl(m_name, IDC_EDIT, label->text());
    label->setBuddy(m_name);
    du.SetMinimum(m_name, 127, 14);
    m_httpEquiv = new QCheckBox(QStringLiteral("Is an http-equiv tag"), this);
    NameControl(m_httpEquiv, IDC_HTTP_EQUIV, m_httpEquiv->text());
    m_httpEquiv->setChecked(dlg.m_bHttpEquiv != 0 && !dlg.m_bProperty);
    m_property = new QCheckBox(QStringLiteral("Is a property tag (og:...)"), this);
    m_property->setObjectName(QStringLiteral("propertyTag"));
    m_property->setAccessibleName(m_property->text());
    m_property->setChecked(dlg.m_bProperty);
    // A tag has one kind of name attribute: name, http-equiv or property.
    connect(m_httpEquiv, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_property->setChecked(false);
    });
    connect(m_property, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_httpEquiv->setChecked(false);
    });
    m_multiLine = new QCheckBox(QStringLiteral("Multi-line edit box"), this);
    NameControl(m_multiLine, IDC_MULTI_LINE, m_multiLine->text());
    m_multiLine->setChecked(dlg.m_bMultiLine != 0);
    m_ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    du.SetMinimum(m_ok, 49, 14);
    du.SetMinimum(cancel, 49, 14);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
    layout->setHorizontalSpacing(du.X(11));
    layout->setVerticalSpacing(du.Y(1));
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_name, 0, 1);
    layout->addWidget(m_httpEquiv, 1, 1);
    layout->addWidget(m_property, 2, 1);
    layout->addWidget(m_multiLine, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel); // Cancel stands left of OK
    buttons->addWidget(m_ok);
    layout->setRowMinimumHeight(4, du.Y(3));
    layout->addLayout(buttons, 5, 0, 1, 2);
    SetTabOrder({m_name, m_httpEquiv, m_property, m_multiLine, m_ok, cancel});

    const auto updateOk = [this](const QString& text) {
        m_ok->setEnabled(CDefineTagDlg::CanAccept(text.toStdString()) != 0);
    };
    connect(m_name, &QLineEdit::textChanged, this, updateOk);
    updateOk(m_name->text());
    resize(du.Size(184, 85).expandedTo(minimumSizeHint()));
}

void CDefineTagDialog::accept() {
    if (!m_ok->isEnabled())
        return;
    const std::string name = m_dlg.m_strName;
    m_dlg.m_strName = m_name->text().toStdString();
    m_dlg.m_bProperty = m_property->isChecked();
    m_dlg.m_bHttpEquiv = m_httpEquiv->isChecked() ? 1 : 0;
    std::string message;
    if (!m_dlg.OnOK(message)) {
        m_dlg.m_strName = name;
        ShowDialogMessage(this, message);
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    m_dlg.m_bMultiLine = m_multiLine->isChecked() ? 1 : 0;
    QDialog::accept();
}
