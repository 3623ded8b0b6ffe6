// Writing the title and meta tags into the section list.
#include <cstdlib>
#include <string>

#include "page/html_page.h"
#include "page/page_names.h"
#include "page/tag_attributes.h"

namespace {

// action: null for a page write, which stores none.
std::string MetaTagText(std::string_view name, std::string_view value, int httpEquiv,
                        const int* action) {
    std::string text = httpEquiv ? "<meta http-equiv=" : "<meta name=";
    text += QuoteAttributeValue(name);
    text += " content=";
    text += QuoteAttributeValue(value);
    if (action) {
        text += " action=\"";
        text += std::to_string(*action);
        text += '"';
    }
    text += "/>";
    return text;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// Every line break (CR LF, CR or LF) of text as lineEnd.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.append(lineEnd);
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

POSITION CHtmlPage::FindMetaInsertPos() const {
    if (m_insertPosValid)
        return m_insertPos;
    POSITION candidate = nullptr;
    POSITION head = nullptr;
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        if (s->GetType() != SECTION_TAG)
            continue;
        const int row = static_cast<const CTagSection*>(s)->Tag().GetElementRow();
        if (row == ROW_META) {
            candidate = s;
        } else if (row == ROW_HEAD) {
            if (head)
                break;
            head = s;
        }
    }
    m_insertPos = candidate ? candidate : head;
    m_insertPosValid = true;
    return m_insertPos;
}

POSITION CHtmlPage::InsertMeta(std::string_view name, std::string_view value, int httpEquiv,
                               const int* action) {
    const bool normalize = m_style == HeadStyle::NORMALIZE;
    std::string text = normalize ? MetaTagText(name, value, httpEquiv, action)
                                 : MetaTagInPageStyle(name, value, httpEquiv, action);
    // A page's new tag gets a line of its own; in the normalizing style a
    // template's does not.
    return InsertHeadTag(std::move(text), action == nullptr);
}

// Inserts a new tag after the last meta tag or the head tag (outside any
// server-side block there), or after the last tag inserted. When that place
// lies in the part of the page kept as read, the tag goes directly before the
// first body tag instead, so that it is written out.
POSITION CHtmlPage::InsertHeadTag(std::string text, bool separator) {
    Place place{m_lastNewMeta, Side::AFTER};
    if (!m_lastNewMeta) {
        POSITION pos = FindMetaInsertPos();
        if (!pos)
            return nullptr;
        place = IsInTail(pos) ? Place{m_tailSection, Side::BEFORE} : Place{pos, Side::AFTER};
        // A tag whose quote is never closed takes all after it along.
        if (place.side == Side::AFTER && RunsToEnd(pos))
            place.side = Side::BEFORE;
        place = OutsideServerBlocks(place);
    }
    POSITION tag = InsertAtPlace(place, {new CTagSection(std::move(text))}, separator);
    m_lastNewMeta = tag;
    m_insertPosValid = false;
    return tag;
}

void CHtmlPage::IndexNewMeta(POSITION pos) {
    if (!m_metaIndexValid)
        return;
    std::string key;
    MetaKey(static_cast<const CTagSection*>(pos)->Tag(), key, nullptr);
    if (key.empty())
        return;
    MetaIndexEntry& entry = m_metaIndex[MetaNameKey(key)];
    if (entry.head >= entry.tags.size()) {
        entry.tags.clear();
        entry.head = 0;
    }
    entry.tags.push_back(pos);
}

bool CHtmlPage::MetaAlreadyIs(POSITION pos, std::string_view value, int httpEquiv,
                              const int* action, const std::string& newText) const {
    const CHtmlTag& tag = static_cast<const CTagSection*>(pos)->Tag();
    std::string buffer;
    int isHttpEquiv = 0;
    MetaKey(tag, buffer, &isHttpEquiv);
    if (isHttpEquiv == (httpEquiv ? 1 : 0)) {
        tag.GetAttribute("content", buffer);
        bool same =
            buffer == value || AttributeValueKey(buffer, false) == AttributeValueKey(value, false);
        if (same && action) {
            // As GetMetaAction reads it.
            same = tag.GetAttribute("action", buffer) && !buffer.empty() &&
                   std::atoi(buffer.c_str()) == *action;
        }
        if (same)
            return true;
    }
    // Or the tag is written exactly as the write would write it.
    return NormalizeTagText(newText, false) == tag.GetNormalizedText();
}

int CHtmlPage::WriteMeta(std::string_view name, std::string_view value, int httpEquiv,
                         const int* action) {
    if (name.empty())
        return 0;
    const bool keep = m_style == HeadStyle::KEEP;
    std::string flatName, flatValue;
    if (keep) {
        flatName = FlattenedValue(name);
        flatValue = FlattenedValue(value);
        name = flatName;
        value = flatValue;
    }
    std::string text = MetaTagText(name, value, httpEquiv, action);
    if (POSITION pos = FindMeta(name)) {
        // A tag that already has the value keeps its bytes, however written.
        if (MetaAlreadyIs(pos, value, httpEquiv, action, text))
            return 1;
        CHtmlTag& tag = static_cast<CTagSection*>(pos)->EditTag();
        if (keep)
            text = EditedMetaTag(tag, name, value, httpEquiv, action);
        tag.SetTagText(std::move(text));
        Changed(pos);
        ++m_nChanges;
        // The tag is known by the same name as before, whatever it was written
        // with; should it not be, the index is made again when next needed.
        std::string key;
        MetaKey(static_cast<const CTagSection*>(pos)->Tag(), key, nullptr);
        if (MetaNameKey(key) != MetaNameKey(name))
            m_metaIndexValid = false;
        return 1;
    }
    POSITION tag = InsertMeta(name, value, httpEquiv, action);
    if (!tag)
        return 0;
    ++m_nChanges;
    IndexNewMeta(tag);
    return 1;
}

int CHtmlPage::SetMeta(std::string_view name, std::string_view value, int httpEquiv) {
    const unsigned before = m_nChanges;
    const int result = WriteMeta(name, value, httpEquiv, nullptr);
    if (m_nChanges != before)
        Record({WriteKind::META, std::string(name), std::string(value), httpEquiv ? 1 : 0, 0});
    return result;
}

int CHtmlPage::SetMetaWithAction(std::string_view name, std::string_view value, int httpEquiv,
                                 int action) {
    const unsigned before = m_nChanges;
    const int result = WriteMeta(name, value, httpEquiv, &action);
    if (m_nChanges != before)
        Record({WriteKind::TEMPLATE_META, std::string(name), std::string(value), httpEquiv ? 1 : 0,
                action});
    return result;
}

int CHtmlPage::RemoveMeta(std::string_view name) {
    const unsigned before = m_nChanges;
    const int result = DeleteMeta(name);
    if (m_nChanges != before)
        Record({WriteKind::REMOVE, std::string(name), {}, 0, 0});
    return result;
}

int CHtmlPage::DeleteMeta(std::string_view name) {
    POSITION pos = FindMeta(name);
    if (!pos)
        return 1;
    // The tag is the first of its name (FindMeta found it).
    MetaIndexEntry& entry = m_metaIndex[MetaNameKey(name)];
    ++entry.head;
    RemoveHeadTag(pos);
    return 1;
}

void CHtmlPage::RemoveHeadTag(POSITION pos) {
    if (m_insertPos == pos)
        m_insertPosValid = false;
    if (m_lastNewMeta == pos)
        m_lastNewMeta = nullptr;
    if (m_style == HeadStyle::KEEP && !IsInTail(pos)) {
        RemoveTagKeepingLines(pos);
    } else {
        // In the part kept as read only the tag itself goes; the text around
        // it stays.
        POSITION next = IsInTail(pos) ? nullptr : SplitRun(pos->m_next);
        if (next) {
            std::string text;
            next->AppendText(text);
            if (IsBlank(text))
                RemoveAt(next);
        }
        RemoveAt(pos);
    }
    ++m_nChanges;
}

int CHtmlPage::SetTitle(std::string_view title) {
    const unsigned before = m_nChanges;
    const int result = WriteTitle(title, false);
    if (m_nChanges != before)
        Record({WriteKind::TITLE, {}, std::string(title), 0, 0});
    return result;
}

// Writes the title; createEmpty: an empty title gets title tags of its own even
// where the page has none (a template stores its title's action on them).
int CHtmlPage::WriteTitle(std::string_view title, bool createEmpty) {
    // In the page's own style a title brings no CR into a page without one.
    std::string ownLines;
    if (m_style == HeadStyle::KEEP && !GetPageStyle().hasCr) {
        ownLines = WithLineEnds(title, "\n");
        title = ownLines;
    }
    const std::string escaped = EscapeAngleBrackets(title);
    const auto insertTitleBefore = [&](POSITION before) {
        // A page without a title has the title "": writing "" changes nothing.
        if (escaped.empty() && !createEmpty)
            return;
        InsertAtPlace(
            OutsideServerBlocks({before, Side::BEFORE}),
            {new CTagSection("<title>"), NewTextSection(escaped), new CTagSection("</title>")},
            false);
        ++m_nChanges;
    };
    const auto isTitleClose = [this](POSITION pos) {
        const CHtmlTag* tag = TagAt(pos);
        return tag && tag->GetElementRow() == ROW_TITLE && tag->GetKind() == TAG_CLOSE;
    };
    // The title is written where GetTitle reads it: the text after the first
    // title tag before the body. Without one it goes before the first
    // "</head>" or else before the body; a title tag in the body (an SVG
    // title, say) is not the page's title, and in preserve-body mode nothing
    // there may change.
    POSITION titleTag = nullptr;
    POSITION headClose = nullptr;
    POSITION body = nullptr;
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        const CHtmlTag* tag = TagAt(s);
        const int row = tag ? tag->GetElementRow() : -1;
        if (s->m_inTail || row == ROW_BODY) {
            body = s;
            break;
        }
        if (row == ROW_TITLE && s->m_next) {
            titleTag = s;
            break;
        }
        if (row == ROW_HEAD && tag->GetKind() == TAG_CLOSE && !headClose)
            headClose = s;
    }
    if (!titleTag) {
        POSITION place = headClose ? headClose : body;
        if (!place)
            return 0;
        insertTitleBefore(place);
        return 1;
    }
    CHtmlSection* after = SplitRun(titleTag->m_next);
    POSITION textPos;
    if (after->GetType() == SECTION_TEXT) {
        CTextSection* text = static_cast<CTextSection*>(after);
        // The title as read (GetTitle) is what is stored; a write of it
        // changes nothing, not even a missing "</title>".
        if (text->Text() == escaped || text->Text() == title)
            return 1;
        // A title read with line breaks of another kind is written back as
        // it stands.
        if (m_style == HeadStyle::KEEP) {
            const std::string read = WithLineEnds(text->Text(), "\n");
            if (read == WithLineEnds(escaped, "\n") || read == WithLineEnds(title, "\n"))
                return 1;
        }
        text->SetBytes(escaped);
        text->Touch();
        Changed(after);
        ++m_nChanges;
        textPos = after;
    } else if (escaped.empty()) {
        return 1; // the title reads as "" already
    } else {
        textPos = InsertBefore(after, std::make_unique<CTextSection>(escaped));
        ++m_nChanges;
    }
    CHtmlSection* close = SplitRun(textPos->m_next);
    if (isTitleClose(close))
        return 1;
    // The title text is not followed by "</title>": say so and repair it.
    if (close && m_prompt)
        m_prompt->Info(close->GetText() + "\r\nIs not </title>?");
    InsertAfter(textPos, std::make_unique<CTagSection>("</title>"));
    ++m_nChanges;
    return 1;
}

void CHtmlPage::SetTitleWithAction(std::string_view title, int action) {
    const unsigned before = m_nChanges;
    if (!WriteTitle(title, true))
        return;
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        const CHtmlTag* tag = TagAt(s);
        if (!tag || tag->GetElementRow() != ROW_TITLE || !s->m_next)
            continue;
        int current = 0;
        if (!tag->GetAttributeInt("action", current) || current != action) {
            CHtmlTag& edit = static_cast<CTagSection*>(s)->EditTag();
            const std::string number = std::to_string(action);
            if (m_style == HeadStyle::KEEP) {
                const std::string_view raw = edit.GetRawText();
                edit.SetTagText(
                    WithRawAttribute(raw, HasUpperCaseName(raw) ? "ACTION" : "action", number));
                // A tag too broken to take the attribute in place is written anew.
                if (!edit.GetAttributeInt("action", current) || current != action)
                    edit.SetTagText("<title action=\"" + number + "\">");
            } else {
                edit.SetAttribute("action", number);
            }
            Changed(s);
            ++m_nChanges;
        }
        break;
    }
    if (m_nChanges != before)
        Record({WriteKind::TEMPLATE_TITLE, {}, std::string(title), 0, action});
}
