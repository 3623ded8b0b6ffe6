#include "document/tessel_doc.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "document/doc_texts.h"
#include "document/text_file.h"
#include "settings/app_settings.h"
#include "settings/file_types.h"

namespace {

const char kNoMetaPosition[] =
    "Unable to find correct position for meta-data, no changes will be written to this file.";

std::string Utf8(const QString& s) {
    return s.toStdString();
}

// White space as the C library sees it, trimmed from both ends.
std::string Trimmed(const std::string& s) {
    const char* ws = " \t\n\v\f\r";
    const size_t first = s.find_first_not_of(ws);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(ws) - first + 1);
}

} // namespace

QString AbsoluteDocPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString TemplateNameFromPath(const QString& path) {
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

CTesselDoc::CTesselDoc(QObject* parent) : QObject(parent) {}

HeadStyle CTesselDoc::GetSaveStyle() const {
    return m_settings && m_settings->m_bNormalizeHead ? HeadStyle::NORMALIZE : HeadStyle::KEEP;
}

QString CTesselDoc::GetFileTypes() const {
    const std::string_view types = m_settings ? m_settings->m_strFileTypes : DEFAULT_FILE_TYPES;
    return QString::fromUtf8(types.data(), static_cast<qsizetype>(types.size()));
}

void CTesselDoc::SetPrompt(IUserPrompt* prompt) {
    m_prompt = prompt;
    m_page.SetPrompt(prompt);
    m_template.SetPrompt(prompt);
}

void CTesselDoc::Info(const std::string& text) const {
    if (m_prompt)
        m_prompt->Info(text);
}

IUserPrompt::Answer CTesselDoc::Ask(const std::string& text, IUserPrompt::Buttons buttons) const {
    if (m_prompt)
        return m_prompt->Ask(text, buttons);
    switch (buttons) {
    case IUserPrompt::OK:
        return IUserPrompt::ANSWER_OK;
    case IUserPrompt::YES_NO:
        return IUserPrompt::ANSWER_NO;
    case IUserPrompt::YES_NO_CANCEL:
        break;
    }
    return IUserPrompt::ANSWER_CANCEL;
}

QString CTesselDoc::PickFile(IFilePicker::Kind kind, const QString& caption, const QString& filter,
                             const QString& defaultExtension, const QString& initialName) const {
    if (!m_picker)
        return {};
    IFilePicker::Request request;
    request.kind = kind;
    request.caption = caption;
    request.filter = filter;
    request.defaultExtension = defaultExtension;
    request.initialName = initialName;
    request.folderMustExist = kind == IFilePicker::OPEN_FILE;
    request.confirmOverwrite = kind == IFilePicker::SAVE_FILE;
    const QString chosen = m_picker->Pick(request);
    return chosen.isEmpty() ? chosen : AbsoluteDocPath(chosen);
}

void CTesselDoc::UpdateAllViews() {
    m_bTrackEdits = 0;
    emit updateAllViews();
    m_bTrackEdits = 1;
}

void CTesselDoc::InitialUpdate() {
    m_bTrackEdits = 0;
    emit initialUpdate();
    m_bTrackEdits = 1;
}

// --- Page document state ---------------------------------------------------------

QString CTesselDoc::GetTitle() const {
    if (m_strPathName.isEmpty())
        return QStringLiteral("Untitled");
    return QFileInfo(m_strPathName).fileName();
}

void CTesselDoc::SetModifiedFlag(int modified) {
    modified = modified ? 1 : 0;
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    NotifyStateChanged();
}

void CTesselDoc::SetPathName(const QString& path) {
    m_strPathName = path;
    NotifyStateChanged();
}

// --- Page steps ------------------------------------------------------------------

int CTesselDoc::OnNewDocument() {
    m_strPathName.clear();
    m_bModified = 0;
    m_page.SetHeadStyle(GetSaveStyle());
    m_page.SetText(NEW_PAGE_TEXT, BodyMode::REBUILD);
    m_pageForm = PageFileForm::BYTES;
    m_bNoMetaPosition = 0;
    NotifyStateChanged();
    return 1;
}

int CTesselDoc::OnOpenDocument(const QString& path) {
    if (!OnNewDocument())
        return 0;
    const QString full = AbsoluteDocPath(path);
    std::string text;
    QString error;
    if (!LoadTextFile(full, text, error, &m_pageForm)) {
        Info("Failed to open document.\n" + Utf8(full) + ": " + Utf8(error));
        return 0;
    }
    m_page.SetHeadStyle(GetSaveStyle());
    m_page.SetText(std::move(text), BodyMode::PRESERVE);
    if (!m_page.HasMetaPosition()) {
        Info(kNoMetaPosition);
        m_bNoMetaPosition = 1;
    }
    SetPathName(full);
    return 1;
}

int CTesselDoc::OnSaveDocument(const QString& path) {
    if (m_bNoMetaPosition) {
        // The page has nowhere to put meta tags: leave the file (or its absence) as it is.
        Info("Unable to find correct position for meta-data, no changes were written to " +
             Utf8(path) + ".");
        return 0;
    }
    // The options may have changed since the page was opened.
    m_page.SetHeadStyle(GetSaveStyle());
    QString error;
    if (!SaveTextFile(path, m_page.GetText(), error, FileSync::TO_DISK, m_pageForm)) {
        Info("Failed to save document.\n" + Utf8(path) + ": " + Utf8(error));
        return 0;
    }
    return 1;
}

// --- Page commands -----------------------------------------------------------------

int CTesselDoc::SaveModified() {
    if (!m_bModified)
        return 1;
    switch (Ask("Save changes to " + Utf8(GetTitle()) + "?", IUserPrompt::YES_NO_CANCEL)) {
    case IUserPrompt::ANSWER_YES:
        return FileSave();
    case IUserPrompt::ANSWER_NO:
        return 1;
    default:
        return 0;
    }
}

int CTesselDoc::FileNew() {
    if (!SaveModified())
        return 0;
    OnNewDocument();
    InitialUpdate();
    return 1;
}

QString CTesselDoc::OpenFilter(const QString& fileTypes) {
    const QString all = QStringLiteral("All files (*.*)|*.*||");
    if (fileTypes.isEmpty())
        return all;
    return "Web page files (" + fileTypes + ")|" + fileTypes +
           "|Meta-tag template files (*.mtpl)|*.mtpl|" + all;
}

int CTesselDoc::FileOpen() {
    const QString name = PickFile(IFilePicker::OPEN_FILE, QStringLiteral("Open"),
                                  OpenFilter(GetFileTypes()), {}, {});
    if (name.isEmpty())
        return 0;
    // Resetting the page below would drop unsaved edits without a word.
    if (!SaveModified())
        return 0;
    if (!OnNewDocument())
        return 0;
    if (IsTemplateFileName(name))
        InitialUpdate(); // the page was reset; the template comes on top of it
    return OpenDocumentFile(name);
}

int CTesselDoc::OpenDocumentFile(const QString& path) {
    const QString full = AbsoluteDocPath(path);
    if (IsTemplateFileName(full))
        return OpenTemplate(full);
    if (!m_strPathName.isEmpty() && full == m_strPathName)
        return 1; // already open
    if (!SaveModified())
        return 0;
    const int ok = OnOpenDocument(full);
    if (ok)
        NotifyFileUsed(full);
    InitialUpdate(); // after a failed open too: the page was reset
    return ok;
}

int CTesselDoc::FileSave() {
    if (m_strPathName.isEmpty())
        return DoSave({});
    return DoSave(m_strPathName);
}

int CTesselDoc::FileSaveAs() {
    return DoSave({});
}

int CTesselDoc::DoSave(const QString& newName) {
    QString name = newName;
    if (name.isEmpty()) {
        if (m_bNoMetaPosition) {
            Info(std::string(kNoMetaPosition)); // no point asking for a name
            return 0;
        }
        name = PickFile(IFilePicker::SAVE_FILE, QStringLiteral("Save As"),
                        OpenFilter(GetFileTypes()), QStringLiteral("htm"), GetTitle());
        if (name.isEmpty())
            return 0;
    }
    if (!OnSaveDocument(name))
        return 0;
    m_strPathName = name;
    m_bModified = 0;
    NotifyStateChanged();
    NotifyFileUsed(name);
    return 1;
}

int CTesselDoc::OnBrowse() {
    const QString dir = PickFile(IFilePicker::FOLDER, QStringLiteral("Select project directory"),
                                 {}, {}, m_strProjectDir);
    if (dir.isEmpty())
        return 0;
    SetProjectDir(dir);
    emit projectDirChanged();
    return 1;
}

void CTesselDoc::SetProjectDir(const QString& dir) {
    m_strProjectDir = dir;
    if (m_strProjectDir.size() > 1 && m_strProjectDir.endsWith(QLatin1Char('/')))
        m_strProjectDir.chop(1);
}

int CTesselDoc::CanCloseFrame() {
    if (!SaveTemplateModified())
        return 0;
    return SaveModified();
}

// --- The page for the views -------------------------------------------------------------

int CTesselDoc::GetPageMetaAt(int index, std::string& name, std::string& content,
                              int& httpEquiv) const {
    return m_page.GetMetaAt(index, name, content, httpEquiv);
}

int CTesselDoc::SetMetaValue(const std::string& name, const std::string& content, int httpEquiv) {
    const std::string value = Trimmed(content);
    if (value.empty())
        return m_page.RemoveMeta(name);
    return m_page.SetMeta(name, value, httpEquiv);
}

int CTesselDoc::RemoveMeta(const std::string& name) {
    return m_page.RemoveMeta(name);
}

std::string CTesselDoc::GetPageTitle() const {
    return m_page.GetTitle();
}

int CTesselDoc::SetPageTitle(const std::string& title) {
    return m_page.SetTitle(title);
}

std::string CTesselDoc::GetBodyText() const {
    return m_page.GetBodyText();
}

std::string CTesselDoc::GetPageText() {
    return m_page.GetText();
}
