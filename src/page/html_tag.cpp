#include "page/html_tag.h"

#include <cstdlib>
#include <cstring>

#include "page/element_table.h"

namespace {

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsControlSpace(char c) {
    return c == '\r' || c == '\n' || c == '\t';
}
bool IsSpaceLike(char c) {
    return c == ' ' || IsControlSpace(c);
}

// Bytes that may stand in a tag name that the fast path reads straight from the
// raw text: everything but white space, quotes and the characters that
// normalization treats specially.
struct NameCharTable {
    bool plain[256];
    constexpr NameCharTable() : plain() {
        for (int i = 0; i < 256; ++i)
            plain[i] = true;
        for (unsigned char c : std::string_view(" \t\r\n<=>/'\""))
            plain[c] = false;
    }
};
constexpr NameCharTable kNameChars;

bool IsPlainNameChar(char c) {
    return kNameChars.plain[static_cast<unsigned char>(c)];
}

// What a byte means to IsNormalizedTagText: most bytes of a tag need no look.
enum TagByteClass : uint8_t {
    BYTE_PLAIN,
    BYTE_UPPER,
    BYTE_QUOTE,
    BYTE_SPACE,
    BYTE_LT,
    BYTE_EQUALS,
    BYTE_END,
    BYTE_CONTROL
};
struct TagByteTable {
    uint8_t outside[256];
    // Inside quotes only the quotes themselves and control spaces matter.
    bool quotedStop[256];
    constexpr TagByteTable() : outside(), quotedStop() {
        for (int c = 'A'; c <= 'Z'; ++c)
            outside[c] = BYTE_UPPER;
        outside[static_cast<unsigned char>('"')] = BYTE_QUOTE;
        outside[static_cast<unsigned char>('\'')] = BYTE_QUOTE;
        outside[static_cast<unsigned char>(' ')] = BYTE_SPACE;
        outside[static_cast<unsigned char>('<')] = BYTE_LT;
        outside[static_cast<unsigned char>('=')] = BYTE_EQUALS;
        outside[static_cast<unsigned char>('>')] = BYTE_END;
        for (unsigned char c : {'\r', '\n', '\t'}) {
            outside[c] = BYTE_CONTROL;
            quotedStop[c] = true;
        }
        quotedStop[static_cast<unsigned char>('"')] = true;
        quotedStop[static_cast<unsigned char>('\'')] = true;
    }
};
constexpr TagByteTable kTagBytes;

// A byte that, right after "<", makes something other than the tag read: a
// server-script block, a comment or a declaration, or "<>", which is text.
bool IsMarkupStart(char c) {
    return c == '?' || c == '%' || c == '!' || c == '>';
}

// The space at raw[i], right after the opening "<", is kept by normalization.
bool KeepsSpaceAfterLt(std::string_view raw, size_t i) {
    return i == 1 && raw.size() > 2 && IsMarkupStart(raw[2]);
}

} // namespace

bool IsNormalizedTagText(std::string_view raw, bool declaration) {
    const size_t n = raw.size();
    if (n < 2 || raw[0] != '<' || raw[n - 1] != '>')
        return false;
    const auto* s = reinterpret_cast<const unsigned char*>(raw.data());
    // Walks the text as NormalizeTagText does and fails at the first byte it
    // would change, drop or add.
    bool afterSeparator = true;
    bool afterSpace = false;
    // Where the walk is: in the tag name, after it, in an unquoted value.
    enum : uint8_t { IN_NAME, IN_ATTRIBUTES, IN_VALUE } part = IN_NAME;
    size_t i = 1;
    for (;;) {
        if (kTagBytes.outside[s[i]] == BYTE_PLAIN) {
            // The final ">" stops this loop.
            do
                ++i;
            while (kTagBytes.outside[s[i]] == BYTE_PLAIN);
            afterSeparator = afterSpace = false;
        }
        switch (kTagBytes.outside[s[i]]) {
        case BYTE_UPPER:
            if (declaration || part == IN_VALUE) {
                afterSeparator = afterSpace = false;
                break;
            }
            return false;
        case BYTE_QUOTE: {
            const unsigned char quote = s[i];
            for (++i;; ++i) {
                while (i < n && !kTagBytes.quotedStop[s[i]])
                    ++i;
                if (i >= n || kTagBytes.outside[s[i]] == BYTE_CONTROL)
                    return false;
                if (s[i] == quote)
                    break;
            }
            afterSeparator = afterSpace = false;
            break;
        }
        case BYTE_SPACE:
            if (afterSpace || (afterSeparator && !KeepsSpaceAfterLt(raw, i)))
                return false;
            afterSpace = true;
            part = IN_ATTRIBUTES;
            break;
        case BYTE_EQUALS:
            part = part == IN_NAME ? IN_NAME : IN_VALUE;
            [[fallthrough]];
        case BYTE_LT:
            if (afterSpace)
                return false;
            afterSeparator = true;
            break;
        case BYTE_END:
            return i == n - 1;
        default:
            return false;
        }
        ++i;
    }
}

