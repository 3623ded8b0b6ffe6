// Cutting the page text into sections.
#include <algorithm>
#include <cstring>

#include "page/element_table.h"
#include "page/html_page.h"
#include "page/page_names.h"
#include "page/tag_scan.h"

namespace {

// Bytes that end a plain run inside a tag: the end and the two quotes.
struct TagStopTable {
    bool stop[256];
    constexpr TagStopTable() : stop() {
        stop[static_cast<unsigned char>('>')] = true;
        stop[static_cast<unsigned char>('\'')] = true;
        stop[static_cast<unsigned char>('"')] = true;
    }
};
constexpr TagStopTable kTagStops;

// End of the tag that starts at p (one past its ">", or n): a ">" inside an
// apostrophe- or quote-delimited run does not end it.
size_t TagEnd(const char* s, size_t p, size_t n) {
    size_t i = p + 1;
    while (i < n) {
        while (i < n && !kTagStops.stop[static_cast<unsigned char>(s[i])])
            ++i;
        if (i >= n)
            return n;
        const char c = s[i];
        if (c == '>')
            return i + 1;
        const void* close = std::memchr(s + i + 1, c, n - i - 1);
        if (!close)
            return n;
        i = static_cast<size_t>(static_cast<const char*>(close) - s) + 1;
    }
    return n;
}

// Whether the tag piece at s may open a raw-text element: its name starts with
// a letter one of them starts with (after white space, which normalizing drops).
inline bool MayOpenRawText(const char* s, size_t size) {
    if (size < 2)
        return false;
    switch (s[1] | 0x20) {
    case 's': // script, style
    case 't': // title, textarea
    case 'x': // xmp
    case 'i': // iframe
    case 'n': // noembed, noframes, noscript
    case 'p': // plaintext
        return true;
    default:
        return s[1] == ' ' || s[1] == '\t' || s[1] == '\r' || s[1] == '\n';
    }
}

// The elements whose content a browser reads as text up to their end tag.
struct RawTextElement {
    std::string_view name;
    int row;
    // Left open, the content runs to the end of the page, as in a browser.
    // A title does not: its text is what a title write replaces, and taking
    // the page after it along would lose that.
    bool toEndWhenOpen;
    // Never ends (plaintext).
    bool endless;
};

const RawTextElement* RawTextElementOf(int row) {
    static const RawTextElement elements[] = {
        {"script", ROW_SCRIPT, true, false},
        {"style", ROW_STYLE, true, false},
        {"title", ROW_TITLE, false, false},
        {"textarea", FindElement("textarea"), true, false},
        {"xmp", FindElement("xmp"), true, false},
        {"iframe", FindElement("iframe"), true, false},
        {"noembed", FindElement("noembed"), true, false},
        {"noframes", FindElement("noframes"), true, false},
        {"noscript", FindElement("noscript"), true, false},
        {"plaintext", FindElement("plaintext"), true, true},
    };
    for (const RawTextElement& e : elements) {
        if (e.row == row)
            return &e;
    }
    return nullptr;
}

bool IsTagSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The plain name of a raw tag text in lower case, as ClassifyFast reads it
// ("" when the tag does not start in the ordinary way).
std::string_view LoweredPlainName(std::string_view raw, char (&buffer)[16]) {
    const size_t start = raw.size() > 1 && raw[1] == '/' ? 2 : 1;
    size_t end = start;
    while (end < raw.size() && end - start < sizeof buffer) {
        const char c = raw[end];
        if (IsTagSpace(c) || c == '<' || c == '=' || c == '>' || c == '/' || c == '\'' || c == '"')
            break;
        buffer[end - start] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        ++end;
    }
    if (end - start >= sizeof buffer)
        return "-"; // longer than any name looked for
    return {buffer, end - start};
}

size_t Find(const char* s, size_t from, size_t n, std::string_view what) {
    if (from >= n)
        return std::string_view::npos;
    const void* at = memmem(s + from, n - from, what.data(), what.size());
    return at ? static_cast<size_t>(static_cast<const char*>(at) - s) : std::string_view::npos;
}

} // namespace

