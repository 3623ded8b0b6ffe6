// Writing property meta tags, canonical and alternate links and the page's
// language into the section list.
#include <cstdlib>
#include <string>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"
#include "page/social_tags.h"

namespace {

void AppendAction(std::string& text, const int* action) {
    if (action) {
        text += " action=\"";
        text += std::to_string(*action);
        text += '"';
    }
}

// action: null for a page write, which stores none.
std::string PropertyTagText(std::string_view property, std::string_view value, const int* action) {
    std::string text = "<meta property=" + QuoteAttributeValue(property) +
                       " content=" + QuoteAttributeValue(value);
    AppendAction(text, action);
    return text + "/>";
}

std::string LinkTagText(LinkKind kind, std::string_view hreflang, std::string_view href,
                        const int* action) {
    std::string text = kind == LinkKind::CANONICAL
                           ? std::string("<link rel=\"canonical\"")
                           : "<link rel=\"alternate\" hreflang=" + QuoteAttributeValue(hreflang);
    text += " href=" + QuoteAttributeValue(href);
    AppendAction(text, action);
    return text + "/>";
}

bool SameValue(const CHtmlTag& tag, std::string_view attribute, std::string_view value,
               const int* action) {
    std::string current;
    if (!tag.GetAttribute(attribute, current) ||
        AttributeValueKey(current, false) != AttributeValueKey(value, false))
        return false;
    if (!action)
        return true;
    return tag.GetAttribute("action", current) && !current.empty() &&
           std::atoi(current.c_str()) == *action;
}

const char* const kKindToken[] = {"canonical", "alternate"};

// The rel value without token (ASCII case ignored), tokens one space apart.
std::string RelWithout(std::string_view rel, std::string_view token) {
    std::string out;
    size_t i = 0;
    while (i < rel.size()) {
        while (i < rel.size() && IsAsciiSpace(rel[i]))
            ++i;
        size_t end = i;
        while (end < rel.size() && !IsAsciiSpace(rel[end]))
            ++end;
        const std::string_view word = rel.substr(i, end - i);
        if (!word.empty() && AsciiLower(word) != token) {
            if (!out.empty())
                out += ' ';
            out += word;
        }
        i = end;
    }
    return out;
}

} // namespace

void CHtmlPage::WriteTagAttributes(POSITION pos, std::string_view attribute, std::string_view value,
                                   const int* action) {
    CHtmlTag& tag = static_cast<CTagSection*>(pos)->EditTag();
    tag.SetAttribute(attribute, value);
    if (action)
        tag.SetAttribute("action", std::to_string(*action));
    Changed(pos);
    ++m_nChanges;
}

void CHtmlPage::RemoveTagAttribute(POSITION pos, std::string_view attribute) {
    CHtmlTag& tag = static_cast<CTagSection*>(pos)->EditTag();
    std::string text(tag.GetNormalizedText());
    const size_t at = static_cast<size_t>(tag.FindAttribute(attribute));
    if (at == 0)
        return;
    size_t end = at + attribute.size();
    if (end < text.size() && text[end] == '=') {
        ++end;
        if (end < text.size() && (text[end] == '"' || text[end] == '\'')) {
            const size_t close = text.find(text[end], end + 1);
            end = close == std::string::npos ? text.size() - 1 : close + 1;
        } else {
            while (end < text.size() && text[end] != ' ' && text[end] != '>')
                ++end;
        }
    }
    // With the space before it.
    text.erase(at - 1, end - at + 1);
    tag.SetTagText(std::move(text));
    Changed(pos);
    ++m_nChanges;
}

void CHtmlPage::RemoveHeadTag(POSITION pos) {
    POSITION next = IsInTail(pos) ? nullptr : SplitRun(pos->m_next);
    if (next && next->GetType() == SECTION_TEXT) {
        std::string text;
        next->AppendText(text);
        if (TrimAscii(text).empty())
            RemoveAt(next);
    }
    if (m_insertPos == pos)
        m_insertPosValid = false;
    // A named meta tag may carry the property too: the index is made again.
    m_metaIndexValid = false;
    RemoveAt(pos);
    ++m_nChanges;
}

