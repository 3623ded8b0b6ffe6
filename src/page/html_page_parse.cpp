// Cutting the page text into sections.
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

bool CHtmlPage::IsLandmarkTag(std::string_view raw) {
    CHtmlTag probe;
    probe.SetParsedText(raw);
    const int row = probe.GetElementRow();
    return row == ROW_META || row == ROW_HEAD || row == ROW_BODY;
}

void CHtmlPage::Parse() {
    const char* s = m_source.data();
    const size_t n = m_source.size();
    const auto bytes = [s](size_t begin, size_t end) {
        return std::string_view(s + begin, end - begin);
    };
    // A "<" with no ">" at or after the next-but-one byte starts no section.
    const void* lastGtPtr = n ? memrchr(s, '>', n) : nullptr;
    const size_t lastGt = lastGtPtr ? static_cast<size_t>(static_cast<const char*>(lastGtPtr) - s)
                                    : std::string_view::npos;
    // Once a search for "-->" failed from some offset, it fails from any later one.
    size_t noCommentEndFrom = std::string_view::npos;

    // In the part kept as read, only the meta, head and body tags get sections
    // of their own; the bytes between them are held as verbatim runs. Nothing
    // there is rewritten, so nothing more is needed, and a page takes little
    // more memory than its text.
    bool inTail = false;
    size_t runStart = std::string_view::npos;
    const auto inRun = [&](size_t begin) {
        if (!inTail)
            return false;
        if (runStart == std::string_view::npos)
            runStart = begin;
        return true;
    };
    const auto endRun = [&](size_t end) {
        if (runStart != std::string_view::npos)
            NewParsed<CTextSection>(bytes(runStart, end))->m_inTail = true;
        runStart = std::string_view::npos;
    };

    size_t p = 0;
    while (p < n) {
        if (s[p] != '<') {
            const void* lt = std::memchr(s + p, '<', n - p);
            const size_t end = lt ? static_cast<size_t>(static_cast<const char*>(lt) - s) : n;
            if (!inRun(p))
                NewParsed<CTextSection>(bytes(p, end));
            p = end;
            continue;
        }
        if (lastGt == std::string_view::npos || lastGt < p + 2) {
            // Nothing after this "<" can end a tag: keep the rest as text, so
            // that it is written back rather than lost.
            if (!inRun(p))
                NewParsed<CTextSection>(bytes(p, n));
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
            if (!inRun(p))
                NewParsed<CCommentSection>(bytes(p + 4, terminated ? close : p + 4), !terminated);
            p = terminated ? close + 3 : p + 4;
            continue;
        }
        if (s[p + 1] == '?' || s[p + 1] == '%') {
            const char marker[2] = {s[p + 1], '>'};
            const size_t close = Find(s, p, n, std::string_view(marker, 2));
            const size_t end = close == std::string_view::npos ? n : close + 2;
            if (!inRun(p))
                NewParsed<CScriptSection>(bytes(p, end));
            p = end;
            continue;
        }
        const size_t end = TagEnd(s, p, n);
        if (inTail) {
            if (!IsLandmarkTag(bytes(p, end))) {
                inRun(p);
                p = end;
                continue;
            }
            endRun(p);
        }
        CTagSection* tag = NewParsed<CTagSection>(bytes(p, end));
        if (m_bPreserveBody && !inTail && tag->Tag().GetElementRow() == ROW_BODY) {
            inTail = true;
            m_tailStart = p;
            m_tailSection = tag;
        }
        tag->m_inTail = inTail;
        p = end;
    }
    endRun(n);
}
