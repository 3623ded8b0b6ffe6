#include "page/social_tags.h"

#include "page/ascii_text.h"
#include "page/page_names.h"

namespace {

const CHtmlTag* TagAt(POSITION pos) {
    const CHtmlSection* section = CHtmlPage::GetAt(pos);
    return section && section->GetType() == SECTION_TAG
               ? &static_cast<const CTagSection*>(section)->Tag()
               : nullptr;
}

// Calls visit(pos, tag) for each tag of that row before the first body tag,
// until it returns false.
template <class Visit>
void ForEachHeadTag(const CHtmlPage& page, int row, Visit visit) {
    for (POSITION pos = page.GetHeadPosition(); pos; pos = CHtmlPage::GetNextPosition(pos)) {
        const CHtmlTag* tag = TagAt(pos);
        if (!tag)
            continue;
        if (tag->GetElementRow() == ROW_BODY)
            return;
        if (tag->GetElementRow() == row && tag->GetKind() != TAG_CLOSE && !visit(pos, *tag))
            return;
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string_view> RelTokens(std::string_view rel) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < rel.size()) {
        while (i < rel.size() && IsAsciiSpace(rel[i]))
            ++i;
        size_t end = i;
        while (end < rel.size() && !IsAsciiSpace(rel[end]))
            ++end;
        if (end > i)
            tokens.push_back(rel.substr(i, end - i));
        i = end;
    }
    return tokens;
}

bool RelHasToken(std::string_view rel, std::string_view token) {
    for (const std::string_view word : RelTokens(rel)) {
        if (EqualsNoCase(word, token))
            return true;
    }
    return false;
}

POSITION FindProperty(const CHtmlPage& page, std::string_view property) {
    if (property.empty())
        return nullptr;
    const std::string key = MetaNameKey(property);
    POSITION found = nullptr;
    std::string value;
    ForEachHeadTag(page, ROW_META, [&](POSITION pos, const CHtmlTag& tag) {
        if (tag.GetAttribute("property", value) && MetaNameKey(value) == key) {
            found = pos;
            return false;
        }
        return true;
    });
    return found;
}

std::string GetPropertyContent(const CHtmlPage& page, std::string_view property) {
    std::string content;
    if (const CHtmlTag* tag = TagAt(FindProperty(page, property)))
        tag->GetAttribute("content", content);
    return content;
}

int GetPropertyAt(const CHtmlPage& page, int index, std::string& property, std::string& content) {
    property.clear();
    content.clear();
    int count = 0;
    int found = 0;
    std::string value;
    ForEachHeadTag(page, ROW_META, [&](POSITION, const CHtmlTag& tag) {
        if (!tag.GetAttribute("property", value) || value.empty())
            return true;
        if (count++ < index)
            return true;
        property = value;
        tag.GetAttribute("content", content);
        found = 1;
        return false;
    });
    return found;
}

int CountProperty(const CHtmlPage& page, std::string_view property) {
    const std::string key = MetaNameKey(property);
    int count = 0;
    std::string value;
    ForEachHeadTag(page, ROW_META, [&](POSITION, const CHtmlTag& tag) {
        if (tag.GetAttribute("property", value) && MetaNameKey(value) == key)
            ++count;
        return true;
    });
    return count;
}

std::vector<CHeadLink> ListHeadLinks(const CHtmlPage& page) {
    std::vector<CHeadLink> links;
    std::string rel;
    ForEachHeadTag(page, ROW_LINK, [&](POSITION pos, const CHtmlTag& tag) {
        if (!tag.GetAttribute("rel", rel))
            return true;
        CHeadLink link;
        link.pos = pos;
        tag.GetAttribute("href", link.href);
        if (RelHasToken(rel, "canonical")) {
            link.kind = LinkKind::CANONICAL;
            links.push_back(link);
        }
        if (RelHasToken(rel, "alternate") && tag.GetAttribute("hreflang", link.hreflang)) {
            link.kind = LinkKind::ALTERNATE;
            links.push_back(link);
        }
        return true;
    });
    return links;
}

POSITION FindLink(const CHtmlPage& page, LinkKind kind, std::string_view hreflang) {
    for (const CHeadLink& link : ListHeadLinks(page)) {
        if (link.kind == kind && (kind == LinkKind::CANONICAL ||
                                  EqualsNoCase(TrimAscii(link.hreflang), TrimAscii(hreflang))))
            return link.pos;
    }
    return nullptr;
}

std::string GetLinkHref(const CHtmlPage& page, LinkKind kind, std::string_view hreflang) {
    std::string href;
    if (const CHtmlTag* tag = TagAt(FindLink(page, kind, hreflang)))
        tag->GetAttribute("href", href);
    return href;
}

POSITION FindHtmlTag(const CHtmlPage& page) {
    POSITION found = nullptr;
    ForEachHeadTag(page, ROW_HTML, [&](POSITION pos, const CHtmlTag&) {
        found = pos;
        return false;
    });
    return found;
}

int GetHtmlLang(const CHtmlPage& page, std::string& lang) {
    lang.clear();
    const CHtmlTag* tag = TagAt(FindHtmlTag(page));
    return tag && tag->GetAttribute("lang", lang) ? 1 : 0;
}
