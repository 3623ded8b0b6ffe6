// The audit's findings written out: an aligned table for people, CSV and JSON
// for other programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "site/site_audit.h"

// The width of text on a terminal: most characters take one column, East
// Asian wide ones two, combining marks and controls none.
int DisplayWidth(std::u32string_view text);

// One row per page (the path, the columns of AuditColumns that have a
// heading: title and description with their lengths in characters and
// pixels; the findings' names), then every finding as "PATH: message", then the summary. With width
// (a terminal's columns) the table is cut to fit, long cells ending in "…";
// with 0 nothing is cut.
std::string AuditTable(const CSiteAudit& audit, const std::vector<CAuditPage>& pages, int width);
// A header row and one row per page: path, the columns of AuditColumns
// (title, title_length, title_px, description, ...), findings (names,
// space-separated), messages ("; ").
std::string AuditCsv(const CSiteAudit& audit, const std::vector<CAuditPage>& pages);
// {"pages": [...], "summary": {...}, "thresholds": {...}}.
std::string AuditJson(const CSiteAudit& audit, const std::vector<CAuditPage>& pages);
// The summary alone: "12 pages, 5 with findings", then a line per finding.
std::string AuditSummaryText(const CAuditSummary& summary);
