// CMainFrame: the main window: menus, keys, the two toolbars, the status bar
// and the two-column client area: the file browser's column (hidden until a
// project folder is chosen) and the child frame, which holds the editing view
// and the web page preview; or, in the child frame's place, the site view:
// every page of the project folder in one table.
//
// Every command is one QAction carrying its command id as data, made from its
// row of the command table (frame_commands.h), which also holds its handler
// and its enable/check rule. Enable and check states are recomputed in
// UpdateActions whenever what they read changes.
//
// The document, profile, settings and recent-file list belong to the caller
// and outlive the window.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "app/frame_state.h"
#include "assistants/ui/assistant_dialogs.h"
#include "site/site_commands.h"

struct CAppSettings;
struct FrameCommand;
class CChildFrame;
class CFileBrowserColumn;
class CFileTreeView;
class CHelpWindow;
class CHideSplitterWnd;
class CLockKeyTracker;
class CRecentFileList;
class CSiteSession;
class CSiteView;
class IFilePicker;
class CTesselDoc;
class CEditingPane;
class CTesselView;
class IProfile;
class IUserPrompt;
class QAction;
class QLabel;
class QTimer;
class QToolBar;
struct LockKeys;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // How long after a change the recent-file list reaches the profile.
    static constexpr int RECENT_SAVE_DELAY_MS = 2000;

    CMainFrame(CTesselDoc& doc, IProfile& profile, CAppSettings& settings,
               CRecentFileList& recentFiles, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Where the window's own messages go ("Failed to launch help.") and the
    // site view's questions; where the site view asks for file names.
    void SetPrompt(IUserPrompt* prompt);
    void SetFilePicker(IFilePicker* picker);

    // The action of a command id (recent files: ID_FILE_MRU_FILE1 + n), or null.
    QAction* Action(int id) const;
    // Runs command id as its menu item would: only while its rule enables it.
    // Returns whether it ran.
    bool RunCommand(int id);

    CTesselDoc& Document() const { return m_doc; }
    CTesselView* View() const { return m_view; }
    CAppSettings& Settings() const { return m_settings; }
    CHideSplitterWnd* Splitter() const { return m_splitter; }
    QLabel* MessagePane() const { return m_messagePane; }
    QToolBar* MainToolBar() const { return m_mainBar; }
    QToolBar* ViewToolBar() const { return m_viewBar; }

    // The panes: the file browser in column 0, the child frame in column 1.
    CFileTreeView* FileBrowser() const { return m_browser; }
    CChildFrame* ChildFrame() const { return m_child; }
    // The site view, shown in the child frame's place.
    CSiteView* SiteView() const { return m_siteView; }

    // Shows or hides the file browser's column; showing it while it
    // is shown refreshes the tree, which re-reads only another folder. Browse
    // shows it through the document, the browser's close button hides it.
    void ShowFileBrowser(bool show);
    bool IsBrowserShown() const;
    // A project folder given on the command line becomes the document's
    // project folder, and the file browser shows it.
    void OpenProjectDir(const QString& dir);

    // The window's own commands.
    // Opens entry index of the recent-file list; an entry whose file is gone
    // is dropped from the list.
    bool OpenRecentFile(int index);
    // Shows or hides both toolbars together, as the main one is shown.
    void ToggleToolBars();
    void ToggleStatusBar();
    // Shows or hides the search and social previews under the editing view.
    void ToggleSnippetPanel();
    CEditingPane* EditingPane() const { return m_editingPane; }
    // Asks for the picture files of og:image and twitter:image.
    void SetImagePicker(IFilePicker* picker);
    // Moves the focus to the next (or previous) visible pane, wrapping.
    void CyclePane(bool forward);
    // Opens the help at its default topic, or says why it cannot.
    void ShowHelpTopics();
    // Shows the site view in the child frame's place (reading the project
    // folder, asked for when there is none, the first time), or the child
    // frame again.
    void ToggleSiteView();
    void ShowSiteView(bool show);
    bool IsSiteViewShown() const;
    // Shows the site in folder dir (the project folder from then on) in the
    // site view: tsle --site DIR.
    void OpenSiteView(const QString& dir);
    // The child frame again, in view mode mode (VIEW_MODE_METADATA, ...).
    void ShowPageView(int mode);
    // A command of the site view from the menus (export, import, undo).
    void RunSiteCommand(SiteCommand command);

    // The window's size, position, splitter and bars from the profile, and back.
    void RestoreWindowState();
    void SaveWindowState();
    // Everything a normal close keeps: the view's settings, the recent files
    // and the window state.
    void StoreSettings();

    // The message pane's text: a hovered command's prompt, else the focused
    // field's description, else the idle text.
    QString MessageText() const;

public slots:
    void UpdateActions();
    void UpdateCaption();

signals:
    // A normal close has written the settings to the profile.
    void settingsStored();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreateClient();
    void CreateSiteView();
    void ConnectDocument();
    // Opens a page the site view asks for in the editing view.
    void OpenSitePage(const QString& path);

    void RebuildRecentFileMenu();
    void OnFileUsed(const QString& path);
    void ShowMessageText();
    void ShowLockKeys(const LockKeys& keys);
    // Everything the commands' rules read.
    FrameState GatherState() const;

    CTesselDoc& m_doc;
    IProfile& m_profile;
    CAppSettings& m_settings;
    CRecentFileList& m_recent;
    IUserPrompt* m_prompt = nullptr;

    // The actions in the order of the command table, each with its row.
    QList<QAction*> m_actions;
    QList<const FrameCommand*> m_commands;
    QMenu* m_recentMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QTimer* m_recentSave = nullptr;
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_viewBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_scrollPane = nullptr;
    CLockKeyTracker* m_lockKeys = nullptr;
    CHideSplitterWnd* m_splitter = nullptr;
    CFileTreeView* m_browser = nullptr;
    CFileBrowserColumn* m_browserColumn = nullptr;
    CChildFrame* m_child = nullptr;
    CTesselView* m_view = nullptr;
    CEditingPane* m_editingPane = nullptr;
    CSiteSession* m_siteSession = nullptr;
    CSiteView* m_siteView = nullptr;
    // The assistant dialogs and the options sheet behind the view's buttons.
    CAssistantDialogs m_assistants;
    QPointer<CHelpWindow> m_help;

    QString m_hoverText;
    QString m_fieldText;
};
