// CHtmlTag: one tag of a page, as read and as it is written back.
//
// The raw text is the tag exactly as it was cut from the page (or as a writer
// gave it). The normalized text is what is written back: lower case outside
// quotes, white space collapsed, repaired when malformed. A tag cut from a page
// refers to the page's text without copying it, so a tag must not outlive the
// CHtmlPage it came from; a tag given its own text with SetTagText owns it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

constexpr int TAG_OPEN = 1;
constexpr int TAG_EMPTY = 0;
constexpr int TAG_CLOSE = -1;

class CHtmlTag {
public:
    CHtmlTag() = default;
    explicit CHtmlTag(std::string raw) { SetTagText(std::move(raw)); }
    CHtmlTag(const CHtmlTag&) = delete;
    CHtmlTag& operator=(const CHtmlTag&) = delete;

    // Stores an owned raw text, clears the declaration flag and normalizes.
    void SetTagText(std::string raw);

    // The lower-case tag name ("meta", "!DOCTYPE" for declarations keeps its case).
    std::string_view GetName() const { return m_name; }
    std::string_view GetRawText() const { return m_raw; }
    std::string_view GetNormalizedText() const;
    int GetKind() const { return m_kind; }
    int IsDeclaration() const { return m_declaration; }
    // Row of the element table for this name, or -1.
    int GetElementRow() const { return m_row; }
    int GetParserClass() const;
    int GetContentFlags() const;

    // Offset of the attribute's name in the normalized text, or 0 when absent.
    int FindAttribute(std::string_view name) const;
    // 1 when the attribute is present (its value may be empty), else 0 with value "".
    int GetAttribute(std::string_view name, std::string& value) const;
    // As GetAttribute; the value read as "true"/"false" or a C "%i" number.
    int GetAttributeInt(std::string_view name, int& value) const;
    // Writes name=value into the normalized text, replacing an existing value.
    void SetAttribute(std::string_view name, std::string_view value);

private:
    friend class CHtmlPage;
    friend class CTagSection;
    // A tag that refers to the page's text; raw must outlive the tag.
    void SetParsedText(std::string_view raw);
    void Classify();
    void NormalizeNow() const;
    void SetNormalized(std::string text);

    std::string_view m_raw;
    std::string_view m_name;
    mutable std::string_view m_normalized;
    // Owned texts: the raw text given by a writer, and the normalized text when it
    // differs from the raw text.
    std::unique_ptr<std::string> m_ownRaw;
    mutable std::unique_ptr<std::string> m_ownNormalized;
    mutable bool m_normalizedValid = false;
    int8_t m_kind = TAG_OPEN;
    int8_t m_declaration = 0;
    int16_t m_row = -1;
};

// Writes a quoted attribute value so that a browser reads value back: between
// double quotes, or apostrophes when it holds a double quote, or with &quot; when
// it holds both kinds of quote.
std::string QuoteAttributeValue(std::string_view value);