// Cuts the piece of text that starts at p, the text being s[0, n). lastGt is
// the offset of the last ">" of the whole text (npos when none); cutting a part
// of the text gives the pieces the whole text has there, as long as none of
// them crosses the end of the part. noCommentEndFrom remembers a failed
// search for "-->", which fails from any later offset too.
CHtmlPage::Piece CHtmlPage::CutPiece(const char* s, size_t p, size_t n, size_t lastGt,
                                     size_t& noCommentEndFrom) {
    if (s[p] != '<') {
        const void* lt = std::memchr(s + p, '<', n - p);
        return {SECTION_TEXT, p, lt ? static_cast<size_t>(static_cast<const char*>(lt) - s) : n};
    }
    if (lastGt == std::string_view::npos || lastGt < p + 2) {
        // Nothing after this "<" can end a tag: the rest is text, so that it
        // is written back rather than lost.
        return {SECTION_TEXT, p, n};
    }
    if (n - p >= 4 && std::memcmp(s + p, "<!--", 4) == 0) {
        size_t close = std::string_view::npos;
        if (noCommentEndFrom == std::string_view::npos || p + 4 < noCommentEndFrom) {
            close = Find(s, p + 4, n, "-->");
            if (close == std::string_view::npos)
                noCommentEndFrom = p + 4;
        }
        if (close == std::string_view::npos)
            return {SECTION_COMMENT, p, p + 4, true};
        return {SECTION_COMMENT, p, close + 3};
    }
    if (p + 1 < n && (s[p + 1] == '?' || s[p + 1] == '%')) {
        const char marker[2] = {s[p + 1], '>'};
        const size_t close = Find(s, p, n, std::string_view(marker, 2));
        return {SECTION_SCRIPT, p, close == std::string_view::npos ? n : close + 2};
    }
    return {SECTION_TAG, p, TagEnd(s, p, n)};
}

namespace {

// Memory that any kind of section fits in.
constexpr size_t kAnySectionSize = std::max(
    {sizeof(CTextSection), sizeof(CScriptSection), sizeof(CTagSection), sizeof(CCommentSection)});
constexpr size_t kAnySectionAlign = std::max({alignof(CTextSection), alignof(CScriptSection),
                                              alignof(CTagSection), alignof(CCommentSection)});

} // namespace

CHtmlSection* CHtmlPage::NewPiece(const char* s, const Piece& piece, void* memory) {
    const std::string_view bytes(s + piece.begin, piece.end - piece.begin);
    const auto place = [&](size_t size, size_t align) {
        return memory ? memory : m_arena.Allocate(size, align);
    };
    CHtmlSection* section;
    switch (piece.type) {
    case SECTION_COMMENT:
        section = new (place(sizeof(CCommentSection), alignof(CCommentSection))) CCommentSection(
            CCommentSection::FromSource{},
            piece.unterminated ? bytes.substr(4, 0) : bytes.substr(4, bytes.size() - 7),
            piece.unterminated);
        break;
    case SECTION_SCRIPT:
        section = new (place(sizeof(CScriptSection), alignof(CScriptSection)))
            CScriptSection(CScriptSection::FromSource{}, bytes);
        break;
    case SECTION_TAG:
        section = new (place(sizeof(CTagSection), alignof(CTagSection)))
            CTagSection(CTagSection::FromSource{}, bytes);
        break;
    default:
        section = new (place(sizeof(CTextSection), alignof(CTextSection)))
            CTextSection(CTextSection::FromSource{}, bytes);
        break;
    }
    section->m_inArena = 1;
    section->m_fromSource = 1;
    return section;
}

CHtmlSection* CHtmlPage::NewRun(size_t begin, size_t end) {
    void* memory = m_arena.Allocate(kAnySectionSize, kAnySectionAlign);
    CHtmlSection* run = NewPiece(m_source.data(), Piece{SECTION_TEXT, begin, end}, memory);
    run->m_run = 1;
    return run;
}

size_t CHtmlPage::RawTextEnd(const char* s, const Piece& piece, size_t n, int& rawRow) {
    if (piece.type != SECTION_TAG)
        return std::string_view::npos;
    const std::string_view raw(s + piece.begin, piece.end - piece.begin);
    // Most tags are told apart by their first letters, before the tag is
    // classified as the model classifies it.
    size_t first = 1;
    while (first < raw.size() && IsTagSpace(raw[first]))
        ++first;
    if (first >= raw.size())
        return std::string_view::npos;
    switch (raw[first] | 0x20) {
    case 's':
    case 't':
    case 'x':
    case 'i':
    case 'n':
    case 'p':
        break;
    default:
        return std::string_view::npos;
    }
    CHtmlTag tag;
    tag.SetParsedText(raw);
    const RawTextElement* element = RawTextElementOf(tag.GetElementRow());
    if (!element || tag.GetKind() != TAG_OPEN)
        return std::string_view::npos;
    // A tag closed in itself (XHTML's <script src="x"/>) holds no content here:
    // taking all up to a later end tag as its content could hide the head.
    if (tag.GetNormalizedText().ends_with("/>"))
        return std::string_view::npos;
    rawRow = element->row;
    if (element->endless)
        return n;
    const std::string_view name = element->name;
    // The content ends at the first "</" + name (any case) followed by white
    // space, "/", ">" or the end, as a browser ends it.
    for (size_t i = piece.end; i + 2 + name.size() <= n;) {
        const void* lt = std::memchr(s + i, '<', n - i);
        if (!lt)
            break;
        i = static_cast<size_t>(static_cast<const char*>(lt) - s);
        if (i + 2 + name.size() > n)
            break;
        bool match = s[i + 1] == '/';
        for (size_t k = 0; match && k < name.size(); ++k) {
            char c = s[i + 2 + k];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
            match = c == name[k];
        }
        const size_t after = i + 2 + name.size();
        if (match && (after == n || s[after] == ' ' || s[after] == '\t' || s[after] == '\n' ||
                      s[after] == '\f' || s[after] == '\r' || s[after] == '/' || s[after] == '>'))
            return i;
        ++i;
    }
    return element->toEndWhenOpen ? n : std::string_view::npos;
}

