// The sections of a page: runs of text, tags, comments and server-script blocks.
//
// A page (CHtmlPage) owns its sections in a doubly linked list. A section read
// from a page refers to the page's text and remembers that it was cut from it,
// so that untouched sections can be written back exactly as read. Sections are
// a closed set of kinds told apart by GetType(); pages hold millions of them,
// so they carry no virtual table and dispatch on the type code instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "page/html_tag.h"

constexpr int SECTION_UNTYPED = -1;
constexpr int SECTION_TEXT = 1;
constexpr int SECTION_SCRIPT = 2;
constexpr int SECTION_TAG = 4;
constexpr int SECTION_COMMENT = 8;

class CHtmlSection {
public:
    CHtmlSection(const CHtmlSection&) = delete;
    CHtmlSection& operator=(const CHtmlSection&) = delete;

    int GetType() const { return m_type; }
    // The section's text as it is written into the page.
    std::string GetText() const;
    // Appends GetText() to out without a temporary.
    void AppendText(std::string& out) const;

protected:
    explicit CHtmlSection(int type) : m_type(static_cast<int8_t>(type)) {}
    ~CHtmlSection() = default;
    // The section no longer matches the bytes it was cut from.
    void Touch() { m_fromSource = 0; }

private:
    friend class CHtmlPage;

    CHtmlSection* m_prev = nullptr;
    CHtmlSection* m_next = nullptr;
    int8_t m_type;
    // Cut from the page text and unchanged since.
    uint8_t m_fromSource : 1 = 0;
    // Lies in the part of the page that is written back as read.
    uint8_t m_inTail : 1 = 0;
    // Allocated in the page's arena (else on the heap, owned by the page).
    uint8_t m_inArena : 1 = 0;
    // A text section that holds a verbatim run of several pieces of the page
    // (text, tags, comments ...) that no read or write looks into.
    uint8_t m_run : 1 = 0;

protected:
    // A comment cut from the page without its "-->".
    uint8_t m_unterminated : 1 = 0;
    // A textual section owns (and frees) the bytes it points to.
    uint8_t m_ownsBytes : 1 = 0;
};

// A section that holds one run of bytes: its own copy, or a view of the page
// text it was cut from.
class CTextualSection : public CHtmlSection {
public:
    CTextualSection(const CTextualSection&) = delete;
    CTextualSection& operator=(const CTextualSection&) = delete;

protected:
    CTextualSection(int type, std::string_view bytes, bool copy);
    ~CTextualSection();
    std::string_view Bytes() const { return {m_data, m_size}; }
    void SetBytes(std::string_view bytes);
    // Refers to other bytes of the page's text (the section owns none).
    void SetView(std::string_view bytes) {
        m_data = bytes.data();
        m_size = static_cast<uint32_t>(bytes.size());
    }

private:
    uint32_t m_size = 0;
    const char* m_data = "";
};

// The text with every "<" written as "&lt;" and every ">" as "&gt;": a title as it
// is stored between the title tags, so that no title can end the element early
// or put markup into the page.
std::string EscapeAngleBrackets(std::string_view text);

// Plain text, exactly as read.
class CTextSection : public CTextualSection {
    friend class CHtmlPage;

public:
    explicit CTextSection(std::string_view text) : CTextualSection(SECTION_TEXT, text, true) {}
    std::string_view Text() const { return Bytes(); }
    // Stores text with every "<" written as "&lt;" and every ">" as "&gt;".
    void SetEscapedText(std::string_view text);

private:
    friend class CHtmlPage;
    struct FromSource {};
    CTextSection(FromSource, std::string_view text) : CTextualSection(SECTION_TEXT, text, false) {}
};

// A server-script block, "<?" or "<%" through "?>" or "%>", kept as read.
class CScriptSection : public CTextualSection {
public:
    explicit CScriptSection(std::string_view text) : CTextualSection(SECTION_SCRIPT, text, true) {}
    std::string_view Text() const { return Bytes(); }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CScriptSection(FromSource, std::string_view text)
        : CTextualSection(SECTION_SCRIPT, text, false) {}
};

// A comment; holds the text between "<!--" and "-->".
class CCommentSection : public CTextualSection {
public:
    explicit CCommentSection(std::string_view inner)
        : CTextualSection(SECTION_COMMENT, inner, true) {}
    std::string_view Inner() const { return Bytes(); }
    // Cut from a page without its "-->": written back as "<!---->" when
    // normalizing, as read ("<!--") otherwise.
    bool IsUnterminated() const { return m_unterminated; }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CCommentSection(FromSource, std::string_view inner, bool unterminated)
        : CTextualSection(SECTION_COMMENT, inner, false) {
        m_unterminated = unterminated;
    }
};

// One tag.
class CTagSection : public CHtmlSection {
public:
    explicit CTagSection(std::string raw) : CHtmlSection(SECTION_TAG) {
        m_tag.SetTagText(std::move(raw));
    }
    const CHtmlTag& Tag() const { return m_tag; }
    // Changing the tag is an edit of the page.
    CHtmlTag& EditTag() {
        Touch();
        return m_tag;
    }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CTagSection(FromSource, std::string_view raw) : CHtmlSection(SECTION_TAG) {
        m_tag.SetParsedText(raw);
    }

    CHtmlTag m_tag;
};
