#include "page/tag_attributes.h"

#include <algorithm>
#include <vector>

namespace {

bool IsTagSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// Where the tag name of raw ends.
size_t NameEnd(std::string_view raw) {
    size_t i = 1;
    while (i < raw.size() && IsTagSpace(raw[i]))
        ++i;
    if (i < raw.size() && raw[i] == '/')
        ++i;
    while (i < raw.size() && !IsTagSpace(raw[i]) && raw[i] != '/' && raw[i] != '>')
        ++i;
    return i;
}

// Every attribute of raw in order, read as a browser reads a start tag.
std::vector<RawAttribute> Attributes(std::string_view raw) {
    std::vector<RawAttribute> out;
    const size_t n = raw.size();
    size_t i = NameEnd(raw);
    for (;;) {
        while (i < n && (IsTagSpace(raw[i]) || raw[i] == '/'))
            ++i;
        if (i >= n || raw[i] == '>')
            break;
        RawAttribute a;
        a.nameBegin = i++;
        while (i < n && !IsTagSpace(raw[i]) && raw[i] != '/' && raw[i] != '>' && raw[i] != '=')
            ++i;
        a.nameEnd = i;
        a.valueBegin = a.valueEnd = i;
        size_t j = i;
        while (j < n && IsTagSpace(raw[j]))
            ++j;
        if (j < n && raw[j] == '=') {
            ++j;
            while (j < n && IsTagSpace(raw[j]))
                ++j;
            a.hasValue = true;
            if (j < n && (raw[j] == '"' || raw[j] == '\'')) {
                a.quote = raw[j];
                a.valueBegin = j + 1;
                const size_t close = raw.find(a.quote, a.valueBegin);
                a.valueEnd = close == std::string_view::npos ? n : close;
                i = close == std::string_view::npos ? n : close + 1;
            } else {
                a.valueBegin = j;
                while (j < n && !IsTagSpace(raw[j]) && raw[j] != '>')
                    ++j;
                a.valueEnd = i = j;
            }
        }
        out.push_back(a);
    }
    return out;
}

// Whether a browser reads value back from name=value without quotes.
bool CanStandUnquoted(std::string_view value) {
    if (value.empty())
        return false;
    for (char c : value) {
        if (IsTagSpace(c) || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' || c == '`')
            return false;
    }
    return true;
}

bool IsUpperWord(std::string_view text) {
    bool letters = false;
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            return false;
        letters |= c >= 'A' && c <= 'Z';
    }
    return letters;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return out;
}

} // namespace

std::optional<RawAttribute> FindRawAttribute(std::string_view raw, std::string_view name) {
    for (const RawAttribute& a : Attributes(raw)) {
        if (EqualsNoCase(raw.substr(a.nameBegin, a.nameEnd - a.nameBegin), name))
            return a;
    }
    return std::nullopt;
}

std::string QuotedValue(std::string_view value, char quote) {
    const std::string_view reference = quote == '\'' ? "&#39;" : "&quot;";
    std::string out(1, quote);
    for (char c : value) {
        if (c == quote)
            out += reference;
        else
            out += c;
    }
    out += quote;
    return out;
}

std::string WithRawAttribute(std::string_view raw, std::string_view name, std::string_view value) {
    const std::vector<RawAttribute> attributes = Attributes(raw);
    for (const RawAttribute& a : attributes) {
        if (!EqualsNoCase(raw.substr(a.nameBegin, a.nameEnd - a.nameBegin), name))
            continue;
        std::string out(raw.substr(0, a.hasValue ? a.valueBegin : a.nameEnd));
        if (!a.hasValue) {
            out += '=';
            out += QuotedValue(value, '"');
            out.append(raw.substr(a.nameEnd));
            return out;
        }
        if (a.quote) {
            // The value between its own quotes, which stay as they are.
            const std::string quoted = QuotedValue(value, a.quote);
            out.append(quoted, 1, quoted.size() - 2);
        } else if (CanStandUnquoted(value)) {
            out.append(value);
        } else {
            out += QuotedValue(value, '"');
        }
        out.append(raw.substr(a.valueEnd));
        return out;
    }
    // A new attribute goes after the last one (or the name), so that what
    // ends the tag (" />", "/>", ">") stays as written.
    size_t at = NameEnd(raw);
    if (!attributes.empty()) {
        const RawAttribute& last = attributes.back();
        at = !last.hasValue ? last.nameEnd
             : last.quote   ? std::min(raw.size(), last.valueEnd + 1)
                            : last.valueEnd;
    }
    std::string out(raw.substr(0, at));
    out += ' ';
    out.append(name);
    out += '=';
    out += QuotedValue(value, '"');
    out.append(raw.substr(at));
    return out;
}

std::string WithRawAttributeRenamed(std::string_view raw, std::string_view from,
                                    std::string_view to) {
    const std::optional<RawAttribute> a = FindRawAttribute(raw, from);
    if (!a)
        return std::string(raw);
    const std::string_view old = raw.substr(a->nameBegin, a->nameEnd - a->nameBegin);
    std::string out(raw.substr(0, a->nameBegin));
    out += IsUpperWord(old) ? Upper(to) : std::string(to);
    out.append(raw.substr(a->nameEnd));
    return out;
}

bool HasUpperCaseName(std::string_view raw) {
    size_t begin = 1;
    while (begin < raw.size() && (IsTagSpace(raw[begin]) || raw[begin] == '/'))
        ++begin;
    return IsUpperWord(raw.substr(begin, NameEnd(raw) - begin));
}

std::string WithoutRawAttribute(std::string_view raw, std::string_view name) {
    const std::optional<RawAttribute> a = FindRawAttribute(raw, name);
    if (!a)
        return std::string(raw);
    size_t end = a->hasValue ? a->valueEnd : a->nameEnd;
    if (a->quote && end < raw.size())
        ++end; // the closing quote
    // With the white space before it, unless the rest would then run into
    // what precedes it.
    size_t begin = a->nameBegin;
    while (begin > 0 && IsTagSpace(raw[begin - 1]))
        --begin;
    std::string out(raw.substr(0, begin));
    const std::string_view rest = raw.substr(end);
    if (begin < a->nameBegin && !rest.empty() && !IsTagSpace(rest.front()) && rest.front() != '>' &&
        rest.front() != '/')
        out += raw.substr(begin, a->nameBegin - begin);
    out.append(rest);
    return out;
}

std::string FlattenedValue(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    return out;
}