std::string NormalizeTagText(std::string_view raw, bool declaration) {
    std::string out;
    out.reserve(raw.size() + 3);
    char quote = 0;
    bool pendingSpace = false;
    bool separator = false;
    bool spaceAfterLt = false;
    // A space outside quotes has been written: the tag name is over, and an
    // "=" from here on starts an attribute value.
    bool afterName = false;
    // Inside an unquoted attribute value, which keeps its case: from an "="
    // up to the next space written outside quotes. A space dropped before "<"
    // or "=" does not end it, so the value reads back from the written text
    // with every letter as it was.
    bool inValue = false;
    const auto writeOther = [&](char c) {
        // "< ?x>" must not become "<?x>", which reads back as a server-script
        // block (or "<!--" as a comment) and would take the page after it
        // along; nor "< >" the text "<>".
        if (pendingSpace || (spaceAfterLt && out == "<" && IsMarkupStart(c))) {
            out += ' ';
            pendingSpace = false;
            afterName = true;
            inValue = false;
        }
        separator = false;
        out += c;
    };
    for (char c : raw) {
        if (IsControlSpace(c))
            c = ' ';
        if (quote) {
            writeOther(c);
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '<' || c == '=') {
            out += c;
            pendingSpace = false;
            separator = true;
            inValue |= afterName && c == '=';
        } else if (c == ' ') {
            if (!separator)
                pendingSpace = true;
            else if (out == "<")
                spaceAfterLt = true;
        } else {
            // Names are lower-cased; values (data such as a link's address)
            // are not. A pending space is written first and ends a value.
            if (pendingSpace)
                inValue = false;
            if (!declaration && !inValue)
                c = ToLowerAscii(c);
            if (c == '\'' || c == '"')
                quote = c;
            writeOther(c);
            if (c == '>')
                break;
        }
    }
    if (quote)
        out += quote;
    if (out.empty() || out.back() != '>')
        out += '>';
    if (out.front() != '<')
        out.insert(out.begin(), '<');
    return out;
}

