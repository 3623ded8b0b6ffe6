// ScriptedPicker: the file and folder dialogs as tests play them, behind
// IFilePicker.
//
// Requests are recorded and answered in script order; an empty answer
// cancels. A request beyond the script is cancelled and also recorded in
// unexpected (its caption), for the test to check.
#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "document/file_picker.h"

class ScriptedPicker : public IFilePicker {
public:
    QString Pick(const Request& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            unexpected.push_back(request.caption);
            return {};
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QString> answers;
    std::vector<Request> requests;
    std::vector<QString> unexpected;
};
