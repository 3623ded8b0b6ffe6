// The plain text of a page's body, for the description and keyword suggestions.
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page/html_page.h"

namespace {

// Parser classes whose text content is taken as it stands (body, headings,
// paragraphs, lists, tables, "pre" ...): class AND 9 is not 0.
bool KeepsText(const CHtmlTag* top) {
    return top && (top->GetParserClass() & 9) != 0;
}

// The open elements of the walk. Closing a name that is not open changes
// nothing; a count per name answers that without searching the stack, so the
// walk stays linear however the tags nest.
class ElementStack {
public:
    void Push(const CHtmlTag* tag) {
        m_stack.push_back(tag);
        ++m_open[tag->GetName()];
    }
    void Close(std::string_view name) {
        const auto it = m_open.find(name);
        if (it == m_open.end() || it->second == 0)
            return;
        while (!m_stack.empty()) {
            const CHtmlTag* top = m_stack.back();
            m_stack.pop_back();
            --m_open[top->GetName()];
            if (top->GetName() == name)
                return;
        }
    }
    const CHtmlTag* Top() const { return m_stack.empty() ? nullptr : m_stack.back(); }

private:
    std::vector<const CHtmlTag*> m_stack;
    std::unordered_map<std::string_view, int> m_open;
};

// Appends text with CR, LF and TAB as spaces and each pair of spaces as one
// (one pass, so four spaces become two).
void AppendTextItem(std::string& out, std::string_view text) {
    bool pendingSpace = false;
    for (char c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        if (c == ' ') {
            if (pendingSpace) {
                out += ' ';
                pendingSpace = false;
            } else {
                pendingSpace = true;
            }
            continue;
        }
        if (pendingSpace) {
            out += ' ';
            pendingSpace = false;
        }
        out += c;
    }
    if (pendingSpace)
        out += ' ';
}

bool IsItalicOrBold(std::string_view text) {
    if (text.size() != 3 || text[0] != '<' || text[2] != '>')
        return false;
    const char c = text[1];
    return c == 'i' || c == 'I' || c == 'b' || c == 'B';
}

} // namespace

std::string CHtmlPage::GetBodyText() const {
    if (!m_posBodyOpen)
        return {};
    if (m_tailSection) {
        // The part kept as read holds only its meta, head and body tags: read
        // its text from a full parse of that part as it would be written.
        std::string tail;
        AppendTail(tail, m_tailSection);
        CHtmlPage body;
        body.SetText(std::move(tail), 0);
        return body.WalkBodyText();
    }
    return WalkBodyText();
}

std::string CHtmlPage::WalkBodyText() const {
    std::string out;
    if (!m_posBodyOpen)
        return out;
    ElementStack stack;
    bool collapse = true;
    bool afterWord = true;
    std::string collapsed;
    for (const CHtmlSection* s = m_posBodyOpen; s && s != m_posBodyClose; s = s->m_next) {
        switch (s->GetType()) {
        case SECTION_TEXT: {
            const std::string_view text = static_cast<const CTextSection*>(s)->Text();
            if (!collapse) {
                AppendTextItem(out, text);
                afterWord = true;
                break;
            }
            // Runs of white space and control characters become one space;
            // bytes from 0x80 on are letters of UTF-8 or a single-byte code
            // page, so they count as word characters.
            collapsed.clear();
            for (char c : text) {
                if (static_cast<unsigned char>(c) > ' ') {
                    collapsed += c;
                    afterWord = true;
                } else if (afterWord) {
                    collapsed += ' ';
                    afterWord = false;
                }
            }
            AppendTextItem(out, collapsed);
            break;
        }
        case SECTION_TAG: {
            const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
            // A tag ends a word, except an opening italic or bold tag.
            if ((out.empty() || out.back() != ' ') && !IsItalicOrBold(tag.GetNormalizedText()))
                out += ' ';
            if (tag.GetKind() == TAG_OPEN)
                stack.Push(&tag);
            else if (tag.GetKind() == TAG_CLOSE)
                stack.Close(tag.GetName());
            collapse = !KeepsText(stack.Top());
            break;
        }
        case SECTION_COMMENT:
            if (out.empty() || out.back() != ' ')
                out += ' ';
            break;
        default:
            break; // script blocks are not part of the text
        }
    }
    const size_t first = out.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos)
        return {};
    const size_t last = out.find_last_not_of(" \t\r\n\v\f");
    return out.substr(first, last - first + 1);
}
