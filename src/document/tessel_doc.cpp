#include "document/tessel_doc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
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
    case IUserPrompt::RELOAD_OVERWRITE_CANCEL:
    case IUserPrompt::SAVE_AS_SAVE_CANCEL:
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
    m_pageDisk = {};
    SetDiskChanges(DiskChange::NONE, m_templateChange);
    WatchFiles();
    NotifyStateChanged();
    return 1;
}

int CTesselDoc::OnOpenDocument(const QString& path) {
    if (!OnNewDocument())
        return 0;
    const QString full = AbsoluteDocPath(path);
    std::string text;
    QString error;
    CDiskSnapshot disk = CDiskSnapshot::Stat(full);
    if (!LoadTextFile(full, text, error, &m_pageForm)) {
        Info("Failed to open document.\n" + Utf8(full) + ": " + Utf8(error));
        return 0;
    }
    disk.SetContent(text);
    m_pageDisk = disk;
    m_page.SetHeadStyle(GetSaveStyle());
    m_page.SetText(std::move(text), BodyMode::PRESERVE);
    if (!m_page.HasMetaPosition()) {
        Info(kNoMetaPosition);
        m_bNoMetaPosition = 1;
    }
    SetPathName(full);
    WatchFiles();
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
    const std::string& text = m_page.GetText();
    if (!SaveTextFile(path, text, error, FileSync::TO_DISK, m_pageForm)) {
        Info("Failed to save document.\n" + Utf8(path) + ": " + Utf8(error));
        return 0;
    }
    m_pageDisk = CDiskSnapshot::Stat(path);
    m_pageDisk.SetContent(text);
    return 1;
}

int CTesselDoc::SavePageOverOwnFile() {
    if (m_bNoMetaPosition)
        return OnSaveDocument(m_strPathName); // says why nothing is written
    // The options may have changed since the page was opened.
    m_page.SetHeadStyle(GetSaveStyle());
    const std::string& text = m_page.GetText();
    CDiskSnapshot expected = m_pageDisk;
    for (;;) {
        DiskChange change = DiskChange::NONE;
        CDiskSnapshot now, written;
        QString error;
        switch (SaveOverOpened(m_strPathName, text, m_pageForm, expected, change, now, written,
                               error)) {
        case GuardedSave::WRITTEN:
            m_pageDisk = written;
            SetDiskChanges(DiskChange::NONE, m_templateChange);
            WatchFiles();
            return 1;
        case GuardedSave::FAILED:
            Info("Failed to save document.\n" + Utf8(m_strPathName) + ": " + Utf8(error));
            return 0;
        case GuardedSave::CONFLICT:
            break;
        }
        SetDiskChanges(change, m_templateChange);
        switch (AskAboutDiskChange(change, "The page " + Utf8(GetTitle()), m_bModified)) {
        case IUserPrompt::ANSWER_RELOAD:
            ReloadPageNow();
            return 0; // what was to be saved is gone: no save happened
        case IUserPrompt::ANSWER_SAVE_AS:
            return DoSave({});
        case IUserPrompt::ANSWER_OVERWRITE:
            if (change == DiskChange::REPLACED) {
                // In place of the link (or whatever is there), never through it.
                if (!ReplaceOpened(m_strPathName, text, m_pageForm, m_pageDisk, error)) {
                    Info("Failed to save document.\n" + Utf8(m_strPathName) + ": " + Utf8(error));
                    return 0;
                }
                SetDiskChanges(DiskChange::NONE, m_templateChange);
                WatchFiles();
                return 1;
            }
            expected = now; // what the user saw; a further change is asked about again
            continue;
        default:
            return 0;
        }
    }
}

IUserPrompt::Answer CTesselDoc::AskAboutDiskChange(DiskChange change, const std::string& what,
                                                   bool edited) {
    return Ask(DiskChangeQuestion(change, what, edited), DiskChangeButtons(change));
}

// --- Changes on disk ----------------------------------------------------------------------

