// Where new tags go and how the page's own style shapes them: outside the
// head's server-side conditionals and loops, on a line of their own with the
// line ending and indentation of their neighbour, and removed with their line.
#include <algorithm>
#include <cstdlib>

#include "page/html_page.h"
#include "page/page_names.h"
#include "page/server_blocks.h"
#include "page/tag_attributes.h"

namespace {

const char kSeparator[] = "\r\n\t";

// Lines are not followed further than this: a page without line breaks is
// written to as one long line.
constexpr size_t kLineLimit = 64 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

// The line ending that text ends with ("" when none).
std::string_view EndingOf(std::string_view text) {
    if (text.ends_with("\r\n"))
        return text.substr(text.size() - 2);
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        return text.substr(text.size() - 1);
    return {};
}

std::string_view LeadingBlanks(std::string_view text) {
    size_t k = 0;
    while (k < text.size() && IsBlank(text[k]))
        ++k;
    return text.substr(0, k);
}

size_t TrailingBlanks(std::string_view text) {
    size_t k = 0;
    while (k < text.size() && IsBlank(text[text.size() - 1 - k]))
        ++k;
    return k;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

} // namespace

// --- Server-side blocks ---------------------------------------------------------

bool CHtmlPage::RunsToEnd(POSITION pos) const {
    if (pos->GetType() == SECTION_TAG) {
        // Normalizing repairs such a tag; as read, no ">" outside quotes
        // ends it.
        if (m_style != HeadStyle::KEEP)
            return false;
        const std::string_view raw = static_cast<const CTagSection*>(pos)->Tag().GetRawText();
        char quote = 0;
        for (size_t i = 1; i < raw.size(); ++i) {
            const char c = raw[i];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else if (c == '>') {
                return i + 1 != raw.size();
            }
        }
        return true;
    }
    if (pos->GetType() == SECTION_SCRIPT) {
        const std::string_view text = static_cast<const CScriptSection*>(pos)->Text();
        return text.size() < 3 || !text.ends_with(text[1] == '?' ? "?>" : "%>");
    }
    return false;
}

CHtmlPage::Place CHtmlPage::OutsideServerBlocks(Place place) const {
    // The blocks open at the place, counted from the head's opening tag on:
    // blocks opened before it enclose the whole head, and the tag is in the
    // head whatever they decide.
    const POSITION point = place.side == Side::AFTER ? place.anchor->m_next : place.anchor;
    std::vector<POSITION> open;
    bool headSeen = false;
    const auto apply = [](std::vector<POSITION>& stack, POSITION s) {
        const ServerBlockEffect effect =
            ServerBlockEffectOf(static_cast<const CScriptSection*>(s)->Text());
        for (int k = 0; k < effect.closes && !stack.empty(); ++k)
            stack.pop_back();
        for (int k = 0; k < effect.opens; ++k)
            stack.push_back(s);
    };
    for (POSITION s = m_head; s && s != point; s = s->m_next) {
        if (s->GetType() == SECTION_SCRIPT) {
            apply(open, s);
        } else if (const CHtmlTag* tag = TagAt(s); tag && !headSeen &&
                                                   tag->GetElementRow() == ROW_HEAD &&
                                                   tag->GetKind() == TAG_OPEN) {
            headSeen = true;
            open.clear();
        }
    }
    if (open.empty())
        return place;
    // After the block that closes them all, while still in the head.
    std::vector<POSITION> stack = open;
    for (POSITION s = point; s && !s->m_inTail; s = s->m_next) {
        if (const CHtmlTag* tag = TagAt(s)) {
            const int row = tag->GetElementRow();
            if (row == ROW_BODY || (row == ROW_HEAD && tag->GetKind() == TAG_CLOSE))
                break;
            continue;
        }
        if (s->GetType() != SECTION_SCRIPT)
            continue;
        apply(stack, s);
        // (A block without its end takes all after it along.)
        if (stack.empty() && !RunsToEnd(s))
            return {s, Side::AFTER};
    }
    // Else before the block that opened the outermost of them.
    return {open.front(), Side::BEFORE};
}

// --- The page's own style ---------------------------------------------------------

std::string_view CHtmlPage::WrittenView(const CHtmlSection* section) const {
    // A comment made by an edit has no bytes around its inner text to show.
    if (section->m_type == SECTION_COMMENT && !section->m_fromSource)
        return static_cast<const CCommentSection*>(section)->Inner();
    return SourceBytes(section);
}

const CHtmlPage::PageStyle& CHtmlPage::GetPageStyle() const {
    if (m_pageStyle)
        return *m_pageStyle;
    PageStyle style;
    const char* s = m_source.data();
    const size_t n = m_source.size();
    style.hasCr = m_source.find('\r') != std::string::npos;
    const size_t eol = m_source.find_first_of("\r\n");
    style.lineEnd = eol == std::string::npos            ? ""
                    : s[eol] == '\n'                    ? "\n"
                    : eol + 1 < n && s[eol + 1] == '\n' ? "\r\n"
                                                        : "\r";
    // The tags before the body, read from the text itself, so that the style
    // does not depend on which of them have sections of their own.
    size_t end = std::min(n, m_tailStart);
    if (m_tailStart == std::string::npos) {
        for (const CHtmlSection* sec = m_head; sec; sec = sec->m_next) {
            const CHtmlTag* tag = TagAt(const_cast<CHtmlSection*>(sec));
            if (tag && sec->m_fromSource && tag->GetElementRow() == ROW_BODY) {
                end = static_cast<size_t>(tag->GetRawText().data() - s);
                break;
            }
        }
    }
    end = std::min(end, kLineLimit * 4);
    bool xhtml = false;
    int slash = 0;
    int spaced = 0;
    int plain = 0;
    size_t noCommentEndFrom = std::string::npos;
    for (size_t p = 0; p < end;) {
        const Piece piece = CutPiece(s, p, n, m_lastGt, noCommentEndFrom);
        p = piece.end;
        if (piece.type != SECTION_TAG)
            continue;
        int rawRow = -1;
        const size_t rawEnd = RawTextEnd(s, piece, n, rawRow);
        if (rawEnd != std::string::npos)
            p = std::max(p, rawEnd);
        const std::string_view raw(s + piece.begin, piece.end - piece.begin);
        CHtmlTag tag;
        tag.SetParsedText(raw);
        if (tag.IsDeclaration()) {
            xhtml |= AsciiLower(raw).find("xhtml") != std::string::npos;
            continue;
        }
        if (tag.GetName() == "html" && tag.GetKind() == TAG_OPEN) {
            xhtml |= FindRawAttribute(raw, "xmlns").has_value();
            continue;
        }
        if (tag.GetElementRow() != ROW_META && tag.GetName() != "link")
            continue;
        if (raw.ends_with("/>")) {
            ++slash;
            spaced +=
                raw.size() > 2 && (IsBlank(raw[raw.size() - 3]) || raw[raw.size() - 3] == '\n' ||
                                   raw[raw.size() - 3] == '\r');
        } else if (raw.ends_with(">")) {
            ++plain;
        }
    }
    if ((slash > 0 && slash >= plain) || xhtml)
        style.voidEnd = slash == 0 || spaced * 2 >= slash ? " />" : "/>";
    else
        style.voidEnd = ">";
    m_pageStyle = std::move(style);
    return *m_pageStyle;
}

std::string CHtmlPage::MetaTagInPageStyle(std::string_view name, std::string_view value,
                                          int httpEquiv, const int* action) const {
    std::string text = httpEquiv ? "<meta http-equiv=" : "<meta name=";
    text += QuotedValue(name, '"');
    text += " content=";
    text += QuotedValue(value, '"');
    if (action) {
        text += " action=\"";
        text += std::to_string(*action);
        text += '"';
    }
    text += GetPageStyle().voidEnd;
    return text;
}

std::string CHtmlPage::EditedMetaTag(const CHtmlTag& tag, std::string_view name,
                                     std::string_view value, int httpEquiv,
                                     const int* action) const {
    std::string raw(tag.GetRawText());
    const bool upper = HasUpperCaseName(raw);
    const auto attribute = [upper](std::string_view lower) {
        std::string out(lower);
        if (upper) {
            for (char& c : out)
                c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        }
        return out;
    };
    std::string key;
    int isHttpEquiv = 0;
    MetaKey(tag, key, &isHttpEquiv);
    if ((isHttpEquiv != 0) != (httpEquiv != 0)) {
        // The tag is now known by the other attribute, under the name written.
        const std::string_view from = isHttpEquiv ? "http-equiv" : "name";
        const std::string_view to = httpEquiv ? "http-equiv" : "name";
        raw = WithRawAttributeRenamed(raw, from, to);
        raw = WithRawAttribute(raw, attribute(to), name);
    }
    raw = WithRawAttribute(raw, attribute("content"), value);
    if (action)
        raw = WithRawAttribute(raw, attribute("action"), std::to_string(*action));
    // The tag must read as the write means it, as this model reads tags;
    // one that does not (attributes the model and a browser read apart) is
    // written anew.
    const CHtmlTag edited(raw);
    std::string readKey, content, actionText;
    int readHttpEquiv = 0;
    MetaKey(edited, readKey, &readHttpEquiv);
    bool same = edited.GetElementRow() == ROW_META && MetaNameKey(readKey) == MetaNameKey(name) &&
                (readHttpEquiv != 0) == (httpEquiv != 0) &&
                edited.GetAttribute("content", content) &&
                AttributeValueKey(content, false) == AttributeValueKey(value, false);
    if (same && action) {
        same = edited.GetAttribute("action", actionText) && !actionText.empty() &&
               std::atoi(actionText.c_str()) == *action;
    }
    return same ? raw : MetaTagInPageStyle(name, value, httpEquiv, action);
}

// --- Lines --------------------------------------------------------------------------

CHtmlPage::LineSide CHtmlPage::LineBefore(POSITION pos, size_t skip) const {
    std::vector<std::string_view> parts;
    size_t total = 0;
    LineSide side;
    for (const CHtmlSection* s = pos->m_prev;; s = s->m_prev) {
        if (!s) {
            side.complete = true;
            break;
        }
        std::string_view bytes = WrittenView(s);
        const size_t dropped = std::min(skip, bytes.size());
        bytes.remove_suffix(dropped);
        skip -= dropped;
        const size_t eol = bytes.find_last_of("\r\n");
        if (eol != std::string_view::npos) {
            parts.push_back(bytes.substr(eol + 1));
            side.complete = true;
            break;
        }
        parts.push_back(bytes);
        total += bytes.size();
        if (total > kLineLimit)
            break;
    }
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        side.bytes.append(*it);
    return side;
}

CHtmlPage::LineSide CHtmlPage::LineAfter(POSITION pos, size_t skip) const {
    LineSide side;
    bool afterCr = false; // the bytes so far end in a CR, which a LF may follow
    for (const CHtmlSection* s = pos->m_next;; s = s->m_next) {
        if (!s) {
            side.complete = true;
            break;
        }
        std::string_view bytes = WrittenView(s);
        const size_t dropped = std::min(skip, bytes.size());
        bytes.remove_prefix(dropped);
        skip -= dropped;
        if (bytes.empty())
            continue;
        if (afterCr) {
            if (bytes.front() == '\n')
                side.bytes += '\n';
            side.complete = true;
            break;
        }
        const size_t eol = bytes.find_first_of("\r\n");
        if (eol != std::string_view::npos) {
            size_t end = eol + 1;
            if (bytes[eol] == '\r' && end == bytes.size()) {
                side.bytes.append(bytes);
                afterCr = true;
                continue;
            }
            if (bytes[eol] == '\r' && bytes[end] == '\n')
                ++end;
            side.bytes.append(bytes.substr(0, end));
            side.complete = true;
            break;
        }
        side.bytes.append(bytes);
        if (side.bytes.size() > kLineLimit)
            break;
    }
    return side;
}

void CHtmlPage::SetTextBytes(CHtmlSection* section, std::string_view bytes) {
    auto* text = static_cast<CTextSection*>(section);
    if (text->m_ownsBytes)
        text->SetBytes(bytes);
    else
        text->SetView(bytes);
    Changed(section);
}

void CHtmlPage::RemoveBytesBefore(POSITION pos, size_t count) {
    while (count > 0) {
        CHtmlSection* s = pos->m_prev;
        if (!s || s->GetType() != SECTION_TEXT)
            return;
        const std::string_view bytes = static_cast<const CTextSection*>(s)->Text();
        if (count >= bytes.size()) {
            count -= bytes.size();
            RemoveAt(s);
            continue;
        }
        SetTextBytes(s, bytes.substr(0, bytes.size() - count));
        count = 0;
    }
}

void CHtmlPage::RemoveBytesAfter(POSITION pos, size_t count) {
    while (count > 0) {
        CHtmlSection* s = pos->m_next;
        if (!s || s->GetType() != SECTION_TEXT)
            return;
        const std::string_view bytes = static_cast<const CTextSection*>(s)->Text();
        if (count >= bytes.size()) {
            count -= bytes.size();
            RemoveAt(s);
            continue;
        }
        SetTextBytes(s, bytes.substr(count));
        count = 0;
    }
}

POSITION CHtmlPage::SplitText(POSITION pos, size_t at) {
    const std::string_view bytes = static_cast<const CTextSection*>(pos)->Text();
    CHtmlSection* first;
    if (pos->m_fromSource) {
        const size_t begin = static_cast<size_t>(bytes.data() - m_source.data());
        // What is left of a verbatim run is a run as well: the cut falls in
        // a piece of plain text, so both parts hold whole pieces and a part.
        first = pos->m_run ? NewRun(begin, begin + at)
                           : NewPiece(m_source.data(), Piece{SECTION_TEXT, begin, begin + at});
    } else {
        first = new CTextSection(bytes.substr(0, at));
    }
    SetTextBytes(pos, bytes.substr(at));
    return LinkAfter(pos->m_prev, first);
}

POSITION CHtmlPage::BoundaryAfter(POSITION pos, size_t count) {
    POSITION at = pos;
    while (count > 0) {
        POSITION next = at->m_next;
        if (!next || next->GetType() != SECTION_TEXT)
            break;
        const size_t size = static_cast<const CTextSection*>(next)->Text().size();
        if (count >= size) {
            count -= size;
            at = next;
            continue;
        }
        return SplitText(next, count);
    }
    return at;
}

POSITION CHtmlPage::BoundaryBefore(POSITION pos, size_t count) {
    POSITION at = pos;
    while (count > 0) {
        POSITION prev = at->m_prev;
        if (!prev || prev->GetType() != SECTION_TEXT)
            break;
        const size_t size = static_cast<const CTextSection*>(prev)->Text().size();
        if (count >= size) {
            count -= size;
            at = prev;
            continue;
        }
        return SplitText(prev, size - count);
    }
    return at->m_prev;
}

CHtmlSection* CHtmlPage::NewTextSection(std::string_view text) {
    return new CTextSection(text);
}

std::string CHtmlPage::BytesBefore(POSITION pos, size_t skip, size_t count) const {
    std::string out;
    for (const CHtmlSection* s = pos->m_prev; s && out.size() < count; s = s->m_prev) {
        std::string_view bytes = WrittenView(s);
        const size_t dropped = std::min(skip, bytes.size());
        bytes.remove_suffix(dropped);
        skip -= dropped;
        const size_t take = std::min(count - out.size(), bytes.size());
        out.insert(0, bytes.substr(bytes.size() - take));
    }
    return out;
}

std::string CHtmlPage::IndentAfter(POSITION anchor, size_t lineRest) const {
    // A tag after the head's opening tag is indented as the head's content
    // is: as the next line, unless that closes something (an empty head).
    const CHtmlTag* tag = TagAt(anchor);
    if (tag && tag->GetElementRow() == ROW_HEAD && tag->GetKind() == TAG_OPEN) {
        const LineSide next = LineAfter(anchor, lineRest);
        const std::string_view text = next.bytes;
        const std::string_view blanks = LeadingBlanks(text);
        const std::string_view rest = text.substr(blanks.size());
        if (!rest.empty() && !rest.starts_with("</") && rest.front() != '\n' &&
            rest.front() != '\r')
            return std::string(blanks);
    }
    const LineSide line = LineBefore(anchor);
    return line.complete ? std::string(LeadingBlanks(line.bytes)) : std::string();
}

POSITION CHtmlPage::InsertAtPlace(Place place, std::vector<CHtmlSection*> sections,
                                  bool separator) {
    // The new sections go after `after` (at the front when null), between
    // lead and trail text.
    POSITION after = place.side == Side::AFTER ? place.anchor : place.anchor->m_prev;
    std::string lead, trail;
    if (m_style == HeadStyle::NORMALIZE) {
        if (separator)
            lead = kSeparator;
    } else if (place.side == Side::AFTER) {
        // A line of its own after the anchor's, when nothing else follows
        // the anchor there.
        const LineSide rest = LineAfter(place.anchor);
        const std::string_view ending = EndingOf(rest.bytes);
        const std::string_view text =
            std::string_view(rest.bytes).substr(0, rest.bytes.size() - ending.size());
        if (rest.complete && AllBlank(text)) {
            const std::string indent = IndentAfter(place.anchor, rest.bytes.size());
            if (ending.empty()) {
                // The page ends on this line: a line of its own only in a
                // page that has lines.
                const std::string& lineEnd = GetPageStyle().lineEnd;
                if (!lineEnd.empty())
                    lead = lineEnd + indent;
            } else {
                after = BoundaryAfter(place.anchor, rest.bytes.size());
                lead = indent;
                trail = ending;
            }
        }
    } else {
        // A line of its own before the anchor's, when the anchor begins it.
        const LineSide line = LineBefore(place.anchor);
        if (line.complete && AllBlank(line.bytes)) {
            // It ends as the line it follows does, else as the anchor's own
            // line, else as the page's first.
            const std::string lastTwo = BytesBefore(place.anchor, line.bytes.size(), 2);
            const std::string_view ending = EndingOf(lastTwo);
            std::string endingText(ending);
            if (endingText.empty())
                endingText = std::string(EndingOf(LineAfter(place.anchor).bytes));
            if (endingText.empty())
                endingText = GetPageStyle().lineEnd;
            std::string indent = line.bytes;
            const CHtmlTag* tag = TagAt(place.anchor);
            if (tag && tag->GetKind() == TAG_CLOSE && !ending.empty()) {
                // Before a closing tag ("</head>"), as the line above it.
                const LineSide above = LineBefore(place.anchor, line.bytes.size() + ending.size());
                if (above.complete)
                    indent = std::string(LeadingBlanks(above.bytes));
            }
            after = BoundaryBefore(place.anchor, line.bytes.size());
            lead = indent;
            trail = endingText;
        }
    }
    POSITION last = nullptr;
    const auto link = [&](CHtmlSection* s) { after = LinkAfter(after, s); };
    if (!lead.empty())
        link(NewTextSection(lead));
    for (CHtmlSection* s : sections) {
        link(s);
        last = after;
    }
    if (!trail.empty())
        link(NewTextSection(trail));
    return last;
}

void CHtmlPage::RemoveTagKeepingLines(POSITION pos) {
    const LineSide before = LineBefore(pos);
    const LineSide after = LineAfter(pos);
    const std::string_view ending = EndingOf(after.bytes);
    const std::string_view afterText =
        std::string_view(after.bytes).substr(0, after.bytes.size() - ending.size());
    const bool blankAfter = after.complete && AllBlank(afterText);
    if (before.complete && AllBlank(before.bytes) && blankAfter) {
        // The line holds nothing else: it goes whole.
        RemoveBytesBefore(pos, before.bytes.size());
        RemoveBytesAfter(pos, after.bytes.size());
    } else if (blankAfter) {
        // The line goes on before the tag: it ends there now, without blanks.
        RemoveBytesBefore(pos, TrailingBlanks(before.bytes));
        RemoveBytesAfter(pos, afterText.size());
    } else if (before.bytes.empty() || IsBlank(before.bytes.back()) ||
               (before.complete && AllBlank(before.bytes))) {
        // The line goes on after the tag: so does it, without the blanks
        // that set the tag apart.
        RemoveBytesAfter(pos, LeadingBlanks(afterText).size());
    }
    // Else the tag stood right after other text ("<meta a><meta b> </head>"):
    // the blanks after it stay, so that taking away a tag that was added
    // gives back the line as it was.
    RemoveAt(pos);
}
