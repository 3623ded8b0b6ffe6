// Writing property meta tags, canonical and alternate links and the page's
// language, with the meta tags' rules: a changed tag keeps its bytes but for
// the value, a new one goes where a new meta tag goes in the page's style.
#include <cstdlib>
#include <string>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"
#include "page/social_tags.h"
#include "page/tag_attributes.h"

namespace {

const char* const kKindToken[] = {"canonical", "alternate"};

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

const char* KindToken(LinkKind kind) {
    return kKindToken[kind == LinkKind::ALTERNATE];
}

// A new tag: name="value" pairs in order, then the action (when given) and
// the tag's end. quote: writes a value with its quotes.
template <class Quote>
std::string NewTag(std::string_view element,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> attributes,
                   const int* action, std::string_view end, Quote quote) {
    std::string text = "<";
    text += element;
    for (const auto& [name, value] : attributes) {
        text += ' ';
        text += name;
        text += '=';
        text += quote(value);
    }
    if (action) {
        text += " action=\"";
        text += std::to_string(*action);
        text += '"';
    }
    text += end;
    return text;
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

// The rel value without token (ASCII case ignored), tokens one space apart.
std::string RelWithout(std::string_view rel, std::string_view token) {
    std::string out;
    for (const std::string_view word : RelTokens(rel)) {
        if (AsciiLower(word) == token)
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

} // namespace

// --- Editing a tag in place -----------------------------------------------------

void CHtmlPage::WriteTagAttribute(POSITION pos, std::string_view attribute, std::string_view value,
                                  const int* action) {
    CHtmlTag& tag = static_cast<CTagSection*>(pos)->EditTag();
    if (m_style == HeadStyle::KEEP) {
        std::string raw(tag.GetRawText());
        const bool upper = HasUpperCaseName(raw);
        const auto named = [upper](std::string_view lower) {
            return upper ? AsciiUpper(lower) : std::string(lower);
        };
        raw = WithRawAttribute(raw, named(attribute), value);
        if (action)
            raw = WithRawAttribute(raw, named("action"), std::to_string(*action));
        // The tag must read as the write means it; one whose attributes this
        // model and a browser read apart is written in normal form.
        const CHtmlTag edited(raw);
        if (edited.GetElementRow() == tag.GetElementRow() &&
            SameValue(edited, attribute, value, action)) {
            tag.SetTagText(std::move(raw));
        } else {
            tag.SetAttribute(attribute, value);
            if (action)
                tag.SetAttribute("action", std::to_string(*action));
        }
    } else {
        tag.SetAttribute(attribute, value);
        if (action)
            tag.SetAttribute("action", std::to_string(*action));
    }
    Changed(pos);
    ++m_nChanges;
}

void CHtmlPage::RemoveTagAttribute(POSITION pos, std::string_view attribute) {
    CHtmlTag& tag = static_cast<CTagSection*>(pos)->EditTag();
    const std::string_view text =
        m_style == HeadStyle::KEEP ? tag.GetRawText() : tag.GetNormalizedText();
    tag.SetTagText(WithoutRawAttribute(text, attribute));
    Changed(pos);
    ++m_nChanges;
}

// --- Property tags ----------------------------------------------------------------

int CHtmlPage::WriteProperty(std::string_view property, std::string_view value, const int* action) {
    if (property.empty())
        return 0;
    std::string flatProperty, flatValue;
    if (m_style == HeadStyle::KEEP) {
        flatProperty = FlattenedValue(property);
        flatValue = FlattenedValue(value);
        property = flatProperty;
        value = flatValue;
    }
    if (POSITION pos = FindProperty(*this, property)) {
        if (!SameValue(static_cast<const CTagSection*>(pos)->Tag(), "content", value, action))
            WriteTagAttribute(pos, "content", value, action);
        return 1;
    }
    std::string text = m_style == HeadStyle::NORMALIZE
                           ? NewTag("meta", {{"property", property}, {"content", value}}, action,
                                    "/>", QuoteAttributeValue)
                           : NewTag("meta", {{"property", property}, {"content", value}}, action,
                                    GetPageStyle().voidEnd,
                                    [](std::string_view v) { return QuotedValue(v, '"'); });
    if (!InsertHeadTag(std::move(text), action == nullptr))
        return 0;
    ++m_nChanges;
    return 1;
}

int CHtmlPage::SetProperty(std::string_view property, std::string_view value) {
    const unsigned before = m_nChanges;
    const int result = WriteProperty(property, value, nullptr);
    if (m_nChanges != before)
        Record({WriteKind::PROPERTY, std::string(property), std::string(value), 0, 0});
    return result;
}

int CHtmlPage::SetPropertyWithAction(std::string_view property, std::string_view value,
                                     int action) {
    const unsigned before = m_nChanges;
    const int result = WriteProperty(property, value, &action);
    if (m_nChanges != before)
        Record(
            {WriteKind::TEMPLATE_PROPERTY, std::string(property), std::string(value), 0, action});
    return result;
}

int CHtmlPage::DeleteProperty(std::string_view property) {
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

int CHtmlPage::RemoveProperty(std::string_view property) {
    const unsigned before = m_nChanges;
    const int result = DeleteProperty(property);
    if (m_nChanges != before)
        Record({WriteKind::REMOVE_PROPERTY, std::string(property), {}, 0, 0});
    return result;
}

// --- Links --------------------------------------------------------------------------

int CHtmlPage::WriteLink(LinkKind kind, std::string_view hreflang, std::string_view href,
                         const int* action) {
    hreflang = TrimAscii(hreflang);
    if (kind == LinkKind::ALTERNATE && hreflang.empty())
        return 0;
    std::string flatHreflang, flatHref;
    if (m_style == HeadStyle::KEEP) {
        flatHreflang = FlattenedValue(hreflang);
        flatHref = FlattenedValue(href);
        hreflang = flatHreflang;
        href = flatHref;
    }
    POSITION pos = FindLink(*this, kind, hreflang);
    if (pos) {
        const CHtmlTag& tag = static_cast<const CTagSection*>(pos)->Tag();
        if (SameValue(tag, "href", href, action))
            return 1;
        std::string rel;
        tag.GetAttribute("rel", rel);
        const std::string rest = RelWithout(rel, KindToken(kind));
        if (rest.empty()) {
            WriteTagAttribute(pos, "href", href, action);
            return 1;
        }
        // One link is both a canonical and an alternate one: the other kind
        // keeps the address, and this kind gets a link of its own.
        WriteTagAttribute(pos, "rel", rest, nullptr);
    }
    std::initializer_list<std::pair<std::string_view, std::string_view>> canonical = {
        {"rel", "canonical"}, {"href", href}};
    std::initializer_list<std::pair<std::string_view, std::string_view>> alternate = {
        {"rel", "alternate"}, {"hreflang", hreflang}, {"href", href}};
    const auto& attributes = kind == LinkKind::CANONICAL ? canonical : alternate;
    std::string text = m_style == HeadStyle::NORMALIZE
                           ? NewTag("link", attributes, action, "/>", QuoteAttributeValue)
                           : NewTag("link", attributes, action, GetPageStyle().voidEnd,
                                    [](std::string_view v) { return QuotedValue(v, '"'); });
    if (pos) {
        // Beside the link it was part of.
        Place place{pos, RunsToEnd(pos) ? Side::BEFORE : Side::AFTER};
        InsertAtPlace(OutsideServerBlocks(place), {new CTagSection(std::move(text))},
                      action == nullptr);
        m_insertPosValid = false;
    } else if (!InsertHeadTag(std::move(text), action == nullptr)) {
        return 0;
    }
    ++m_nChanges;
    return 1;
}

int CHtmlPage::SetLink(LinkKind kind, std::string_view hreflang, std::string_view href) {
    const unsigned before = m_nChanges;
    const int result = WriteLink(kind, hreflang, href, nullptr);
    if (m_nChanges != before)
        Record(
            {WriteKind::LINK, std::string(hreflang), std::string(href), static_cast<int>(kind), 0});
    return result;
}

int CHtmlPage::SetLinkWithAction(LinkKind kind, std::string_view hreflang, std::string_view href,
                                 int action) {
    const unsigned before = m_nChanges;
    const int result = WriteLink(kind, hreflang, href, &action);
    if (m_nChanges != before)
        Record({WriteKind::TEMPLATE_LINK, std::string(hreflang), std::string(href),
                static_cast<int>(kind), action});
    return result;
}

int CHtmlPage::DeleteLink(LinkKind kind, std::string_view hreflang) {
    POSITION pos = FindLink(*this, kind, hreflang);
    if (!pos)
        return 1;
    std::string rel;
    static_cast<const CTagSection*>(pos)->Tag().GetAttribute("rel", rel);
    const std::string rest = RelWithout(rel, KindToken(kind));
    if (!rest.empty()) {
        // The link is another kind of link too: it stays, as that.
        WriteTagAttribute(pos, "rel", rest, nullptr);
        return 1;
    }
    RemoveHeadTag(pos);
    return 1;
}

int CHtmlPage::RemoveLink(LinkKind kind, std::string_view hreflang) {
    const unsigned before = m_nChanges;
    const int result = DeleteLink(kind, hreflang);
    if (m_nChanges != before)
        Record({WriteKind::REMOVE_LINK, std::string(hreflang), {}, static_cast<int>(kind), 0});
    return result;
}

// --- The language -------------------------------------------------------------------

int CHtmlPage::WriteHtmlLang(std::string_view lang, const int* action) {
    POSITION pos = FindHtmlTag(*this);
    if (!pos)
        return 0;
    std::string flat;
    if (m_style == HeadStyle::KEEP) {
        flat = FlattenedValue(lang);
        lang = flat;
    }
    const CHtmlTag& tag = static_cast<const CTagSection*>(pos)->Tag();
    if (lang.empty() && !action) {
        std::string current;
        if (tag.GetAttribute("lang", current))
            RemoveTagAttribute(pos, "lang");
        return 1;
    }
    if (!SameValue(tag, "lang", lang, action))
        WriteTagAttribute(pos, "lang", lang, action);
    return 1;
}

int CHtmlPage::SetHtmlLang(std::string_view lang) {
    const unsigned before = m_nChanges;
    const int result = WriteHtmlLang(lang, nullptr);
    if (m_nChanges != before)
        Record({WriteKind::LANG, {}, std::string(lang), 0, 0});
    return result;
}

int CHtmlPage::SetHtmlLangWithAction(std::string_view lang, int action) {
    const unsigned before = m_nChanges;
    const int result = WriteHtmlLang(lang, &action);
    if (m_nChanges != before)
        Record({WriteKind::TEMPLATE_LANG, {}, std::string(lang), 0, action});
    return result;
}

int CHtmlPage::GetTagAction(POSITION pos) const {
    const CHtmlTag* tag = TagAt(pos);
    std::string value;
    if (!tag || !tag->GetAttribute("action", value) || value.empty())
        return -1;
    return std::atoi(value.c_str());
}
