// IFieldAssistants: how the editing view opens the assistant dialogs and the
// options sheet without knowing them.
//
// The application gives the view one implementation (the dialogs of
// src/assistants/ui); tests give a scripted one. Values are the texts the
// fields show (decoded from the page's encoding).
#pragma once

#include <QString>
#include <functional>

class QWidget;
class CFieldList;
struct CAppSettings;

// What an assistant may read besides the field's own value.
struct AssistantContext {
    // The plain text of the open page's body (never the template's).
    QString bodyText;
    // The common words that keyword suggestion leaves out.
    QString commonWords;
};

class IFieldAssistants {
public:
    virtual ~IFieldAssistants() = default;
    // Whether a dialog exists for the assistant button with this id (21, 31,
    // 81, 91, 101, 131 ...).
    virtual bool HasAssistant(int buttonId) const = 0;
    // Opens the assistant of buttonId modally over parent, starting from the
    // field's current value. Returns true with the new value on OK; false when
    // the user cancelled (value is then unchanged).
    virtual bool Run(int buttonId, QWidget* parent, const AssistantContext& context,
                     QString& value) = 0;
    // Opens the "Options" sheet over parent on the view's fields and the
    // application's settings. applied runs after every OK or Apply that
    // changed something, so the caller can refresh its rows and store the
    // settings at once.
    virtual void RunOptions(QWidget* parent, CFieldList& fields, CAppSettings& settings,
                            const std::function<void()>& applied) = 0;
};
