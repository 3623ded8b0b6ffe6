#include "app/ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVariant>

#include "app/recent_file_list.h"
#include "app/ui/frame_commands.h"
#include "app/ui/help_window.h"
#include "app/ui/lock_keys.h"
#include "document/template_values.h"
#include "document/tessel_doc.h"
#include "form/ui/snippet_previews.h"
#include "form/ui/tessel_view.h"
#include "image_strip.h"
#include "page/html_page.h"
#include "page/user_prompt.h"
#include "resource_ids.h"
#include "settings/preview_settings.h"
#include "settings/profile.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/file_browser_column.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/hide_splitter_wnd.h"
#include "shell/ui/preview_pane.h"
#include "site/site_session.h"
#include "site/ui/site_view.h"
#include "snippet/search_font.h"
#include "suggestions/common_words.h"

namespace {

// Where the window keeps its place and layout in the profile.
constexpr std::string_view kWindowSection = "Window";
constexpr std::string_view kGeometryEntry = "Geometry";
constexpr std::string_view kBrowserWidthEntry = "BrowserWidth";
constexpr std::string_view kToolBarEntry = "ToolBar";
constexpr std::string_view kStatusBarEntry = "StatusBar";
constexpr std::string_view kChildFrameEntry = "ChildFrame";
constexpr std::string_view kSnippetsEntry = "SnippetPanel";

constexpr int kBrowserWidth = CFileBrowserColumn::IDEAL_WIDTH;
constexpr int kBrowserMinWidth = CFileBrowserColumn::MIN_WIDTH;

// A document title inside a caption that marks modification with "[*]".
QString EscapeCaption(QString title) {
    return title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

// The visible panes under a splitter, nested splitters flattened, in order.
// A pane that holds a splitter of its own (the child frame) stands for that
// splitter's panes.
void CollectPanes(const QSplitter* splitter, QList<QWidget*>& panes) {
    for (int i = 0; i < splitter->count(); ++i) {
        QWidget* pane = splitter->widget(i);
        if (pane->isHidden())
            continue;
        if (const auto* inner = qobject_cast<QSplitter*>(pane))
            CollectPanes(inner, panes);
        else if (const auto* held = pane->findChild<QSplitter*>())
            CollectPanes(held, panes);
        else
            panes.append(pane);
    }
}

void FocusPane(QWidget* pane) {
    // A pane that names where its focus goes (the file browser: its tree) gets it there.
    if (pane->focusPolicy() != Qt::NoFocus || pane->focusProxy()) {
        pane->setFocus(Qt::TabFocusReason);
        return;
    }
    for (QWidget* w = pane->nextInFocusChain(); w && w != pane; w = w->nextInFocusChain()) {
        if (pane->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

QLabel* MakeIndicator(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(text);
    label->setAccessibleName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
    return label;
}

} // namespace

CMainFrame::CMainFrame(CTesselDoc& doc, IProfile& profile, CAppSettings& settings,
                       CRecentFileList& recentFiles, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_profile(profile), m_settings(settings),
      m_recent(recentFiles) {
    setObjectName(QStringLiteral("mainFrame"));
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreateClient();
    ConnectDocument();
    RebuildRecentFileMenu();
    UpdateCaption();
    UpdateActions();
}

CMainFrame::~CMainFrame() {
    // Destroying the widgets moves the focus and may make the view speak; none
    // of that may reach this half-destroyed window.
    if (qApp)
        disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_view, nullptr, this, nullptr);
    disconnect(m_child, nullptr, this, nullptr);
    disconnect(m_siteView, nullptr, this, nullptr);
    disconnect(m_siteSession, nullptr, this, nullptr);
    m_view = nullptr;
    if (m_recentSave->isActive())
        m_recent.WriteList(m_profile); // a change not yet written
}

// --- Building the window -------------------------------------------------------

void CMainFrame::CreateActions() {
    // Menu items show the same pictures as the toolbar buttons.
    const QList<QIcon> mainImages = LoadImageStrip(QStringLiteral(":/images/toolbar_main.png"));
    const QList<QIcon> viewImages = LoadImageStrip(QStringLiteral(":/images/toolbar_view.png"));
    for (const FrameCommand& command : FrameCommands()) {
        auto* action = new QAction(command.Text(), this);
        action->setData(command.id);
        action->setObjectName(QStringLiteral("action%1").arg(command.id));
        action->setStatusTip(command.StatusTip());
        const QString tip = command.ToolTip();
        if (!tip.isEmpty()) {
            action->setToolTip(tip);
            // Toolbar buttons are named by it: "New template", not a second "New".
            action->setIconText(tip);
        }
        action->setShortcuts(command.Shortcuts());
        action->setCheckable(command.kind == CommandKind::CHECK);
        if (command.mainImage >= 0 && command.mainImage < mainImages.size())
            action->setIcon(mainImages[command.mainImage]);
        else if (command.viewImage >= 0 && command.viewImage < viewImages.size())
            action->setIcon(viewImages[command.viewImage]);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        addAction(action); // keys work whether or not the item is in a menu
        m_actions.append(action);
        m_commands.append(&command);
    }
    for (int i = 0; i < RECENT_FILE_COUNT; ++i)
        m_recentActions.append(Action(ID_FILE_MRU_FILE1 + i));
    m_recentSave = new QTimer(this);
    m_recentSave->setSingleShot(true);
    m_recentSave->setInterval(RECENT_SAVE_DELAY_MS);
    connect(m_recentSave, &QTimer::timeout, this, [this] { m_recent.WriteList(m_profile); });
    m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setStatusTip(QStringLiteral("Open this document"));
    m_recentPlaceholder->setEnabled(false);
}

void CMainFrame::CreateMenus() {
    for (const FrameMenu& entry : FrameMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.title));
        menu->setObjectName(QString::fromUtf8(entry.title).remove(QLatin1Char('&')) +
                            QStringLiteral("Menu"));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
        for (int id : entry.items) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == ID_FILE_MRU_FILE1) {
                // The entries go before the placeholder as the list fills
                // (hidden actions would still be announced to screen readers).
                m_recentMenu = menu;
                menu->addAction(m_recentPlaceholder);
            } else if (QAction* action = Action(id)) {
                menu->addAction(action);
            }
        }
    }
}

