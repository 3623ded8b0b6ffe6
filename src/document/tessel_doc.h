// CTesselDoc: the single document of the editor, the open web page and the
// open meta-data template, with the commands that create, open and save them.
//
// The document holds no window. Messages and questions go to an IUserPrompt,
// requests for file and folder names to an IFilePicker, and changes are
// announced through Qt signals. The prompt, the picker and the settings are
// owned by the caller and must outlive the document or be unset. Without a
// prompt nothing is shown and questions get the cautious answer (Cancel, or
// No); without a picker every dialog counts as cancelled; without settings the
// default file types apply.
//
// Page text is bytes (std::string). Paths are QString and are converted to
// and from the file system's bytes with QFile::encodeName and decodeName.
//
// The document remembers what it read of the page and the template files
// (CDiskSnapshot) and watches them: a change another program makes on disk is
// announced at once (diskStateChanged), and a save never writes over such a
// change without asking (Reload, Overwrite or Cancel; Save As, Save or Cancel
// for a file that was deleted). A save of a document without changes writes
// nothing.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "document/disk_state.h"
#include "document/file_picker.h"
#include "document/template_file_name.h"
#include "document/template_variables.h"
#include "page/html_page.h"
#include "page/page_file.h"
#include "page/social_tags.h"
#include "page/user_prompt.h"

struct CAppSettings;
class QFileSystemWatcher;
class QTimer;

class CTesselDoc : public QObject {
    Q_OBJECT

public:
    explicit CTesselDoc(QObject* parent = nullptr);
    CTesselDoc(const CTesselDoc&) = delete;
    CTesselDoc& operator=(const CTesselDoc&) = delete;

    void SetPrompt(IUserPrompt* prompt);
    // Where views tell the user something too; may be null.
    IUserPrompt* GetPrompt() const { return m_prompt; }
    void SetFilePicker(IFilePicker* picker) { m_picker = picker; }
    // The application's settings, whose file types File Open filters by; read
    // at each use, so a change in the options applies at once.
    void SetSettings(const CAppSettings* settings) { m_settings = settings; }
    QString GetFileTypes() const;
    // How saves write the page's and the template's head: normalized when the
    // settings say "Normalize head tags on save", else changing only what
    // the user changed.
    HeadStyle GetSaveStyle() const;

    // --- Page document state --------------------------------------------------
    // Full path of the page file, "" for a new page.
    const QString& GetPathName() const { return m_strPathName; }
    // The page's name as captions and questions show it: the file name, or "Untitled".
    QString GetTitle() const;
    int IsModified() const { return m_bModified; }
    void SetModifiedFlag(int modified = 1);
    int HasNoMetaPosition() const { return m_bNoMetaPosition; }

    // --- Page commands ----------------------------------------------------------
    // Each returns 1 when done, 0 when cancelled or failed (the user has been told why).
    // File New: asks about unsaved changes, then a new page.
    int FileNew();
    // File Open: asks for a file filtered by the file types, asks about unsaved
    // changes, resets the page and opens the file (a ".mtpl" name as the template).
    int FileOpen();
    // The application's open of a named file (command line, recent files, file
    // browser): ".mtpl" names become the template, others the page.
    int OpenDocumentFile(const QString& path);
    int FileSave();
    int FileSaveAs();
    // Asks "Save changes to %1?" when the page is modified; 0 means Cancel (or a failed save).
    int SaveModified();
    // Browse: asks for the project directory.
    int OnBrowse();
    // Before the window closes: the template question, then the page question.
    int CanCloseFrame();

    // The steps behind the commands, without questions.
    int OnNewDocument();
    int OnOpenDocument(const QString& path);
    int OnSaveDocument(const QString& path);

