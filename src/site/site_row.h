// CSiteRow: one page of the site view as it was read.
//
// A row keeps what the view shows and writes back: the page's values as text
// in its encoding (CPageValues, with the fingerprint a write checks against),
// the facts its findings come from (CAuditPage, whose path is the page's path
// under the site's folder), and the file as it was listed, so that a change
// on disk can be noticed without reading the page again.
#pragma once

#include <string>
#include <vector>

#include "site/page_walk.h"
#include "site/site_audit.h"
#include "site/site_page.h"

struct CSiteRow {
    CAuditPage audit;   // path: under the site's folder; error: why it was not read
    CPageValues values; // as read
    PageStamp stamp;    // the file as listed before it was read

    bool IsRead() const { return audit.error.empty(); }
};

// The row of the page whose bytes are text; path: its path under the site's
// folder; names: meta names to look up also after the body (the columns of
// the view). The page is parsed once, its head alone where that gives the same
// values (see CPageHead); text is borrowed and given back. measure: what measures the widths of the
// title and description (see CSiteAudit::Measure), or null to leave them unmeasured.
CSiteRow ReadSiteRow(std::string path, std::string& text, const PageStamp& stamp,
                     const std::vector<QString>& names = {}, const CSiteAudit* measure = nullptr);
// The row of a page that could not be read.
CSiteRow UnreadSiteRow(std::string path, std::string error, const PageStamp& stamp = {});
