// tsle-cli undo: put back the pages a batch run changed, from its journal.
#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/text_file.h"
#include "site/undo_journal.h"

namespace {

// How many journals --list shows without --all.
constexpr size_t LISTED_JOURNALS = 20;

std::string StateOf(const CJournal& journal) {
    if (journal.undone)
        return "undone";
    return journal.complete ? "complete" : "interrupted";
}

int ListJournals(bool all) {
    const std::vector<CJournal> journals = CUndoJournal::List();
    const size_t from =
        all || journals.size() <= LISTED_JOURNALS ? 0 : journals.size() - LISTED_JOURNALS;
    if (journals.empty()) {
        WriteStdout("No journals in " + ArgBytes(CUndoJournal::Folder()) + "\n");
        return EXIT_OK;
    }
    std::string out;
    if (from > 0)
        out += std::to_string(from) + " older journals not shown (--all shows them)\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-19s  %-7s  %6s  %-11s  %s\n", "TIME", "COMMAND", "PAGES",
                  "STATE", "JOURNAL");
    out += line;
    for (size_t i = from; i < journals.size(); ++i) {
        const CJournal& j = journals[i];
        std::snprintf(line, sizeof line, "%-19s  %-7s  %6zu  %-11s  ",
                      j.created.toLocalTime().toString("yyyy-MM-dd HH:mm:ss").toUtf8().constData(),
                      ArgBytes(j.command).c_str(), j.entries.size(), StateOf(j).c_str());
        out += line + ArgBytes(j.file) + "\n";
    }
    WriteStdout(out);
    return EXIT_OK;
}

// The journal file an argument names: a path, or the name of a journal in the
// journal folder.
QString FindJournal(const QString& arg) {
    if (QFileInfo::exists(arg) || arg.contains('/'))
        return arg;
    const QString inFolder = CUndoJournal::Folder() + "/" + arg;
    return QFileInfo::exists(inFolder) ? inFolder : arg;
}

} // namespace

int RunUndo(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Puts back the pages that a run of 'tsle-cli apply' or 'tsle-cli import' changed, "
        "from the run's journal, also when the run was interrupted. A page is restored only "
        "when it still holds exactly the text the run wrote; one changed since is reported "
        "('changed since PATH') and left alone, and one that already holds its text from "
        "before the run is 'unchanged'. Pages are saved as every save is (atomically, under "
        "their lock). Prints one line per page of the journal.");
    parser.addPositionalArgument(
        "JOURNAL", "The journal: a path, or a name that 'undo --list' shows.", "[JOURNAL]");
    const QCommandLineOption list("list", "List the recent journals (time, command, pages, "
                                          "state), oldest first.");
    const QCommandLineOption all("all", "With --list: every journal, not only the last 20.");
    const QCommandLineOption last("last", "Undo the most recent run that is not undone yet.");
    const QCommandLineOption dryRun("dry-run", "Change no file; report what would be done.");
    parser.addOptions({list, all, last, dryRun});
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(list)) {
        if (!positional.isEmpty() || parser.isSet(last))
            return UsageError("undo --list takes no JOURNAL");
        return ListJournals(parser.isSet(all));
    }
    QString path;
    if (parser.isSet(last)) {
        if (!positional.isEmpty())
            return UsageError("undo --last takes no JOURNAL");
        const std::vector<CJournal> journals = CUndoJournal::List();
        for (auto it = journals.rbegin(); it != journals.rend() && path.isEmpty(); ++it) {
            if (!it->undone)
                path = it->file;
        }
        if (path.isEmpty()) {
            std::fputs("tsle-cli: no run to undo\n", stderr);
            return EXIT_FILE_FAILED;
        }
    } else {
        if (positional.size() != 1)
            return UsageError("undo expects one JOURNAL (or --last, or --list)");
        path = FindJournal(positional.front());
    }
    InstallInterruptHandling();
    CJournal journal;
    QString error;
    if (!CUndoJournal::Read(path, journal, error)) {
        std::fputs(("tsle-cli: " + ArgBytes(error) + "\n").c_str(), stderr);
        return EXIT_FILE_FAILED;
    }
    if (journal.skippedLines) {
        FileError(path, std::to_string(journal.skippedLines) +
                            " line(s) cut short or not understood were passed over");
    }
    const bool dry = parser.isSet(dryRun);
    // The last page changed is put back first.
    const std::vector<CJournalEntry> entries(journal.entries.rbegin(), journal.entries.rend());
    const BatchTotals totals =
        RunBatch(entries.size(), BatchWorkers(entries.size()), [&](size_t i) {
            const CJournalEntry& entry = entries[i];
            BatchOutcome result;
            const auto fail = [&](const std::string& line, const std::string& why) {
                result.failed = true;
                result.out = line + "\n";
                result.error = "tsle-cli: " + entry.path + ": " + why + "\n";
            };
            CLockedTextFile file;
            std::string text, old;
            QString why;
            if (!file.Open(FileNameFromBytes(journal.Resolve(entry.path)), text, why)) {
                fail("failed " + entry.path + ": " + ArgBytes(why), ArgBytes(why));
                return result;
            }
            switch (entry.Restore(text, old)) {
            case CJournalEntry::Undo::ALREADY:
                result.out = "unchanged " + entry.path + "\n";
                break;
            case CJournalEntry::Undo::CHANGED_SINCE:
                fail("changed since " + entry.path,
                     "changed since the run; not restored (its text is not the one the run wrote)");
                break;
            case CJournalEntry::Undo::DAMAGED:
                fail("failed " + entry.path + ": the journal does not give its old text back",
                     "the journal does not give its old text back; not restored");
                break;
            case CJournalEntry::Undo::RESTORE:
                if (!dry && !file.Save(old, why, FileSync::TO_DISK)) {
                    fail("failed " + entry.path + ": " + ArgBytes(why), ArgBytes(why));
                    break;
                }
                result.out = "restored " + entry.path + "\n";
                break;
            }
            return result;
        });
    if (InterruptSignal()) {
        StdoutFailed();
        ExitForInterrupt();
    }
    if (totals.anyFailed)
        return EXIT_FILE_FAILED;
    if (!dry && !CUndoJournal::MarkUndone(path, error)) {
        std::fputs(("tsle-cli: " + ArgBytes(error) + "\n").c_str(), stderr);
        return EXIT_FILE_FAILED;
    }
    return EXIT_OK;
}
