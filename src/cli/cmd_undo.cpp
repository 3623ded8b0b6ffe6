// tsle-cli undo: put back the pages a batch run changed, from its journal.
#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/text_file.h"
#include "settings/settings_profile.h"
#include "site/undo_journal.h"
#include "site/undo_run.h"

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
        "when it still holds exactly the text the run wrote (by its SHA-256); one changed "
        "since is reported ('changed since PATH') and left alone, and one that already holds "
        "its text from before the run is 'unchanged'. Only web pages (by the file types) are "
        "restored, and only from a journal of the user's own in the journal folder (--force "
        "takes another). A journal with damaged lines, or whose end line counts other pages "
        "than it holds, is reported (exit status 1) and not marked undone. Pages are saved as "
        "every save is (atomically, under their lock). Prints one line per page of the "
        "journal.");
    parser.addPositionalArgument(
        "JOURNAL", "The journal: a path, or a name that 'undo --list' shows.", "[JOURNAL]");
    const QCommandLineOption list("list", "List the recent journals (time, command, pages, "
                                          "state), oldest first.");
    const QCommandLineOption all("all", "With --list: every journal, not only the last 20.");
    const QCommandLineOption last("last", "Undo the most recent run that is not undone yet.");
    const QCommandLineOption dryRun("dry-run", "Change no file; report what would be done.");
    const QCommandLineOption force("force", "Undo from a journal that is not in the journal "
                                            "folder or not the user's own.");
    const QCommandLineOption prune(
        "prune", "Remove the journals that are neither among the last runs nor of the last days "
                 "(by default 100 runs and 90 days, or the profile's [Journals] KeepRuns and "
                 "KeepDays; every run that keeps a journal prunes so).");
    const CJournalRetention retention = CJournalRetention::FromProfile(CSettingsProfile());
    const QCommandLineOption keepRuns("keep-runs", "With --prune: the runs to keep.", "N",
                                      QString::number(retention.keepRuns));
    const QCommandLineOption keepDays("keep-days", "With --prune: the days to keep.", "N",
                                      QString::number(retention.keepDays));
    const CPageSetArguments pageSet("Undo", false);
    parser.addOptions({list, all, last, dryRun, force, prune, keepRuns, keepDays});
    pageSet.AddTo(parser);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(list)) {
        if (!positional.isEmpty() || parser.isSet(last))
            return UsageError("undo --list takes no JOURNAL");
        return ListJournals(parser.isSet(all));
    }
    if (parser.isSet(prune)) {
        if (!positional.isEmpty() || parser.isSet(last))
            return UsageError("undo --prune takes no JOURNAL");
        CJournalRetention keep;
        bool runsOk = false, daysOk = false;
        keep.keepRuns = parser.value(keepRuns).toInt(&runsOk);
        keep.keepDays = parser.value(keepDays).toInt(&daysOk);
        if (!runsOk || !daysOk || keep.keepRuns < 0 || keep.keepDays < 0)
            return UsageError("--keep-runs and --keep-days expect numbers");
        const size_t removed = CUndoJournal::Prune(keep);
        WriteStdout(std::to_string(removed) + (removed == 1 ? " journal" : " journals") +
                    " removed from " + ArgBytes(CUndoJournal::Folder()) + "\n");
        return EXIT_OK;
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
            return UsageError("undo expects one JOURNAL (or --last, --list or --prune)");
        path = FindJournal(positional.front());
    }
    InstallInterruptHandling();
    CJournal journal;
    QString error;
    if (!CUndoJournal::Read(path, journal, error)) {
        std::fputs(("tsle-cli: " + ArgBytes(error) + "\n").c_str(), stderr);
        return EXIT_FILE_FAILED;
    }
    // A journal says which files get which bytes: one that is not the user's
    // own, where runs keep theirs, could have been written by anyone.
    const std::string distrust = CUndoJournal::Distrust(path);
    if (!distrust.empty() && !parser.isSet(force)) {
        FileError(path, distrust + "; not undone (--force undoes it anyway)");
        return EXIT_FILE_FAILED;
    }
    const std::string damage = journal.Damage();
    if (!damage.empty())
        FileError(path, damage + "; the pages of those lines cannot be restored");
    CUndoOptions options;
    options.dryRun = parser.isSet(dryRun);
    options.fileTypes = pageSet.Options(parser).fileTypes;
    bool anyFailed = false;
    const size_t notDone =
        UndoPages(journal, options, TerminalRunControl(), [&](const CUndoResult& result) {
            ClearProgress();
            std::string line;
            switch (result.outcome) {
            case UndoOutcome::RESTORED:
                line = "restored " + result.path;
                break;
            case UndoOutcome::ALREADY:
                line = "unchanged " + result.path;
                break;
            case UndoOutcome::CHANGED_SINCE:
                line = "changed since " + result.path;
                break;
            case UndoOutcome::FAILED:
                line = "failed " + result.path + ": " + result.detail;
                break;
            }
            if (result.outcome == UndoOutcome::CHANGED_SINCE ||
                result.outcome == UndoOutcome::FAILED) {
                anyFailed = true;
                std::fputs(("tsle-cli: " + result.path + ": " + result.detail + "\n").c_str(),
                           stderr);
            }
            WriteStdout(line + "\n", true);
        });
    if (InterruptSignal())
        EndInterruptedRun(notDone, journal.entries.size());
    if (anyFailed || !damage.empty())
        return EXIT_FILE_FAILED;
    if (!options.dryRun && !CUndoJournal::MarkUndone(path, error)) {
        std::fputs(("tsle-cli: " + ArgBytes(error) + "\n").c_str(), stderr);
        return EXIT_FILE_FAILED;
    }
    return EXIT_OK;
}
