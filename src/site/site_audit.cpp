#include "site/site_audit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/page_codec.h"
#include "page/html_page.h"
#include "page/page_names.h"
#include "page/social_tags.h"
#include "site/site_page.h"

namespace {

// How many other pages a message names before "and N more".
constexpr size_t NAMED_OTHERS = 3;

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

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
                              group.size() - 1,
                              {}};
        for (size_t k = 0; k < group.size() && finding.others.size() < KEPT_OTHERS; ++k) {
            if (group[k] != i)
                finding.others.push_back(group[k]);
        }
        pages[i].findings.push_back(std::move(finding));
    }
}

// The findings of links between pages: a canonical link that leads to a page
// whose own canonical link leads elsewhere, an alternate whose page does not
// link back, an og:image whose file is not there.
void FollowLinks(std::vector<CAuditPage>& pages, const CSiteAddress& address) {
    std::vector<std::string> paths;
    std::vector<QString> canonicals;
    for (const CAuditPage& page : pages) {
        paths.push_back(page.path);
        canonicals.push_back(page.error.empty() ? page.canonical : QString());
    }
    const CSiteLinks links(address, paths, canonicals);
    // Where each page's canonical link leads (npos: to no page of the site).
    std::vector<size_t> canonicalOf(pages.size(), CSiteLinks::npos);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].error.empty() && !pages[i].canonical.isEmpty())
            canonicalOf[i] = links.PageOf(links.Resolve(i, pages[i].canonical));
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        CAuditPage& page = pages[i];
        if (!page.error.empty())
            continue;
        const size_t target = canonicalOf[i];
        if (target != CSiteLinks::npos && target != i && !pages[target].canonical.isEmpty() &&
            canonicalOf[target] != target) {
            page.findings.push_back({AuditCode::CANONICAL_CHAIN,
                                     {target},
                                     1,
                                     links.Resolve(target, pages[target].canonical).toString()});
        }
        for (const auto& [hreflang, href] : page.alternates) {
            const size_t other = links.PageOf(links.Resolve(i, href));
            if (other == CSiteLinks::npos || other == i || !pages[other].error.empty())
                continue;
            const bool back =
                std::any_of(pages[other].alternates.begin(), pages[other].alternates.end(),
                            [&](const auto& alternate) {
                                return links.PageOf(links.Resolve(other, alternate.second)) == i;
                            });
            if (!back)
                page.findings.push_back({AuditCode::HREFLANG_NO_RETURN, {other}, 1, hreflang});
        }
        if (!page.ogImage.isEmpty()) {
            const QUrl url = links.Resolve(i, page.ogImage);
            // A page outside the project has no address: its own folder is
            // where a relative path starts.
            const QString file =
                url.isRelative()
                    ? QFileInfo(QFileInfo(QDir(address.base),
                                          QFile::decodeName(QByteArray::fromStdString(page.path)))
                                    .dir(),
                                QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8()))
                          .filePath()
                    : links.LocalFile(url);
            if (!file.isEmpty() && !QFileInfo(file).isFile())
                page.findings.push_back({AuditCode::OG_IMAGE_NOT_FOUND, {}, 0, page.ogImage});
        }
    }
}

} // namespace

std::string_view AuditCodeName(AuditCode code) {
    static constexpr std::string_view names[] = {"unreadable",
                                                 "title-missing",
                                                 "title-empty",
                                                 "title-short",
                                                 "title-long",
                                                 "title-too-wide",
                                                 "title-duplicate",
                                                 "title-multiple",
                                                 "description-missing",
                                                 "description-empty",
                                                 "description-short",
                                                 "description-long",
                                                 "description-too-wide",
                                                 "description-duplicate",
                                                 "description-multiple",
                                                 "description-in-body",
                                                 "keywords-in-body",
                                                 "canonical-missing",
                                                 "canonical-relative",
                                                 "canonical-multiple",
                                                 "canonical-chain",
                                                 "og-title-missing",
                                                 "og-description-missing",
                                                 "og-image-missing",
                                                 "og-image-not-found",
                                                 "hreflang-no-return"};
    static_assert(std::size(names) == AUDIT_CODE_COUNT);
    return names[static_cast<size_t>(code)];
}

bool CAuditThresholds::Ignore(const QString& names, QString& error) {
    for (const QString& part : names.split(',', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        QStringList parts = name.split('*');
        for (QString& piece : parts)
            piece = QRegularExpression::escape(piece);
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(parts.join(QLatin1String(".*"))));
        bool any = false;
        for (size_t c = 0; c < AUDIT_CODE_COUNT; ++c) {
            const std::string_view code = AuditCodeName(static_cast<AuditCode>(c));
            if (pattern.match(QString::fromLatin1(code.data(), qsizetype(code.size())))
                    .hasMatch()) {
                ignored[c] = true;
                any = true;
            }
        }
        if (!any) {
            error = QStringLiteral("'%1' names no finding").arg(name);
            return false;
        }
    }
    return true;
}

