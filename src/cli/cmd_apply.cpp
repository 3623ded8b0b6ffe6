// tsle-cli apply: merge a template into many pages.
#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "cli/site_arguments.h"
#include "document/template_values.h"
#include "document/text_file.h"
#include "page/html_page.h"
#include "site/undo_journal.h"

namespace {

std::string ResultLine(const std::string& path, const CPageEdit& edit) {
    switch (edit.outcome) {
    case PageOutcome::CHANGED:
        return "changed " + path + "\n";
    case PageOutcome::UNCHANGED:
        return "unchanged " + path + "\n";
    case PageOutcome::CONFLICT:
    case PageOutcome::FAILED:
        break;
    }
    return "failed " + path + ": " + edit.detail + "\n";
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
        "of them, from which 'tsle-cli undo' puts them back, also after an interruption. "
        "Template values may use the variables {title}, {description}, {filename}, {path} "
        "(relative to the project folder) and {site} (the site's address), and {{ and }} for "
        "braces; an unknown variable, or one that has no value for a page, stops the run "
        "before any page is written.");
    parser.addPositionalArgument("TEMPLATE", "The template file (.mtpl).");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const CPageSetArguments pageSet("Apply to");
    const CPageWriteArguments writing;
    CSiteArguments site;
    pageSet.AddTo(parser);
    writing.AddTo(parser);
    site.AddTo(parser);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (!writing.Check(parser, exitCode) || !site.Check(parser, exitCode))
        return exitCode;
    QStringList paths = parser.positionalArguments();
    if (paths.size() < 2)
        return UsageError("apply expects a TEMPLATE and at least one PATH");
    const QString templatePath = paths.takeFirst();
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
    QString error;
    if (!values.CheckVariables(error)) {
        FileError(templatePath, error + "; nothing was written");
        return EXIT_FILE_FAILED;
    }

    const std::unique_ptr<CPageWalker> walker =
        pageSet.Walk(parser, paths, templatePath, &templateId);
    const std::vector<CPageJob>& jobs = walker->Jobs();
    // What the variables stand for on each page, all known before any page
    // is written.
    std::vector<CTemplateContext> contexts(jobs.size());
    const TemplateVariable placed[] = {TemplateVariable::FILENAME, TemplateVariable::PATH,
                                       TemplateVariable::SITE};
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!jobs[i].error.empty())
            continue;
        const CSiteAddress address = site.AddressOf(jobs[i].path);
        CTemplateContext& context = contexts[i];
        context.pagePath = QFileInfo(FileNameFromBytes(jobs[i].path)).absoluteFilePath();
        context.projectRoot = address.root;
        context.site = address.site;
        for (const TemplateVariable variable : placed) {
            QString text;
            if (values.UsesVariable(variable) && !context.Resolve(variable, text, error)) {
                FileError(FileNameFromBytes(jobs[i].path),
                          error +
                              (variable == TemplateVariable::SITE ? " (--site URL gives one)"
                               : variable == TemplateVariable::PATH
                                   ? " (--project-root DIR names another)"
                                   : "") +
                              "; nothing was written");
                return EXIT_FILE_FAILED;
            }
        }
    }
    PageWriteOptions options;
    CUndoJournal journal;
    if (!writing.Resolve(parser, "apply", args.mid(1), journal, options))
        return EXIT_FILE_FAILED;

    const auto apply = [&](size_t i, CHtmlPage& page, std::string& detail) {
        if (!page.HasMetaPosition()) {
            detail = "no place for meta tags (no head and no meta tag)";
            return PageOutcome::FAILED;
        }
        QString error;
        if (!values.ApplyTo(page, contexts[i], &error)) {
            detail = ArgBytes(error) + " Nothing was written.";
            return PageOutcome::FAILED;
        }
        return PageOutcome::CHANGED;
    };
    // Pages are independent, and most of the time of each goes to waiting for
    // the file system, so several workers take pages in turn.
    const size_t count = jobs.size();
    std::vector<CPageEdit> results(count);
    bool anyFailed = false;
    const size_t notDone = RunInOrder(
        count,
        [&](size_t i) {
            const CPageJob& job = jobs[i];
            if (!job.error.empty())
                results[i] = {PageOutcome::FAILED, job.error, {}};
            else
                results[i] = EditPage(job.path, options,
                                      [&](CHtmlPage& page, const std::string&,
                                          std::string& detail) { return apply(i, page, detail); });
        },
        [&](size_t i) {
            CPageEdit& result = results[i];
            const std::string& path = jobs[i].path;
            if (result.outcome == PageOutcome::FAILED) {
                anyFailed = true;
                ClearProgress();
                std::fputs(("tsle-cli: " + path + ": " + result.detail + "\n").c_str(), stderr);
            }
            // With --diff, stdout is a patch: the diffs alone.
            ClearProgress();
            WriteStdout(options.diff ? result.diff : ResultLine(path, result), true);
            result = CPageEdit();
        },
        TerminalRunControl());
    const bool interrupted = InterruptSignal() != 0;
    if (!FinishJournal(journal, !interrupted))
        return EXIT_FILE_FAILED;
    if (interrupted)
        EndInterruptedRun(notDone, count);
    return anyFailed ? EXIT_FILE_FAILED : EXIT_OK;
}