    // --- The page, for the editing view, preview and file browser ---------------
    int GetPageMetaAt(int index, std::string& name, std::string& content, int& httpEquiv) const;
    // Trims the content; an empty result removes the tag. Returns 1 when written or removed.
    int SetMetaValue(const std::string& name, const std::string& content, int httpEquiv);
    int RemoveMeta(const std::string& name);
    std::string GetPageTitle() const;
    int SetPageTitle(const std::string& title);
    std::string GetBodyText() const;
    // The rebuilt text, valid until the page changes.
    const std::string& GetPageText();
    // The tags of search engines and social networks (bytes as stored, as
    // the meta tags above; reads in page/social_tags.h on GetPage()):
    // property tags (og:title ...), the canonical and hreflang alternate
    // links, and the language of the <html> tag. Each Set trims the value,
    // and an empty result removes the tag (the lang attribute). SetPageLang
    // returns 0 when the page has no <html> tag: a language is never written
    // by adding one.
    int GetPagePropertyAt(int index, std::string& property, std::string& content) const;
    int SetPropertyValue(const std::string& property, const std::string& content);
    // The links in page order (a position is valid until the next change).
    std::vector<CHeadLink> GetPageLinks() const;
    int SetLinkValue(LinkKind kind, const std::string& hreflang, const std::string& href);
    // 1 with the lang of the <html> tag, 0 when it has none (or there is no
    // <html> tag: HasHtmlTag tells).
    int GetPageLang(std::string& lang) const;
    int HasHtmlTag() const;
    int SetPageLang(const std::string& lang);
    // The page model itself, for reads the operations above do not offer.
    const CHtmlPage& GetPage() const { return m_page; }
    const QString& GetProjectDir() const { return m_strProjectDir; }
    // Stores dir without one trailing "/" ("/" itself stays "/").
    void SetProjectDir(const QString& dir);

    // The filter File Open offers for a file-types setting.
    static QString OpenFilter(const QString& fileTypes);

    // --- Template state -----------------------------------------------------------
    int IsTemplateOpen() const { return m_bTemplateOpen; }
    int IsEditingTemplate() const { return m_bEditingTemplate; }
    int IsTemplateModified() const { return m_bTemplateModified; }
    void SetTemplateModified(int modified = 1);
    const QString& GetTemplateName() const { return m_strTemplateName; }
    const QString& GetTemplatePath() const { return m_strTemplatePath; }
    int IsTrackingEdits() const { return m_bTrackEdits; }
    void SetTrackEdits(int track) { m_bTrackEdits = track; }

    // --- Template commands ----------------------------------------------------------
    // Loads path as the template, without questions.
    int ReadTemplateFile(const QString& path);
    // Every way of opening a template: asks about the open template's unsaved
    // changes first, then ReadTemplateFile.
    int OpenTemplate(const QString& path);
    int NewTemplate();
    int OnTemplateOpen();
    int SaveTemplate();
    int SaveTemplateAs();
    int CloseTemplate();
    void ToggleEditing();
    int ApplyTemplate();
    // What the template variables {filename}, {path} and {site} stand for on
    // the page: its path, its project folder (the one chosen with Browse when
    // it holds the page, else the project with a site address set that holds
    // it, else the page's folder) and that project's site address.
    CTemplateContext GetTemplateContext() const;
    // Asks "Save changes to " + name when the open template is modified; 0 means
    // Cancel (or a failed save).
    int SaveTemplateModified();

    // Command enable states.
    int CanSaveTemplate() const { return m_bTemplateOpen && m_bTemplateModified; }
    int CanApplyTemplate() const { return m_bTemplateOpen && !m_bEditingTemplate; }

    // --- The template, for the editing view --------------------------------------------
    int GetTemplateTitle(std::string& title, int& action) const;
    void SetTemplateTitle(const std::string& title, int action);
    int GetTemplateMetaAt(int index, std::string& name, std::string& content, int& httpEquiv,
                          int& action) const;
    int SetTemplateMeta(const std::string& name, const std::string& content, int httpEquiv,
                        int action);
    int RemoveTemplateMeta(const std::string& name);
    // The template's property tags, links and language, each with its action
    // (-1 when it has none).
    int GetTemplatePropertyAt(int index, std::string& property, std::string& content,
                              int& action) const;
    int SetTemplateProperty(const std::string& property, const std::string& content, int action);
    int RemoveTemplateProperty(const std::string& property);
    int GetTemplateLinkAt(int index, LinkKind& kind, std::string& hreflang, std::string& href,
                          int& action) const;
    int SetTemplateLink(LinkKind kind, const std::string& hreflang, const std::string& href,
                        int action);
    int RemoveTemplateLink(LinkKind kind, const std::string& hreflang);
    int GetTemplateLang(std::string& lang, int& action) const;
    // 0 when the template has no <html> tag (a new template has one).
    int SetTemplateLang(const std::string& lang, int action);
    int RemoveTemplateLang();
    const std::string& GetTemplateText();
    const CHtmlPage& GetTemplatePage() const { return m_template; }

