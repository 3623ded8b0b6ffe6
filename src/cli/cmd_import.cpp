// tsle-cli import: a CSV table of titles and meta tags written back to the pages.
#include <QByteArray>
#include <map>
#include <sys/stat.h>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "document/text_file.h"
#include "page/html_page.h"
#include "site/csv_table.h"
#include "site/site_columns.h"
#include "site/site_page.h"
#include "site/undo_journal.h"

namespace {

struct Row {
    int line = 0;
    std::vector<std::string> cells;
};

// The rows of the table that can be worked on, with a message on stderr for
// every other one (its line first). Returns false when the table cannot be
// read at all.
bool ReadTable(const QString& file, const std::string& text, CSiteColumns& columns,
               std::vector<Row>& rows, bool& rowsDropped) {
    const std::string where = ArgBytes(file) + ":";
    const auto complain = [&](int line, const std::string& message) {
        const std::string out = "tsle-cli: " + where + std::to_string(line) + ": " + message + "\n";
        std::fputs(out.c_str(), stderr);
        rowsDropped = true;
    };
    const std::vector<CCsvRecord> records =
        CCsvReader::Read(text, CCsvReader::DetectSeparator(text));
    if (records.empty()) {
        FileError(file, "the table is empty (no header row)");
        return false;
    }
    QString error;
    if (!records.front().error.empty() || !columns.ReadHeader(records.front().cells, error)) {
        complain(records.front().line,
                 records.front().error.empty() ? ArgBytes(error) : records.front().error);
        return false;
    }
    const size_t width = columns.Columns().size();
    // Each page once: rows are grouped by the file they name (by the path as
    // written when there is no such file).
    std::map<std::string, std::vector<int>> lines;
    std::vector<std::pair<std::string, Row>> candidates;
    for (size_t r = 1; r < records.size(); ++r) {
        const CCsvRecord& record = records[r];
        if (!record.error.empty()) {
            complain(record.line, "malformed row: " + record.error);
            continue;
        }
        if (record.cells.size() != width) {
            complain(record.line, std::to_string(record.cells.size()) +
                                      " fields, but the header has " + std::to_string(width) +
                                      "; row not used");
            continue;
        }
        const std::string& path = record.cells[static_cast<size_t>(columns.PathColumn())];
        if (path.empty()) {
            complain(record.line, "no path; row not used");
            continue;
        }
        bool utf8 = true;
        for (size_t c = 0; c < width; ++c) {
            if (static_cast<int>(c) != columns.PathColumn() &&
                !QByteArray::fromStdString(record.cells[c]).isValidUtf8())
                utf8 = false;
        }
        if (!utf8) {
            complain(record.line, "the values are not UTF-8 text (save the table as CSV in "
                                  "UTF-8); row not used");
            continue;
        }
        struct stat info;
        const std::string key =
            ::stat(path.c_str(), &info) == 0
                ? std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino)
                : "path:" + path;
        lines[key].push_back(record.line);
        candidates.push_back({key, {record.line, record.cells}});
    }
    for (auto& [key, row] : candidates) {
        const std::vector<int>& same = lines[key];
        if (same.size() == 1) {
            rows.push_back(std::move(row));
            continue;
        }
        std::string others;
        for (int line : same) {
            if (line != row.line)
                others += (others.empty() ? "" : ", ") + std::to_string(line);
        }
        complain(row.line, row.cells[static_cast<size_t>(columns.PathColumn())] +
                               ": the page is on line " + others + " too; neither row is used");
    }
    return true;
}

enum class Outcome { CHANGED, UNCHANGED, CONFLICT, FAILED };

