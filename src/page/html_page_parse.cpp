// Cutting the page text into sections.
#include <algorithm>
#include <cstring>

#include "page/html_page.h"
#include "page/page_names.h"

namespace {

// What starts at an offset of the text.
enum SectionStart {
    START_END = 0,
    START_TEXT = 1,
    START_SCRIPT = 2,
    START_TAG = 4,
    START_COMMENT = 8,
    START_UNTERMINATED = -1
};

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

size_t Find(const char* s, size_t from, size_t n, std::string_view what) {
    if (from >= n)
        return std::string_view::npos;
    const void* at = memmem(s + from, n - from, what.data(), what.size());
    return at ? static_cast<size_t>(static_cast<const char*>(at) - s) : std::string_view::npos;
}

} // namespace

template <class Section, class... Args>
Section* CHtmlPage::NewParsed(Args&&... args) {
    void* memory = m_arena.Allocate(sizeof(Section), alignof(Section));
    Section* section = new (memory) Section(typename Section::FromSource{}, args...);
    section->m_inArena = 1;
    section->m_fromSource = 1;
    section->m_prev = m_last;
    if (m_last)
        m_last->m_next = section;
    else
        m_head = section;
    m_last = section;
    ++m_count;
    return section;
}

namespace {

// What the parser needs to know of a tag before it decides whether the tag
// gets a section of its own.
struct TagProbe {
    int row;
    bool normalForm;
};

} // namespace

void CHtmlPage::Parse(SectionDetail detail, std::optional<size_t> lastGtOfWhole) {
    const char* s = m_source.data();
    const size_t n = m_source.size();
    const auto bytes = [s](size_t begin, size_t end) {
        return std::string_view(s + begin, end - begin);
    };
    const auto probe = [](std::string_view raw) {
        CHtmlTag tag;
        tag.SetParsedText(raw);
        return TagProbe{tag.GetElementRow(), IsNormalizedTagText(raw, tag.IsDeclaration())};
    };
    // A "<" with no ">" at or after the next-but-one byte starts no section.
    const void* lastGtPtr = n ? memrchr(s, '>', n) : nullptr;
    const size_t lastGt = lastGtOfWhole ? *lastGtOfWhole
                          : lastGtPtr ? static_cast<size_t>(static_cast<const char*>(lastGtPtr) - s)
                                      : std::string_view::npos;
    m_lastGt = lastGt;
    // Once a search for "-->" failed from some offset, it fails from any later one.
    size_t noCommentEndFrom = std::string_view::npos;

    // Which pieces get sections of their own. Reads and writes look only at
    // meta, head, body and title tags and at the pieces right after meta and
    // title tags; a rebuild needs the pieces that are not written back as
    // read (tags not in normal form, unterminated comments). Everything else is
    // gathered into verbatim runs. In preserve-body mode the part before the
    // first body tag is cut into all its pieces, and after it only the meta,
    // head and body tags count, since nothing there is rewritten.
    const bool compactWhole = detail == SectionDetail::NEEDED && !m_bPreserveBody;
    const bool compactTail = detail == SectionDetail::NEEDED && m_bPreserveBody;
    bool inTail = false;
    int follow = 0; // pieces after a meta or title tag that must stay sections
    size_t runStart = std::string_view::npos;
    // True when the piece at begin goes into a run.
    const auto inRun = [&](size_t begin, auto&& needed) {
        const bool forced = follow > 0;
        if (forced)
            --follow;
        if (!(compactWhole || (compactTail && inTail)) || forced || needed())
            return false;
        if (runStart == std::string_view::npos)
            runStart = begin;
        return true;
    };
    const auto endRun = [&](size_t end) {
        if (runStart == std::string_view::npos)
            return;
        CTextSection* run = NewParsed<CTextSection>(bytes(runStart, end));
        run->m_inTail = inTail;
        run->m_run = 1;
        runStart = std::string_view::npos;
    };
    const auto never = [] { return false; };

    size_t p = 0;
    while (p < n) {
        if (s[p] != '<') {
            const void* lt = std::memchr(s + p, '<', n - p);
            const size_t end = lt ? static_cast<size_t>(static_cast<const char*>(lt) - s) : n;
            if (!inRun(p, never)) {
                endRun(p);
                NewParsed<CTextSection>(bytes(p, end))->m_inTail = inTail;
            }
            p = end;
            continue;
        }
        if (lastGt == std::string_view::npos || lastGt < p + 2) {
            // Nothing after this "<" can end a tag: keep the rest as text, so
            // that it is written back rather than lost.
            if (!inRun(p, never)) {
                endRun(p);
                NewParsed<CTextSection>(bytes(p, n))->m_inTail = inTail;
            }
            p = n;
            break;
        }
        if (n - p >= 4 && std::memcmp(s + p, "<!--", 4) == 0) {
            size_t close = std::string_view::npos;
            if (noCommentEndFrom == std::string_view::npos || p + 4 < noCommentEndFrom) {
                close = Find(s, p + 4, n, "-->");
                if (close == std::string_view::npos)
                    noCommentEndFrom = p + 4;
            }
            const bool terminated = close != std::string_view::npos;
            // An unterminated comment is written back repaired, not as read.
            if (!inRun(p, [&] { return compactWhole && !terminated; })) {
                endRun(p);
                NewParsed<CCommentSection>(bytes(p + 4, terminated ? close : p + 4), !terminated)
                    ->m_inTail = inTail;
            }
            p = terminated ? close + 3 : p + 4;
            continue;
        }
        if (s[p + 1] == '?' || s[p + 1] == '%') {
            const char marker[2] = {s[p + 1], '>'};
            const size_t close = Find(s, p, n, std::string_view(marker, 2));
            const size_t end = close == std::string_view::npos ? n : close + 2;
            if (!inRun(p, never)) {
                endRun(p);
                NewParsed<CScriptSection>(bytes(p, end))->m_inTail = inTail;
            }
            p = end;
            continue;
        }
        const size_t end = TagEnd(s, p, n);
        const auto needed = [&] {
            const TagProbe tag = probe(bytes(p, end));
            if (tag.row == ROW_META || tag.row == ROW_HEAD || tag.row == ROW_BODY)
                return true;
            return compactWhole && (tag.row == ROW_TITLE || !tag.normalForm);
        };
        if (inRun(p, needed)) {
            p = end;
            continue;
        }
        endRun(p);
        CTagSection* tag = NewParsed<CTagSection>(bytes(p, end));
        const int row = tag->Tag().GetElementRow();
        if (m_bPreserveBody && !inTail && row == ROW_BODY) {
            inTail = true;
            m_tailStart = p;
            m_tailSection = tag;
        }
        tag->m_inTail = inTail;
        if (compactWhole && row == ROW_META)
            follow = std::max(follow, 1); // RemoveMeta looks at the piece after it
        if (compactWhole && row == ROW_TITLE)
            follow = std::max(follow, 2); // the title text and what closes it
        p = end;
    }
    endRun(n);
}
