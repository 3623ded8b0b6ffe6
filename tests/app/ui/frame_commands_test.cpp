// The main window's command table without a window: each command's rule over
// the frame's state, and rows that a newly added command could get wrong.
#include "app/ui/frame_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "app/recent_file_list.h"
#include "resource_ids.h"

namespace {

struct StateCase {
    const char* name;
    FrameState state;
    int id;
    bool enabled;
    bool checked;
};

FrameState Template(bool open, bool editing, bool modified) {
    FrameState s;
    s.templateOpen = open;
    s.editingTemplate = editing;
    s.templateModified = modified;
    return s;
}

FrameState Clipboard(bool undo, bool cut, bool copy, bool paste) {
    FrameState s;
    s.canUndo = undo;
    s.canCut = cut;
    s.canCopy = copy;
    s.canPaste = paste;
    return s;
}

FrameState Printing(bool canPrint) {
    FrameState s;
    s.canPrint = canPrint;
    return s;
}

FrameState Views(int mode) {
    FrameState s;
    s.views.SetViewMode(mode);
    return s;
}

FrameState Previews(bool shown) {
    FrameState s;
    s.snippetsShown = shown;
    return s;
}

FrameState Bars(bool toolBar, bool statusBar, bool displayAll, int recent) {
    FrameState s;
    s.toolBarVisible = toolBar;
    s.statusBarVisible = statusBar;
    s.displayAll = displayAll;
    s.recentFileCount = recent;
    return s;
}

FrameState Site(bool shown, bool scanning, bool canUndo) {
    FrameState s;
    s.siteViewShown = shown;
    s.site.hasSite = true;
    s.site.scanning = scanning;
    s.site.canUndo = canUndo;
    return s;
}

TEST(CommandStates, FollowTheTemplateTheViewAndTheBars) {
    const StateCase cases[] = {
        {"no template: only new and open", Template(false, false, false), ID_TEMPLATE_NEW, 1, 0},
        {"", Template(false, false, false), ID_TEMPLATE_OPEN, 1, 0},
        {"", Template(false, false, false), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(false, false, true), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_SAVE_AS, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_CLOSE, 0, 0},
        {"", Template(false, true, false), ID_TEMPLATE_EDIT, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_APPLY, 0, 0},
        {"open template, unchanged", Template(true, false, false), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(true, false, true), ID_TEMPLATE_SAVE, 1, 0},
        {"", Template(true, false, false), ID_TEMPLATE_SAVE_AS, 1, 0},
        {"", Template(true, false, false), ID_TEMPLATE_CLOSE, 1, 0},
        {"edit is checked while editing", Template(true, false, false), ID_TEMPLATE_EDIT, 1, 0},
        {"", Template(true, true, false), ID_TEMPLATE_EDIT, 1, 1},
        {"apply only when not editing", Template(true, false, false), ID_TEMPLATE_APPLY, 1, 0},
        {"", Template(true, true, true), ID_TEMPLATE_APPLY, 0, 0},
        {"clipboard from the view", Clipboard(1, 0, 0, 0), ID_EDIT_UNDO, 1, 0},
        {"", Clipboard(0, 1, 1, 1), ID_EDIT_UNDO, 0, 0},
        {"", Clipboard(0, 1, 0, 0), ID_EDIT_CUT, 1, 0},
        {"", Clipboard(1, 0, 1, 1), ID_EDIT_CUT, 0, 0},
        {"", Clipboard(0, 0, 1, 0), ID_EDIT_COPY, 1, 0},
        {"", Clipboard(0, 0, 0, 1), ID_EDIT_PASTE, 1, 0},
        {"", Clipboard(1, 1, 1, 0), ID_EDIT_PASTE, 0, 0},
        {"bars and modes are checks", Bars(1, 0, 0, 0), ID_VIEW_TOOLBAR, 1, 1},
        {"", Bars(0, 1, 0, 0), ID_VIEW_TOOLBAR, 1, 0},
        {"", Bars(0, 1, 0, 0), ID_VIEW_STATUS_BAR, 1, 1},
        {"", Bars(1, 0, 1, 0), ID_VIEW_STATUS_BAR, 1, 0},
        {"", Bars(1, 1, 1, 0), ID_VIEW_ALL_FIELDS, 1, 1},
        {"", Bars(1, 1, 0, 0), ID_VIEW_ALL_FIELDS, 1, 0},
        {"", FrameState{}, ID_VIEW_SNIPPETS, 1, 0},
        {"", Previews(true), ID_VIEW_SNIPPETS, 1, 1},
        {"recent entries that exist", Bars(1, 1, 0, 2), ID_FILE_MRU_FILE1 + 1, 1, 0},
        {"", Bars(1, 1, 0, 2), ID_FILE_MRU_FILE1 + 2, 0, 0},
        {"", Bars(1, 1, 0, 6), ID_FILE_MRU_FILE1 + 5, 1, 0},
        {"always there", FrameState{}, ID_FILE_SAVE, 1, 0},
        {"", FrameState{}, ID_FILE_BROWSE, 1, 0},
        {"", FrameState{}, ID_OPTIONS, 1, 0},
        {"", FrameState{}, ID_NEXT_PANE, 1, 0},
        {"print while the preview can", FrameState{}, ID_FILE_PRINT, 0, 0},
        {"", Printing(true), ID_FILE_PRINT, 1, 0},
        {"the current view mode is checked and greyed", Views(VIEW_MODE_METADATA), ID_VIEW_METADATA,
         0, 1},
        {"", Views(VIEW_MODE_METADATA), ID_VIEW_WEBPAGE, 1, 0},
        {"", Views(VIEW_MODE_WEBPAGE), ID_VIEW_WEBPAGE, 0, 1},
        {"", Views(VIEW_MODE_WEBPAGE), ID_VIEW_SPLIT, 1, 0},
        {"", Views(VIEW_MODE_SPLIT), ID_VIEW_SPLIT, 0, 1},
        {"", Views(VIEW_MODE_SPLIT), ID_VIEW_METADATA, 1, 0},
        {"the site view is a check; a view mode brings the page back", Site(true, false, false),
         ID_VIEW_SITE, 1, 1},
        {"", FrameState{}, ID_VIEW_SITE, 1, 0},
        {"", Site(true, false, false), ID_VIEW_METADATA, 1, 0},
        {"site runs wait for a site and for its scan", FrameState{}, ID_FILE_EXPORT_SITE, 0, 0},
        {"", Site(false, false, false), ID_FILE_IMPORT_SITE, 1, 0},
        {"", Site(true, true, false), ID_FILE_EXPORT_SITE, 0, 0},
        {"", Site(false, false, true), ID_EDIT_UNDO_BATCH, 1, 0},
        {"", Site(false, true, true), ID_EDIT_UNDO_BATCH, 0, 0},
        {"", FrameState{}, ID_EDIT_EARLIER_BATCHES, 1, 0},
        {"unknown ids", FrameState{}, 12345, 0, 0},
    };
    const char* group = "";
    for (const StateCase& c : cases) {
        if (*c.name)
            group = c.name;
        const CommandState s = CommandStateOf(c.id, c.state);
        EXPECT_EQ(s.enabled, c.enabled) << group << ": id " << c.id;
        EXPECT_EQ(s.checked, c.checked) << group << ": id " << c.id;
    }
}

// Every row can run, has its own id, and checks only when it is a check item;
// everything the menus and toolbars show has a row.
TEST(CommandTable, EveryRowIsCompleteAndEveryPlaceHasARow) {
    std::set<int> ids;
    FrameState all;
    all.templateOpen = all.editingTemplate = all.templateModified = true;
    all.canUndo = all.canCut = all.canCopy = all.canPaste = all.displayAll = true;
    all.canPrint = true;
    all.recentFileCount = RECENT_FILE_COUNT;
    FrameState split = all;
    split.views.SetViewMode(VIEW_MODE_SPLIT);
    for (const FrameCommand& command : FrameCommands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "id " << command.id << " twice";
        EXPECT_NE(command.run, nullptr) << command.id;
        ASSERT_NE(command.rule, nullptr) << command.id;
        for (const FrameState& state : {FrameState{}, all, split}) {
            if (command.kind == CommandKind::PLAIN) {
                EXPECT_FALSE(command.rule(state).checked) << command.id;
            }
        }
    }
    std::vector<int> placed;
    for (const FrameMenu& menu : FrameMenus())
        placed.insert(placed.end(), menu.items.begin(), menu.items.end());
    for (auto bar : {MainToolBarButtons(), ViewToolBarButtons()})
        placed.insert(placed.end(), bar.begin(), bar.end());
    for (int id : placed)
        EXPECT_TRUE(id == 0 || FindFrameCommand(id)) << "no row for id " << id;
    for (int n = 0; n < RECENT_FILE_COUNT; ++n)
        EXPECT_TRUE(FindFrameCommand(ID_FILE_MRU_FILE1 + n)) << "recent file " << n;
}

} // namespace
