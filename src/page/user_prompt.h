// The small interface through which core code talks to the user.
//
// The page model and the document never show a window themselves; where they
// must tell the user something or ask a question they call this interface,
// which the GUI implements with message boxes, the CLI on stderr, and tests
// with a scripted answerer.
#pragma once

#include <string>

class IUserPrompt {
public:
    enum Buttons { OK, YES_NO, YES_NO_CANCEL };
    enum Answer { ANSWER_OK, ANSWER_YES, ANSWER_NO, ANSWER_CANCEL };

    virtual ~IUserPrompt() = default;
    // A message with an OK button.
    virtual void Info(const std::string& text) = 0;
    // A question; returns the button chosen.
    virtual Answer Ask(const std::string& text, Buttons buttons) = 0;
};
