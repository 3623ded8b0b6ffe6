// ScriptedPrompt: the user as tests play it, behind IUserPrompt.
//
// Messages are recorded. Questions are recorded and answered in script order;
// a question nobody scripted is also recorded in unexpected and answered
// Cancel, and the test fails on it (fixtures check unexpected in TearDown,
// widget tests with QVERIFY). Standard C++ only, so that the page model's
// tests use it too.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "page/user_prompt.h"

class ScriptedPrompt : public IUserPrompt {
public:
    void Info(const std::string& text) override { messages.push_back(text); }
    Answer Ask(const std::string& text, Buttons buttons) override {
        questions.push_back(text);
        buttonsAsked.push_back(buttons);
        if (answers.empty()) {
            unexpected.push_back(text);
            return ANSWER_CANCEL;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<Answer> answers;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<Buttons> buttonsAsked;
    std::vector<std::string> unexpected;
};