void CMainFrame::CreateToolBars() {
    auto makeBar = [this](const QString& title, const QString& name, std::span<const int> ids) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(name);
        bar->setIconSize(QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT));
        for (int id : ids) {
            if (id == 0)
                bar->addSeparator();
            else
                bar->addAction(Action(id));
        }
        // The View menu's Toolbar command shows and hides both bars together.
        bar->toggleViewAction()->setVisible(false);
        connect(bar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateActions);
        addToolBar(Qt::TopToolBarArea, bar); // no break: the bars share one row
        return bar;
    };
    m_mainBar =
        makeBar(QStringLiteral("Standard"), QStringLiteral("mainToolBar"), MainToolBarButtons());
    m_viewBar =
        makeBar(QStringLiteral("View"), QStringLiteral("viewToolBar"), ViewToolBarButtons());
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_messagePane = new QLabel(QString::fromUtf8(IDLE_MESSAGE), bar);
    // Its accessible name is its text, so screen readers read the message.
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    m_messagePane->setMinimumWidth(1); // long texts are cut, not widening the window
    bar->addWidget(m_messagePane, 1);
    m_capsPane = MakeIndicator(QStringLiteral("CAP"), QStringLiteral("Caps Lock"), bar);
    m_numPane = MakeIndicator(QStringLiteral("NUM"), QStringLiteral("Num Lock"), bar);
    m_scrollPane = MakeIndicator(QStringLiteral("SCRL"), QStringLiteral("Scroll Lock"), bar);
    for (QLabel* pane : {m_capsPane, m_numPane, m_scrollPane})
        bar->addPermanentWidget(pane);
    m_lockKeys = new CLockKeyTracker(this);
    connect(m_lockKeys, &CLockKeyTracker::changed, this, &CMainFrame::ShowLockKeys);
    ShowLockKeys(m_lockKeys->State());
}

