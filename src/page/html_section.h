// The sections of a page: runs of text, tags, comments and server-script blocks.
//
// A page (CHtmlPage) owns its sections in a doubly linked list. A section read
// from a page refers to the page's text and remembers the bytes it was cut
// from, so that untouched sections can be written back exactly as read.
#pragma once

#include <cstddef>
#include <memory>
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
    CHtmlSection() = default;
    CHtmlSection(const CHtmlSection&) = delete;
    CHtmlSection& operator=(const CHtmlSection&) = delete;
    virtual ~CHtmlSection() = default;

    virtual int GetType() const = 0;
    // The section's text as it is written into the page.
    virtual std::string GetText() const = 0;
    // Appends GetText() to out without a temporary.
    virtual void AppendText(std::string& out) const = 0;

    // True when the section was cut from the page's text and not changed since.
    bool IsFromSource() const { return m_srcEnd != NO_SOURCE; }

private:
    friend class CHtmlPage;
    static constexpr size_t NO_SOURCE = static_cast<size_t>(-1);

    CHtmlSection* m_prev = nullptr;
    CHtmlSection* m_next = nullptr;
    // The bytes of the page text this section was cut from, while untouched.
    size_t m_srcBegin = 0;
    size_t m_srcEnd = NO_SOURCE;
    // The section lies in the part of the page that is kept as read.
    bool m_inTail = false;

protected:
    void Touch() { m_srcEnd = NO_SOURCE; }
};

// Plain text, exactly as read.
class CTextSection : public CHtmlSection {
public:
    explicit CTextSection(std::string text);
    int GetType() const override { return SECTION_TEXT; }
    std::string GetText() const override { return std::string(m_text); }
    void AppendText(std::string& out) const override { out.append(m_text); }
    std::string_view Text() const { return m_text; }

    // Stores text with "<" written as "&lt;" and ">" as "&gt;".
    void SetEscapedText(std::string_view text);

private:
    friend class CHtmlPage;
    struct FromSource {};
    CTextSection(FromSource, std::string_view text) : m_text(text) {}

    std::string_view m_text;
    std::unique_ptr<std::string> m_own;
};

// A server-script block, "<?" or "<%" through "?>" or "%>", kept as read.
class CScriptSection : public CHtmlSection {
public:
    explicit CScriptSection(std::string text);
    int GetType() const override { return SECTION_SCRIPT; }
    std::string GetText() const override { return std::string(m_text); }
    void AppendText(std::string& out) const override { out.append(m_text); }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CScriptSection(FromSource, std::string_view text) : m_text(text) {}

    std::string_view m_text;
    std::unique_ptr<std::string> m_own;
};

// A comment; holds the text between "<!--" and "-->".
class CCommentSection : public CHtmlSection {
public:
    explicit CCommentSection(std::string inner);
    int GetType() const override { return SECTION_COMMENT; }
    std::string GetText() const override;
    void AppendText(std::string& out) const override;
    std::string_view Inner() const { return m_inner; }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CCommentSection(FromSource, std::string_view inner) : m_inner(inner) {}

    std::string_view m_inner;
    std::unique_ptr<std::string> m_own;
};

// One tag.
class CTagSection : public CHtmlSection {
public:
    explicit CTagSection(std::string raw) { m_tag.SetTagText(std::move(raw)); }
    int GetType() const override { return SECTION_TAG; }
    std::string GetText() const override { return std::string(m_tag.GetNormalizedText()); }
    void AppendText(std::string& out) const override { out.append(m_tag.GetNormalizedText()); }

    const CHtmlTag& Tag() const { return m_tag; }
    // Changing the tag counts as an edit of the page.
    CHtmlTag& EditTag() {
        Touch();
        return m_tag;
    }

private:
    friend class CHtmlPage;
    struct FromSource {};
    CTagSection(FromSource, std::string_view raw) { m_tag.SetParsedText(raw); }

    CHtmlTag m_tag;
};
