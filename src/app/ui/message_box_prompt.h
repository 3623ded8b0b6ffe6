// CMessageBoxPrompt: the document's messages and questions as message boxes.
//
// Every box is titled "TSLE" and modal over the main window. A message gets
// an OK button and the warning icon, a question the question icon and the
// buttons asked for; closing a question's box with Escape answers Cancel
// (No when there is no Cancel).
#pragma once

#include <QPointer>
#include <QWidget>

#include "page/user_prompt.h"

class CMessageBoxPrompt : public IUserPrompt {
public:
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Info(const std::string& text) override;
    Answer Ask(const std::string& text, Buttons buttons) override;

private:
    QPointer<QWidget> m_parent;
};