void CMainFrame::CreateClient() {
    m_splitter = new CHideSplitterWnd(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("mainSplitter"));
    // Column 0: the file browser; column 1: the child frame around the
    // editing view and the preview.
    m_browser = new CFileTreeView(&m_settings, m_splitter);
    m_view = new CTesselView(m_doc, m_profile, m_settings);
    m_view->SetCommonWords(QString::fromStdString(LoadCommonWords()));
    m_view->SetAssistants(&m_assistants);
    m_assistants.SetProjectDirSource([this] { return m_doc.GetProjectDir(); });
    m_editingPane = new CEditingPane(m_view, new CSnippetPanel(*m_view, m_settings));
    m_editingPane->ShowPanel(false);
    m_child = new CChildFrame(&m_doc, m_editingPane, m_splitter);
    if (CPreviewPane* preview = m_child->Preview())
        preview->SetSettings(&m_settings);
    m_splitter->addWidget(m_browser);
    m_splitter->addWidget(m_child);
    setCentralWidget(m_splitter);
    // The column hides itself before the window is first shown, follows the
    // document's project folder (Browse) and the browser's close button, and
    // sends a selected file to the document's open routing.
    m_browserColumn = new CFileBrowserColumn(m_splitter, m_browser, &m_doc, this);

    CreateSiteView();

    connect(m_view, &CTesselView::statusTextChanged, this, [this](const QString& text) {
        m_fieldText = text;
        ShowMessageText();
    });
    connect(m_view, &CTesselView::commandStatesChanged, this, &CMainFrame::UpdateActions);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::UpdateActions);
    connect(m_child, &CChildFrame::stateChanged, this, &CMainFrame::UpdateActions);
    connect(m_editingPane, &CEditingPane::panelShownChanged, this, &CMainFrame::UpdateActions);
}

void CMainFrame::ToggleSnippetPanel() {
    m_editingPane->ShowPanel(!m_editingPane->IsPanelShown());
}

void CMainFrame::SetImagePicker(IFilePicker* picker) {
    m_view->SetImagePicker(picker);
}

void CMainFrame::CreateSiteView() {
    m_siteSession = new CSiteSession(this);
    m_siteSession->SetRetention(CJournalRetention::FromProfile(m_profile));
    // The limits and site addresses as the options have them when a site opens.
    m_siteSession->SetRulesSource([this](const QString& root) {
        CSiteRules rules;
        rules.thresholds.widths = m_settings.m_searchLimits;
        rules.measurer = CSearchFont::Instance();
        rules.site =
            QString::fromStdString(m_settings.m_projectSites.SiteOf(ScriptFolderKey(root)));
        return rules;
    });
    m_siteView = new CSiteView(*m_siteSession, m_profile, m_splitter);
    m_siteView->hide(); // until View > Site view
    m_splitter->addWidget(m_siteView);
    m_splitter->setStretchFactor(m_splitter->indexOf(m_siteView), 1);
    // Apply template merges the open template, else one asked for.
    m_siteView->SetTemplateSource([this](CTemplateValues& values) {
        if (!m_doc.IsTemplateOpen())
            return false;
        CHtmlPage templ;
        templ.SetText(m_doc.GetTemplateText(), BodyMode::REBUILD);
        values.Read(templ);
        return true;
    });
    // The progress of its scans and runs, with their Cancel, left of the lock keys.
    statusBar()->insertPermanentWidget(1, m_siteView->ProgressPane());
    connect(m_siteView, &CSiteView::stateChanged, this, &CMainFrame::UpdateActions);
    connect(m_siteView, &CSiteView::openPageRequested, this, &CMainFrame::OpenSitePage);
    // The runs Edit offers to undo are read when the menu opens, not at start.
    if (QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu")))
        connect(edit, &QMenu::aboutToShow, m_siteView, &CSiteView::ReadHistory);
    // Pages saved by other programs while the window was in the back (in
    // place, which the folders' watch does not see) are read again.
    connect(qApp, &QApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && IsSiteViewShown())
            m_siteSession->Refresh();
    });
    // Browse to another folder: the site view follows.
    connect(&m_doc, &CTesselDoc::projectDirChanged, this, [this] {
        if (IsSiteViewShown() && !m_doc.GetProjectDir().isEmpty())
            m_siteView->OpenSite(m_doc.GetProjectDir(), m_settings.m_strFileTypes);
    });
}

