#include "app/ui/message_box_prompt.h"

#include <QMessageBox>

namespace {

const QString kTitle = QStringLiteral("TSLE");

} // namespace

void CMessageBoxPrompt::Info(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kTitle, QString::fromStdString(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

IUserPrompt::Answer CMessageBoxPrompt::Ask(const std::string& text, Buttons buttons) {
    QMessageBox::StandardButtons offered = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case OK:
        break;
    case YES_NO:
        offered = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case YES_NO_CANCEL:
        offered = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(buttons == OK ? QMessageBox::Warning : QMessageBox::Question, kTitle,
                    QString::fromStdString(text), offered, m_parent);
    box.setEscapeButton(escape);
    box.setDefaultButton(buttons == OK ? QMessageBox::Ok : QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return ANSWER_YES;
    case QMessageBox::No:
        return ANSWER_NO;
    case QMessageBox::Cancel:
        return ANSWER_CANCEL;
    case QMessageBox::Ok:
        return ANSWER_OK;
    default:
        return buttons == YES_NO ? ANSWER_NO : buttons == OK ? ANSWER_OK : ANSWER_CANCEL;
    }
}
