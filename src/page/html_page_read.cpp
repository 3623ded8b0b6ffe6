// Reading the title, the meta tags and their template actions.
#include <cstdlib>

#include "page/html_page.h"
#include "page/page_names.h"

namespace {

bool HasRow(const CHtmlSection* s, int row) {
    return s->GetType() == SECTION_TAG &&
           static_cast<const CTagSection*>(s)->Tag().GetElementRow() == row;
}

// The quote entities QuoteAttributeValue and other writers use.
struct QuoteEntity {
    std::string_view text;
    char quote;
};
constexpr QuoteEntity kQuoteEntities[] = {{"&quot;", '"'},  {"&#34;", '"'},  {"&#x22;", '"'},
                                          {"&#X22;", '"'},  {"&#39;", '\''}, {"&#x27;", '\''},
                                          {"&#X27;", '\''}, {"&apos;", '\''}};

} // namespace

std::string AttributeValueKey(std::string_view value, bool lowerCase) {
    std::string key;
    key.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '&') {
            const std::string_view rest = value.substr(i);
            bool decoded = false;
            for (const QuoteEntity& entity : kQuoteEntities) {
                if (rest.starts_with(entity.text)) {
                    key += entity.quote;
                    i += entity.text.size() - 1;
                    decoded = true;
                    break;
                }
            }
            if (decoded)
                continue;
        }
        if (lowerCase && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        else if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        key += c;
    }
    return key;
}

std::string MetaNameKey(std::string_view name) {
    return AttributeValueKey(name, true);
}

const CHtmlTag* CHtmlPage::TagAt(POSITION pos) const {
    return pos && pos->GetType() == SECTION_TAG ? &static_cast<const CTagSection*>(pos)->Tag()
                                                : nullptr;
}

void CHtmlPage::FindLandmarks() {
    m_posBodyOpen = m_posBodyClose = nullptr;
    for (CHtmlSection* s = m_head; s && !(m_posBodyOpen && m_posBodyClose); s = s->m_next) {
        if (!HasRow(s, ROW_BODY))
            continue;
        const int kind = static_cast<const CTagSection*>(s)->Tag().GetKind();
        if (kind == TAG_OPEN && !m_posBodyOpen)
            m_posBodyOpen = s;
        else if (kind == TAG_CLOSE && !m_posBodyClose)
            m_posBodyClose = s;
    }
}

// The name a meta tag is known by: its "name" attribute, else its "http-equiv"
// attribute (httpEquiv tells which), as written.
std::string_view CHtmlPage::MetaKey(const CHtmlTag& tag, std::string& buffer,
                                    int* httpEquiv) const {
    tag.GetAttribute("name", buffer);
    if (httpEquiv)
        *httpEquiv = 0;
    if (buffer.empty()) {
        tag.GetAttribute("http-equiv", buffer);
        if (httpEquiv)
            *httpEquiv = 1;
    }
    return buffer;
}

void CHtmlPage::BuildMetaIndex() const {
    m_metaIndex.clear();
    std::string key;
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        if (!HasRow(s, ROW_META))
            continue;
        MetaKey(static_cast<const CTagSection*>(s)->Tag(), key, nullptr);
        // A meta tag with neither name nor http-equiv ("charset", "property")
        // has the key "": it is never the target of a write keyed on a name.
        if (!key.empty())
            m_metaIndex[MetaNameKey(key)].tags.push_back(s);
    }
    m_metaIndexValid = true;
}

POSITION CHtmlPage::FindMeta(std::string_view name) const {
    if (name.empty())
        return nullptr;
    if (!m_metaIndexValid)
        BuildMetaIndex();
    const auto it = m_metaIndex.find(MetaNameKey(name));
    if (it == m_metaIndex.end() || it->second.head >= it->second.tags.size())
        return nullptr;
    return it->second.tags[it->second.head];
}

std::string CHtmlPage::GetMetaContent(std::string_view name) const {
    std::string content;
    if (const CHtmlTag* tag = TagAt(FindMeta(name)))
        tag->GetAttribute("content", content);
    return content;
}

int CHtmlPage::GetMetaAt(int index, std::string& name, std::string& content, int& httpEquiv) const {
    name.clear();
    content.clear();
    if (index < 0)
        return 0;
    // Continue from the last tag found when the caller walks forward.
    int count = 0;
    CHtmlSection* s = m_head;
    if (m_metaCursorPos && index >= m_metaCursorIndex) {
        count = m_metaCursorIndex;
        s = m_metaCursorPos;
    }
    for (; s; s = s->m_next) {
        if (s->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
        if (tag.GetElementRow() == ROW_BODY)
            return 0;
        if (tag.GetElementRow() != ROW_META)
            continue;
        if (count == index) {
            m_metaCursorIndex = index;
            m_metaCursorPos = s;
            MetaKey(tag, name, &httpEquiv);
            tag.GetAttribute("content", content);
            return 1;
        }
        ++count;
    }
    return 0;
}

std::string CHtmlPage::GetTitle() const {
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        if (s->GetType() != SECTION_TAG)
            continue;
        const int row = static_cast<const CTagSection*>(s)->Tag().GetElementRow();
        if (row == ROW_BODY)
            return {};
        if (row == ROW_TITLE && s->m_next)
            return TextAfter(s);
    }
    return {};
}

// The text of the section after pos when that is a text section, else "".
// A verbatim run counts by its first piece.
std::string CHtmlPage::TextAfter(POSITION pos) const {
    const CHtmlSection* next = pos->m_next;
    if (!next || next->GetType() != SECTION_TEXT)
        return {};
    const std::string_view text = static_cast<const CTextSection*>(next)->Text();
    if (!next->m_run)
        return std::string(text);
    const char* s = m_source.data();
    const size_t begin = static_cast<size_t>(text.data() - s);
    size_t noCommentEndFrom = std::string_view::npos;
    const Piece piece = CutPiece(s, begin, begin + text.size(), m_lastGt, noCommentEndFrom);
    if (piece.type != SECTION_TEXT)
        return {};
    return std::string(s + piece.begin, piece.end - piece.begin);
}

int CHtmlPage::GetMetaAction(std::string_view name) const {
    const CHtmlTag* tag = TagAt(FindMeta(name));
    std::string value;
    if (!tag || !tag->GetAttribute("action", value) || value.empty())
        return -1;
    return std::atoi(value.c_str());
}

int CHtmlPage::GetTitleWithAction(std::string& title, int& action) const {
    title.clear();
    for (CHtmlSection* s = m_head; s; s = s->m_next) {
        if (s->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
        if (tag.GetElementRow() == ROW_BODY) {
            action = -1;
            return 0;
        }
        if (tag.GetElementRow() == ROW_TITLE && s->m_next) {
            tag.GetAttributeInt("action", action);
            title = TextAfter(s);
            return 1;
        }
    }
    return 0;
}
