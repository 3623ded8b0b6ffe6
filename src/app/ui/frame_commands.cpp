#include "app/ui/frame_commands.h"

#include <QStringList>

#include "resource_ids.h"

namespace {

// clang-format off
const FrameCommand kCommands[] = {
    {ID_FILE_NEW, "&New", "Create a new document\nNew", "Ctrl+N", 0, -1},
    {ID_FILE_OPEN, "&Open...", "Open an existing document\nOpen", "Ctrl+O", 1, -1},
    {ID_FILE_SAVE, "&Save", "Save the active document\nSave", "Ctrl+S", 2, -1},
    {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name\nSave As", "", -1, -1},
    {ID_FILE_BROWSE, "&Browse", "Open File Browse Window\nBrowse files", "Alt+B", -1, 0},
    {ID_FILE_PRINT, "&Print...", "Print the web page\nPrint", "Ctrl+P", -1, -1},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents\nExit", "", -1, -1},
    {ID_TEMPLATE_NEW, "&New", "Create a new meta-data template\nNew template", "", 3, -1},
    {ID_TEMPLATE_OPEN, "&Open", "Open a meta-data template\nOpen template", "", 4, -1},
    {ID_TEMPLATE_SAVE, "&Save", "Save meta-data template\nSave template", "", 5, -1},
    {ID_TEMPLATE_SAVE_AS, "Save &As ...", "Save meta-data template as\nSave template as", "", -1, -1},
    {ID_TEMPLATE_CLOSE, "&Close", "Close meta-data template\nClose template", "", 6, -1},
    {ID_TEMPLATE_EDIT, "&Edit", "Edit meta-data template\nEdit template", "", -1, -1},
    {ID_TEMPLATE_APPLY, "A&pply", "Apply meta-data template\nApply template", "Alt+A", -1, -1},
    {ID_EDIT_UNDO, "&Undo", "Undo the last action\nUndo", "Ctrl+Z;Alt+Backspace", -1, -1},
    {ID_EDIT_CUT, "Cu&t", "Cut the selection and put it on the Clipboard\nCut", "Ctrl+X;Shift+Del", 7, -1},
    {ID_EDIT_COPY, "&Copy", "Copy the selection and put it on the Clipboard\nCopy", "Ctrl+C;Ctrl+Ins", 8, -1},
    {ID_EDIT_PASTE, "&Paste", "Insert Clipboard contents\nPaste", "Ctrl+V;Shift+Ins", 9, -1},
    {ID_VIEW_METADATA, "&Meta-data", "Display the meta-data editing view\nEdit view", "Alt+M", -1, 2},
    {ID_VIEW_WEBPAGE, "&Web page preview", "Display a preview of the web page\nWeb preview", "Alt+W", -1, 3},
    {ID_VIEW_SPLIT, "S&plit view", "", "Alt+S", -1, 4},
    {ID_VIEW_ALL_FIELDS, "&Display all fields",
     "Switch between displaying all the meta-data fields and a restricted set\nAll/restricted fields",
     "Alt+D", -1, 1},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar", "", -1, -1},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar", "", -1, -1},
    {ID_OPTIONS, "&Options", "", "", -1, -1},
    {ID_HELP_FINDER, "&Help Topics", "List Help topics\nHelp Topics", "F1;Shift+F1", 11, -1},
    {ID_ONLINE_TUTORIALS, "Online &Tutorials and updates", "", "", -1, -1},
    {ID_APP_ABOUT, "&About Orvane...", "Display program information, version number and copyright\nAbout", "", 10, -1},
    {ID_NEXT_PANE, "Next Pane", "Switch to the next window pane\nNext Pane", "F6", -1, -1},
    {ID_PREV_PANE, "Previous Pane", "Switch back to the previous window pane\nPrevious Pane", "Shift+F6", -1, -1},
};

const int kFileMenu[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
                         ID_FILE_BROWSE, 0, ID_FILE_MRU_FILE1, 0, ID_APP_EXIT};
const int kTemplateMenu[] = {ID_TEMPLATE_NEW, ID_TEMPLATE_OPEN, ID_TEMPLATE_SAVE,
                             ID_TEMPLATE_SAVE_AS, ID_TEMPLATE_CLOSE, 0, ID_TEMPLATE_EDIT,
                             ID_TEMPLATE_APPLY};
const int kEditMenu[] = {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
const int kViewMenu[] = {ID_VIEW_METADATA, ID_VIEW_WEBPAGE, ID_VIEW_SPLIT, 0,
                         ID_VIEW_ALL_FIELDS, 0, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0,
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
                            ID_TEMPLATE_NEW, ID_TEMPLATE_OPEN, ID_TEMPLATE_SAVE, ID_TEMPLATE_CLOSE, 0,
                            ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                            ID_APP_ABOUT, ID_HELP_FINDER};
const int kViewToolBar[] = {ID_FILE_BROWSE, 0, ID_VIEW_ALL_FIELDS, 0,
                            ID_VIEW_METADATA, ID_VIEW_WEBPAGE, ID_VIEW_SPLIT};
// clang-format on

} // namespace

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

std::span<const FrameMenu> FrameMenus() {
    return kMenus;
}

std::span<const int> MainToolBarButtons() {
    return kMainToolBar;
}

std::span<const int> ViewToolBarButtons() {
    return kViewToolBar;
}