std::string QuoteAttributeValue(std::string_view value) {
    const bool hasDouble = value.find('"') != std::string_view::npos;
    const bool hasSingle = value.find('\'') != std::string_view::npos;
    std::string out;
    out.reserve(value.size() + 2);
    if (hasDouble && !hasSingle) {
        out += '\'';
        out.append(value);
        out += '\'';
        return out;
    }
    out += '"';
    for (char c : value) {
        if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    out += '"';
    return out;
}

namespace {

// The name in a normalized tag text: from index 1 to the first space, or to the
// final ">"; a leading "/" marks a closing tag and goes, a later "/" ends the
// name and marks an empty tag.
std::string_view NameOfNormalized(std::string_view text, int8_t* kind) {
    size_t stop = text.find(' ');
    if (stop == std::string_view::npos)
        stop = text.size() - 1;
    std::string_view name = text.substr(1, stop > 1 ? stop - 1 : 0);
    const size_t slash = name.find('/');
    int8_t found = TAG_OPEN;
    if (slash == 0) {
        found = TAG_CLOSE;
        name.remove_prefix(1);
    } else if (slash != std::string_view::npos) {
        found = TAG_EMPTY;
        name = name.substr(0, slash);
    }
    if (kind)
        *kind = found;
    return name;
}

// The name of a tag that starts in the ordinary way, read from its raw text.
std::string_view PlainName(std::string_view raw) {
    const size_t start = raw.size() > 1 && raw[1] == '/' ? 2 : 1;
    size_t end = start;
    while (end < raw.size() && IsPlainNameChar(raw[end]))
        ++end;
    return raw.substr(start, end - start);
}

} // namespace

CHtmlTag::Owned& CHtmlTag::Own() const {
    if (!m_own)
        m_own = std::make_unique<Owned>();
    return *m_own;
}

void CHtmlTag::SetTagText(std::string raw) {
    Owned& own = Own();
    own.raw = std::move(raw);
    m_raw = own.raw.data();
    m_rawLen = static_cast<uint32_t>(own.raw.size());
    m_declaration = own.raw.size() > 1 && own.raw[1] == '!';
    own.normalized = NormalizeTagText(own.raw, m_declaration);
    m_normalizedIsRaw = 0;
    m_normalizedValid = 1;
    ClassifyFromNormalized();
}

void CHtmlTag::SetParsedText(std::string_view raw) {
    m_raw = raw.data();
    m_rawLen = static_cast<uint32_t>(raw.size());
    m_declaration = raw.size() > 1 && raw[1] == '!';
    m_normalizedValid = 0;
    ClassifyFast();
}

std::string_view CHtmlTag::GetNormalizedText() const {
    EnsureNormalized();
    if (m_normalizedIsRaw)
        return GetRawText();
    return m_own->normalized;
}

void CHtmlTag::EnsureNormalized() const {
    if (m_normalizedValid)
        return;
    m_normalizedValid = 1;
    const std::string_view raw = GetRawText();
    // Most tags are written in normal form already and need no copy.
    m_normalizedIsRaw = IsNormalizedTagText(raw, m_declaration);
    if (!m_normalizedIsRaw)
        Own().normalized = NormalizeTagText(raw, m_declaration);
}

std::string_view CHtmlTag::GetName() const {
    if (m_row >= 0)
        return g_elementTable[m_row].name;
    // Names outside the element table are read again when asked for, which
    // keeps every tag of a page small.
    if (m_nameInNormalized)
        return NameOfNormalized(GetNormalizedText(), nullptr);
    return PlainName(GetRawText());
}

int CHtmlTag::GetContentFlags() const {
    return m_row >= 0 ? g_elementTable[m_row].contentFlags : 0;
}
int CHtmlTag::GetParserClass() const {
    return m_row >= 0 ? g_elementTable[m_row].parserClass : 0;
}

// Reads the name and kind straight from the raw text when the tag starts in the
// ordinary way ("<name", "</name", followed by white space, ">", "/" or the end),
// which gives what normalization would; anything else is normalized first.
void CHtmlTag::ClassifyFast() {
    const std::string_view raw = GetRawText();
    const bool closing = raw.size() > 1 && raw[1] == '/';
    const std::string_view name = PlainName(raw);
    const size_t start = closing ? 2 : 1;
    const size_t end = start + name.size();
    bool simple = !name.empty();
    if (simple && end < raw.size()) {
        const char next = raw[end];
        if (next == '/') {
            simple = !closing;
        } else if (IsSpaceLike(next)) {
            // A space before "=" or "<" is dropped, which would join the name
            // with what follows.
            size_t k = end;
            while (k < raw.size() && IsSpaceLike(raw[k]))
                ++k;
            simple = k == raw.size() || (raw[k] != '=' && raw[k] != '<');
        } else {
            simple = next == '>';
        }
    }
    bool upper = false;
    if (simple && !m_declaration) {
        for (char c : name)
            upper |= (c >= 'A' && c <= 'Z');
    }
    if (simple && upper) {
        // Only names of the element table can be lowered without storage.
        char lowered[16];
        if (name.size() > sizeof lowered) {
            simple = false;
        } else {
            for (size_t i = 0; i < name.size(); ++i)
                lowered[i] = ToLowerAscii(name[i]);
            m_row = static_cast<int16_t>(FindElement({lowered, name.size()}));
            simple = m_row >= 0;
        }
    } else if (simple) {
        m_row = static_cast<int16_t>(FindElement(name));
    }
    if (!simple) {
        EnsureNormalized();
        ClassifyFromNormalized();
        return;
    }
    m_nameInNormalized = 0;
    m_kind = closing ? TAG_CLOSE : (end < raw.size() && raw[end] == '/') ? TAG_EMPTY : TAG_OPEN;
    if (m_row >= 0 && (g_elementTable[m_row].contentFlags & ELEMENT_EMPTY))
        m_kind = TAG_EMPTY;
}

void CHtmlTag::ClassifyFromNormalized() {
    int8_t kind = TAG_OPEN;
    const std::string_view name = NameOfNormalized(GetNormalizedText(), &kind);
    m_kind = kind;
    m_row = static_cast<int16_t>(FindElement(name));
    if (m_row >= 0 && (g_elementTable[m_row].contentFlags & ELEMENT_EMPTY))
        m_kind = TAG_EMPTY;
    m_nameInNormalized = 1;
}

int CHtmlTag::FindAttribute(std::string_view name) const {
    const std::string_view text = GetNormalizedText();
    std::string lowered;
    if (m_declaration) {
        lowered.assign(name);
        for (char& c : lowered)
            c = ToLowerAscii(c);
        name = lowered;
    }
    if (name.empty() || text.size() <= name.size())
        return 0;
    // An attribute name follows a space outside quotes; quotes are tracked as
    // the tokenizer and the normalizer track them, from the tag's start, so a
    // quoted value that holds " name=" is never taken for an attribute.
    const size_t limit = text.size() - name.size();
    bool afterSpace = false;
    char quote = 0;
    for (size_t i = 0; i < limit; ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            afterSpace = false;
            continue;
        }
        if (afterSpace && i >= 2 && c == name[0] && text.compare(i, name.size(), name) == 0) {
            const char after = text[i + name.size()];
            if (after == ' ' || after == '=' || after == '>')
                return static_cast<int>(i);
        }
        if (c == '\'' || c == '"')
            quote = c;
        afterSpace = c == ' ';
    }
    return 0;
}

