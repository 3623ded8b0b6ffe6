#include "site/site_audit.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/page_codec.h"
#include "page/html_page.h"
#include "page/page_names.h"
#include "site/site_page.h"

namespace {

// How many other pages a message names before "and N more".
constexpr size_t NAMED_OTHERS = 3;

const CHtmlTag* TagOf(POSITION pos) {
    const CHtmlSection* section = CHtmlPage::GetAt(pos);
    return section->GetType() == SECTION_TAG ? &static_cast<const CTagSection*>(section)->Tag()
                                             : nullptr;
}

// The name a meta tag is known by (name, else http-equiv), compared as the
// page compares names.
std::string MetaKeyOf(const CHtmlTag& tag) {
    std::string name;
    if (!tag.GetAttribute("name", name) || name.empty())
        tag.GetAttribute("http-equiv", name);
    return MetaNameKey(name);
}

void FindDuplicates(std::vector<CAuditPage>& pages, bool titles) {
    // Each text is collapsed once and numbered; only texts on two pages or
    // more get their list of pages.
    QHash<QString, size_t> ids;
    std::vector<size_t> idOf(pages.size(), SIZE_MAX);
    std::vector<size_t> count;
    for (size_t i = 0; i < pages.size(); ++i) {
        const CAuditPage& page = pages[i];
        if (!page.error.empty())
            continue;
        const QString text = CollapseSpaces(titles ? page.title : page.description);
        if (text.isEmpty())
            continue;
        auto it = ids.find(text);
        if (it == ids.end()) {
            it = ids.insert(text, count.size());
            count.push_back(0);
        }
        idOf[i] = *it;
        ++count[*it];
    }
    std::unordered_map<size_t, std::vector<size_t>> groups;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (idOf[i] != SIZE_MAX && count[idOf[i]] > 1)
            groups[idOf[i]].push_back(i);
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        if (idOf[i] == SIZE_MAX || count[idOf[i]] < 2)
            continue;
        const std::vector<size_t>& group = groups[idOf[i]];
        CAuditFinding finding{titles ? AuditCode::TITLE_DUPLICATE
                                     : AuditCode::DESCRIPTION_DUPLICATE,
                              {},
                              group.size() - 1};
        for (size_t k = 0; k < group.size() && finding.others.size() < KEPT_OTHERS; ++k) {
            if (group[k] != i)
                finding.others.push_back(group[k]);
        }
        pages[i].findings.push_back(std::move(finding));
    }
}

} // namespace

std::string_view AuditCodeName(AuditCode code) {
    static constexpr std::string_view names[] = {
        "unreadable",           "title-missing",       "title-empty",      "title-short",
        "title-long",           "title-duplicate",     "title-multiple",   "description-missing",
        "description-empty",    "description-short",   "description-long", "description-duplicate",
        "description-multiple", "description-in-body", "keywords-in-body"};
    static_assert(std::size(names) == AUDIT_CODE_COUNT);
    return names[static_cast<size_t>(code)];
}

std::string_view AuditCodeLabel(AuditCode code) {
    static constexpr std::string_view labels[] = {"Pages that cannot be read",
                                                  "Titles missing",
                                                  "Titles empty",
                                                  "Titles too short",
                                                  "Titles too long",
                                                  "Duplicate titles",
                                                  "Titles written twice",
                                                  "Descriptions missing",
                                                  "Descriptions empty",
                                                  "Descriptions too short",
                                                  "Descriptions too long",
                                                  "Duplicate descriptions",
                                                  "Descriptions written twice",
                                                  "Descriptions after the body tag",
                                                  "Keywords after the body tag"};
    static_assert(std::size(labels) == AUDIT_CODE_COUNT);
    return labels[static_cast<size_t>(code)];
}

CAuditPage AuditPage(std::string path, const std::string& text, bool headOnly) {
    CHtmlPage page;
    ReadPageHead(page, text, headOnly);
    return AuditPage(std::move(path), page, CPageCodec::ForPage(text, page));
}

CAuditPage AuditPage(std::string path, const CHtmlPage& page, const CPageCodec& codec) {
    CAuditPage audit;
    audit.path = std::move(path);
    std::string raw;
    int action = 0;
    audit.hasTitle = page.GetTitleWithAction(raw, action);
    audit.title = ValueText(codec, raw, RefPlace::TEXT);
    audit.hasDescription = page.FindMeta("description") != nullptr;
    audit.description = ValueText(codec, page.GetMetaContent("description"), RefPlace::ATTRIBUTE);
    audit.titleLength = ShownLength(audit.title);
    audit.descriptionLength = ShownLength(audit.description);
    const POSITION body = page.GetBodyOpenPosition();
    bool inBody = false;
    for (POSITION pos = page.GetHeadPosition(); pos; pos = CHtmlPage::GetNextPosition(pos)) {
        inBody = inBody || pos == body;
        const CHtmlTag* tag = TagOf(pos);
        if (!tag)
            continue;
        if (tag->GetElementRow() == ROW_TITLE && tag->GetKind() == TAG_OPEN && !inBody)
            ++audit.titleTags;
        if (tag->GetElementRow() != ROW_META)
            continue;
        const std::string key = MetaKeyOf(*tag);
        if (key == "description") {
            ++audit.descriptionTags;
            audit.descriptionInBody |= inBody;
        } else if (key == "keywords") {
            audit.keywordsInBody |= inBody;
        }
    }
    return audit;
}

