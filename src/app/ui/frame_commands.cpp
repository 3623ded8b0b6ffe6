#include "app/ui/frame_commands.h"

#include <QDesktopServices>
#include <QStringList>
#include <QUrl>

#include "app/recent_file_list.h"
#include "app/ui/about_dlg.h"
#include "app/ui/main_frame.h"
#include "document/tessel_doc.h"
#include "form/ui/tessel_view.h"
#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/preview_pane.h"

namespace {

CommandState Enabled(bool enabled) {
    return {enabled, false};
}

CommandState Checked(bool enabled, bool checked) {
    return {enabled, checked};
}

// The child frame's three view switches: the current mode's is checked and
// disabled, the others enabled; all enabled while the site view is shown.
CommandState ViewSwitch(const FrameState& s, int mode) {
    // In place of the site view, any of them brings the child frame back.
    if (s.siteViewShown)
        return Checked(true, false);
    return Checked(s.views.IsCommandEnabled(mode), s.views.IsCommandChecked(mode));
}

// A command of the site view, as its own buttons are enabled.
CommandState SiteCommandState(const FrameState& s, SiteCommand command) {
    return Enabled(IsSiteCommandEnabled(command, s.site));
}

// Entry n of the recent-file list, enabled while the list has it. Its menu
// text is the file's name, set as the list changes.
template <int N>
constexpr FrameCommand RecentFile() {
    return {.id = ID_FILE_MRU_FILE1 + N,
            .prompt = "Open this document",
            .rule = [](const FrameState& s) { return Enabled(N < s.recentFileCount); },
            .run = [](CMainFrame& f) { f.OpenRecentFile(N); }};
}
static_assert(RECENT_FILE_COUNT == 6, "one row per entry of the recent-file list");

// One row per command. Fields left out take their defaults: no key, no
// picture, a plain command, enabled whatever the state.
// clang-format off
const FrameCommand kCommands[] = {
    // File
    {.id = ID_FILE_NEW, .text = "&New", .prompt = "Create a new document\nNew", .keys = "Ctrl+N",
     .mainImage = 0,
     .run = [](CMainFrame& f) { f.Document().FileNew(); }},
    {.id = ID_FILE_OPEN, .text = "&Open...", .prompt = "Open an existing document\nOpen",
     .keys = "Ctrl+O", .mainImage = 1,
     .run = [](CMainFrame& f) { f.Document().FileOpen(); }},
    {.id = ID_FILE_SAVE, .text = "&Save", .prompt = "Save the active document\nSave",
     .keys = "Ctrl+S", .mainImage = 2,
     .run = [](CMainFrame& f) { f.Document().FileSave(); }},
    {.id = ID_FILE_SAVE_AS, .text = "Save &As...",
     .prompt = "Save the active document with a new name\nSave As",
     .run = [](CMainFrame& f) { f.Document().FileSaveAs(); }},
    {.id = ID_FILE_BROWSE, .text = "&Browse", .prompt = "Open File Browse Window\nBrowse files",
     .keys = "Alt+B", .viewImage = 0,
     .run = [](CMainFrame& f) { f.Document().OnBrowse(); }},
    {.id = ID_FILE_PRINT, .text = "&Print...", .prompt = "Print the web page\nPrint",
     .keys = "Ctrl+P",
     .rule = [](const FrameState& s) { return Enabled(s.canPrint); },
     .run = [](CMainFrame& f) { f.ChildFrame()->Print(); }},
    {.id = ID_FILE_EXPORT_SITE, .text = "&Export site...",
     .prompt = "Write the title and meta tags of every page of the site to a table\nExport site",
     .rule = [](const FrameState& s) { return SiteCommandState(s, SiteCommand::EXPORT); },
     .run = [](CMainFrame& f) { f.RunSiteCommand(SiteCommand::EXPORT); }},
    {.id = ID_FILE_IMPORT_SITE, .text = "&Import site...",
     .prompt = "Write the values of a table into the pages of the site\nImport site",
     .rule = [](const FrameState& s) { return SiteCommandState(s, SiteCommand::IMPORT); },
     .run = [](CMainFrame& f) { f.RunSiteCommand(SiteCommand::IMPORT); }},
    RecentFile<0>(), RecentFile<1>(), RecentFile<2>(),
    RecentFile<3>(), RecentFile<4>(), RecentFile<5>(),
    {.id = ID_APP_EXIT, .text = "E&xit",
     .prompt = "Quit the application; prompts to save documents\nExit",
     .run = [](CMainFrame& f) { f.close(); }},

    // Template
    {.id = ID_TEMPLATE_NEW, .text = "&New",
     .prompt = "Create a new meta-data template\nNew template",
     .mainImage = 3,
     .run = [](CMainFrame& f) { f.Document().NewTemplate(); }},
    {.id = ID_TEMPLATE_OPEN, .text = "&Open", .prompt = "Open a meta-data template\nOpen template",
     .mainImage = 4,
     .run = [](CMainFrame& f) { f.Document().OnTemplateOpen(); }},
    {.id = ID_TEMPLATE_SAVE, .text = "&Save", .prompt = "Save meta-data template\nSave template",
     .mainImage = 5,
     .rule = [](const FrameState& s) { return Enabled(s.templateOpen && s.templateModified); },
     .run = [](CMainFrame& f) { f.Document().SaveTemplate(); }},
    {.id = ID_TEMPLATE_SAVE_AS, .text = "Save &As ...",
     .prompt = "Save meta-data template as\nSave template as",
     .rule = [](const FrameState& s) { return Enabled(s.templateOpen); },
     .run = [](CMainFrame& f) { f.Document().SaveTemplateAs(); }},
    {.id = ID_TEMPLATE_CLOSE, .text = "&Close",
     .prompt = "Close meta-data template\nClose template",
     .mainImage = 6,
     .rule = [](const FrameState& s) { return Enabled(s.templateOpen); },
     .run = [](CMainFrame& f) { f.Document().CloseTemplate(); }},
    {.id = ID_TEMPLATE_EDIT, .text = "&Edit", .prompt = "Edit meta-data template\nEdit template",
     .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) {
         return Checked(s.templateOpen, s.templateOpen && s.editingTemplate);
     },
     .run = [](CMainFrame& f) { f.Document().ToggleEditing(); }},
    {.id = ID_TEMPLATE_APPLY, .text = "A&pply",
     .prompt = "Apply meta-data template\nApply template",
     .keys = "Alt+A",
     .rule = [](const FrameState& s) { return Enabled(s.templateOpen && !s.editingTemplate); },
     .run = [](CMainFrame& f) { f.Document().ApplyTemplate(); }},

