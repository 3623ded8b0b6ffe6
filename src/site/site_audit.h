// CSiteAudit: what a webmaster should look at in the meta-data of a set of
// pages: titles and descriptions (length in characters and, in the font of
// search results, in pixels), canonical links, the Open Graph tags social
// networks read, and hreflang alternates.
//
// Each page is read once (AuditPage, safe to call from several threads at
// once); the findings that compare pages (duplicates, links between pages)
// and the widths are made when all are in (CSiteAudit::Finish). Lengths count
// characters as a reader sees them (ShownLength); duplicates compare texts
// with their white space collapsed.
//
// The findings and the columns of a report are lists (AuditCodeName,
// AuditColumns), so that every report shows a new one without code of its own.
#pragma once

#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/search_limits.h"
#include "site/site_links.h"
#include "snippet/snippet_meter.h"

enum class AuditCode {
    UNREADABLE,
    TITLE_MISSING,
    TITLE_EMPTY,
    TITLE_SHORT,
    TITLE_LONG,
    TITLE_TOO_WIDE,
    TITLE_DUPLICATE,
    TITLE_MULTIPLE,
    DESCRIPTION_MISSING,
    DESCRIPTION_EMPTY,
    DESCRIPTION_SHORT,
    DESCRIPTION_LONG,
    DESCRIPTION_TOO_WIDE,
    DESCRIPTION_DUPLICATE,
    DESCRIPTION_MULTIPLE,
    DESCRIPTION_IN_BODY,
    KEYWORDS_IN_BODY,
    CANONICAL_MISSING,
    CANONICAL_RELATIVE,
    CANONICAL_MULTIPLE,
    CANONICAL_CHAIN,
    OG_TITLE_MISSING,
    OG_DESCRIPTION_MISSING,
    OG_IMAGE_MISSING,
    OG_IMAGE_NOT_FOUND,
    HREFLANG_NO_RETURN,
    COUNT
};
constexpr size_t AUDIT_CODE_COUNT = static_cast<size_t>(AuditCode::COUNT);

// The stable name of a finding, for scripts ("title-short").
std::string_view AuditCodeName(AuditCode code);
// What the pages with a finding are, for people choosing among findings
// ("Titles too long").
std::string_view AuditCodeLabel(AuditCode code);

// How many other pages a duplicate finding keeps by index; the rest are only
// counted, so that a title shared by thousands of pages costs no more than
// one shared by a few.
inline constexpr size_t KEPT_OTHERS = 20;

struct CAuditThresholds {
    int titleMin = 30;
    int titleMax = 60;
    int descriptionMin = 70;
    int descriptionMax = 160;
    // Widths in pixels: the limits, and which device's description limit.
    CSearchLimits widths;
    SnippetDevice device = SnippetDevice::DESKTOP;
    // Findings left out of every report.
    std::array<bool, AUDIT_CODE_COUNT> ignored{};

    // Leaves out the findings a comma-separated list names ("og-image-missing"),
    // "*" standing for any text ("og-*"). Returns true, or false with error
    // naming a name that matches no finding.
    bool Ignore(const QString& names, QString& error);
};

struct CAuditFinding {
    AuditCode code;
    std::vector<size_t> others; // duplicates and links: the first other pages, by index
    size_t othersTotal = 0;     // duplicates: all the other pages
    QString detail;             // what the message names besides (an address)
};

struct CAuditPage {
    std::string path;  // bytes
    std::string error; // why the page could not be read; "" when it was
    int hasTitle = 0;
    QString title;
    int titleLength = 0;
    double titlePx = -1; // -1: not measured
    int titleTags = 0;   // title elements before the body
    int hasDescription = 0;
    QString description;
    int descriptionLength = 0;
    double descriptionPx = -1;
    int descriptionTags = 0; // description tags anywhere
    int descriptionInBody = 0;
    int keywordsInBody = 0;
    // The head's canonical links, their first href; the Open Graph tags.
    int canonicalLinks = 0;
    QString canonical;
    QString ogTitle, ogDescription, ogImage;
    // The hreflang alternates: (hreflang, href) in page order.
    std::vector<std::pair<QString, QString>> alternates;
    std::vector<CAuditFinding> findings;
};

// The facts of one page from its text (bytes): its title and description as
// text in the page's encoding, and where its tags are. The page is read as
// CPageHead reads it (headOnly is kept for callers; the facts are the same
// either way).
CAuditPage AuditPage(std::string path, const std::string& text, bool headOnly = true);
// The same for a page already read (CPageHead) whose encoding is codec.
class CHtmlPage;
class CPageCodec;
CAuditPage AuditPage(std::string path, const CHtmlPage& page, const CPageCodec& codec);

struct CAuditSummary {
    size_t pages = 0;
    size_t pagesWithFindings = 0;
    std::array<size_t, AUDIT_CODE_COUNT> counts{};
};

class CSiteAudit {
public:
    // measurer: what titles and descriptions are measured with (see
    // CSearchFont), or null to leave widths unmeasured; address: where the
    // pages are published, to follow their links.
    explicit CSiteAudit(const CAuditThresholds& thresholds = {},
                        const ITextMeasurer* measurer = nullptr, CSiteAddress address = {})
        : m_thresholds(thresholds), m_measurer(measurer), m_address(std::move(address)) {}
    // Measures the widths not measured yet and makes the findings of every
    // page, in page order: its own, then those that compare pages. Looks at
    // the disk for the files an og:image names.
    void Finish(std::vector<CAuditPage>& pages) const;
    // Measures the title and description widths of page not measured yet
    // (none without a measurer). Safe to call from several threads at once.
    void Measure(CAuditPage& page) const;
    const ITextMeasurer* Measurer() const { return m_measurer; }
    // A page's own findings alone (none that compare it with others), in the
    // order of the codes.
    void PageFindings(CAuditPage& page) const;
    static CAuditSummary Summarize(const std::vector<CAuditPage>& pages);
    // A finding in words: "title shorter than 30 characters (12)", "same
    // title as b.html, c.html and 4 more".
    std::string Message(const std::vector<CAuditPage>& pages, const CAuditPage& page,
                        const CAuditFinding& finding) const;
    const CAuditThresholds& Thresholds() const { return m_thresholds; }

private:
    CAuditThresholds m_thresholds;
    const ITextMeasurer* m_measurer;
    CSiteAddress m_address;
};

// The columns of an audit report after the path, in order: the CSV's columns
// and the JSON's members (key), the table's headings (heading; columns
// without one are left out of the table), numbers or text.
struct CAuditColumn {
    std::string_view key;
    std::string_view heading;
    bool number = false;
};
const std::vector<CAuditColumn>& AuditColumns();
// The cell of a page in column i of AuditColumns: true with its text (UTF-8;
// a number in decimal), or false when the page has none there (an unreadable
// page, a missing title's length, an unmeasured width).
bool AuditCell(const CAuditPage& page, size_t column, std::string& text);