std::string_view AuditCodeLabel(AuditCode code) {
    static constexpr std::string_view labels[] = {"Pages that cannot be read",
                                                  "Titles missing",
                                                  "Titles empty",
                                                  "Titles too short",
                                                  "Titles too long",
                                                  "Titles too wide",
                                                  "Duplicate titles",
                                                  "Titles written twice",
                                                  "Descriptions missing",
                                                  "Descriptions empty",
                                                  "Descriptions too short",
                                                  "Descriptions too long",
                                                  "Descriptions too wide",
                                                  "Duplicate descriptions",
                                                  "Descriptions written twice",
                                                  "Descriptions after the body tag",
                                                  "Keywords after the body tag",
                                                  "Canonical links missing",
                                                  "Canonical links relative",
                                                  "Canonical links written twice",
                                                  "Canonical links to pages that point elsewhere",
                                                  "og:title missing",
                                                  "og:description missing",
                                                  "og:image missing",
                                                  "og:image files not found",
                                                  "hreflang alternates not linking back"};
    static_assert(std::size(labels) == AUDIT_CODE_COUNT);
    return labels[static_cast<size_t>(code)];
}

CAuditPage AuditPage(std::string path, const std::string& text, bool /*headOnly*/) {
    std::string bytes = text;
    const CPageHead head(bytes);
    return AuditPage(std::move(path), head.Page(), CPageCodec::ForPage(head.Bytes(), head.Page()));
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
    const auto value = [&](const std::string& bytes) {
        return ValueText(codec, bytes, RefPlace::ATTRIBUTE).trimmed();
    };
    for (const CHeadLink& link : ListHeadLinks(page)) {
        if (link.kind == LinkKind::CANONICAL) {
            if (audit.canonicalLinks++ == 0)
                audit.canonical = value(link.href);
        } else {
            audit.alternates.emplace_back(value(link.hreflang), value(link.href));
        }
    }
    audit.ogTitle = value(GetPropertyContent(page, "og:title"));
    audit.ogDescription = value(GetPropertyContent(page, "og:description"));
    audit.ogImage = value(GetPropertyContent(page, "og:image"));
    POSITION body = page.GetBodyOpenPosition();
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

void CSiteAudit::Measure(CAuditPage& page) const {
    if (!m_measurer || !page.error.empty())
        return;
    const CAuditThresholds& t = m_thresholds;
    if (page.titlePx < 0)
        page.titlePx =
            MeasureSnippet(*m_measurer, t.widths, SnippetPart::TITLE, t.device, page.title).px;
    if (page.descriptionPx < 0)
        page.descriptionPx = MeasureSnippet(*m_measurer, t.widths, SnippetPart::DESCRIPTION,
                                            t.device, page.description)
                                 .px;
}

void CSiteAudit::PageFindings(CAuditPage& page) const {
    const CAuditThresholds& t = m_thresholds;
    const CSearchLimits& w = t.widths;
    std::vector<CAuditFinding>& f = page.findings;
    f.clear();
    if (!page.error.empty()) {
        f.push_back({AuditCode::UNREADABLE, {}, 0, {}});
        return;
    }
    const auto add = [&](AuditCode code) { f.push_back({code, {}, 0, {}}); };
    Measure(page);
    const auto tooWide = [&](double px, SnippetPart part) {
        return px >= 0 && std::lround(px) > SnippetLimitPx(w, part, t.device);
    };
    if (!page.hasTitle)
        add(AuditCode::TITLE_MISSING);
    else if (page.titleLength == 0)
        add(AuditCode::TITLE_EMPTY);
    else if (page.titleLength < t.titleMin)
        add(AuditCode::TITLE_SHORT);
    else if (page.titleLength > t.titleMax)
        add(AuditCode::TITLE_LONG);
    if (page.hasTitle && tooWide(page.titlePx, SnippetPart::TITLE))
        add(AuditCode::TITLE_TOO_WIDE);
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
    if (page.hasDescription && tooWide(page.descriptionPx, SnippetPart::DESCRIPTION))
        add(AuditCode::DESCRIPTION_TOO_WIDE);
    if (page.descriptionTags > 1)
        add(AuditCode::DESCRIPTION_MULTIPLE);
    if (page.descriptionInBody)
        add(AuditCode::DESCRIPTION_IN_BODY);
    if (page.keywordsInBody)
        add(AuditCode::KEYWORDS_IN_BODY);
    if (page.canonicalLinks == 0)
        add(AuditCode::CANONICAL_MISSING);
    else if (QUrl(page.canonical).isRelative())
        add(AuditCode::CANONICAL_RELATIVE);
    if (page.canonicalLinks > 1)
        add(AuditCode::CANONICAL_MULTIPLE);
    if (page.ogTitle.isEmpty())
        add(AuditCode::OG_TITLE_MISSING);
    if (page.ogDescription.isEmpty())
        add(AuditCode::OG_DESCRIPTION_MISSING);
    if (page.ogImage.isEmpty())
        add(AuditCode::OG_IMAGE_MISSING);
}

void CSiteAudit::Finish(std::vector<CAuditPage>& pages) const {
    const CAuditThresholds& t = m_thresholds;
    for (CAuditPage& page : pages)
        PageFindings(page);
    FindDuplicates(pages, true);
    FindDuplicates(pages, false);
    FollowLinks(pages, m_address);
    // Each page's findings in the order of the codes, whatever found them,
    // without those left out.
    for (CAuditPage& page : pages) {
        std::erase_if(page.findings, [&](const CAuditFinding& finding) {
            return t.ignored[static_cast<size_t>(finding.code)];
        });
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
    const auto wide = [&](const char* what, double px, SnippetPart part) {
        return std::string(what) + " wider than " +
               std::to_string(SnippetLimitPx(t.widths, part, t.device)) + " px (" +
               std::to_string(std::lround(px)) + " px at " +
               std::to_string(SnippetFontPx(t.widths, part)) + " px)";
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
    case AuditCode::TITLE_TOO_WIDE:
        return wide("title", page.titlePx, SnippetPart::TITLE);
    case AuditCode::DESCRIPTION_TOO_WIDE:
        return wide("description", page.descriptionPx, SnippetPart::DESCRIPTION);
    case AuditCode::CANONICAL_MISSING:
        return "no canonical link";
    case AuditCode::CANONICAL_RELATIVE:
        return "canonical link " + Utf8(page.canonical) +
               " is relative; search engines want an absolute address";
    case AuditCode::CANONICAL_MULTIPLE:
        return std::to_string(page.canonicalLinks) + " canonical links";
    case AuditCode::CANONICAL_CHAIN:
        return "canonical link leads to " + pages[finding.others.front()].path +
               ", whose canonical link leads to " + Utf8(finding.detail);
    case AuditCode::OG_TITLE_MISSING:
        return "no og:title";
    case AuditCode::OG_DESCRIPTION_MISSING:
        return "no og:description";
    case AuditCode::OG_IMAGE_MISSING:
        return "no og:image";
    case AuditCode::OG_IMAGE_NOT_FOUND:
        return "og:image " + Utf8(finding.detail) + ": no such file";
    case AuditCode::HREFLANG_NO_RETURN:
        return "hreflang " + Utf8(finding.detail) + ": " + pages[finding.others.front()].path +
               " does not link back";
    case AuditCode::COUNT:
        break;
    }
    return {};
}

const std::vector<CAuditColumn>& AuditColumns() {
    static const std::vector<CAuditColumn> columns = {
        {"title", "TITLE", false},
        {"title_length", "CHARS", true},
        {"title_px", "PX", true},
        {"description", "DESCRIPTION", false},
        {"description_length", "CHARS", true},
        {"description_px", "PX", true},
        {"canonical", "", false},
        {"og_title", "", false},
        {"og_description", "", false},
        {"og_image", "", false},
    };
    return columns;
}

bool AuditCell(const CAuditPage& page, size_t column, std::string& text) {
    text.clear();
    if (!page.error.empty())
        return false;
    const auto number = [&](bool present, double value) {
        if (present && value >= 0)
            text = std::to_string(std::lround(value));
        return present && value >= 0;
    };
    const auto string = [&](const QString& value) {
        text = Utf8(value);
        return true;
    };
    switch (column) {
    case 0:
        return page.hasTitle && string(page.title);
    case 1:
        return number(page.hasTitle, page.titleLength);
    case 2:
        return number(page.hasTitle, page.titlePx);
    case 3:
        return page.hasDescription && string(page.description);
    case 4:
        return number(page.hasDescription, page.descriptionLength);
    case 5:
        return number(page.hasDescription, page.descriptionPx);
    case 6:
        return page.canonicalLinks > 0 && string(page.canonical);
    case 7:
        return string(page.ogTitle);
    case 8:
        return string(page.ogDescription);
    case 9:
        return string(page.ogImage);
    default:
        return false;
    }
}