    // Edit: the editing view's focused field
    {.id = ID_EDIT_UNDO, .text = "&Undo", .prompt = "Undo the last action\nUndo",
     .keys = "Ctrl+Z;Alt+Backspace",
     .rule = [](const FrameState& s) { return Enabled(s.canUndo); },
     .run = [](CMainFrame& f) { f.View()->Undo(); }},
    {.id = ID_EDIT_CUT, .text = "Cu&t",
     .prompt = "Cut the selection and put it on the Clipboard\nCut",
     .keys = "Ctrl+X;Shift+Del", .mainImage = 7,
     .rule = [](const FrameState& s) { return Enabled(s.canCut); },
     .run = [](CMainFrame& f) { f.View()->Cut(); }},
    {.id = ID_EDIT_COPY, .text = "&Copy",
     .prompt = "Copy the selection and put it on the Clipboard\nCopy",
     .keys = "Ctrl+C;Ctrl+Ins", .mainImage = 8,
     .rule = [](const FrameState& s) { return Enabled(s.canCopy); },
     .run = [](CMainFrame& f) { f.View()->Copy(); }},
    {.id = ID_EDIT_PASTE, .text = "&Paste", .prompt = "Insert Clipboard contents\nPaste",
     .keys = "Ctrl+V;Shift+Ins", .mainImage = 9,
     .rule = [](const FrameState& s) { return Enabled(s.canPaste); },
     .run = [](CMainFrame& f) { f.View()->Paste(); }},
    // Edit: the runs that changed pages (the site view's writes, imports, apply)
    {.id = ID_EDIT_UNDO_BATCH, .text = "Undo last &batch",
     .prompt = "Put back the pages the last batch run changed\nUndo last batch",
     .rule = [](const FrameState& s) { return SiteCommandState(s, SiteCommand::UNDO_LAST); },
     .run = [](CMainFrame& f) { f.RunSiteCommand(SiteCommand::UNDO_LAST); }},
    {.id = ID_EDIT_EARLIER_BATCHES, .text = "Earlier batc&hes...",
     .prompt = "Choose an earlier batch run to undo\nEarlier batches",
     .rule = [](const FrameState& s) { return SiteCommandState(s, SiteCommand::EARLIER_RUNS); },
     .run = [](CMainFrame& f) { f.RunSiteCommand(SiteCommand::EARLIER_RUNS); }},

