#include "site/page_edit.h"

#include <QDir>
#include <cerrno>
#include <cstring>

#include "page/html_page.h"
#include "site/text_diff.h"
#include "site/undo_journal.h"

namespace {

std::string Bytes(const QString& text) {
    return FileNameBytes(text);
}

// Writes a page that changed from before to after as the options say.
// Returns false with reason set when the page was not written.
bool WriteChangedPage(CLockedTextFile& file, const std::string& path, const std::string& before,
                      const std::string& after, const PageWriteOptions& options, std::string& diff,
                      std::string& reason) {
    if (options.diff)
        diff = PageDiff(before, after, path);
    if (options.dryRun)
        return true;
    QString error;
    if (options.journal && !options.journal->Add(CJournalEntry::For(path, before, after), error)) {
        reason = Bytes(error) + "; not changed";
        return false;
    }
    if (!file.Save(after, error, options.sync)) {
        reason = Bytes(error);
        return false;
    }
    return true;
}

} // namespace

void CPageOutcomeCounts::Count(PageOutcome outcome) {
    switch (outcome) {
    case PageOutcome::CHANGED:
        ++changed;
        break;
    case PageOutcome::UNCHANGED:
        ++unchanged;
        break;
    case PageOutcome::CONFLICT:
        ++conflicts;
        break;
    case PageOutcome::FAILED:
        ++failed;
        break;
    }
}

CPageEdit EditPage(const std::string& path, const PageWriteOptions& options, const PageEditor& edit,
                   const PageFileId* expected) {
    CPageEdit result;
    try {
        CLockedTextFile file;
        std::string text;
        QString error;
        if (!file.Open(FileNameFromBytes(path), text, error)) {
            result.outcome = PageOutcome::FAILED;
            result.detail = Bytes(error);
            return result;
        }
        if (expected && !(file.GetId() == *expected)) {
            result.outcome = PageOutcome::FAILED;
            result.detail = "the file was replaced by another meanwhile; not changed";
            return result;
        }
        CHtmlPage page;
        page.SetHeadStyle(options.headStyle);
        page.SetText(text, BodyMode::PRESERVE);
        result.outcome = edit(page, text, result.detail);
        if (result.outcome != PageOutcome::CHANGED)
            return result;
        // A page whose values stay as they are is not written at all, however
        // its tags are written.
        if (page.GetChangeCount() == 0 || page.GetText() == text) {
            result.outcome = PageOutcome::UNCHANGED;
            result.detail.clear();
            return result;
        }
        if (!WriteChangedPage(file, path, text, page.GetText(), options, result.diff,
                              result.detail))
            result.outcome = PageOutcome::FAILED;
    } catch (const std::bad_alloc&) {
        result.outcome = PageOutcome::FAILED;
        result.detail = std::strerror(ENOMEM);
        result.diff.clear();
    }
    return result;
}

std::string PageDiff(std::string_view before, std::string_view after, std::string_view path) {
    const std::string name = DiffPath(path, Bytes(QDir::currentPath()));
    return UnifiedDiff(before, after, DiffFileName("a/", name), DiffFileName("b/", name));
}
