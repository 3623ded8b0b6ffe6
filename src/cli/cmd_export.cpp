// tsle-cli export: the titles and meta tags of many pages as one CSV table.
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "cli/site_arguments.h"
#include "document/text_file.h"
#include "settings/settings_profile.h"
#include "site/site_columns.h"
#include "site/table_export.h"

int RunExport(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes the title and meta tags of pages as a CSV table (RFC 4180, UTF-8, a header "
        "row) for a spreadsheet or a script; 'tsle-cli import' writes the edited table back. "
        "Columns: path (as given here: relative to the current folder, or absolute), "
        "fingerprint (SHA-256 of the page as read, so that import can tell a page changed "
        "since), title, title_px and description_px (their widths in pixels in the font of "
        "search results, Liberation Sans at 20 and 14 px; import does not write them), and "
        "one column per tag met in the pages in the order met (or the --fields): a meta tag "
        "headed by its name ('http-equiv:NAME' for one written with http-equiv), "
        "'property:og:title' for an Open Graph property, 'link:canonical' and "
        "'link:alternate:LANG' for the canonical and hreflang links, 'html:lang' for the "
        "page's language; a meta name that reads as another column is headed 'name:NAME'. "
        "Values are text, read in each page's encoding.");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const CPageSetArguments pageSet("Export");
    const QCommandLineOption fields(
        "fields",
        "The columns after path and fingerprint, comma-separated in header form, e.g. "
        "\"title,title_px,description,http-equiv:Refresh,property:og:title,link:canonical\".",
        "LIST");
    const QCommandLineOption output(
        QStringList{"o", "output"},
        "The CSV file to write (replaced atomically), or - for stdout. A page being exported, "
        "or any file of the page types, is refused as FILE (unless --force).",
        "FILE");
    const QCommandLineOption force("force", "Write FILE even when it is a page.");
    pageSet.AddTo(parser);
    parser.addOptions({fields, output, force});
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return UsageError("export needs at least one PATH");
    if (!parser.isSet(output))
        return UsageError("export needs -o FILE (- for stdout)");
    CSiteColumns columns;
    QString error;
    QStringList fieldList;
    if (parser.isSet(fields)) {
        for (const QString& field : parser.value(fields).split(','))
            fieldList << field.trimmed();
        if (fieldList.join("").isEmpty())
            return UsageError("--fields names no column");
    }
    if (!columns.SetFields(fieldList, error))
        return UsageError("--fields: " + error);

    // The font loads while the pages are read, once they are listed.
    CSearchLimits limits;
    LoadSearchLimits(CSettingsProfile(), limits);
    columns.SetMeasurer(nullptr, limits);
    const auto measurer = [&] { return columns.HasWidths() ? TextMeasurer() : nullptr; };

    // Asked to stop, the run writes nothing rather than a part of the table.
    InstallInterruptHandling();
    CPageWalker walker(pageSet.Options(parser));
    std::vector<std::string> pathBytes;
    for (const QString& path : paths)
        pathBytes.push_back(ArgBytes(path));
    std::vector<CPageJob> jobs;
    std::string csv;
    std::vector<CExportFailure> failures;
    const bool made = ExportListedTable(
        [&](const CPageSink& sink) { return walker.StreamPaths(pathBytes, sink); }, measurer, jobs,
        columns, TerminalRunControl(), csv, failures);
    ClearProgress();
    if (!made || InterruptSignal())
        ExitForInterrupt();
    const QString file = parser.value(output);
    if (file != "-" && !parser.isSet(force)) {
        // The table must not take the place of a page.
        const std::string refusal = ExportTargetRefusal(walker, ArgBytes(file));
        if (!refusal.empty()) {
            FileError(file, refusal + "; not written (--force writes it anyway)");
            return EXIT_FILE_FAILED;
        }
    }
    for (const CExportFailure& failure : failures) {
        FileError(FileNameFromBytes(jobs[failure.job].path), failure.reason);
        exitCode = EXIT_FILE_FAILED;
    }
    if (file == "-") {
        WriteStdout(csv);
    } else if (!SaveTextFile(file, csv, error, FileSync::TO_DISK)) {
        FileError(file, error);
        return EXIT_FILE_FAILED;
    }
    if (InterruptSignal())
        ExitForInterrupt();
    return exitCode;
}
