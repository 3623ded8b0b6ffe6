// CHtmlTag: one tag of a page, as read and as it is written back.
//
// The raw text is the tag exactly as it was cut from the page (or as a writer
// gave it). The normalized text is what is written back: tag and attribute
// names in lower case, values as written, white space collapsed, repaired when
// malformed; it is worked out when first asked for. A tag cut from a page refers to the page's text
// without copying it, so it must not outlive the CHtmlPage it came from; a tag given its own text
// with SetTagText owns that text.
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

    // The tag name in lower case; a declaration keeps its case ("!DOCTYPE").
    // A closing tag's name has no "/".
    std::string_view GetName() const;
    std::string_view GetRawText() const { return {m_raw, m_rawLen}; }
    std::string_view GetNormalizedText() const;
    int GetKind() const { return m_kind; }
    int IsDeclaration() const { return m_declaration; }
    // Row of the element table for the name, or -1.
    int GetElementRow() const { return m_row; }
    int GetContentFlags() const;
    int GetParserClass() const;

    // Offset of the attribute's name in the normalized text, or 0 when absent.
    int FindAttribute(std::string_view name) const;
    // 1 when the attribute is present (its value may be empty), else 0 with value "".
    int GetAttribute(std::string_view name, std::string& value) const;
    // As GetAttribute, the value read as "true", "false" or a C "%i" number.
    int GetAttributeInt(std::string_view name, int& value) const;
    // Writes name=value into the normalized text, replacing an existing value;
    // the raw text, name and kind stay.
    void SetAttribute(std::string_view name, std::string_view value);

private:
    friend class CTagSection;
    friend class CHtmlPage;
    struct Owned {
        std::string raw;
        std::string normalized;
    };
    // A tag that refers to text owned elsewhere (the page); raw must outlive it.
    void SetParsedText(std::string_view raw);
    // From now on the tag is written back exactly as read: the end tag of a
    // script or style element, whose normal form might no longer end it
    // ("</script\n<>" would become "</script<>").
    void KeepRawText() {
        m_normalizedIsRaw = 1;
        m_normalizedValid = 1;
    }
    void ClassifyFast();
    void ClassifyFromNormalized();
    void EnsureNormalized() const;
    Owned& Own() const;

    const char* m_raw = "";
    // Owned raw text (given by a writer) and the normalized text where it
    // differs from the raw text.
    mutable std::unique_ptr<Owned> m_own;
    uint32_t m_rawLen = 0;
    int16_t m_row = -1;
    int8_t m_kind = TAG_OPEN;
    uint8_t m_declaration : 1 = 0;
    // The name is read from the normalized text (else from the raw text).
    uint8_t m_nameInNormalized : 1 = 0;
    mutable uint8_t m_normalizedValid : 1 = 0;
    mutable uint8_t m_normalizedIsRaw : 1 = 0;
};

// Normalizes a raw tag text (see CHtmlTag): CR/LF/TAB as spaces, white space
// collapsed and dropped around "<" and "=", cut after the first ">" outside
// quotes, repaired at both ends; lower case outside quotes, except in a
// declaration and in unquoted attribute values. Such a value runs from an "="
// that follows the tag name (a space written outside quotes) to the next space
// written outside quotes, or to the ">".
std::string NormalizeTagText(std::string_view raw, bool declaration);
// Whether NormalizeTagText(raw, declaration) == raw, without building it.
bool IsNormalizedTagText(std::string_view raw, bool declaration);

// A quoted attribute value that a browser reads back as value: between double
// quotes, or apostrophes when it holds a double quote, or with every double
// quote written as &quot; when it holds both kinds of quote. Empty values get
// quotes too.
std::string QuoteAttributeValue(std::string_view value);
