// Changing one page of a run: read it under its lock, parse it, let the
// caller change it, and write it back (a diff, the journal entry, the save)
// when its text changed. apply, import and the site view change pages only
// this way.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "document/text_file.h"
#include "page/html_page.h"

class CUndoJournal;

// What a run that changes pages does besides changing them.
struct PageWriteOptions {
    bool dryRun = false;
    bool diff = false;
    // How the pages' heads are written (--normalize-head).
    HeadStyle headStyle = HeadStyle::KEEP;
    FileSync sync = FileSync::LATER;
    CUndoJournal* journal = nullptr; // null: none (a dry run, or --no-journal)
};

enum class PageOutcome { CHANGED, UNCHANGED, CONFLICT, FAILED };

// How many pages of a run came to each outcome, for its summary line.
struct CPageOutcomeCounts {
    size_t changed = 0, unchanged = 0, conflicts = 0, failed = 0;
    void Count(PageOutcome outcome);
};

struct CPageEdit {
    PageOutcome outcome = PageOutcome::UNCHANGED;
    // FAILED and CONFLICT: why; CHANGED: what the editor said it changed.
    std::string detail;
    // With PageWriteOptions::diff: the page's unified diff (see PageDiff).
    std::string diff;
};

// Changes page (parsed from text, the file's bytes) and returns CHANGED when
// it changed anything, UNCHANGED, or CONFLICT or FAILED with detail saying
// why (then nothing is written). detail may name what changed.
using PageEditor =
    std::function<PageOutcome(CHtmlPage& page, const std::string& text, std::string& detail)>;

// Locks and reads the page at path (bytes), parses it keeping its body as
// read, and runs edit on it. A page whose text comes out as it was is not
// written (UNCHANGED, whatever edit said); a changed one gets its diff when
// asked, and unless a dry run its journal entry on the disk first, then is
// saved under its lock. expected: the file the caller checked (by device and
// inode), refused when another is found there. Never throws.
CPageEdit EditPage(const std::string& path, const PageWriteOptions& options, const PageEditor& edit,
                   const PageFileId* expected = nullptr);

// The unified diff of a page whose text before became after, with headers
// that git apply and patch -p1 take: "a/" and "b/" before the path relative
// to the current folder (see DiffPath).
std::string PageDiff(std::string_view before, std::string_view after, std::string_view path);