void CMainFrame::ConnectDocument() {
    connect(&m_doc, &CTesselDoc::stateChanged, this, [this] {
        UpdateCaption();
        UpdateActions();
    });
    connect(&m_doc, &CTesselDoc::initialUpdate, this, &CMainFrame::UpdateActions);
    connect(&m_doc, &CTesselDoc::updateAllViews, this, &CMainFrame::UpdateActions);
    connect(&m_doc, &CTesselDoc::fileUsed, this, &CMainFrame::OnFileUsed);
}

// --- Seams ------------------------------------------------------------------------

void CMainFrame::SetPrompt(IUserPrompt* prompt) {
    m_prompt = prompt;
    m_siteView->SetPrompt(prompt);
}

void CMainFrame::SetFilePicker(IFilePicker* picker) {
    m_siteView->SetFilePicker(picker);
}

QAction* CMainFrame::Action(int id) const {
    for (QAction* action : m_actions) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

void CMainFrame::ShowFileBrowser(bool show) {
    m_browserColumn->ShowFileBrowser(show);
}

bool CMainFrame::IsBrowserShown() const {
    return m_browserColumn->IsBrowserShown();
}

void CMainFrame::OpenProjectDir(const QString& dir) {
    m_browserColumn->OpenProject(dir);
}

// --- Commands -----------------------------------------------------------------------

FrameState CMainFrame::GatherState() const {
    FrameState s;
    s.templateOpen = m_doc.IsTemplateOpen();
    s.editingTemplate = m_doc.IsEditingTemplate();
    s.templateModified = m_doc.IsTemplateModified();
    s.canUndo = m_view->CanUndo();
    s.canCut = m_view->CanCut();
    s.canCopy = m_view->CanCopy();
    s.canPaste = m_view->CanPaste();
    s.displayAll = m_view->IsDisplayAll();
    s.snippetsShown = m_editingPane->IsPanelShown();
    s.views = m_child->State();
    s.canPrint = m_child->CanPrint();
    s.toolBarVisible = !m_mainBar->isHidden();
    s.statusBarVisible = !statusBar()->isHidden();
    s.recentFileCount = m_recent.GetSize();
    s.siteViewShown = IsSiteViewShown();
    s.site = m_siteView->State();
    return s;
}

void CMainFrame::UpdateActions() {
    if (!m_view)
        return; // still being built
    const FrameState state = GatherState();
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        const CommandState s = m_commands[i]->rule(state);
        m_actions[i]->setEnabled(s.enabled);
        if (m_actions[i]->isCheckable())
            m_actions[i]->setChecked(s.checked);
    }
}

bool CMainFrame::RunCommand(int id) {
    const FrameCommand* command = FindFrameCommand(id);
    if (!command || !command->rule(GatherState()).enabled) {
        UpdateActions(); // the item was stale; a disabled command does nothing
        return false;
    }
    command->run(*this);
    UpdateActions();
    return true;
}

void CMainFrame::ToggleToolBars() {
    const bool show = m_mainBar->isHidden();
    m_mainBar->setVisible(show);
    m_viewBar->setVisible(show);
}

void CMainFrame::ToggleStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::CyclePane(bool forward) {
    QList<QWidget*> panes;
    CollectPanes(m_splitter, panes);
    if (panes.isEmpty())
        return;
    const QWidget* focus = QApplication::focusWidget();
    qsizetype current = -1;
    for (qsizetype i = 0; i < panes.size(); ++i) {
        if (focus && (panes[i] == focus || panes[i]->isAncestorOf(focus)))
            current = i;
    }
    const qsizetype n = panes.size();
    const qsizetype next =
        current < 0 ? (forward ? 0 : n - 1) : (current + (forward ? 1 : n - 1)) % n;
    FocusPane(panes[next]);
}