void CHtmlPage::Append(CHtmlSection* section) {
    section->m_prev = m_last;
    if (m_last)
        m_last->m_next = section;
    else
        m_head = section;
    m_last = section;
    ++m_count;
}

POSITION CHtmlPage::SplitRun(POSITION pos) {
    if (!pos || !pos->m_run)
        return pos;
    const std::string_view bytes = static_cast<const CTextSection*>(pos)->Text();
    const char* s = m_source.data();
    const size_t begin = static_cast<size_t>(bytes.data() - s);
    const size_t end = begin + bytes.size();
    size_t noCommentEndFrom = std::string_view::npos;
    const Piece piece = CutPiece(s, begin, end, m_lastGt, noCommentEndFrom);
    if (piece.end >= end) {
        // The run is this one piece: it becomes the piece's section in place
        // (runs have room for any kind), so that its position stays valid.
        CHtmlSection* prev = pos->m_prev;
        CHtmlSection* next = pos->m_next;
        const bool inTail = pos->m_inTail;
        std::destroy_at(static_cast<CTextSection*>(pos));
        CHtmlSection* section = NewPiece(s, piece, pos);
        section->m_prev = prev;
        section->m_next = next;
        section->m_inTail = inTail;
        return section;
    }
    CHtmlSection* first = NewPiece(s, piece);
    first->m_inTail = pos->m_inTail;
    // Link it before the run without counting as a change: the text stays.
    first->m_prev = pos->m_prev;
    first->m_next = pos;
    if (pos->m_prev)
        pos->m_prev->m_next = first;
    else
        m_head = first;
    pos->m_prev = first;
    ++m_count;
    static_cast<CTextSection*>(pos)->SetView(bytes.substr(piece.end - begin));
    return first;
}

size_t CHtmlPage::TailCutLimit(size_t from, int headTagsBefore, int bodyKind) const {
    // Meta tags anywhere are read. A head tag there ends the walk for the
    // place of new meta tags, unless two before the body did already; and
    // when the first body tag closes, the opening one is a landmark.
    TagNameSet names;
    names.meta = true;
    names.head = headTagsBefore < 2;
    names.body = bodyKind != TAG_OPEN;
    const size_t last = LastPossibleTag(m_source, from, names);
    return last == std::string_view::npos ? from : last + 1;
}

