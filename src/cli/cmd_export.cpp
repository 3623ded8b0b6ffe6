// tsle-cli export: the titles and meta tags of many pages as one CSV table.
#include <optional>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/text_file.h"
#include "page/html_page.h"
#include "page/page_file.h"
#include "settings/file_types.h"
#include "site/csv_table.h"
#include "site/page_walk.h"
#include "site/site_columns.h"
#include "site/site_page.h"

int RunExport(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes the title and meta tags of pages as a CSV table (RFC 4180, UTF-8, a header "
        "row) for a spreadsheet or a script; 'tsle-cli import' writes the edited table back. "
        "Columns: path (as given here: relative to the current folder, or absolute), "
        "fingerprint (SHA-256 of the page as read, so that import can tell a page changed "
        "since), title, and one column per meta name met in the pages in the order met "
        "(or the --fields). A tag written with http-equiv is headed 'http-equiv:NAME'; a "
        "meta name that reads as another column is headed 'name:NAME'. Values are text, read "
        "in each page's encoding.");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const QCommandLineOption recursive(
        QStringList{"r", "recursive"},
        "Every web page under the folders named (symbolic links met there are not followed).");
    const QCommandLineOption fields(
        "fields",
        "The columns after path and fingerprint, comma-separated in header form, e.g. "
        "\"title,description,keywords,http-equiv:Refresh\".",
        "LIST");
    const QCommandLineOption fileTypes(
        "file-types",
        "The file types that count as web pages in folders (default \"" +
            QString::fromLatin1(DEFAULT_FILE_TYPES.data(), qsizetype(DEFAULT_FILE_TYPES.size())) +
            "\").",
        "PATTERNS");
    const QCommandLineOption output(QStringList{"o", "output"},
                                    "The CSV file to write (replaced atomically), or - for stdout.",
                                    "FILE");
    parser.addOptions({recursive, fields, fileTypes, output});
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

    // Asked to stop, the run writes nothing rather than a part of the table.
    InstallInterruptHandling();
    const std::string types = parser.isSet(fileTypes) ? ArgBytes(parser.value(fileTypes))
                                                      : std::string(DEFAULT_FILE_TYPES);
    CPageWalker walker(types);
    for (const QString& path : paths)
        walker.AddArgument(ArgBytes(path), parser.isSet(recursive));
    const std::vector<CPageJob>& jobs = walker.Jobs();

    const std::vector<QString> names = columns.MetaNames();
    std::vector<std::optional<CPageValues>> pages(jobs.size());
    std::vector<std::string> errors(jobs.size());
    RunEach(jobs.size(), BatchWorkers(jobs.size()), [&](size_t i) {
        std::string text, why = jobs[i].error;
        if (why.empty() && ReadPageFile(jobs[i].path, text, why)) {
            try {
                CHtmlPage page;
                ReadPageHead(page, text);
                pages[i].emplace();
                pages[i]->Read(text, page, names);
                return;
            } catch (const std::bad_alloc&) {
                pages[i].reset();
                why = "Cannot allocate memory";
            }
        }
        errors[i] = why;
    });
    if (InterruptSignal())
        ExitForInterrupt();
    // The columns in the order their names are met, page by page.
    for (const std::optional<CPageValues>& page : pages) {
        if (page)
            columns.AddMetas(*page);
    }
    std::string csv;
    AppendCsvRow(csv, columns.HeaderCells());
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (pages[i]) {
            AppendCsvRow(csv, columns.RowCells(jobs[i].path, *pages[i]));
        } else {
            FileError(FileNameFromBytes(jobs[i].path), errors[i]);
            exitCode = EXIT_FILE_FAILED;
        }
    }
    const QString file = parser.value(output);
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