void CSiteAudit::PageFindings(CAuditPage& page) const {
    const CAuditThresholds& t = m_thresholds;
    std::vector<CAuditFinding>& f = page.findings;
    f.clear();
    if (!page.error.empty()) {
        f.push_back({AuditCode::UNREADABLE, {}, 0});
        return;
    }
    const auto add = [&](AuditCode code) { f.push_back({code, {}, 0}); };
    if (!page.hasTitle)
        add(AuditCode::TITLE_MISSING);
    else if (page.titleLength == 0)
        add(AuditCode::TITLE_EMPTY);
    else if (page.titleLength < t.titleMin)
        add(AuditCode::TITLE_SHORT);
    else if (page.titleLength > t.titleMax)
        add(AuditCode::TITLE_LONG);
    if (page.titleTags > 1)
        add(AuditCode::TITLE_MULTIPLE);
    if (!page.hasDescription)
        add(AuditCode::DESCRIPTION_MISSING);
    else if (page.descriptionLength == 0)
        add(AuditCode::DESCRIPTION_EMPTY);
    else if (page.descriptionLength < t.descriptionMin)
        add(AuditCode::DESCRIPTION_SHORT);
    else if (page.descriptionLength > t.descriptionMax)
        add(AuditCode::DESCRIPTION_LONG);
    if (page.descriptionTags > 1)
        add(AuditCode::DESCRIPTION_MULTIPLE);
    if (page.descriptionInBody)
        add(AuditCode::DESCRIPTION_IN_BODY);
    if (page.keywordsInBody)
        add(AuditCode::KEYWORDS_IN_BODY);
}

void CSiteAudit::Finish(std::vector<CAuditPage>& pages) const {
    for (CAuditPage& page : pages)
        PageFindings(page);
    FindDuplicates(pages, true);
    FindDuplicates(pages, false);
    // Each page's findings in the order of the codes, whatever found them.
    for (CAuditPage& page : pages) {
        std::stable_sort(
            page.findings.begin(), page.findings.end(),
            [](const CAuditFinding& a, const CAuditFinding& b) { return a.code < b.code; });
    }
}

CAuditSummary CSiteAudit::Summarize(const std::vector<CAuditPage>& pages) {
    CAuditSummary summary;
    summary.pages = pages.size();
    for (const CAuditPage& page : pages) {
        if (!page.findings.empty())
            ++summary.pagesWithFindings;
        for (const CAuditFinding& finding : page.findings)
            ++summary.counts[static_cast<size_t>(finding.code)];
    }
    return summary;
}

std::string CSiteAudit::Message(const std::vector<CAuditPage>& pages, const CAuditPage& page,
                                const CAuditFinding& finding) const {
    const CAuditThresholds& t = m_thresholds;
    const auto length = [](const char* what, int limit, int chars) {
        return std::string(what) + " " + std::to_string(limit) + " characters (" +
               std::to_string(chars) + ")";
    };
    const auto same = [&](const char* what) {
        std::string text = std::string("same ") + what + " as ";
        const size_t total = std::max(finding.othersTotal, finding.others.size());
        const size_t named = std::min(NAMED_OTHERS, finding.others.size());
        for (size_t i = 0; i < named; ++i) {
            if (i)
                text += i + 1 == named && named == total ? " and " : ", ";
            text += pages[finding.others[i]].path;
        }
        if (total > named)
            text += " and " + std::to_string(total - named) + " more";
        return text;
    };
    switch (finding.code) {
    case AuditCode::UNREADABLE:
        return "cannot be read: " + page.error;
    case AuditCode::TITLE_MISSING:
        return "no title";
    case AuditCode::TITLE_EMPTY:
        return "empty title";
    case AuditCode::TITLE_SHORT:
        return length("title shorter than", t.titleMin, page.titleLength);
    case AuditCode::TITLE_LONG:
        return length("title longer than", t.titleMax, page.titleLength);
    case AuditCode::TITLE_DUPLICATE:
        return same("title");
    case AuditCode::TITLE_MULTIPLE:
        return std::to_string(page.titleTags) + " title tags";
    case AuditCode::DESCRIPTION_MISSING:
        return "no description";
    case AuditCode::DESCRIPTION_EMPTY:
        return "empty description";
    case AuditCode::DESCRIPTION_SHORT:
        return length("description shorter than", t.descriptionMin, page.descriptionLength);
    case AuditCode::DESCRIPTION_LONG:
        return length("description longer than", t.descriptionMax, page.descriptionLength);
    case AuditCode::DESCRIPTION_DUPLICATE:
        return same("description");
    case AuditCode::DESCRIPTION_MULTIPLE:
        return std::to_string(page.descriptionTags) + " description tags";
    case AuditCode::DESCRIPTION_IN_BODY:
        return "a description tag after the body tag";
    case AuditCode::KEYWORDS_IN_BODY:
        return "a keywords tag after the body tag";
    case AuditCode::COUNT:
        break;
    }
    return {};
}
