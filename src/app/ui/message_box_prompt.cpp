#include "app/ui/message_box_prompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("TSLE");

// The three-way questions about a file changed on disk, with buttons that say
// what they do.
IUserPrompt::Answer AskWithCaptions(const QString& text, IUserPrompt::Buttons buttons,
                                    QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::NoButton, parent);
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    if (buttons == IUserPrompt::RELOAD_OVERWRITE_CANCEL) {
        first = box.addButton(QStringLiteral("&Reload"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    } else {
        first = box.addButton(QStringLiteral("Save &As..."), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("&Save"), QMessageBox::DestructiveRole);
    }
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setEscapeButton(cancel);
    box.setDefaultButton(cancel);
    box.exec();
    if (box.clickedButton() == first)
        return buttons == IUserPrompt::RELOAD_OVERWRITE_CANCEL ? IUserPrompt::ANSWER_RELOAD
                                                               : IUserPrompt::ANSWER_SAVE_AS;
    if (box.clickedButton() == second)
        return IUserPrompt::ANSWER_OVERWRITE;
    return IUserPrompt::ANSWER_CANCEL;
}

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
    case RELOAD_OVERWRITE_CANCEL:
    case SAVE_AS_SAVE_CANCEL:
        return AskWithCaptions(QString::fromStdString(text), buttons, m_parent);
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
