#include "site/site_commands.h"

bool IsSiteCommandEnabled(SiteCommand command, const SiteViewState& s) {
    const bool idle = !s.scanning && !s.running;
    switch (command) {
    case SiteCommand::SHOW:
    case SiteCommand::EARLIER_RUNS:
        return true;
    case SiteCommand::WRITE:
        return s.hasSite && idle && s.changedPages > 0;
    case SiteCommand::DISCARD:
        return s.hasSite && !s.running && (s.changedPages > 0 || s.discardable);
    case SiteCommand::SET_VALUE:
    case SiteCommand::APPLY_TEMPLATE:
        // Rows already read take edits while the rest are read.
        return s.hasSite && !s.running && s.selectedRows > 0;
    case SiteCommand::OPEN_PAGE:
        return s.hasSite && s.selectedRows == 1;
    case SiteCommand::RESCAN:
    case SiteCommand::EXPORT:
    case SiteCommand::IMPORT:
        return s.hasSite && idle;
    case SiteCommand::CANCEL:
        return !idle;
    case SiteCommand::UNDO_LAST:
        return idle && s.canUndo;
    }
    return false;
}
