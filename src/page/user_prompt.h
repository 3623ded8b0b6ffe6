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
    // RELOAD_OVERWRITE_CANCEL: "Reload", "Overwrite", "Cancel", for a file that
    // another program changed since it was read; SAVE_AS_SAVE_CANCEL: "Save
    // As...", "Save" (answered ANSWER_OVERWRITE), "Cancel", for one it deleted.
    enum Buttons { OK, YES_NO, YES_NO_CANCEL, RELOAD_OVERWRITE_CANCEL, SAVE_AS_SAVE_CANCEL };
    enum Answer {
        ANSWER_OK,
        ANSWER_YES,
        ANSWER_NO,
        ANSWER_CANCEL,
        ANSWER_RELOAD,
        ANSWER_OVERWRITE,
        ANSWER_SAVE_AS,
    };

    virtual ~IUserPrompt() = default;
    // A message with an OK button.
    virtual void Info(const std::string& text) = 0;
    // A question; returns the button chosen.
    virtual Answer Ask(const std::string& text, Buttons buttons) = 0;
};
