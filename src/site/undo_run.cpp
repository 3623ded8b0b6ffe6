#include "site/undo_run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "document/text_file.h"
#include "site/page_walk.h"

namespace {

bool IsPageFile(const std::string& path, const std::string& fileTypes) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return CPageWalker::IsBatchPageName(name, fileTypes) && !name.ends_with(".mtpl");
}

CUndoResult UndoEntry(const CJournal& journal, const CJournalEntry& entry,
                      const CUndoOptions& options) {
    CUndoResult result;
    result.path = entry.path;
    const std::string path = journal.Resolve(entry.path);
    std::string real;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    if (!IsPageFile(path, options.fileTypes) ||
        (!real.empty() && !IsPageFile(real, options.fileTypes))) {
        result.detail = "not a page (the file types are " + options.fileTypes + "); not restored";
        return result;
    }
    try {
        CLockedTextFile file;
        std::string text, old;
        QString why;
        // Any bytes: the hash tells whether it is the text the run wrote.
        if (!file.OpenBytes(FileNameFromBytes(path), text, why)) {
            result.detail = FileNameBytes(why);
            return result;
        }
        switch (entry.Restore(text, old)) {
        case CJournalEntry::Undo::ALREADY:
            result.outcome = UndoOutcome::ALREADY;
            break;
        case CJournalEntry::Undo::CHANGED_SINCE:
            result.outcome = UndoOutcome::CHANGED_SINCE;
            result.detail = "changed since the run; not restored (its text is not the one the run "
                            "wrote)";
            break;
        case CJournalEntry::Undo::DAMAGED:
            result.detail = "the journal does not give its old text back; not restored";
            break;
        case CJournalEntry::Undo::RESTORE:
            if (!options.dryRun && !file.Save(old, why, FileSync::TO_DISK)) {
                result.detail = FileNameBytes(why);
                break;
            }
            result.outcome = UndoOutcome::RESTORED;
            break;
        }
    } catch (const std::bad_alloc&) {
        result.outcome = UndoOutcome::FAILED;
        result.detail = std::strerror(ENOMEM);
    }
    return result;
}

} // namespace

size_t UndoPages(const CJournal& journal, const CUndoOptions& options, const CRunControl& control,
                 const std::function<void(const CUndoResult&)>& result) {
    // The last page changed is put back first.
    const size_t count = journal.entries.size();
    std::vector<CUndoResult> results(count);
    return RunInOrder(
        count,
        [&](size_t i) { results[i] = UndoEntry(journal, journal.entries[count - 1 - i], options); },
        [&](size_t i) {
            result(results[i]);
            results[i] = CUndoResult();
        },
        control);
}
