// What the main window's commands are enabled and checked by.
//
// The window gathers everything the rules read into one FrameState
// (CMainFrame::GatherState); each row of the command table
// (app/ui/frame_commands.cpp) turns it into its command's CommandState. The
// rules read nothing else, so tests build a FrameState by hand and ask them
// without a window.
#pragma once

#include "shell/view_mode_state.h"
#include "site/site_commands.h"

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
    // The search and social previews under the editing view.
    bool snippetsShown = false;
    // The child frame: which of its views it shows, and whether the preview
    // is the active view with a page to print.
    CViewModeState views;
    bool canPrint = false;
    // The window's own bars.
    bool toolBarVisible = true;
    bool statusBarVisible = true;
    // Entries in the recent-file list.
    int recentFileCount = 0;
    // The site view: whether it is shown in place of the child frame, and
    // what its commands read (the menus' site commands ask it too).
    bool siteViewShown = false;
    SiteViewState site;
};

struct CommandState {
    bool enabled = false;
    bool checked = false;
};
