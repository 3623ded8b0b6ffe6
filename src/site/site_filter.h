// CSiteFilter: which rows of the site view the filter bar lets through: a
// choice among the findings (and edits) and a text.
#pragma once

#include <QString>
#include <vector>

#include "site/site_audit.h"

class CSiteSheet;

struct CSiteFilter {
    enum Show {
        ALL,
        WITH_FINDINGS,   // any finding, or a page changed on disk
        EDITED,          // pages changed in the view and not written
        CHANGED_ON_DISK, // pages whose edits cannot be written as they stand
        FINDING,         // pages with one finding
    };
    Show show = ALL;
    AuditCode finding = AuditCode::UNREADABLE; // FINDING: which
    // Rows whose path or any value holds it, without regard to case.
    QString text;

    bool Matches(const CSiteSheet& sheet, size_t row) const;
    bool operator==(const CSiteFilter&) const = default;
};

// The choices the filter bar offers, in order: every page, the pages with
// findings, edited pages, pages changed on disk, then one per finding of the
// audit ("Titles too long").
struct CSiteFilterChoice {
    QString label;
    CSiteFilter::Show show;
    AuditCode finding = AuditCode::UNREADABLE;
};
std::vector<CSiteFilterChoice> SiteFilterChoices();
