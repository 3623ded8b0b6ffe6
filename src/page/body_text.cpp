// The plain text of a page's body, for the description and keyword suggestions.
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

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

namespace {

// The walk over the body: visits sections in page order and builds the text.
class BodyTextWalk {
public:
    void Visit(const CHtmlSection* s) {
        switch (s->GetType()) {
        case SECTION_TEXT:
            VisitText(static_cast<const CTextSection*>(s)->Text());
            break;
        case SECTION_TAG:
            VisitTag(static_cast<const CTagSection*>(s)->Tag());
            break;
        case SECTION_COMMENT:
            if (m_out.empty() || m_out.back() != ' ')
                m_out += ' ';
            break;
        default:
            break; // script blocks are not part of the text
        }
    }
    std::string Result() const {
        const size_t first = m_out.find_first_not_of(" \t\r\n\v\f");
        if (first == std::string::npos)
            return {};
        const size_t last = m_out.find_last_not_of(" \t\r\n\v\f");
        return m_out.substr(first, last - first + 1);
    }

private:
    void VisitText(std::string_view text) {
        if (!m_collapse) {
            AppendTextItem(m_out, text);
            m_afterWord = true;
            return;
        }
        // Runs of white space and control characters become one space; bytes
        // from 0x80 on are letters of UTF-8 or a single-byte code page, so they
        // count as word characters.
        m_collapsed.clear();
        for (char c : text) {
            if (static_cast<unsigned char>(c) > ' ') {
                m_collapsed += c;
                m_afterWord = true;
            } else if (m_afterWord) {
                m_collapsed += ' ';
                m_afterWord = false;
            }
        }
        AppendTextItem(m_out, m_collapsed);
    }
    void VisitTag(const CHtmlTag& tag) {
        // A tag ends a word, except an opening italic or bold tag.
        if ((m_out.empty() || m_out.back() != ' ') && !IsItalicOrBold(tag.GetNormalizedText()))
            m_out += ' ';
        if (tag.GetKind() == TAG_OPEN)
            m_stack.Push(&tag);
        else if (tag.GetKind() == TAG_CLOSE)
            m_stack.Close(tag.GetName());
        m_collapse = !KeepsText(m_stack.Top());
    }

    std::string m_out;
    std::string m_collapsed;
    ElementStack m_stack;
    bool m_collapse = true;
    bool m_afterWord = true;
};

// Trims white space from both ends of text.
std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n\v\f");
    return std::string(text.substr(first, last - first + 1));
}

// Elements whose content no reader sees: scripts and styles, what shows only
// without scripts, and templates.
bool IsHidden(std::string_view name) {
    return name == "script" || name == "style" || name == "noscript" || name == "template";
}

// The elements that hold a page's main content.
bool IsMainContent(const CHtmlTag& tag) {
    if (tag.GetName() == "main" || tag.GetName() == "article")
        return true;
    std::string role;
    return tag.GetAttribute("role", role) && AsciiLower(TrimAscii(role)) == "main";
}

