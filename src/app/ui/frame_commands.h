// The main window's command table: one row per command id with everything the
// window needs to offer and run it (menu text, status prompt and tool tip,
// keys, picture, whether it is a check item, its enable/check rule and its
// handler), and the layout of the menus and toolbars.
//
// Adding a command: its id in res/resource_ids.h, one row in kCommands
// (frame_commands.cpp), and its place in a menu or toolbar list there. A rule
// reads only FrameState; a fact it needs that FrameState lacks becomes a
// field there, filled in CMainFrame::GatherState.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

#include "app/frame_state.h"

class CMainFrame;

// A plain command, or one whose menu item and button show a check mark.
enum class CommandKind { PLAIN, CHECK };

// The rule: the command's state in the window's state.
using CommandRule = CommandState (*)(const FrameState& state);
// The handler: runs the command on the window (and through it the document,
// the editing view and the child frame). It runs only while the rule enables it.
using CommandHandler = void (*)(CMainFrame& frame);

// Enabled whatever the state: the rule of most commands.
CommandState AlwaysEnabled(const FrameState& state);

struct FrameCommand {
    int id = 0;
    // Menu text with its "&" mnemonic, without the key (Qt shows the first key).
    const char* text = "";
    // "Status prompt\nTool tip", either part may be missing.
    const char* prompt = "";
    // Keys, the one the menu shows first; ";"-separated, "" for none.
    const char* keys = "";
    // Picture in :/images/toolbar_main.png or toolbar_view.png, -1 for none.
    int mainImage = -1;
    int viewImage = -1;
    CommandKind kind = CommandKind::PLAIN;
    CommandRule rule = AlwaysEnabled;
    CommandHandler run = nullptr;

    QString Text() const { return QString::fromUtf8(text); }
    QString StatusTip() const;
    QString ToolTip() const;
    QList<QKeySequence> Shortcuts() const;
};

// Every command with a menu item, toolbar button or key.
std::span<const FrameCommand> FrameCommands();
const FrameCommand* FindFrameCommand(int id);
// The state of command id; an id without a row is disabled and unchecked.
CommandState CommandStateOf(int id, const FrameState& state);

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