int CHtmlTag::GetAttribute(std::string_view name, std::string& value) const {
    value.clear();
    const int at = FindAttribute(name);
    if (at == 0)
        return 0;
    const std::string_view text = GetNormalizedText();
    size_t j = static_cast<size_t>(at) + name.size();
    if (j >= text.size() || text[j] != '=')
        return 1;
    ++j;
    if (j < text.size() && (text[j] == '\'' || text[j] == '"')) {
        const char quote = text[j];
        const size_t end = text.find(quote, j + 1);
        value.assign(text.substr(j + 1, end == std::string_view::npos ? end : end - j - 1));
    } else {
        size_t end = j;
        while (end < text.size() && text[end] != ' ' && text[end] != '>')
            ++end;
        value.assign(text.substr(j, end - j));
    }
    return 1;
}

int CHtmlTag::GetAttributeInt(std::string_view name, int& value) const {
    std::string text;
    const int found = GetAttribute(name, text);
    if (!found) {
        value = 0;
        return 0;
    }
    if (text.empty()) {
        value = 1;
        return 1;
    }
    for (char& c : text)
        c = ToLowerAscii(c);
    if (text == "true") {
        value = 1;
    } else if (text == "false") {
        value = 0;
    } else {
        // C "%i": decimal, 0x hexadecimal or leading-0 octal, with sign.
        char* end = nullptr;
        const long long n = std::strtoll(text.c_str(), &end, 0);
        value = end == text.c_str() ? 0 : static_cast<int>(n);
    }
    return 1;
}

void CHtmlTag::SetAttribute(std::string_view name, std::string_view value) {
    std::string text(GetNormalizedText());
    std::string quoted;
    if (!value.empty())
        quoted = QuoteAttributeValue(value);
    const int at = FindAttribute(name);
    if (at > 0) {
        const size_t headEnd = static_cast<size_t>(at) + name.size();
        size_t rest = headEnd;
        if (rest < text.size() && text[rest] == '=') {
            size_t j = rest + 1;
            if (j < text.size() && (text[j] == '\'' || text[j] == '"')) {
                const size_t close = text.find(text[j], j + 1);
                rest = close == std::string::npos ? text.size() : close + 1;
            } else {
                while (j < text.size() && text[j] != ' ' && j + 1 < text.size())
                    ++j;
                rest = j;
            }
        }
        std::string out = text.substr(0, headEnd);
        if (!value.empty())
            out += '=';
        out += quoted;
        out.append(text, rest, std::string::npos);
        text = std::move(out);
    } else {
        text.pop_back(); // the final ">"
        text += ' ';
        text.append(name);
        text += '=';
        text += quoted;
        text += '>';
    }
    // The name stays as it was: everything up to the attribute keeps its place.
    Own().normalized = std::move(text);
    m_normalizedIsRaw = 0;
    m_normalizedValid = 1;
}
