// The template half of CTesselDoc: the template file commands and applying.
#include <QFile>
#include <QFileInfo>

#include "document/doc_texts.h"
#include "document/page_codec.h"
#include "document/template_values.h"
#include "document/tessel_doc.h"
#include "document/text_file.h"
#include "fields/template_action.h"
#include "settings/app_settings.h"

namespace {

const char kTemplateFilter[] = "Templates (*.mtpl)|*.mtpl|All files (*.*)|*.*||";
const char kNoMetaPosition[] =
    "Unable to find correct position for meta-data, no changes will be written to this file.";

} // namespace

void CTesselDoc::SetTemplateModified(int modified) {
    modified = modified ? 1 : 0;
    if (m_bTemplateModified == modified)
        return;
    m_bTemplateModified = modified;
    NotifyStateChanged();
}

int CTesselDoc::ReadTemplateFile(const QString& path) {
    const QString full = AbsoluteDocPath(path);
    m_strTemplateName = TemplateNameFromPath(full);
    m_strTemplatePath = full;
    std::string text;
    QString error;
    CDiskSnapshot disk = CDiskSnapshot::Stat(full);
    if (LoadTextFile(full, text, error, &m_templateForm)) {
        disk.SetContent(text);
        m_templateDisk = disk;
        m_strTemplateDiskPath = full;
        m_template.SetHeadStyle(GetSaveStyle());
        m_template.SetText(std::move(text), BodyMode::REBUILD);
        m_bTemplateOpen = 1;
        m_bTemplateModified = 0; // what is loaded is what is on disk
        NotifyFileUsed(full);
    } else {
        m_strTemplatePath.clear();
        m_strTemplateName.clear();
        Info("Failed to read template file.\n" + full.toStdString() + ": " + error.toStdString());
        m_bTemplateOpen = 0;
        // No template is left to edit; the views go back to the page.
        m_bEditingTemplate = 0;
        m_templateDisk = {};
        m_strTemplateDiskPath.clear();
    }
    SetDiskChanges(m_pageChange, DiskChange::NONE);
    WatchFiles();
    NotifyStateChanged();
    UpdateAllViews();
    return m_bTemplateOpen;
}

int CTesselDoc::SaveTemplateModified() {
    if (!m_bTemplateOpen || !m_bTemplateModified)
        return 1;
    switch (Ask("Save changes to " + m_strTemplateName.toStdString(), IUserPrompt::YES_NO_CANCEL)) {
    case IUserPrompt::ANSWER_YES:
        return SaveTemplate();
    case IUserPrompt::ANSWER_NO:
        return 1;
    default:
        return 0;
    }
}

int CTesselDoc::OpenTemplate(const QString& path) {
    if (!SaveTemplateModified())
        return 0;
    return ReadTemplateFile(path);
}

int CTesselDoc::OnTemplateOpen() {
    const QString name =
        PickFile(IFilePicker::OPEN_FILE, QStringLiteral("Open"),
                 QString::fromLatin1(kTemplateFilter), QStringLiteral("mtpl"), m_strTemplateName);
    if (name.isEmpty())
        return 0;
    return OpenTemplate(name);
}

int CTesselDoc::SaveTemplateAs() {
    if (!m_bTemplateOpen)
        return 0;
    const QString name =
        PickFile(IFilePicker::SAVE_FILE, QStringLiteral("Save As"),
                 QString::fromLatin1(kTemplateFilter), QStringLiteral("mtpl"), m_strTemplateName);
    if (name.isEmpty())
        return 0;
    const QString oldPath = m_strTemplatePath;
    const QString oldName = m_strTemplateName;
    m_strTemplatePath = name;
    m_strTemplateName = TemplateNameFromPath(name);
    if (SaveTemplate())
        return 1;
    // Nothing was written there: keep naming the file the template came from.
    m_strTemplatePath = oldPath;
    m_strTemplateName = oldName;
    NotifyStateChanged();
    return 0;
}