void CTesselDoc::CheckDisk() {
    DiskChange page = DiskChange::NONE;
    if (!m_strPathName.isEmpty() && m_pageDisk.IsValid()) {
        CDiskSnapshot now;
        page = m_pageDisk.Compare(m_strPathName, &now);
        if (page == DiskChange::NONE)
            m_pageDisk = now; // touched only: not read again next time
    }
    DiskChange templ = DiskChange::NONE;
    if (m_bTemplateOpen && !m_strTemplateDiskPath.isEmpty() &&
        m_strTemplateDiskPath == m_strTemplatePath && m_templateDisk.IsValid()) {
        CDiskSnapshot now;
        templ = m_templateDisk.Compare(m_strTemplatePath, &now);
        if (templ == DiskChange::NONE)
            m_templateDisk = now;
    }
    WatchFiles();
    SetDiskChanges(page, templ);
}

void CTesselDoc::SetDiskChanges(DiskChange page, DiskChange templ) {
    if (page == m_pageChange && templ == m_templateChange)
        return;
    m_pageChange = page;
    m_templateChange = templ;
    emit diskStateChanged();
}

std::string CTesselDoc::GetDiskNotice() const {
    std::string notice = DiskChangeNotice(m_pageChange, "The page " + Utf8(GetTitle()));
    if (m_templateChange != DiskChange::NONE) {
        if (!notice.empty())
            notice += "\n";
        notice += DiskChangeNotice(m_templateChange,
                                   "The template " + Utf8(QFileInfo(m_strTemplatePath).fileName()));
    }
    return notice;
}

void CTesselDoc::WatchFiles() {
    if (!m_watcher) {
        // Watching needs an event loop; without one (a program that only
        // reads and writes) the checks before each save still hold.
        if (!QCoreApplication::instance())
            return;
        m_watcher = new QFileSystemWatcher(this);
        m_diskCheck = new QTimer(this);
        // A save by another program comes as several reports (truncate,
        // write, rename): they are looked at together, a moment later.
        m_diskCheck->setSingleShot(true);
        m_diskCheck->setInterval(100);
        connect(m_diskCheck, &QTimer::timeout, this, &CTesselDoc::CheckDisk);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, m_diskCheck,
                qOverload<>(&QTimer::start));
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_diskCheck,
                qOverload<>(&QTimer::start));
    }
    QStringList wanted;
    const auto want = [&wanted](const QString& path) {
        if (path.isEmpty())
            return;
        // A file replaced by a rename leaves the watch: it is watched anew.
        if (QFileInfo::exists(path))
            wanted << path;
        wanted << QFileInfo(path).absolutePath();
    };
    if (m_pageDisk.IsValid())
        want(m_strPathName);
    if (m_bTemplateOpen && m_templateDisk.IsValid())
        want(m_strTemplateDiskPath);
    wanted.removeDuplicates();
    QStringList watched = m_watcher->files() + m_watcher->directories();
    QStringList gone;
    for (const QString& path : watched)
        if (!wanted.contains(path))
            gone << path;
    if (!gone.isEmpty())
        m_watcher->removePaths(gone);
    QStringList added;
    for (const QString& path : wanted)
        if (!watched.contains(path))
            added << path;
    if (!added.isEmpty())
        m_watcher->addPaths(added);
}

int CTesselDoc::ReloadPage() {
    if (m_strPathName.isEmpty())
        return 0;
    if (m_bModified &&
        Ask("Reload " + Utf8(GetTitle()) + " from disk? Your changes to it are lost.",
            IUserPrompt::YES_NO) != IUserPrompt::ANSWER_YES)
        return 0;
    return ReloadPageNow();
}

int CTesselDoc::ReloadPageNow() {
    const QString path = m_strPathName;
    const int ok = OnOpenDocument(path);
    InitialUpdate(); // after a failed read too: the page was reset
    CheckDisk();
    return ok;
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
    // Nothing to write, unless the file is no longer what was read: then
    // the save asks whether to put this version back.
    if (!m_bModified && m_pageDisk.IsValid()) {
        CheckDisk();
        if (m_pageChange == DiskChange::NONE)
            return 1;
    }
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
    const bool ownFile = !m_strPathName.isEmpty() && name == m_strPathName && m_pageDisk.IsValid();
    if (ownFile) {
        if (!SavePageOverOwnFile())
            return 0;
        if (m_strPathName != name)
            return 1; // saved under another name (Save As), which is done
    } else if (!OnSaveDocument(name)) {
        return 0;
    }
    m_strPathName = name;
    SetDiskChanges(DiskChange::NONE, m_templateChange);
    WatchFiles();
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

const std::string& CTesselDoc::GetPageText() {
    return m_page.GetText();
}
