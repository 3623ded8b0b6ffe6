#include "assistants/ui/cache_control_dlg.h"

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

CCacheControlDlg::CCacheControlDlg(const QString& value, QWidget* parent)
    : QDialog(parent), m_model(value.toStdString()) {
    setWindowTitle(QStringLiteral("Cache-Control"));
    setObjectName(QString::number(IDD_CACHE_CONTROL));
    const CDialogUnits du(this);

    m_choices = new QButtonGroup(this);
    const auto addChoice = [this](int id, const char* text) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        NameControl(radio, id, radio->text());
        m_choices->addButton(radio, id);
        return radio;
    };
    QRadioButton* dontLimit = addChoice(CACHE_DONT_LIMIT, "Don't limit");
    QRadioButton* noCache = addChoice(CACHE_NO_CACHE, "Prevent cached copies");
    QRadioButton* maxAge = addChoice(CACHE_MAX_AGE, "Maximum age");
    m_maxAge = new QLineEdit(QString::fromStdString(m_model.MaxAgeText()), this);
    NameControl(m_maxAge, IDC_EDIT, QStringLiteral("Maximum age in seconds"));
    m_maxAge->setFixedWidth(
        std::max(du.X(23), m_maxAge->fontMetrics().horizontalAdvance(QStringLiteral("0000000"))));
    auto* seconds = new QLabel(QStringLiteral("seconds"), this);
    seconds->setBuddy(m_maxAge);
    m_ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    du.SetMinimum(m_ok, 50, 14);
    du.SetMinimum(cancel, 50, 14);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(du.X(3), du.Y(4), du.X(3), du.Y(3));
    layout->setHorizontalSpacing(du.X(4));
    layout->setVerticalSpacing(du.Y(2));
    layout->addWidget(dontLimit, 0, 0, 1, 3);
    layout->addWidget(noCache, 1, 0, 1, 3);
    layout->addWidget(maxAge, 2, 0);
    layout->addWidget(m_maxAge, 2, 1);
    layout->addWidget(seconds, 2, 2);
    layout->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->setRowMinimumHeight(3, du.Y(3));
    layout->addLayout(buttons, 4, 0, 1, 3);
    SetTabOrder({dontLimit, noCache, maxAge, m_maxAge, m_ok, cancel});

    m_choices->button(m_model.Choice())->setChecked(true);
    connect(m_choices, &QButtonGroup::idClicked, this, [this](int id) {
        m_model.SetChoice(id);
        UpdateControls();
    });
    connect(m_maxAge, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.SetMaxAgeText(text.toStdString());
        UpdateControls();
    });
    UpdateControls();
    resize(du.Size(136, 66).expandedTo(minimumSizeHint()));
}

void CCacheControlDlg::UpdateControls() {
    m_maxAge->setEnabled(m_model.IsMaxAgeEnabled());
    m_ok->setEnabled(m_model.IsOkEnabled());
}

void CCacheControlDlg::accept() {
    // Return reaches the default button even while it is disabled.
    if (!m_ok->isEnabled())
        return;
    std::string message;
    if (!m_model.Accept(message)) {
        ShowDialogMessage(this, message);
        m_maxAge->setFocus();
        m_maxAge->selectAll();
        return;
    }
    QDialog::accept();
}
