// Making a site table of titles and meta tags: tsle-cli export, and the
// window's File > Export site.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/page_walk.h"
#include "site/site_columns.h"

// A page that could not be put in the table, and why.
struct CExportFailure {
    size_t job = 0; // its index in the jobs
    std::string reason;
};

// Reads every page of jobs (in parallel, as the whole-site tools read) and
// makes the table: the header row, then one row per page read, in job order,
// whose path cell is names[i] (the job's path when names is empty). columns
// gains the meta columns the pages add (see CSiteColumns::AddMetas).
// failures lists the pages that could not be read, in job order. Returns
// false when the run was stopped: no table is made then.
bool ExportTable(const std::vector<CPageJob>& jobs, const std::vector<std::string>& names,
                 CSiteColumns& columns, const CRunControl& control, std::string& csv,
                 std::vector<CExportFailure>& failures);

// The same for the pages list hands over while they are read (see
// ScanListedPages; list runs on a thread of its own) and returns the order of
// the table's rows (indexes into the pages in the order handed over, see
// CPageWalker::StreamPaths); jobs gets the pages in that order. The widths
// are measured with the columns' measurer, or when that is null with the one
// measurer gives, asked for on the calling thread at the start, so that
// loading a font goes on while pages are listed and read.
bool ExportListedTable(const std::function<std::vector<size_t>(const CPageSink& sink)>& list,
                       const std::function<const ITextMeasurer*()>& measurer,
                       std::vector<CPageJob>& jobs, CSiteColumns& columns,
                       const CRunControl& control, std::string& csv,
                       std::vector<CExportFailure>& failures);

// Why a table must not be written at target (bytes): it is one of the pages
// of walker, or its name (or the name of the file its link leads to) is a
// page's or a template's. "" when it may be written.
std::string ExportTargetRefusal(const CPageWalker& walker, const std::string& target);