    // View
    {.id = ID_VIEW_METADATA, .text = "&Meta-data",
     .prompt = "Display the meta-data editing view\nEdit view",
     .keys = "Alt+M", .viewImage = 2, .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return ViewSwitch(s, VIEW_MODE_METADATA); },
     .run = [](CMainFrame& f) { f.ShowPageView(VIEW_MODE_METADATA); }},
    {.id = ID_VIEW_WEBPAGE, .text = "&Web page preview",
     .prompt = "Display a preview of the web page\nWeb preview",
     .keys = "Alt+W", .viewImage = 3, .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return ViewSwitch(s, VIEW_MODE_WEBPAGE); },
     .run = [](CMainFrame& f) { f.ShowPageView(VIEW_MODE_WEBPAGE); }},
    {.id = ID_VIEW_SPLIT, .text = "S&plit view",
     .keys = "Alt+S", .viewImage = 4, .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return ViewSwitch(s, VIEW_MODE_SPLIT); },
     .run = [](CMainFrame& f) { f.ShowPageView(VIEW_MODE_SPLIT); }},
    {.id = ID_VIEW_ALL_FIELDS, .text = "&Display all fields",
     .prompt = "Switch between displaying all the meta-data fields and a restricted set\n"
               "All/restricted fields",
     .keys = "Alt+D", .viewImage = 1, .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return Checked(true, s.displayAll); },
     .run = [](CMainFrame& f) { f.View()->ToggleDisplayAll(); }},
    {.id = ID_VIEW_SITE, .text = "S&ite view",
     .prompt = "Show the pages of the project as a table\nSite view",
     .keys = "Alt+I", .viewImage = 5, .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return Checked(true, s.siteViewShown); },
     .run = [](CMainFrame& f) { f.ToggleSiteView(); }},
    {.id = ID_VIEW_SNIPPETS, .text = "Search and social p&reviews",
     .prompt = "Show or hide how the page shows in search results and shared links\n"
               "Search and social previews",
     .keys = "Alt+R", .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return Checked(true, s.snippetsShown); },
     .run = [](CMainFrame& f) { f.ToggleSnippetPanel(); }},
    {.id = ID_VIEW_TOOLBAR, .text = "&Toolbar",
     .prompt = "Show or hide the toolbar\nToggle ToolBar",
     .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return Checked(true, s.toolBarVisible); },
     .run = [](CMainFrame& f) { f.ToggleToolBars(); }},
    {.id = ID_VIEW_STATUS_BAR, .text = "&Status Bar",
     .prompt = "Show or hide the status bar\nToggle StatusBar",
     .kind = CommandKind::CHECK,
     .rule = [](const FrameState& s) { return Checked(true, s.statusBarVisible); },
     .run = [](CMainFrame& f) { f.ToggleStatusBar(); }},
    {.id = ID_OPTIONS, .text = "&Options",
     .run = [](CMainFrame& f) {
         f.View()->ShowOptions();
         // The preview shows its page again if what pages may do changed.
         if (CPreviewPane* preview = f.ChildFrame()->Preview())
             preview->OnSettingsChanged();
     }},

    // Help
    {.id = ID_HELP_FINDER, .text = "&Help Topics", .prompt = "List Help topics\nHelp Topics",
     .keys = "F1;Shift+F1", .mainImage = 11,
     .run = [](CMainFrame& f) { f.ShowHelpTopics(); }},
    {.id = ID_ONLINE_TUTORIALS, .text = "Online &Tutorials and updates",
     .run = [](CMainFrame&) { QDesktopServices::openUrl(QUrl(QStringLiteral(TSLE_HOMEPAGE))); }},
    {.id = ID_APP_ABOUT, .text = "&About TSLE...",
     .prompt = "Display program information, version number and copyright\nAbout", .mainImage = 10,
     .run = [](CMainFrame& f) { CAboutDlg(&f).exec(); }},

    // Panes: keys only
    {.id = ID_NEXT_PANE, .text = "Next Pane", .prompt = "Switch to the next window pane\nNext Pane",
     .keys = "F6",
     .run = [](CMainFrame& f) { f.CyclePane(true); }},
    {.id = ID_PREV_PANE, .text = "Previous Pane",
     .prompt = "Switch back to the previous window pane\nPrevious Pane", .keys = "Shift+F6",
     .run = [](CMainFrame& f) { f.CyclePane(false); }},
};

