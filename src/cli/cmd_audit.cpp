// tsle-cli audit: the titles and descriptions of many pages, checked.
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "cli/site_arguments.h"
#include "document/text_file.h"
#include "site/audit_report.h"
#include "site/page_scan.h"
#include "site/site_audit.h"
#include "site/site_page.h"

namespace {

// The columns of the terminal stdout is, or 0 when it is none.
int TerminalWidth() {
    if (!isatty(1))
        return 0;
    struct winsize size {};
    if (::ioctl(1, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

int RunAudit(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Checks the title and description of every page: missing or empty, too short or too "
        "long (in characters as a reader sees them), too wide for search results (in "
        "pixels, in their font), the same as on another page, written twice, or (with "
        "keywords) after the body tag; the canonical link: missing, relative, written twice, "
        "or leading to a page of the site whose own canonical link leads elsewhere; og:title, "
        "og:description and og:image missing, an og:image naming a file that is not there; "
        "hreflang alternates whose page does not link back; and pages that cannot be read. "
        "Prints one row per page, every finding as 'PATH: message', and a summary. Reads "
        "only: no page is written. Exit status 0 when there is nothing to report, 1 when "
        "there are findings or pages that cannot be read, 2 on bad usage.");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const CPageSetArguments pageSet("Check");
    const QCommandLineOption format(
        "format",
        "table (aligned; on a terminal cut to its width), csv (one row per page) or json "
        "(pages, summary and thresholds).",
        "FORMAT", "table");
    const CAuditThresholds defaults;
    const QCommandLineOption titleMin("title-min", "A shorter title is reported (default 30).", "N",
                                      QString::number(defaults.titleMin));
    const QCommandLineOption titleMax("title-max", "A longer title is reported (default 60).", "N",
                                      QString::number(defaults.titleMax));
    const QCommandLineOption descriptionMin("description-min",
                                            "A shorter description is reported (default 70).", "N",
                                            QString::number(defaults.descriptionMin));
    const QCommandLineOption descriptionMax("description-max",
                                            "A longer description is reported (default 160).", "N",
                                            QString::number(defaults.descriptionMax));
    const QCommandLineOption ignore(
        "ignore",
        "Findings to leave out, comma-separated, '*' standing for any text (e.g. "
        "\"og-*,canonical-missing\").",
        "LIST");
    CWidthArguments widths;
    CSiteArguments site;
    pageSet.AddTo(parser);
    parser.addOptions({format, titleMin, titleMax, descriptionMin, descriptionMax, ignore});
    widths.AddTo(parser);
    site.AddTo(parser);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return UsageError("audit needs at least one PATH");
    const QString style = parser.value(format);
    if (style != "table" && style != "csv" && style != "json")
        return UsageError("--format must be table, csv or json, not '" + style + "'");
    CAuditThresholds thresholds;
    const std::pair<const QCommandLineOption*, int*> numbers[] = {
        {&titleMin, &thresholds.titleMin},
        {&titleMax, &thresholds.titleMax},
        {&descriptionMin, &thresholds.descriptionMin},
        {&descriptionMax, &thresholds.descriptionMax}};
    for (const auto& [option, value] : numbers) {
        bool ok = false;
        *value = parser.value(*option).toInt(&ok);
        if (!ok || *value < 0)
            return UsageError("--" + option->names().first() +
                              " expects a number of characters, not '" + parser.value(*option) +
                              "'");
    }
    if (thresholds.titleMin > thresholds.titleMax ||
        thresholds.descriptionMin > thresholds.descriptionMax)
        return UsageError("a minimum length is above its maximum");
    if (!widths.Check(parser, exitCode) || !site.Check(parser, exitCode))
        return exitCode;
    thresholds.widths = widths.Limits();
    thresholds.device = widths.Mobile() ? SnippetDevice::MOBILE : SnippetDevice::DESKTOP;
    QString error;
    if (parser.isSet(ignore) && !thresholds.Ignore(parser.value(ignore), error))
        return UsageError("--ignore: " + error);

    const std::unique_ptr<CPageWalker> walker = pageSet.Walk(parser, paths);
    const std::vector<CPageJob>& jobs = walker->Jobs();

    // Each page is read and parsed on its own; the files are only read (no
    // lock: every save replaces a page whole, so a reader sees one version).
    std::vector<CAuditPage> pages(jobs.size());
    const std::vector<std::string> errors = ScanPages(
        jobs,
        [&](size_t i, std::string& text) {
            const CPageHead head(text);
            pages[i] = AuditPage(jobs[i].path, head.Page(),
                                 CPageCodec::ForPage(head.Bytes(), head.Page()));
            return std::string();
        },
        TerminalRunControl());
    ClearProgress();
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!errors[i].empty()) {
            pages[i] = CAuditPage();
            pages[i].path = jobs[i].path;
            pages[i].error = errors[i];
        }
    }
    // One project for the whole run: the one that holds the first page.
    const CSiteAudit audit(thresholds, TextMeasurer(),
                           site.AddressOf(jobs.empty() ? std::string() : jobs.front().path));
    audit.Finish(pages);
    for (const CAuditPage& page : pages) {
        if (!page.error.empty())
            FileError(FileNameFromBytes(page.path), page.error);
    }
    if (style == "json")
        WriteStdout(AuditJson(audit, pages));
    else if (style == "csv")
        WriteStdout(AuditCsv(audit, pages));
    else
        WriteStdout(AuditTable(audit, pages, TerminalWidth()));
    const CAuditSummary summary = CSiteAudit::Summarize(pages);
    return summary.pagesWithFindings ? EXIT_FILE_FAILED : EXIT_OK;
}