Outcome ImportPage(const CSiteColumns& columns, const Row& row, const PageWriteOptions& options,
                   std::string& detail, std::string& diff) {
    const std::string& path = row.cells[static_cast<size_t>(columns.PathColumn())];
    if (path.ends_with(".mtpl")) {
        detail = "is a template; templates are not changed";
        return Outcome::FAILED;
    }
    try {
        CLockedTextFile file;
        std::string text;
        QString error;
        if (!file.Open(FileNameFromBytes(path), text, error)) {
            detail = ArgBytes(error);
            return Outcome::FAILED;
        }
        CHtmlPage page;
        page.SetHeadStyle(options.headStyle);
        page.SetText(text, BodyMode::PRESERVE);
        CPageValues values;
        values.Read(text, page, columns.MetaNames());
        const int fingerprint = columns.FingerprintColumn();
        if (fingerprint >= 0) {
            const std::string& expected = row.cells[static_cast<size_t>(fingerprint)];
            if (!expected.empty() && QByteArray::fromStdString(expected).trimmed().toLower() !=
                                         QByteArray::fromStdString(values.fingerprint)) {
                detail = "the page changed since the table was made; not changed";
                return Outcome::CONFLICT;
            }
        }
        QStringList changed;
        if (!ImportRow(page, values, columns, row.cells, changed, error)) {
            detail = ArgBytes(error) + "; nothing was written";
            return Outcome::FAILED;
        }
        if (changed.isEmpty() || page.GetText() == text)
            return Outcome::UNCHANGED;
        detail = ArgBytes(changed.join(", "));
        const std::string& after = page.GetText();
        if (!WriteChangedPage(file, path, text, after, options, diff, detail))
            return Outcome::FAILED;
        return Outcome::CHANGED;
    } catch (const std::bad_alloc&) {
        detail = "Cannot allocate memory";
        return Outcome::FAILED;
    }
}

} // namespace

int RunImport(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a CSV table made by 'tsle-cli export' (and edited in a spreadsheet or a "
        "script) back to the pages: in each page only the cells whose text differs from the "
        "page as it is now are written, an empty cell removing the meta tag and a filled one "
        "setting it, as 'tsle-cli set' does. Paths are taken as written (relative ones from "
        "the current folder). A page whose fingerprint is not the one in the table (it was "
        "changed since the export) is left alone and reported as a conflict; an empty "
        "fingerprint cell, or no such column, takes the page as it is. Malformed rows, rows "
        "of pages that are missing and pages named twice are reported with their line "
        "numbers and not used. Tables saved by spreadsheets are read too: a byte-order mark, "
        "CRLF line ends, semicolons or tabs between the fields. Prints one line per page: "
        "'changed PATH: COLUMNS', 'unchanged PATH', 'conflict PATH: ...' or 'failed PATH: "
        "...'. A run that changes pages keeps a journal for 'tsle-cli undo'.");
    parser.addPositionalArgument("FILE", "The CSV table.");
    const CPageWriteArguments writing;
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
    std::string text;
    if (!ReadPageArgument(file, text))
        return EXIT_FILE_FAILED;
    CSiteColumns columns;
    std::vector<Row> rows;
    bool rowsDropped = false;
    if (!ReadTable(file, text, columns, rows, rowsDropped))
        return EXIT_FILE_FAILED;

    PageWriteOptions options;
    CUndoJournal journal;
    if (!writing.Resolve(parser, "import", args.mid(1), journal, options))
        return EXIT_FILE_FAILED;
    const std::string where = ArgBytes(file) + ":";
    const BatchTotals totals = RunBatch(rows.size(), BatchWorkers(rows.size()), [&](size_t i) {
        const Row& row = rows[i];
        const std::string& path = row.cells[static_cast<size_t>(columns.PathColumn())];
        std::string detail, diff;
        const Outcome outcome = ImportPage(columns, row, options, detail, diff);
        BatchOutcome result;
        result.failed = outcome == Outcome::CONFLICT || outcome == Outcome::FAILED;
        if (result.failed) {
            result.error = "tsle-cli: " + where + std::to_string(row.line) + ": " + path + ": " +
                           detail + "\n";
        }
        if (options.diff) {
            result.out = std::move(diff);
            return result;
        }
        switch (outcome) {
        case Outcome::CHANGED:
            result.out = "changed " + path + ": " + detail + "\n";
            break;
        case Outcome::UNCHANGED:
            result.out = "unchanged " + path + "\n";
            break;
        case Outcome::CONFLICT:
            result.out = "conflict " + path + ": " + detail + "\n";
            break;
        case Outcome::FAILED:
            result.out = "failed " + path + ": " + detail + "\n";
            break;
        }
        return result;
    });
    const bool interrupted = InterruptSignal() != 0;
    if (!FinishJournal(journal, !interrupted))
        return EXIT_FILE_FAILED;
    if (interrupted) {
        if (totals.notDone) {
            std::fprintf(stderr, "tsle-cli: interrupted; %zu of %zu pages were not processed\n",
                         totals.notDone, rows.size());
        }
        StdoutFailed();
        ExitForInterrupt();
    }
    return totals.anyFailed || rowsDropped ? EXIT_FILE_FAILED : EXIT_OK;
}
