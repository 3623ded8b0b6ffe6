// Writing the title and meta tags into the section list.
#include <string>

#include "page/html_page.h"
#include "page/page_names.h"

namespace {

const char kSeparator[] = "\r\n\t";

std::string MetaTagText(std::string_view name, std::string_view value, int httpEquiv) {
    std::string text = httpEquiv ? "<meta http-equiv=" : "<meta name=";
    text += QuoteAttributeValue(name);
    text += " content=";
    text += QuoteAttributeValue(value);
    return text;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

} // namespace

POSITION CHtmlPage::FindMetaInsertPos() const {
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
    return candidate ? candidate : head;
}

// Inserts a new meta tag (after separator text when asked) after the last meta
// tag or the head tag. When that place lies in the part of the page kept as
// read, the tag goes directly before the first body tag instead, so that it is
// written out.
POSITION CHtmlPage::InsertMeta(std::string tagText, bool separator) {
    POSITION pos = FindMetaInsertPos();
    if (!pos)
        return nullptr;
    if (IsInTail(pos))
        pos = m_tailSection->m_prev;
    POSITION tag = pos ? InsertAfter(pos, std::make_unique<CTagSection>(std::move(tagText)))
                       : InsertBefore(nullptr, std::make_unique<CTagSection>(std::move(tagText)));
    if (separator)
        InsertBefore(tag, std::make_unique<CTextSection>(kSeparator));
    return tag;
}

int CHtmlPage::SetMeta(std::string_view name, std::string_view value, int httpEquiv) {
    if (name.empty())
        return 0;
    std::string text = MetaTagText(name, value, httpEquiv) + "/>";
    if (POSITION pos = FindMeta(name)) {
        static_cast<CTagSection*>(pos)->EditTag().SetTagText(std::move(text));
        Changed(pos);
        return 1;
    }
    return InsertMeta(std::move(text), true) ? 1 : 0;
}

int CHtmlPage::SetMetaWithAction(std::string_view name, std::string_view value, int httpEquiv,
                                 int action) {
    if (name.empty())
        return 0;
    std::string text =
        MetaTagText(name, value, httpEquiv) + " action=\"" + std::to_string(action) + "\"/>";
    if (POSITION pos = FindMeta(name)) {
        static_cast<CTagSection*>(pos)->EditTag().SetTagText(std::move(text));
        Changed(pos);
        return 1;
    }
    return InsertMeta(std::move(text), false) ? 1 : 0;
}

int CHtmlPage::RemoveMeta(std::string_view name) {
    POSITION pos = FindMeta(name);
    if (!pos)
        return 1;
    // In the part kept as read only the tag itself goes; the text around it stays.
    POSITION next = IsInTail(pos) ? nullptr : SplitRun(pos->m_next);
    if (next) {
        std::string text;
        next->AppendText(text);
        if (IsBlank(text))
            RemoveAt(next);
    }
    RemoveAt(pos);
    return 1;
}

int CHtmlPage::SetTitle(std::string_view title) {
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        if (s->m_inTail) {
            // A title tag in the body (an SVG title, say) is not the page's title,
            // and nothing there may change: the title goes before the body.
            InsertBefore(s, std::make_unique<CTagSection>("<title>"));
            InsertBefore(s, std::make_unique<CTextSection>(std::string(title)));
            InsertBefore(s, std::make_unique<CTagSection>("</title>"));
            return 1;
        }
        if (s->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
        const int row = tag.GetElementRow();
        if (row == ROW_TITLE && s->m_next) {
            CHtmlSection* after = SplitRun(s->m_next);
            POSITION textPos;
            if (after->GetType() == SECTION_TEXT) {
                static_cast<CTextSection*>(after)->SetEscapedText(title);
                Changed(after);
                textPos = after;
            } else {
                textPos = InsertBefore(after, std::make_unique<CTextSection>(std::string(title)));
            }
            CHtmlSection* close = SplitRun(textPos->m_next);
            const CHtmlTag* closeTag = TagAt(close);
            if (closeTag && closeTag->GetElementRow() == ROW_TITLE &&
                closeTag->GetKind() == TAG_CLOSE)
                return 1;
            // The title text is not followed by "</title>": say so and repair it.
            if (close && m_prompt)
                m_prompt->Info(close->GetText() + "\r\nIs not </title>?");
            InsertAfter(textPos, std::make_unique<CTagSection>("</title>"));
            return 1;
        }
        if (row == ROW_HEAD && tag.GetKind() == TAG_CLOSE) {
            InsertBefore(s, std::make_unique<CTagSection>("<title>"));
            InsertBefore(s, std::make_unique<CTextSection>(std::string(title)));
            InsertBefore(s, std::make_unique<CTagSection>("</title>"));
            return 1;
        }
    }
    return 0;
}

void CHtmlPage::SetTitleWithAction(std::string_view title, int action) {
    if (!SetTitle(title))
        return;
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        const CHtmlTag* tag = TagAt(s);
        if (tag && tag->GetElementRow() == ROW_TITLE && s->m_next) {
            static_cast<CTagSection*>(s)->EditTag().SetAttribute("action", std::to_string(action));
            Changed(s);
            return;
        }
    }
}
