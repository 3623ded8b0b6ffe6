#include "assistants/ui/assistant_dialogs.h"

#include "assistants/ui/cache_control_dlg.h"
#include "assistants/ui/date_button.h"
#include "assistants/ui/description_dlg.h"
#include "assistants/ui/expires_dlg.h"
#include "assistants/ui/keywords_dlg.h"
#include "assistants/ui/options_sheet.h"
#include "assistants/ui/refresh_dlg.h"
#include "assistants/ui/robots_dlg.h"
#include "resource_ids.h"
#include "suggestions/description_suggestion.h"
#include "suggestions/keyword_suggestion.h"

namespace {

// The assistant button of the field with base id fieldId.
constexpr int ButtonOf(int fieldId) {
    return fieldId + FIELD_BUTTON_OFFSET;
}
constexpr int kDescription = ButtonOf(20);
constexpr int kKeywords = ButtonOf(30);
constexpr int kRobots = ButtonOf(80);
constexpr int kCacheControl = ButtonOf(90);
constexpr int kExpires = ButtonOf(100);
constexpr int kRefresh = ButtonOf(130);

// Runs dialog modally; on OK value becomes its Value().
template <class Dialog>
bool RunValueDialog(Dialog& dialog, QString& value) {
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.Value();
    return true;
}

} // namespace

bool CAssistantDialogs::HasAssistant(int buttonId) const {
    switch (buttonId) {
    case kDescription:
    case kKeywords:
    case kRobots:
    case kCacheControl:
    case kExpires:
    case kRefresh:
        return true;
    default:
        return false;
    }
}

bool CAssistantDialogs::Run(int buttonId, QWidget* parent, const AssistantContext& context,
                            QString& value) {
    switch (buttonId) {
    case kDescription: {
        CDescriptionDlg dialog(parent);
        dialog.SetText(QString::fromStdString(ProposeDescription(context.bodyText.toStdString())));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        value = dialog.Text();
        return true;
    }
    case kKeywords: {
        const std::string offer =
            ProposeKeywords(context.bodyText.toStdString(), context.commonWords.toStdString());
        CKeywordsDlg dialog(QString::fromStdString(offer), parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        value = QString::fromStdString(KeywordsFieldValue(value.toStdString(), dialog.IsAppend(),
                                                          dialog.Keywords().toStdString()));
        return true;
    }
    case kRobots: {
        CRobotsDlg dialog(value, parent);
        return RunValueDialog(dialog, value);
    }
    case kCacheControl: {
        CCacheControlDlg dialog(value, parent);
        return RunValueDialog(dialog, value);
    }
    case kExpires: {
        CExpiresDlg dialog(value, parent);
        return RunValueDialog(dialog, value);
    }
    case kRefresh: {
        CRefreshDlg dialog(value, parent);
        return RunValueDialog(dialog, value);
    }
    default:
        return false;
    }
}

void CAssistantDialogs::RunOptions(QWidget* parent, CFieldList& fields, CAppSettings& settings,
                                   const std::function<void()>& applied) {
    COptionsSheet sheet(fields, settings, applied, parent,
                        m_projectDir ? m_projectDir() : QString());
    sheet.exec();
}

COptionsSheet* CAssistantDialogs::ShowOptionsScene(QWidget* parent, CFieldList& fields,
                                                   CAppSettings& settings, int page,
                                                   const QString& projectDir) {
    auto* sheet = new COptionsSheet(fields, settings, nullptr, parent, projectDir);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->ShowPage(page);
    sheet->show();
    return sheet;
}

CExpiresDlg* CAssistantDialogs::ShowExpiresScene(QWidget* parent, const QString& value) {
    auto* dialog = new CExpiresDlg(value, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->DateButton()->OpenCalendar();
    return dialog;
}