void CMainFrame::ShowHelpTopics() {
    const QUrl topic = CHelpWindow::DefaultTopic();
    if (topic.isEmpty()) {
        if (m_prompt)
            m_prompt->Info("Failed to launch help.");
        return;
    }
    if (!m_help)
        m_help = new CHelpWindow(this);
    m_help->ShowTopic(topic);
}

// --- The site view -------------------------------------------------------------------------

bool CMainFrame::IsSiteViewShown() const {
    return m_siteView && !m_siteView->isHidden();
}

void CMainFrame::ToggleSiteView() {
    ShowSiteView(!IsSiteViewShown());
}

void CMainFrame::ShowSiteView(bool show) {
    if (show == IsSiteViewShown())
        return;
    if (show) {
        // The project folder, chosen now when there is none.
        if (m_doc.GetProjectDir().isEmpty() && !m_doc.OnBrowse())
            return;
        if (!m_siteView->OpenSite(m_doc.GetProjectDir(), m_settings.m_strFileTypes))
            return;
        m_siteView->ReadHistory();
        m_child->hide();
        m_siteView->show();
        m_siteView->Table()->setFocus(Qt::OtherFocusReason);
    } else {
        m_siteView->SaveLayout();
        m_siteView->hide();
        m_child->show();
    }
    UpdateActions();
}

void CMainFrame::OpenSiteView(const QString& dir) {
    OpenProjectDir(dir);
    if (IsSiteViewShown())
        m_siteView->OpenSite(m_doc.GetProjectDir(), m_settings.m_strFileTypes);
    else
        ShowSiteView(true);
}

void CMainFrame::ShowPageView(int mode) {
    ShowSiteView(false);
    switch (mode) {
    case VIEW_MODE_WEBPAGE:
        m_child->ShowWebPage();
        break;
    case VIEW_MODE_SPLIT:
        m_child->ShowSplit();
        break;
    default:
        m_child->ShowMetaData();
        break;
    }
}

void CMainFrame::RunSiteCommand(SiteCommand command) {
    m_siteView->Run(command);
}

void CMainFrame::OpenSitePage(const QString& path) {
    // Through the document's open routing: it asks about unsaved changes.
    if (m_doc.OpenDocumentFile(path))
        ShowPageView(VIEW_MODE_METADATA);
}

// --- Recent files -----------------------------------------------------------------------

void CMainFrame::RebuildRecentFileMenu() {
    const int count = m_recent.GetSize();
    for (QAction* action : m_recentActions)
        m_recentMenu->removeAction(action);
    m_recentPlaceholder->setVisible(count == 0);
    for (int i = 0; i < count && i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        QString name = m_recent.GetDisplayName(i);
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        action->setToolTip(m_recent.At(i));
        m_recentMenu->insertAction(m_recentPlaceholder, action);
    }
}

void CMainFrame::OnFileUsed(const QString& path) {
    m_recent.Add(path);
    // Kept soon, so that a crash later does not lose it, but not at once:
    // writing the profile (with its fsync) must not delay the first window.
    m_recentSave->start();
    RebuildRecentFileMenu();
    UpdateActions();
}

bool CMainFrame::OpenRecentFile(int index) {
    const QString path = m_recent.At(index);
    if (path.isEmpty())
        return false;
    if (m_doc.OpenDocumentFile(path))
        return true;
    // A file that is gone leaves the list; one that merely failed (or whose
    // opening the user cancelled) stays.
    if (!QFileInfo(path).isFile()) {
        m_recent.Remove(index);
        m_recentSave->start();
        RebuildRecentFileMenu();
        UpdateActions();
    }
    return false;
}

// --- Caption and status bar ----------------------------------------------------------------

void CMainFrame::UpdateCaption() {
    setWindowTitle(EscapeCaption(m_doc.GetTitle()) + QStringLiteral("[*] - TSLE"));
    setWindowModified(m_doc.IsModified());
}