// The walk for the text a reader sees: as the body text, but hidden elements
// give nothing, and the main content is gathered apart to come first.
class ReaderTextWalk {
public:
    void Visit(const CHtmlSection* s) {
        switch (s->GetType()) {
        case SECTION_TEXT:
            if (m_hidden == 0)
                VisitText(static_cast<const CTextSection*>(s)->Text());
            break;
        case SECTION_TAG:
            VisitTag(static_cast<const CTagSection*>(s)->Tag());
            break;
        case SECTION_COMMENT:
            Separate();
            break;
        default:
            break;
        }
    }
    std::string Result() const {
        std::string main = Trimmed(m_main.text);
        const std::string rest = Trimmed(m_rest.text);
        if (!main.empty() && !rest.empty())
            main += ' ';
        return main + rest;
    }

private:
    struct Output {
        std::string text;
        bool afterWord = true;
    };
    struct Open {
        const CHtmlTag* tag;
        bool hidden;
        bool main;
    };
    Output& Current() { return m_mainDepth ? m_main : m_rest; }
    void Separate() {
        std::string& out = Current().text;
        if (out.empty() || out.back() != ' ')
            out += ' ';
    }
    void VisitText(std::string_view text) {
        Output& out = Current();
        if (!m_collapse) {
            AppendTextItem(out.text, text);
            out.afterWord = true;
            return;
        }
        m_collapsed.clear();
        for (char c : text) {
            if (static_cast<unsigned char>(c) > ' ') {
                m_collapsed += c;
                out.afterWord = true;
            } else if (out.afterWord) {
                m_collapsed += ' ';
                out.afterWord = false;
            }
        }
        AppendTextItem(out.text, m_collapsed);
    }
    void VisitTag(const CHtmlTag& tag) {
        if (!IsItalicOrBold(tag.GetNormalizedText()))
            Separate();
        if (tag.GetKind() == TAG_OPEN) {
            const Open open{&tag, IsHidden(tag.GetName()), IsMainContent(tag)};
            m_stack.push_back(open);
            ++m_open[tag.GetName()];
            m_hidden += open.hidden;
            m_mainDepth += open.main;
        } else if (tag.GetKind() == TAG_CLOSE) {
            Close(tag.GetName());
        }
        m_collapse = !KeepsText(m_stack.empty() ? nullptr : m_stack.back().tag);
    }
    // As the body text's stack: the nearest open element of that name and
    // everything above it close; a name not open changes nothing.
    void Close(std::string_view name) {
        const auto it = m_open.find(name);
        if (it == m_open.end() || it->second == 0)
            return;
        while (!m_stack.empty()) {
            const Open top = m_stack.back();
            m_stack.pop_back();
            --m_open[top.tag->GetName()];
            m_hidden -= top.hidden;
            m_mainDepth -= top.main;
            if (top.tag->GetName() == name)
                return;
        }
    }

    Output m_main;
    Output m_rest;
    std::string m_collapsed;
    std::vector<Open> m_stack;
    std::unordered_map<std::string_view, int> m_open;
    int m_hidden = 0;
    int m_mainDepth = 0;
    bool m_collapse = true;
};

} // namespace

void CHtmlPage::ForEachBodySection(const std::function<void(const CHtmlSection&)>& visit) const {
    if (!m_posBodyOpen)
        return;
    // A verbatim run is cut into its sections for the walk; those pages stay
    // until the end, since a visitor may keep the open tags they hold. When
    // no closing body tag has a section of its own, the first one in a run
    // ends the walk: runs hold none before the opening body tag (body tags
    // there are always sections), so that one is the page's first.
    std::deque<CHtmlPage> runs;
    for (const CHtmlSection* s = m_posBodyOpen; s && s != m_posBodyClose; s = s->m_next) {
        if (!s->m_run) {
            visit(*s);
            continue;
        }
        // The run is cut as it was when the whole text was parsed, where a
        // ">" after the run still counts.
        const std::string_view bytes = static_cast<const CTextSection*>(s)->Text();
        const size_t start = static_cast<size_t>(bytes.data() - m_source.data());
        CHtmlPage& run = runs.emplace_back();
        run.m_source.assign(bytes);
        run.Parse(SectionDetail::ALL, m_lastGt == std::string::npos || m_lastGt < start
                                          ? std::string::npos
                                          : m_lastGt - start);
        for (const CHtmlSection* r = run.m_head; r; r = r->m_next) {
            if (!m_posBodyClose && r->GetType() == SECTION_TAG) {
                const CHtmlTag& tag = static_cast<const CTagSection*>(r)->Tag();
                if (tag.GetElementRow() == ROW_BODY && tag.GetKind() == TAG_CLOSE)
                    return;
            }
            visit(*r);
        }
    }
}

std::string CHtmlPage::GetBodyText() const {
    BodyTextWalk walk;
    ForEachBodySection([&walk](const CHtmlSection& s) { walk.Visit(&s); });
    return walk.Result();
}

std::string CHtmlPage::GetReaderText() const {
    ReaderTextWalk walk;
    ForEachBodySection([&walk](const CHtmlSection& s) { walk.Visit(&s); });
    return walk.Result();
}