    // --- Changes made on disk by other programs ------------------------------------------
    // Compares the page and template files with what was read or written
    // (the watcher does so by itself, a moment after the system reports a
    // change; the window also does when it is activated) and announces a
    // difference that was not announced yet.
    void CheckDisk();
    DiskChange GetPageDiskChange() const { return m_pageChange; }
    DiskChange GetTemplateDiskChange() const { return m_templateChange; }
    // What the window shows about them, one line each; "" when both files
    // hold what was read.
    std::string GetDiskNotice() const;
    // Reads the page (or template) again from its file; asks first when that
    // loses unsaved changes. Returns 1 when it was read.
    int ReloadPage();
    int ReloadTemplate();

    // Refills the views with edit tracking off, then turns tracking on.
    void UpdateAllViews();
    // The same after a page was created or opened: views start afresh.
    void InitialUpdate();

signals:
    // A page was created or opened (or reset by a failed open): every view
    // starts afresh from it (the form drops the rows of the last page, the
    // preview loads). Edits made meanwhile are not tracked.
    void initialUpdate();
    // Every view refills itself from the document (the page, or the template
    // while it is being edited). Edits made meanwhile are not tracked.
    void updateAllViews();
    // The page's path or modified flag, or the template's state, changed: the
    // caption and the enabled commands follow.
    void stateChanged();
    // Browse chose a project directory: show or refresh the file browser.
    void projectDirChanged();
    // A page or template file was opened or saved under this full path (for
    // the recent-file list).
    void fileUsed(const QString& path);
    // GetPageDiskChange or GetTemplateDiskChange changed.
    void diskStateChanged();

private:
    void Info(const std::string& text) const;
    IUserPrompt::Answer Ask(const std::string& text, IUserPrompt::Buttons buttons) const;
    QString PickFile(IFilePicker::Kind kind, const QString& caption, const QString& filter,
                     const QString& defaultExtension, const QString& initialName) const;
    int DoSave(const QString& newName);
    // Saves the page over the file it was read from, asking first when
    // another program changed it.
    int SavePageOverOwnFile();
    int SaveTemplateOverOwnFile();
    // Asks what to do about change before a save over a file; returns the answer.
    IUserPrompt::Answer AskAboutDiskChange(DiskChange change, const std::string& what, bool edited);
    int ReloadPageNow();
    // The watcher follows the files read (and their folders, which tell when a
    // file is replaced by a rename or created again).
    void WatchFiles();
    void SetDiskChanges(DiskChange page, DiskChange templ);
    void SetPathName(const QString& path);
    void NotifyStateChanged() { emit stateChanged(); }
    void NotifyFileUsed(const QString& path) { emit fileUsed(path); }

    int m_bTrackEdits = 0;
    int m_bTemplateOpen = 0;
    int m_bEditingTemplate = 0;
    int m_bTemplateModified = 0;
    QString m_strTemplateName;
    QString m_strTemplatePath;
    QString m_strProjectDir;
    CHtmlPage m_page;
    CHtmlPage m_template;
    // How the page's and the template's files hold their text (UTF-16 files
    // are edited as UTF-8 and written back as UTF-16).
    PageFileForm m_pageForm = PageFileForm::BYTES;
    PageFileForm m_templateForm = PageFileForm::BYTES;
    int m_bNoMetaPosition = 0;

    // What the framework kept for the page document.
    QString m_strPathName;
    int m_bModified = 0;

    // What was read or written of the page and template files, and where.
    CDiskSnapshot m_pageDisk;
    CDiskSnapshot m_templateDisk;
    QString m_strTemplateDiskPath;
    DiskChange m_pageChange = DiskChange::NONE;
    DiskChange m_templateChange = DiskChange::NONE;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_diskCheck = nullptr;

    const CAppSettings* m_settings = nullptr;
    IUserPrompt* m_prompt = nullptr;
    IFilePicker* m_picker = nullptr;
};

// A path as the document stores it: absolute and clean.
QString AbsoluteDocPath(const QString& path);
// The template's name as shown: the file name without folder and extension.
QString TemplateNameFromPath(const QString& path);
