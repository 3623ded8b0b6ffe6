// The main window's commands: menu texts, status prompts, tool tips, keys and
// pictures, one row per command id, and the layout of the menus and toolbars.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

struct FrameCommand {
    int id;
    // Menu text with its "&" mnemonic, without the key (Qt shows the first key).
    const char* text;
    // "Status prompt\nTool tip", either part may be missing.
    const char* prompt;
    // Keys, the one the menu shows first; ";"-separated, "" for none.
    const char* keys;
    // Picture in :/images/toolbar_main.png or toolbar_view.png, -1 for none.
    int mainImage;
    int viewImage;

    QString Text() const { return QString::fromUtf8(text); }
    QString StatusTip() const;
    QString ToolTip() const;
    QList<QKeySequence> Shortcuts() const;
};

// Every command with a menu item, toolbar button or key.
std::span<const FrameCommand> FrameCommands();
const FrameCommand* FindFrameCommand(int id);

// A menu of the menu bar: its title and its items, 0 for a separator.
// ID_FILE_MRU_FILE1 stands for the recent-file list.
struct FrameMenu {
    const char* title;
    std::span<const int> items;
};
std::span<const FrameMenu> FrameMenus();

// Toolbar buttons in order, 0 for a separator.
std::span<const int> MainToolBarButtons();
std::span<const int> ViewToolBarButtons();

// Shown in the status bar when nothing else is.
inline constexpr const char* IDLE_MESSAGE = "For Help, press F1";
