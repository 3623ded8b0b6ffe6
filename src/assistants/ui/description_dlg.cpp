#include "assistants/ui/description_dlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "assistants/ui/dialog_message.h"
#include "assistants/ui/dialog_units.h"
#include "resource_ids.h"

CDescriptionDlg::CDescriptionDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Page description"));
    setObjectName(QString::number(IDD_DESCRIPTION));
    const CDialogUnits du(this);

    const QString prompt =
        QStringLiteral("Edit suggested description text (taken from the start of the page)");
    auto* label = new QLabel(prompt, this);
    m_edit = new QPlainTextEdit(this);
    NameControl(m_edit, IDC_EDIT, prompt);
    label->setBuddy(m_edit);
    m_edit->setTabChangesFocus(true);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->installEventFilter(this);
    du.SetMinimum(m_edit, 221, 47);
    QPushButton* ok = MakeOkButton(this);
    QPushButton* cancel = MakeCancelButton(this);
    du.SetMinimum(ok, 50, 14);
    du.SetMinimum(cancel, 50, 14);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.X(4), du.Y(4), du.X(4), du.Y(4));
    layout->setSpacing(du.Y(2));
    layout->addWidget(label);
    layout->addWidget(m_edit, 1);
    layout->addLayout(buttons);
    SetTabOrder({m_edit, ok, cancel});
    resize(du.Size(229, 85).expandedTo(minimumSizeHint()));
}

void CDescriptionDlg::SetText(const QString& text) {
    m_edit->setPlainText(text);
}

QString CDescriptionDlg::Text() const {
    return m_edit->toPlainText();
}

// A description is one paragraph: Return in the box presses OK, as in the
// dialog's other boxes, instead of starting a new line.
bool CDescriptionDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
