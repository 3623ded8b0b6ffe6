// tsle-cli apply: merge a template into many pages.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/template_values.h"
#include "document/text_file.h"
#include "page/html_page.h"
#include "settings/file_types.h"
#include "site/page_walk.h"
#include "site/undo_journal.h"

namespace {

enum class Outcome { CHANGED, UNCHANGED, FAILED };

// Reads one page under its lock, applies the template and saves the page when
// a value changed, its journal entry on the disk first.
Outcome ApplyToFile(const CTemplateValues& values, const std::string& path,
                    const PageWriteOptions& options, std::string& reason, std::string& diff) {
    try {
        CLockedTextFile file;
        std::string text;
        QString error;
        if (!file.Open(FileNameFromBytes(path), text, error)) {
            reason = ArgBytes(error);
            return Outcome::FAILED;
        }
        CHtmlPage page;
        page.SetHeadStyle(options.headStyle);
        page.SetText(text, BodyMode::PRESERVE);
        if (!page.HasMetaPosition()) {
            reason = "no place for meta tags (no head and no meta tag)";
            return Outcome::FAILED;
        }
        if (!values.ApplyTo(page, &error)) {
            reason = ArgBytes(error) + " Nothing was written.";
            return Outcome::FAILED;
        }
        // A page whose values stay as they are is not written at all, however
        // its tags are written.
        if (page.GetChangeCount() == 0 || page.GetText() == text)
            return Outcome::UNCHANGED;
        const std::string& changed = page.GetText();
        if (!WriteChangedPage(file, path, text, changed, options, diff, reason))
            return Outcome::FAILED;
        return Outcome::CHANGED;
    } catch (const std::bad_alloc&) {
        reason = std::strerror(ENOMEM);
        return Outcome::FAILED;
    }
}

std::string ResultLine(const std::string& path, Outcome outcome, const std::string& reason) {
    switch (outcome) {
    case Outcome::CHANGED:
        return "changed " + path + "\n";
    case Outcome::UNCHANGED:
        return "unchanged " + path + "\n";
    case Outcome::FAILED:
        break;
    }
    return "failed " + path + ": " + reason + "\n";
}

} // namespace

int RunApply(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Applies a meta-tag template to web pages. Prints one line per page: "
        "'changed PATH', 'unchanged PATH' or 'failed PATH: REASON' (the reason on stderr too). "
        "Every page is read, changed and saved under its lock and replaced atomically; a page "
        "whose values stay the same is not written. On SIGINT or SIGTERM the pages being "
        "saved are finished, the run stops and reports what it did; a second signal stops at "
        "once, leaving every page in hand as it was. A run that changes pages keeps a journal "
        "of them, from which 'tsle-cli undo' puts them back, also after an interruption.");
    parser.addPositionalArgument("TEMPLATE", "The template file (.mtpl).");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const QCommandLineOption recursive(
        QStringList{"r", "recursive"},
        "Apply to every web page under the folders named (symbolic links met there are not "
        "followed).");
    const QCommandLineOption fileTypes(
        "file-types",
        "The file types that count as web pages in folders (default \"" +
            QString::fromLatin1(DEFAULT_FILE_TYPES.data(), qsizetype(DEFAULT_FILE_TYPES.size())) +
            "\"); files without one of these extensions are left alone.",
        "PATTERNS");
    const CPageWriteArguments writing;
    parser.addOptions({recursive, fileTypes});
    writing.AddTo(parser);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (!writing.Check(parser, exitCode))
        return exitCode;
    QStringList paths = parser.positionalArguments();
    if (paths.size() < 2)
        return UsageError("apply expects a TEMPLATE and at least one PATH");
    const QString templatePath = paths.takeFirst();
    const std::string types = parser.isSet(fileTypes) ? ArgBytes(parser.value(fileTypes))
                                                      : std::string(DEFAULT_FILE_TYPES);
    InstallInterruptHandling();

    std::string templateText, reason;
    PageFileId templateId;
    if (!ReadPageFile(ArgBytes(templatePath), templateText, reason, &templateId)) {
        FileError(templatePath, reason);
        return EXIT_FILE_FAILED;
    }
    CHtmlPage templ;
    templ.SetText(std::move(templateText), BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);

    CPageWalker walker(types);
    walker.ExcludeTemplate(ArgBytes(templatePath), templateId);
    for (const QString& path : paths)
        walker.AddArgument(ArgBytes(path), parser.isSet(recursive));
    const std::vector<CPageJob>& jobs = walker.Jobs();
    PageWriteOptions options;
    CUndoJournal journal;
    if (!writing.Resolve(parser, "apply", args.mid(1), journal, options))
        return EXIT_FILE_FAILED;

    // Pages are independent, and most of the time of each goes to waiting for
    // the file system, so several workers take pages in turn.
    const size_t count = jobs.size();
    const BatchTotals totals = RunBatch(count, BatchWorkers(count), [&](size_t i) {
        const CPageJob& job = jobs[i];
        std::string why = job.error;
        std::string diff;
        const Outcome outcome =
            job.error.empty() ? ApplyToFile(values, job.path, options, why, diff) : Outcome::FAILED;
        BatchOutcome result;
        result.failed = outcome == Outcome::FAILED;
        if (result.failed)
            result.error = "tsle-cli: " + job.path + ": " + why + "\n";
        // With --diff, stdout is a patch: the diffs alone.
        if (!options.diff)
            result.out = ResultLine(job.path, outcome, why);
        else
            result.out = std::move(diff);
        return result;
    });
    const bool interrupted = InterruptSignal() != 0;
    if (!FinishJournal(journal, !interrupted))
        return EXIT_FILE_FAILED;
    if (interrupted) {
        if (totals.notDone) {
            std::fprintf(stderr, "tsle-cli: interrupted; %zu of %zu pages were not processed\n",
                         totals.notDone, count);
        }
        StdoutFailed();
        ExitForInterrupt();
    }
    return totals.anyFailed ? EXIT_FILE_FAILED : EXIT_OK;
}
