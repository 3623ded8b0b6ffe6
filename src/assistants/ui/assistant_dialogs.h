// CAssistantDialogs: the assistant dialogs and the options sheet behind the
// editing view's assistant buttons and its Options command.
//
// The application owns one and hands it to the view (SetAssistants). Each Run
// opens one dialog modally; Scene functions show the same dialogs without
// waiting, for screenshots.
#pragma once

#include <QString>
#include <functional>

#include "form/ui/field_assistants.h"

class CExpiresDlg;
class COptionsSheet;

class CAssistantDialogs : public IFieldAssistants {
public:
    // The ids of the buttons that open a dialog: "Suggest" of description (21)
    // and keywords (31), "Edit" of robots (81), Cache-Control (91), Expires
    // (101) and Refresh (131).
    bool HasAssistant(int buttonId) const override;
    // The description and keyword suggestions read context (the open page's
    // body text and the common words); the other dialogs start from value. On
    // OK value becomes the dialog's result and true is returned.
    bool Run(int buttonId, QWidget* parent, const AssistantContext& context,
             QString& value) override;
    // The "Options" sheet on fields and settings; applied runs after every OK
    // or Apply that changed something.
    void RunOptions(QWidget* parent, CFieldList& fields, CAppSettings& settings,
                    const std::function<void()>& applied) override;
    // Where the options sheet learns the project folder open now.
    void SetProjectDirSource(std::function<QString()> source) { m_projectDir = std::move(source); }

    // For screenshots: the options sheet shown without waiting, at page
    // (0 to 3); it deletes itself when closed.
    static COptionsSheet* ShowOptionsScene(QWidget* parent, CFieldList& fields,
                                           CAppSettings& settings, int page = 0,
                                           const QString& projectDir = {});
    // For screenshots: the Expires dialog on value, shown without waiting and
    // with its calendar open; it deletes itself when closed.
    static CExpiresDlg* ShowExpiresScene(QWidget* parent, const QString& value);

private:
    std::function<QString()> m_projectDir;
};