int CTesselDoc::SaveTemplate() {
    if (!m_bTemplateOpen)
        return 0;
    if (m_strTemplatePath.isEmpty())
        return SaveTemplateAs();
    // A template with no place for meta tags would be written without the
    // values typed into it.
    if (!m_template.HasMetaPosition()) {
        Info(kNoMetaPosition);
        return 0;
    }
    if (m_strTemplatePath == m_strTemplateDiskPath && m_templateDisk.IsValid()) {
        if (!m_bTemplateModified) {
            CheckDisk();
            if (m_templateChange == DiskChange::NONE)
                return 1; // nothing to write
        }
        if (!SaveTemplateOverOwnFile())
            return 0;
    } else {
        m_template.SetHeadStyle(GetSaveStyle());
        QString error;
        const std::string& text = m_template.GetText();
        if (!SaveTextFile(m_strTemplatePath, text, error, FileSync::TO_DISK, m_templateForm)) {
            Info("File error, unable to save " + m_strTemplatePath.toStdString() + "\n" +
                 error.toStdString());
            return 0;
        }
        m_templateDisk = CDiskSnapshot::Stat(m_strTemplatePath);
        m_templateDisk.SetContent(text);
        m_strTemplateDiskPath = m_strTemplatePath;
        SetDiskChanges(m_pageChange, DiskChange::NONE);
        WatchFiles();
    }
    m_bTemplateModified = 0;
    NotifyStateChanged();
    NotifyFileUsed(m_strTemplatePath);
    return 1;
}

int CTesselDoc::SaveTemplateOverOwnFile() {
    // The options may have changed since the template was opened.
    m_template.SetHeadStyle(GetSaveStyle());
    const std::string& text = m_template.GetText();
    const std::string what =
        "The template " + QFileInfo(m_strTemplatePath).fileName().toStdString();
    CDiskSnapshot expected = m_templateDisk;
    for (;;) {
        DiskChange change = DiskChange::NONE;
        CDiskSnapshot now, written;
        QString error;
        switch (SaveOverOpened(m_strTemplatePath, text, m_templateForm, expected, change, now,
                               written, error)) {
        case GuardedSave::WRITTEN:
            m_templateDisk = written;
            SetDiskChanges(m_pageChange, DiskChange::NONE);
            WatchFiles();
            return 1;
        case GuardedSave::FAILED:
            Info("File error, unable to save " + m_strTemplatePath.toStdString() + "\n" +
                 error.toStdString());
            return 0;
        case GuardedSave::CONFLICT:
            break;
        }
        SetDiskChanges(m_pageChange, change);
        switch (AskAboutDiskChange(change, what, m_bTemplateModified)) {
        case IUserPrompt::ANSWER_RELOAD:
            ReadTemplateFile(m_strTemplatePath);
            return 0;
        case IUserPrompt::ANSWER_SAVE_AS:
            return SaveTemplateAs();
        case IUserPrompt::ANSWER_OVERWRITE:
            if (change == DiskChange::REPLACED) {
                if (!ReplaceOpened(m_strTemplatePath, text, m_templateForm, m_templateDisk,
                                   error)) {
                    Info("File error, unable to save " + m_strTemplatePath.toStdString() + "\n" +
                         error.toStdString());
                    return 0;
                }
                SetDiskChanges(m_pageChange, DiskChange::NONE);
                WatchFiles();
                return 1;
            }
            expected = now;
            continue;
        default:
            return 0;
        }
    }
}

int CTesselDoc::ReloadTemplate() {
    if (!m_bTemplateOpen || m_strTemplatePath.isEmpty())
        return 0;
    if (m_bTemplateModified &&
        Ask("Reload the template " + QFileInfo(m_strTemplatePath).fileName().toStdString() +
                " from disk? Your changes to it are lost.",
            IUserPrompt::YES_NO) != IUserPrompt::ANSWER_YES)
        return 0;
    const int ok = ReadTemplateFile(m_strTemplatePath);
    CheckDisk();
    return ok;
}

int CTesselDoc::NewTemplate() {
    if (!SaveTemplateModified())
        return 0;
    m_strTemplateName = QStringLiteral("unnamed template");
    m_strTemplatePath.clear();
    m_templateDisk = {};
    m_strTemplateDiskPath.clear();
    SetDiskChanges(m_pageChange, DiskChange::NONE);
    WatchFiles();
    m_template.SetHeadStyle(GetSaveStyle());
    m_template.SetText(NEW_TEMPLATE_TEXT, BodyMode::REBUILD);
    m_templateForm = PageFileForm::BYTES;
    m_bTemplateModified = 0;

    std::string name, content;
    int httpEquiv = 0;
    const std::string title = m_page.GetTitle();
    if ((!title.empty() || m_page.GetMetaAt(0, name, content, httpEquiv)) &&
        Ask("Base new template on current page?", IUserPrompt::YES_NO) == IUserPrompt::ANSWER_YES) {
        // The new template is UTF-8: the page's values come in as the same
        // characters, whatever the page's encoding.
        const CPageCodec codec = CPageCodec::ForPage(m_page.GetText(), m_page);
        const auto utf8 = [&](const std::string& bytes) {
            return codec.IsUtf8() ? bytes : codec.Decode(bytes).toStdString();
        };
        if (!title.empty())
            m_template.SetTitleWithAction(utf8(title), ACTION_SET_IF_MISSING);
        httpEquiv = 0;
        for (int i = 0; m_page.GetMetaAt(i, name, content, httpEquiv); ++i) {
            if (!content.empty())
                m_template.SetMetaWithAction(utf8(name), utf8(content), httpEquiv,
                                             ACTION_SET_IF_MISSING);
        }
        for (int i = 0; GetPropertyAt(m_page, i, name, content); ++i) {
            if (!content.empty())
                m_template.SetPropertyWithAction(utf8(name), utf8(content), ACTION_SET_IF_MISSING);
        }
        // Not the links: a canonical or alternate address is the page's own.
        std::string lang;
        if (GetHtmlLang(m_page, lang) && !lang.empty())
            m_template.SetHtmlLangWithAction(utf8(lang), ACTION_SET_IF_MISSING);
        m_bTemplateModified = 1;
    }

    m_bTrackEdits = 0;
    m_bTemplateOpen = 1;
    m_bEditingTemplate = 1;
    NotifyStateChanged();
    UpdateAllViews();
    return 1;
}

