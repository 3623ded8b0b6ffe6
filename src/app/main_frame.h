// CMainFrame: the main window: menus, keys, the two toolbars, the status bar
// and the two-column client area (the file browser's column, hidden, and the
// editing view).
//
// Every command is one QAction carrying its command id as data. A command goes
// first to the panes added with AddCommandTarget, then to the window's own
// handler, which calls the document or the editing view. Enable and check
// states are recomputed in UpdateActions whenever what they read changes.
//
// The document, profile, settings and recent-file list belong to the caller
// and outlive the window.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "app/command_states.h"

struct CAppSettings;
class CHelpWindow;
class CHideSplitterWnd;
class CLockKeyTracker;
class CRecentFileList;
class CTesselDoc;
class CTesselView;
class ICommandTarget;
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

    // Where the window's own messages go ("Failed to launch help.").
    void SetPrompt(IUserPrompt* prompt) { m_prompt = prompt; }

    // The action of a command id (recent files: ID_FILE_MRU_FILE1 + n), or null.
    QAction* Action(int id) const;
    CTesselView* View() const { return m_view; }
    CHideSplitterWnd* Splitter() const { return m_splitter; }
    QLabel* MessagePane() const { return m_messagePane; }
    QToolBar* MainToolBar() const { return m_mainBar; }
    QToolBar* ViewToolBar() const { return m_viewBar; }

    // --- Seams for the panes that come later ---------------------------------
    // Puts browser into column 0 instead of the empty placeholder, hidden or
    // shown as the column is, at its width. Showing and hiding the column is
    // the file browser's (CHideSplitterWnd::ShowColumn / HideColumn(0) on
    // Splitter()), as is following Browse (the document's projectDirChanged).
    void SetFileBrowser(QWidget* browser);
    QWidget* FileBrowser() const { return m_browser; }
    // Puts pane into column 1 in place of the editing view, which the caller
    // moves into pane, before or after (the child frame holds the view and
    // the preview).
    void SetClientPane(QWidget* pane);
    // A pane that serves commands; it must outlive the window or be removed.
    void AddCommandTarget(ICommandTarget* target);
    void RemoveCommandTarget(ICommandTarget* target);

    // A project folder given on the command line becomes the document's
    // project folder (the file browser shows it once it is built in).
    void OpenProjectDir(const QString& dir);

    // Opens entry index of the recent-file list; an entry whose file is gone
    // is dropped from the list.
    bool OpenRecentFile(int index);

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
    void ConnectDocument();

    void OnCommand(int id);
    void OnHelpFinder();
    void OnAppAbout();
    void ToggleToolBars();
    void CyclePane(bool forward);
    void RebuildRecentFileMenu();
    void OnFileUsed(const QString& path);
    void ShowMessageText();
    void ShowLockKeys(const LockKeys& keys);
    FrameState GatherState() const;
    CommandState StateOf(int id, const FrameState& state) const;

    CTesselDoc& m_doc;
    IProfile& m_profile;
    CAppSettings& m_settings;
    CRecentFileList& m_recent;
    IUserPrompt* m_prompt = nullptr;

    QList<QAction*> m_actions;
    QMenu* m_recentMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QTimer* m_recentSave = nullptr;
    QList<ICommandTarget*> m_targets;
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_viewBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_scrollPane = nullptr;
    CLockKeyTracker* m_lockKeys = nullptr;
    CHideSplitterWnd* m_splitter = nullptr;
    QWidget* m_browser = nullptr;
    CTesselView* m_view = nullptr;
    QPointer<CHelpWindow> m_help;

    QString m_hoverText;
    QString m_fieldText;
};
