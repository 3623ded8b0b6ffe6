// Putting back the pages a run changed, from its journal: tsle-cli undo, and
// the site view's undo.
//
// A journal names files and bytes to write into them, so it is trusted only
// as far as it must be: only files of the page types are restored (the name
// the journal gives and the file it leads to), a page only when it holds
// exactly the text the run wrote (by its SHA-256, whatever bytes it holds),
// and the caller is told when the journal is not the user's own in the
// journal folder (CUndoJournal::Distrust).
#pragma once

#include <functional>
#include <string>

#include "settings/file_types.h"
#include "site/page_batch.h"
#include "site/undo_journal.h"

struct CUndoOptions {
    bool dryRun = false;
    std::string fileTypes{DEFAULT_FILE_TYPES};
};

enum class UndoOutcome {
    RESTORED,      // put back (or, in a dry run, would be)
    ALREADY,       // holds its text from before the run
    CHANGED_SINCE, // holds another text than the run wrote: left alone
    FAILED,        // could not be read, written or trusted
};

struct CUndoResult {
    std::string path; // as the journal names it
    UndoOutcome outcome = UndoOutcome::FAILED;
    std::string detail; // FAILED: why
};

// Restores the pages of journal, the last one changed first, on several
// threads; result is called on the caller's thread in that order. Returns
// the number of pages not started because the run was stopped.
size_t UndoPages(const CJournal& journal, const CUndoOptions& options, const CRunControl& control,
                 const std::function<void(const CUndoResult&)>& result);