int CTesselDoc::CloseTemplate() {
    if (!SaveTemplateModified())
        return 0;
    m_bTemplateOpen = 0;
    m_bEditingTemplate = 0;
    m_bTemplateModified = 0;
    m_templateDisk = {};
    m_strTemplateDiskPath.clear();
    SetDiskChanges(m_pageChange, DiskChange::NONE);
    WatchFiles();
    NotifyStateChanged();
    UpdateAllViews();
    return 1;
}

void CTesselDoc::ToggleEditing() {
    m_bTrackEdits = 0;
    m_bEditingTemplate = !m_bEditingTemplate;
    NotifyStateChanged();
    UpdateAllViews();
}

int CTesselDoc::ApplyTemplate() {
    if (!m_bTemplateOpen)
        return 0;
    const int tracking = m_bTrackEdits;
    m_bTrackEdits = 0;
    CTemplateValues values;
    values.Read(m_template);
    QString error;
    if (!values.ApplyTo(m_page, GetTemplateContext(), &error)) {
        // A character the page's encoding cannot hold, or a variable without
        // a value here: the page stays as it was.
        m_bTrackEdits = tracking;
        Info(error.toStdString());
        return 0;
    }
    SetModifiedFlag(1);
    UpdateAllViews();
    return 1;
}

CTemplateContext CTesselDoc::GetTemplateContext() const {
    CTemplateContext context;
    context.pagePath = m_strPathName;
    const std::string page = ScriptFolderKey(m_strPathName);
    const std::string chosen = ScriptFolderKey(m_strProjectDir);
    const auto holds = [&](const std::string& folder) {
        return !folder.empty() && !page.empty() &&
               (folder == "/" || page.starts_with(folder + '/'));
    };
    // The project chosen with Browse when it holds the page, else the project
    // whose site address is set that holds it, else the page's own folder.
    std::string root;
    if (holds(chosen))
        root = chosen;
    else if (m_settings)
        root = m_settings->m_projectSites.ProjectOf(page);
    if (!root.empty())
        context.projectRoot = QString::fromStdString(root);
    else if (!m_strPathName.isEmpty())
        context.projectRoot = QFileInfo(m_strPathName).absolutePath();
    if (m_settings && !root.empty())
        context.site = QString::fromStdString(m_settings->m_projectSites.SiteOf(root));
    return context;
}

// --- The template for the views -------------------------------------------------------

int CTesselDoc::GetTemplateTitle(std::string& title, int& action) const {
    return m_template.GetTitleWithAction(title, action);
}

void CTesselDoc::SetTemplateTitle(const std::string& title, int action) {
    m_template.SetTitleWithAction(title, action);
}

int CTesselDoc::GetTemplateMetaAt(int index, std::string& name, std::string& content,
                                  int& httpEquiv, int& action) const {
    if (!m_template.GetMetaAt(index, name, content, httpEquiv))
        return 0;
    action = m_template.GetMetaAction(name);
    return 1;
}

int CTesselDoc::SetTemplateMeta(const std::string& name, const std::string& content, int httpEquiv,
                                int action) {
    return m_template.SetMetaWithAction(name, content, httpEquiv, action);
}

int CTesselDoc::RemoveTemplateMeta(const std::string& name) {
    return m_template.RemoveMeta(name);
}

const std::string& CTesselDoc::GetTemplateText() {
    return m_template.GetText();
}
