// Writing a table of titles and meta tags (as export makes it, edited in a
// spreadsheet or a script) back to the pages: tsle-cli import, and the site
// view's import.
//
// A table is untrusted input. Only rows that name an existing page of the
// page types under the root folder are used; every other row is reported
// with its line. A page named on several rows is reported once (its first
// line and the number of rows), and none of those rows is used. The table
// is read twice as a stream, a row at a time (once to check every row, once
// to import), so that a table of any size takes little memory.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/file_types.h"
#include "site/page_batch.h"
#include "site/page_edit.h"
#include "site/site_columns.h"

struct CImportOptions {
    // The folder every page must be in (bytes); relative paths in the table
    // start there. "": the current folder.
    std::string root;
    std::string fileTypes{DEFAULT_FILE_TYPES};
};

// A row that is not used, and why.
struct CImportProblem {
    int line = 0;
    std::string message;
};

// What importing a row did to its page.
struct CImportResult {
    int line = 0;
    std::string path; // as the table names it
    PageOutcome outcome = PageOutcome::UNCHANGED;
    std::string detail; // CHANGED: the columns written; CONFLICT, FAILED: why
    std::string diff;   // with PageWriteOptions::diff
};

class CTableImport {
public:
    CTableImport();
    ~CTableImport();
    CTableImport(const CTableImport&) = delete;
    CTableImport& operator=(const CTableImport&) = delete;

    // Opens the table (a path as bytes) and reads its header row. Returns
    // false with error set (the table cannot be read, has no header row, a
    // header cell names no column, the root is no folder); a problem of the
    // header row comes with its line (errorLine, else 0).
    bool Open(const std::string& file, const CImportOptions& options, std::string& error,
              int& errorLine);
    // Reads every row and reports each one that cannot be used, in line order,
    // then each page named on several rows. Returns false with error set when
    // the table could not be read to its end.
    bool Check(const std::function<void(const CImportProblem&)>& problem, std::string& error);
    // The rows Check found usable.
    size_t Rows() const;
    // Imports the usable rows as write says, on several threads; result is
    // called on the caller's thread in table order. Returns false with error
    // set when the table could not be read again (or changed since Check);
    // notDone: rows not started because the run was stopped.
    bool Run(const PageWriteOptions& write, const CRunControl& control,
             const std::function<void(const CImportResult&)>& result, size_t& notDone,
             std::string& error);

    const CSiteColumns& Columns() const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};
