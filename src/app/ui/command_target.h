// ICommandTarget: a pane of the main window that serves some of its commands.
//
// The main window offers every command, and every question about a command's
// state, to its panes first, in the order they were added; the first pane that
// answers serves it. A pane thereby serves its commands wherever the focus is
// (the child frame's view switches, the preview's Print, the file browser's
// refresh). Commands no pane serves go to the window's own handlers.
//
// A pane whose answers change calls CMainFrame::UpdateActions (or connects a
// signal of its own to it), so that menus, buttons and shortcuts follow.
#pragma once

#include "app/command_states.h"

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // Sets state and returns true when this pane serves command id.
    virtual bool UpdateCommand(int id, CommandState& state) = 0;
    // Runs command id and returns true when this pane serves it.
    virtual bool RunCommand(int id) = 0;
};
