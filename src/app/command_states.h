// Which commands of the main window are enabled and checked.
//
// The window gathers what the rules read into one FrameState and asks for
// each command id; widgets only apply the answer. A command that nothing in
// the window serves yet (the child frame's view switches, Print before the
// preview exists) is disabled, as a command without a handler would be.
#pragma once

struct FrameState {
    // The document's template state.
    bool templateOpen = false;
    bool editingTemplate = false;
    bool templateModified = false;
    // The editing view's answers for its focused and last changed field.
    bool canUndo = false;
    bool canCut = false;
    bool canCopy = false;
    bool canPaste = false;
    bool displayAll = false;
    // The window's own bars.
    bool toolBarVisible = true;
    bool statusBarVisible = true;
    // Entries in the recent-file list.
    int recentFileCount = 0;
};

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// The state of command id; ids nobody serves are disabled and unchecked.
CommandState CommandStateOf(int id, const FrameState& state);

// Whether a command shows a check mark at all (its menu item is checkable).
bool IsCheckCommand(int id);