QString CMainFrame::MessageText() const {
    if (!m_hoverText.isEmpty())
        return m_hoverText;
    if (!m_fieldText.isEmpty())
        return m_fieldText;
    return QString::fromUtf8(IDLE_MESSAGE);
}

void CMainFrame::ShowMessageText() {
    m_messagePane->setText(MessageText());
}

void CMainFrame::ShowLockKeys(const LockKeys& keys) {
    auto show = [](QLabel* pane, bool on) {
        pane->setText(on ? pane->objectName() : QString());
        pane->setAccessibleDescription(on ? QStringLiteral("on") : QStringLiteral("off"));
    };
    show(m_capsPane, keys.caps);
    show(m_numPane, keys.num);
    show(m_scrollPane, keys.scroll);
}

bool CMainFrame::event(QEvent* event) {
    // Back from another program, which may have changed the open files.
    if (event->type() == QEvent::WindowActivate)
        m_doc.CheckDisk();
    if (event->type() == QEvent::StatusTip) {
        // Prompts of hovered menu items and buttons go to the message pane.
        m_hoverText = static_cast<QStatusTipEvent*>(event)->tip();
        ShowMessageText();
        return true;
    }
    return QMainWindow::event(event);
}

QMenu* CMainFrame::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(Action(ID_VIEW_TOOLBAR));
    menu->addAction(Action(ID_VIEW_STATUS_BAR));
    return menu;
}

// --- Window state and closing ----------------------------------------------------------------

void CMainFrame::RestoreWindowState() {
    const std::string geometry = m_profile.GetProfileString(kWindowSection, kGeometryEntry, "");
    if (geometry.empty() ||
        !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)))) {
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        resize(screen.isValid() ? screen.size().boundedTo(QSize(900, 700)) : QSize(900, 700));
    }
    const int width = m_profile.GetProfileInt(kWindowSection, kBrowserWidthEntry, kBrowserWidth);
    m_splitter->SetPaneSize(0, std::max(width, kBrowserMinWidth));
    const bool bars = m_profile.GetProfileInt(kWindowSection, kToolBarEntry, 1) != 0;
    m_mainBar->setVisible(bars);
    m_viewBar->setVisible(bars);
    statusBar()->setVisible(m_profile.GetProfileInt(kWindowSection, kStatusBarEntry, 1) != 0);
    const std::string child = m_profile.GetProfileString(kWindowSection, kChildFrameEntry, "");
    if (!child.empty())
        m_child->RestoreState(QByteArray::fromBase64(QByteArray::fromStdString(child)));
    m_editingPane->ShowPanel(m_profile.GetProfileInt(kWindowSection, kSnippetsEntry, 0) != 0);
    UpdateActions();
}

void CMainFrame::SaveWindowState() {
    m_profile.WriteProfileString(kWindowSection, kGeometryEntry,
                                 saveGeometry().toBase64().toStdString());
    m_profile.WriteProfileInt(kWindowSection, kBrowserWidthEntry, m_splitter->PaneSize(0));
    m_profile.WriteProfileInt(kWindowSection, kToolBarEntry, m_mainBar->isHidden() ? 0 : 1);
    m_profile.WriteProfileInt(kWindowSection, kStatusBarEntry, statusBar()->isHidden() ? 0 : 1);
    m_profile.WriteProfileString(kWindowSection, kChildFrameEntry,
                                 m_child->SaveState().toBase64().toStdString());
    m_profile.WriteProfileInt(kWindowSection, kSnippetsEntry,
                              m_editingPane->IsPanelShown() ? 1 : 0);
}

void CMainFrame::StoreSettings() {
    m_view->SaveSettings();
    if (IsSiteViewShown())
        m_siteView->SaveLayout();
    m_recentSave->stop();
    m_recent.WriteList(m_profile);
    SaveWindowState();
    emit settingsStored();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_siteView->MayClose() || !m_doc.CanCloseFrame()) {
        event->ignore();
        return;
    }
    // A write or undo ends at the page it is on; its journal stays whole.
    m_siteSession->Cancel();
    m_siteSession->Wait();
    StoreSettings();
    if (m_help)
        m_help->close();
    event->accept();
}