const int kFileMenu[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
                         ID_FILE_BROWSE, 0, ID_FILE_EXPORT_SITE, ID_FILE_IMPORT_SITE, 0,
                         ID_FILE_MRU_FILE1, 0, ID_APP_EXIT};
const int kTemplateMenu[] = {ID_TEMPLATE_NEW, ID_TEMPLATE_OPEN, ID_TEMPLATE_SAVE,
                             ID_TEMPLATE_SAVE_AS, ID_TEMPLATE_CLOSE, 0, ID_TEMPLATE_EDIT,
                             ID_TEMPLATE_APPLY};
const int kEditMenu[] = {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                         ID_EDIT_UNDO_BATCH, ID_EDIT_EARLIER_BATCHES};
const int kViewMenu[] = {ID_VIEW_METADATA, ID_VIEW_WEBPAGE, ID_VIEW_SPLIT, ID_VIEW_SITE, 0,
                         ID_VIEW_ALL_FIELDS, ID_VIEW_SNIPPETS, 0, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0,
                         ID_OPTIONS};
const int kHelpMenu[] = {ID_HELP_FINDER, ID_ONLINE_TUTORIALS, 0, ID_APP_ABOUT};

const FrameMenu kMenus[] = {
    {"&File", kFileMenu},
    {"&Template", kTemplateMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Help", kHelpMenu},
};

const int kMainToolBar[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
                            ID_TEMPLATE_NEW, ID_TEMPLATE_OPEN, ID_TEMPLATE_SAVE,
                            ID_TEMPLATE_CLOSE, 0,
                            ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                            ID_APP_ABOUT, ID_HELP_FINDER};
const int kViewToolBar[] = {ID_FILE_BROWSE, 0, ID_VIEW_ALL_FIELDS, 0,
                            ID_VIEW_METADATA, ID_VIEW_WEBPAGE, ID_VIEW_SPLIT, 0, ID_VIEW_SITE};
// clang-format on

} // namespace

CommandState AlwaysEnabled(const FrameState&) {
    return {true, false};
}

QString FrameCommand::StatusTip() const {
    const QString all = QString::fromUtf8(prompt);
    return all.section(QLatin1Char('\n'), 0, 0);
}

QString FrameCommand::ToolTip() const {
    const QString all = QString::fromUtf8(prompt);
    const qsizetype newline = all.indexOf(QLatin1Char('\n'));
    return newline < 0 ? QString() : all.mid(newline + 1);
}

QList<QKeySequence> FrameCommand::Shortcuts() const {
    QList<QKeySequence> list;
    const QStringList parts = QString::fromUtf8(keys).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        list.append(QKeySequence::fromString(part, QKeySequence::PortableText));
    return list;
}

std::span<const FrameCommand> FrameCommands() {
    return kCommands;
}

const FrameCommand* FindFrameCommand(int id) {
    for (const FrameCommand& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

CommandState CommandStateOf(int id, const FrameState& state) {
    const FrameCommand* command = FindFrameCommand(id);
    return command ? command->rule(state) : CommandState{};
}

std::span<const FrameMenu> FrameMenus() {
    return kMenus;
}

std::span<const int> MainToolBarButtons() {
    return kMainToolBar;
}

std::span<const int> ViewToolBarButtons() {
    return kViewToolBar;
}