int CHtmlPage::WriteProperty(std::string_view property, std::string_view value, const int* action) {
    if (property.empty())
        return 0;
    if (POSITION pos = FindProperty(*this, property)) {
        if (!SameValue(static_cast<const CTagSection*>(pos)->Tag(), "content", value, action))
            WriteTagAttributes(pos, "content", value, action);
        return 1;
    }
    // A page's new tag gets a line of its own; a template's does not.
    if (!InsertMeta(PropertyTagText(property, value, action), action == nullptr))
        return 0;
    ++m_nChanges;
    return 1;
}

int CHtmlPage::SetProperty(std::string_view property, std::string_view value) {
    return WriteProperty(property, value, nullptr);
}

int CHtmlPage::SetPropertyWithAction(std::string_view property, std::string_view value,
                                     int action) {
    return WriteProperty(property, value, &action);
}

int CHtmlPage::RemoveProperty(std::string_view property) {
    POSITION pos = FindProperty(*this, property);
    if (!pos)
        return 1;
    const CHtmlTag& tag = static_cast<const CTagSection*>(pos)->Tag();
    std::string name;
    if ((tag.GetAttribute("name", name) && !name.empty()) ||
        (tag.GetAttribute("http-equiv", name) && !name.empty())) {
        // The tag is a named meta tag as well: it stays, as that.
        RemoveTagAttribute(pos, "property");
        return 1;
    }
    RemoveHeadTag(pos);
    return 1;
}

int CHtmlPage::WriteLink(LinkKind kind, std::string_view hreflang, std::string_view href,
                         const int* action) {
    if (kind == LinkKind::ALTERNATE && TrimAscii(hreflang).empty())
        return 0;
    if (POSITION pos = FindLink(*this, kind, hreflang)) {
        if (!SameValue(static_cast<const CTagSection*>(pos)->Tag(), "href", href, action))
            WriteTagAttributes(pos, "href", href, action);
        return 1;
    }
    if (!InsertMeta(LinkTagText(kind, TrimAscii(hreflang), href, action), action == nullptr))
        return 0;
    ++m_nChanges;
    return 1;
}

int CHtmlPage::SetLink(LinkKind kind, std::string_view hreflang, std::string_view href) {
    return WriteLink(kind, hreflang, href, nullptr);
}

int CHtmlPage::SetLinkWithAction(LinkKind kind, std::string_view hreflang, std::string_view href,
                                 int action) {
    return WriteLink(kind, hreflang, href, &action);
}

int CHtmlPage::RemoveLink(LinkKind kind, std::string_view hreflang) {
    POSITION pos = FindLink(*this, kind, hreflang);
    if (!pos)
        return 1;
    std::string rel;
    static_cast<const CTagSection*>(pos)->Tag().GetAttribute("rel", rel);
    const std::string rest = RelWithout(rel, kKindToken[kind == LinkKind::ALTERNATE]);
    if (!rest.empty()) {
        // The link is another kind of link too: it stays, as that.
        WriteTagAttributes(pos, "rel", rest, nullptr);
        return 1;
    }
    RemoveHeadTag(pos);
    return 1;
}

int CHtmlPage::WriteHtmlLang(std::string_view lang, const int* action) {
    POSITION pos = FindHtmlTag(*this);
    if (!pos)
        return 0;
    const CHtmlTag& tag = static_cast<const CTagSection*>(pos)->Tag();
    if (lang.empty() && !action) {
        std::string current;
        if (!tag.GetAttribute("lang", current))
            return 1;
        RemoveTagAttribute(pos, "lang");
        return 1;
    }
    if (!SameValue(tag, "lang", lang, action))
        WriteTagAttributes(pos, "lang", lang, action);
    return 1;
}

int CHtmlPage::SetHtmlLang(std::string_view lang) {
    return WriteHtmlLang(lang, nullptr);
}

int CHtmlPage::SetHtmlLangWithAction(std::string_view lang, int action) {
    return WriteHtmlLang(lang, &action);
}

int CHtmlPage::GetTagAction(POSITION pos) const {
    const CHtmlTag* tag = TagAt(pos);
    std::string value;
    if (!tag || !tag->GetAttribute("action", value) || value.empty())
        return -1;
    return std::atoi(value.c_str());
}
