// Which of the site view's commands can run: the window's menu items and the
// view's buttons alike ask here.
#pragma once

#include <cstddef>

enum class SiteCommand {
    SHOW,           // View > Site
    WRITE,          // write the edits (after their diffs)
    DISCARD,        // drop the edits
    SET_VALUE,      // one value for the selected rows
    APPLY_TEMPLATE, // a template merged into the selected rows
    OPEN_PAGE,      // the selected page in the editing view
    RESCAN,         // read every page again
    CANCEL,         // stop the scan or run
    UNDO_LAST,      // Edit > Undo last batch
    EARLIER_RUNS,   // the list of runs to undo
    EXPORT,         // File > Export site
    IMPORT,         // File > Import site
};

struct SiteViewState {
    bool hasSite = false;     // a folder is shown
    bool scanning = false;    // pages are being read
    bool running = false;     // a run that reads or changes pages (write, import, undo, export)
    size_t changedPages = 0;  // pages with edits not written
    bool discardable = false; // edits, or pages marked changed on disk
    size_t selectedRows = 0;
    bool canUndo = false; // a run in the journal folder is not undone yet
};

bool IsSiteCommandEnabled(SiteCommand command, const SiteViewState& state);