void CHtmlPage::Parse(SectionDetail detail, std::optional<size_t> lastGtOfWhole) {
    const char* s = m_source.data();
    const size_t n = m_source.size();
    const void* lastGtPtr = n ? memrchr(s, '>', n) : nullptr;
    m_lastGt = lastGtOfWhole ? *lastGtOfWhole
               : lastGtPtr   ? static_cast<size_t>(static_cast<const char*>(lastGtPtr) - s)
                             : std::string_view::npos;
    size_t noCommentEndFrom = std::string_view::npos;

    // Which pieces get sections of their own. Reads and writes look only at
    // meta, head, body, title, link and html tags (and at the piece after some
    // of them, which a run gives up on demand, see SplitRun), and at
    // server-script blocks, which decide where a new tag may go; a normalizing
    // rebuild needs the pieces that are not written back as read (tags not in
    // normal form, unterminated comments). Everything else is gathered into
    // verbatim runs. In preserve-body mode the part before the first body tag
    // is cut into all its pieces; after it nothing is rewritten, so only the
    // tags that reads need there are cut out, up to the last place one may
    // stand (see TailCutLimit), and the rest is one run.
    const bool all = detail == SectionDetail::ALL;
    const bool normalize = m_style == HeadStyle::NORMALIZE;
    const bool preserve = m_bPreserveBody != 0;
    bool inTail = false;
    size_t cutLimit = n;
    int headTags = 0;
    size_t runStart = std::string_view::npos;
    const auto endRun = [&](size_t end) {
        if (runStart == std::string_view::npos)
            return;
        CHtmlSection* run = NewRun(runStart, end);
        run->m_inTail = inTail;
        Append(run);
        runStart = std::string_view::npos;
    };
    // Whether a piece must have a section of its own.
    const auto needed = [&](const Piece& piece) {
        if (all || (preserve && !inTail))
            return true;
        if (piece.type == SECTION_SCRIPT)
            return !preserve;
        if (piece.type == SECTION_COMMENT)
            return normalize && !preserve && piece.unterminated;
        if (piece.type != SECTION_TAG)
            return false;
        const std::string_view raw(s + piece.begin, piece.end - piece.begin);
        if (preserve) {
            // Only meta, head and body tags count here: most tags are told
            // apart by their plain name without classifying them.
            char buffer[16];
            const std::string_view plain = LoweredPlainName(raw, buffer);
            if (!plain.empty() && plain != "meta" && plain != "head" && plain != "body")
                return false;
        }
        CHtmlTag tag;
        tag.SetParsedText(raw);
        const int row = tag.GetElementRow();
        if (row == ROW_META || row == ROW_HEAD || row == ROW_BODY)
            return true;
        return !preserve && (row == ROW_TITLE || row == ROW_LINK || row == ROW_HTML ||
                             (normalize && !IsNormalizedTagText(raw, tag.IsDeclaration())));
    };

    // Where the end tag of the last raw-text element starts, its row, and
    // whether that element stays in a run.
    size_t rawCloseAt = std::string_view::npos;
    int rawCloseRow = -1;
    bool rawInRun = false;
    for (size_t p = 0; p < n;) {
        if (p >= cutLimit) {
            if (runStart == std::string_view::npos)
                runStart = p;
            break;
        }
        const Piece piece = CutPiece(s, p, n, m_lastGt, noCommentEndFrom);
        p = piece.end;
        // An end tag that ends a raw-text element needs a section of its own
        // (unless its element is in a run): it is written as read where its
        // normal form might no longer end the element ("</script\n<>" would
        // become "</script<>"), and always for scripts and styles.
        const bool rawClose = piece.begin == rawCloseAt && piece.type == SECTION_TAG && !rawInRun;
        int rawRow = -1;
        const size_t rawEnd =
            piece.type == SECTION_TAG && MayOpenRawText(s + piece.begin, piece.end - piece.begin)
                ? RawTextEnd(s, piece, n, rawRow)
                : std::string_view::npos;
        if (!rawClose && !needed(piece)) {
            if (runStart == std::string_view::npos)
                runStart = piece.begin;
        } else {
            endRun(piece.begin);
            CHtmlSection* section = NewPiece(s, piece);
            if (rawClose) {
                CHtmlTag& tag = static_cast<CTagSection*>(section)->m_tag;
                const std::string_view name = RawTextElementOf(rawCloseRow)->name;
                const std::string normal = NormalizeTagText(tag.GetRawText(), tag.IsDeclaration());
                const bool endsIt =
                    normal.size() > name.size() + 2 &&
                    std::string_view(normal).substr(2, name.size()) == name &&
                    (normal[name.size() + 2] == ' ' || normal[name.size() + 2] == '>' ||
                     normal[name.size() + 2] == '/');
                if (rawCloseRow == ROW_SCRIPT || rawCloseRow == ROW_STYLE || !endsIt)
                    tag.KeepRawText();
            }
            Append(section);
            if (section->GetType() == SECTION_TAG && !inTail) {
                const CHtmlTag& tag = static_cast<CTagSection*>(section)->Tag();
                const int row = tag.GetElementRow();
                if (row == ROW_HEAD) {
                    ++headTags;
                } else if (row == ROW_BODY && preserve) {
                    inTail = true;
                    m_tailStart = piece.begin;
                    m_tailSection = section;
                    if (!all)
                        cutLimit = TailCutLimit(piece.end, headTags, tag.GetKind());
                }
            }
            section->m_inTail = inTail;
        }
        // The content of a raw-text element is one text section of its own,
        // so that nothing cuts tags out of it. Only in the part of a page kept
        // as read, where no write cuts runs, does it stay in the run that holds
        // its tag (a run parsed again cuts it the same way).
        if (rawEnd != std::string_view::npos && rawEnd > piece.end) {
            rawCloseAt = rawEnd;
            rawCloseRow = rawRow;
            rawInRun = preserve && !all && inTail && runStart != std::string_view::npos;
            p = rawEnd;
            if (rawInRun)
                continue;
            endRun(piece.end);
            CHtmlSection* content = NewPiece(s, Piece{SECTION_TEXT, piece.end, rawEnd});
            content->m_inTail = inTail;
            Append(content);
        }
    }
    endRun(n);
}
