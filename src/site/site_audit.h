// CSiteAudit: what a webmaster should look at in the titles and descriptions
// of a set of pages.
//
// Each page is read once (AuditPage, safe to call from several threads at
// once); the findings that compare pages (duplicates) are made when all are
// in (CSiteAudit::Finish). Lengths count characters as a reader sees them
// (ShownLength); duplicates compare texts with their white space collapsed.
#pragma once

#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

struct CAuditThresholds {
    int titleMin = 30;
    int titleMax = 60;
    int descriptionMin = 70;
    int descriptionMax = 160;
};

enum class AuditCode {
    UNREADABLE,
    TITLE_MISSING,
    TITLE_EMPTY,
    TITLE_SHORT,
    TITLE_LONG,
    TITLE_DUPLICATE,
    TITLE_MULTIPLE,
    DESCRIPTION_MISSING,
    DESCRIPTION_EMPTY,
    DESCRIPTION_SHORT,
    DESCRIPTION_LONG,
    DESCRIPTION_DUPLICATE,
    DESCRIPTION_MULTIPLE,
    DESCRIPTION_IN_BODY,
    KEYWORDS_IN_BODY,
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

struct CAuditFinding {
    AuditCode code;
    std::vector<size_t> others; // duplicates: the first other pages, by index
    size_t othersTotal = 0;     // duplicates: all the other pages
};

struct CAuditPage {
    std::string path;  // bytes
    std::string error; // why the page could not be read; "" when it was
    int hasTitle = 0;
    QString title;
    int titleLength = 0;
    int titleTags = 0; // title elements before the body
    int hasDescription = 0;
    QString description;
    int descriptionLength = 0;
    int descriptionTags = 0; // description tags anywhere
    int descriptionInBody = 0;
    int keywordsInBody = 0;
    std::vector<CAuditFinding> findings;
};

// The facts of one page from its text (bytes): its title and description as
// text in the page's encoding, and where its tags are. When the part after
// the first body tag holds nothing that could be a meta tag, only the part
// before it is parsed (the facts are the same; headOnly false parses the
// whole page always; see ReadPageHead).
CAuditPage AuditPage(std::string path, const std::string& text, bool headOnly = true);
// The same for a page already parsed from text (ReadPageHead) whose encoding
// is codec.
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
    explicit CSiteAudit(const CAuditThresholds& thresholds = {}) : m_thresholds(thresholds) {}
    // Makes the findings of every page, in page order: its own, then the
    // duplicates among all of them.
    void Finish(std::vector<CAuditPage>& pages) const;
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
};
