// Cutting the page text into sections.
#include <algorithm>
#include <cstring>

#include "page/html_page.h"
#include "page/page_names.h"

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

// Whether the tag piece at s may open a script or style element: its name
// starts with "s" (after white space, which normalizing drops).
inline bool MayOpenRawText(const char* s, size_t size) {
    if (size < 2)
        return false;
    const char c = static_cast<char>(s[1] | 0x20);
    return c == 's' || s[1] == ' ' || s[1] == '\t' || s[1] == '\r' || s[1] == '\n';
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

size_t CHtmlPage::RawTextEnd(const char* s, const Piece& piece, size_t n) const {
    if (piece.type != SECTION_TAG)
        return std::string_view::npos;
    const std::string_view raw(s + piece.begin, piece.end - piece.begin);
    // Most tags are told apart by their first letters, before the tag is
    // classified as the model classifies it.
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t first = 1;
    while (first < raw.size() && isSpace(raw[first]))
        ++first;
    const auto startsWith = [&](std::string_view name) {
        if (raw.size() - first < name.size())
            return false;
        for (size_t k = 0; k < name.size(); ++k) {
            if ((raw[first + k] | 0x20) != name[k])
                return false;
        }
        const size_t after = first + name.size();
        return after == raw.size() || isSpace(raw[after]) || raw[after] == '>' || raw[after] == '/';
    };
    if (first >= raw.size() || (raw[first] | 0x20) != 's' ||
        !(startsWith("script") || startsWith("style")))
        return std::string_view::npos;
    CHtmlTag tag;
    tag.SetParsedText(raw);
    const int row = tag.GetElementRow();
    if ((row != ROW_SCRIPT && row != ROW_STYLE) || tag.GetKind() != TAG_OPEN)
        return std::string_view::npos;
    // A tag closed in itself (XHTML's <script src="x"/>) holds no content here:
    // taking all up to a later </script> as its content could hide the head.
    if (tag.GetNormalizedText().ends_with("/>"))
        return std::string_view::npos;
    const std::string_view name = row == ROW_SCRIPT ? "script" : "style";
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
    return std::string_view::npos;
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

void CHtmlPage::Parse(SectionDetail detail, std::optional<size_t> lastGtOfWhole) {
    const char* s = m_source.data();
    const size_t n = m_source.size();
    const void* lastGtPtr = n ? memrchr(s, '>', n) : nullptr;
    m_lastGt = lastGtOfWhole ? *lastGtOfWhole
               : lastGtPtr   ? static_cast<size_t>(static_cast<const char*>(lastGtPtr) - s)
                             : std::string_view::npos;
    size_t noCommentEndFrom = std::string_view::npos;

    // Which pieces get sections of their own. Reads and writes look only at
    // meta, head, body, title, link and html tags (and at the piece after some of them,
    // which a run gives up on demand, see SplitRun); a rebuild needs the pieces
    // that are not written back as read (tags not in normal form, unterminated
    // comments). Everything else is gathered into verbatim runs. In
    // preserve-body mode the part before the first body tag is cut into all
    // its pieces, and after it only the meta, head and body tags count, since
    // nothing there is rewritten.
    const bool compactWhole = detail == SectionDetail::NEEDED && !m_bPreserveBody;
    const bool compactTail = detail == SectionDetail::NEEDED && m_bPreserveBody;
    bool inTail = false;
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
        if (!compactWhole && !(compactTail && inTail))
            return true;
        if (piece.type == SECTION_COMMENT)
            return compactWhole && piece.unterminated;
        if (piece.type != SECTION_TAG)
            return false;
        const std::string_view raw(s + piece.begin, piece.end - piece.begin);
        CHtmlTag tag;
        tag.SetParsedText(raw);
        const int row = tag.GetElementRow();
        if (row == ROW_META || row == ROW_HEAD || row == ROW_BODY)
            return true;
        return compactWhole && (row == ROW_TITLE || row == ROW_LINK || row == ROW_HTML ||
                                !IsNormalizedTagText(raw, tag.IsDeclaration()));
    };

    // Where the end tag of the last script or style element starts, and whether
    // that element stays in a run.
    size_t rawCloseAt = std::string_view::npos;
    bool rawInRun = false;
    for (size_t p = 0; p < n;) {
        const Piece piece = CutPiece(s, p, n, m_lastGt, noCommentEndFrom);
        p = piece.end;
        // An end tag that ends a script or style element is written as read,
        // and so needs a section of its own (unless its element is in a run).
        const bool rawClose = piece.begin == rawCloseAt && piece.type == SECTION_TAG && !rawInRun;
        const size_t rawEnd =
            piece.type == SECTION_TAG && MayOpenRawText(s + piece.begin, piece.end - piece.begin)
                ? RawTextEnd(s, piece, n)
                : std::string_view::npos;
        if (!rawClose && !needed(piece)) {
            if (runStart == std::string_view::npos)
                runStart = piece.begin;
        } else {
            endRun(piece.begin);
            CHtmlSection* section = NewPiece(s, piece);
            if (rawClose)
                static_cast<CTagSection*>(section)->m_tag.KeepRawText();
            Append(section);
            if (m_bPreserveBody && !inTail && section->GetType() == SECTION_TAG &&
                static_cast<CTagSection*>(section)->Tag().GetElementRow() == ROW_BODY) {
                inTail = true;
                m_tailStart = piece.begin;
                m_tailSection = section;
            }
            section->m_inTail = inTail;
        }
        // The content of a script or style element is one text section of its
        // own, so that nothing cuts tags out of it. Only in the part of a page
        // kept as read, where no write cuts runs, does it stay in the run that
        // holds its tag (a run parsed again cuts it the same way).
        if (rawEnd != std::string_view::npos && rawEnd > piece.end) {
            rawCloseAt = rawEnd;
            rawInRun = compactTail && inTail && runStart != std::string_view::npos;
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
