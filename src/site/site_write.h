// Writing the edits of the site view back to the pages: the same step as
// import and apply (EditPage: under the page's lock, a diff, the journal
// entry on the disk first, the checked save), with the cells of each page
// written as import writes a table's cells.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/page_edit.h"
#include "site/site_sheet.h"

struct CSiteWriteResult {
    size_t change = 0; // its index in the changes
    PageOutcome outcome = PageOutcome::UNCHANGED;
    std::string detail; // CHANGED: the columns written; CONFLICT, FAILED: why
    std::string diff;   // with PageWriteOptions::diff
    // A page written, read again (when asked for): the row it now makes.
    std::optional<CSiteRow> row;
};

// Writes each change to its page under root (a folder, bytes, absolute), as
// options say (a dry run with diff only tells what would be written). A page
// is written only when it still is a page of the file types under root and
// still holds the text the edits were made on (its fingerprint); else it is
// left alone, as a CONFLICT when its text changed. result is called on the
// caller's thread in the order of changes. With reread, each page written is
// read again (its meta names: reread) for the view. Returns the number of
// pages not started because the run was stopped.
size_t WriteSiteChanges(const std::string& root, const std::string& fileTypes,
                        const std::vector<CSitePageChange>& changes,
                        const PageWriteOptions& options, const CRunControl& control,
                        const std::function<void(CSiteWriteResult&)>& result,
                        const std::vector<QString>* reread = nullptr);
