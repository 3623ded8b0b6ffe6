#include "app/command_states.h"

#include "resource_ids.h"

namespace {

CommandState Enabled(bool enabled) {
    return {enabled, false};
}

CommandState Checked(bool enabled, bool checked) {
    return {enabled, checked};
}

} // namespace

CommandState CommandStateOf(int id, const FrameState& s) {
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + 6)
        return Enabled(id - ID_FILE_MRU_FILE1 < s.recentFileCount);
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_BROWSE:
    case ID_APP_EXIT:
    case ID_TEMPLATE_NEW:
    case ID_TEMPLATE_OPEN:
    case ID_OPTIONS:
    case ID_HELP_FINDER:
    case ID_ONLINE_TUTORIALS:
    case ID_APP_ABOUT:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        return Enabled(true);
    case ID_TEMPLATE_SAVE:
        return Enabled(s.templateOpen && s.templateModified);
    case ID_TEMPLATE_SAVE_AS:
    case ID_TEMPLATE_CLOSE:
        return Enabled(s.templateOpen);
    case ID_TEMPLATE_EDIT:
        return Checked(s.templateOpen, s.templateOpen && s.editingTemplate);
    case ID_TEMPLATE_APPLY:
        return Enabled(s.templateOpen && !s.editingTemplate);
    case ID_EDIT_UNDO:
        return Enabled(s.canUndo);
    case ID_EDIT_CUT:
        return Enabled(s.canCut);
    case ID_EDIT_COPY:
        return Enabled(s.canCopy);
    case ID_EDIT_PASTE:
        return Enabled(s.canPaste);
    case ID_VIEW_ALL_FIELDS:
        return Checked(true, s.displayAll);
    case ID_VIEW_TOOLBAR:
        return Checked(true, s.toolBarVisible);
    case ID_VIEW_STATUS_BAR:
        return Checked(true, s.statusBarVisible);
    default:
        return {};
    }
}

bool IsCheckCommand(int id) {
    switch (id) {
    case ID_TEMPLATE_EDIT:
    case ID_VIEW_ALL_FIELDS:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_VIEW_METADATA:
    case ID_VIEW_WEBPAGE:
    case ID_VIEW_SPLIT:
        return true;
    default:
        return false;
    }
}
