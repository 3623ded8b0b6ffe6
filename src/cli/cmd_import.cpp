// tsle-cli import: a CSV table of titles and meta tags written back to the pages.
#include <cstdio>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/text_file.h"
#include "site/table_import.h"
#include "site/undo_journal.h"

namespace {

std::string ResultLine(const CImportResult& result) {
    switch (result.outcome) {
    case PageOutcome::CHANGED:
        return "changed " + result.path + ": " + result.detail + "\n";
    case PageOutcome::UNCHANGED:
        return "unchanged " + result.path + "\n";
    case PageOutcome::CONFLICT:
        return "conflict " + result.path + ": " + result.detail + "\n";
    case PageOutcome::FAILED:
        break;
    }
    return "failed " + result.path + ": " + result.detail + "\n";
}

std::string Count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

int RunImport(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a CSV table made by 'tsle-cli export' (and edited in a spreadsheet or a "
        "script) back to the pages: in each page only the cells whose text differs from the "
        "page as it is now are written, an empty cell removing the meta tag and a filled one "
        "setting it, as 'tsle-cli set' does. Only existing web pages (by the file types) in "
        "the root folder are written: relative paths start there, and rows naming anything "
        "else are refused. A page whose fingerprint is not the one in the table (it was "
        "changed since the export) is left alone and reported as a conflict; an empty "
        "fingerprint cell, or no such column, takes the page as it is. Malformed rows, cells "
        "holding control characters, rows of pages that are missing, and pages named on "
        "several rows are reported with their line numbers and not used. Tables saved by "
        "spreadsheets are read too: a byte-order mark, CRLF line ends, semicolons or tabs "
        "between the fields; the apostrophe export puts before a value that starts like a "
        "formula is taken away. Prints a summary line (pages changed, conflicts, failures, "
        "unchanged); with --verbose also one line per page: 'changed PATH: COLUMNS', "
        "'unchanged PATH', 'conflict PATH: ...' or 'failed PATH: ...'. A run that changes "
        "pages keeps a journal for 'tsle-cli undo'.");
    parser.addPositionalArgument("FILE", "The CSV table.");
    const QCommandLineOption root("root",
                                  "The folder the pages must be in, where relative paths start "
                                  "(default: the current folder).",
                                  "DIR");
    const QCommandLineOption verbose(QStringList{"v", "verbose"}, "A line for every page.");
    const CPageSetArguments pageSet("Import into", false);
    const CPageWriteArguments writing;
    parser.addOptions({root, verbose});
    pageSet.AddTo(parser);
    writing.AddTo(parser);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (!writing.Check(parser, exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError("import expects exactly one FILE");
    InstallInterruptHandling();
    const QString& file = files.front();
    const std::string where = ArgBytes(file) + ":";
    CImportOptions options;
    options.root = ArgBytes(parser.value(root));
    options.fileTypes = pageSet.Options(parser).fileTypes;
    CTableImport table;
    std::string error;
    int line = 0;
    if (!table.Open(ArgBytes(file), options, error, line)) {
        std::fputs(
            ("tsle-cli: " + where + (line ? std::to_string(line) + ":" : "") + " " + error + "\n")
                .c_str(),
            stderr);
        return EXIT_FILE_FAILED;
    }
    CPageOutcomeCounts counts;
    const bool ok = table.Check(
        [&](const CImportProblem& problem) {
            ++counts.failed;
            std::fputs(("tsle-cli: " + where + std::to_string(problem.line) + ": " +
                        problem.message + "\n")
                           .c_str(),
                       stderr);
        },
        error);
    if (!ok) {
        FileError(file, error);
        return EXIT_FILE_FAILED;
    }

    PageWriteOptions write;
    CUndoJournal journal;
    if (!writing.Resolve(parser, "import", args.mid(1), journal, write))
        return EXIT_FILE_FAILED;
    size_t notDone = 0;
    const bool verbosely = parser.isSet(verbose);
    const bool read = table.Run(
        write, TerminalRunControl(),
        [&](const CImportResult& result) {
            ClearProgress();
            counts.Count(result.outcome);
            if (result.outcome == PageOutcome::CONFLICT || result.outcome == PageOutcome::FAILED) {
                std::fputs(("tsle-cli: " + where + std::to_string(result.line) + ": " +
                            result.path + ": " + result.detail + "\n")
                               .c_str(),
                           stderr);
            }
            // With --diff, stdout is a patch: the diffs alone.
            if (write.diff)
                WriteStdout(result.diff, true);
            else if (verbosely)
                WriteStdout(ResultLine(result), true);
        },
        notDone, error);
    if (!read) {
        FileError(file, error);
        ++counts.failed;
    }
    const bool interrupted = InterruptSignal() != 0;
    if (!FinishJournal(journal, !interrupted))
        return EXIT_FILE_FAILED;
    const std::string summary = Count(counts.changed, "page changed", "pages changed") + ", " +
                                Count(counts.conflicts, "conflict", "conflicts") + ", " +
                                Count(counts.failed, "failure", "failures") + ", " +
                                std::to_string(counts.unchanged) + " unchanged" +
                                (write.dryRun ? " (dry run: nothing was written)" : "") + "\n";
    if (write.diff)
        std::fputs(("tsle-cli: " + summary).c_str(), stderr);
    else
        WriteStdout(summary);
    if (interrupted)
        EndInterruptedRun(notDone, table.Rows());
    return counts.failed || counts.conflicts ? EXIT_FILE_FAILED : EXIT_OK;
}
