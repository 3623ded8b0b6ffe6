// The attributes of a tag as written in the page, found and changed in place,
// so that everything else of the tag keeps its bytes: the name's case, the
// order of the attributes, their quotes, the white space and line breaks
// between them. Any head tag (meta, link, html, title ...) is edited so.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where an attribute stands in a raw tag text, read as a browser reads a
// start tag: names end at white space, "/", ">" or "="; a value is quoted
// (up to the same quote) or runs to white space or ">".
struct RawAttribute {
    size_t nameBegin = 0;
    size_t nameEnd = 0;
    // The value without its quotes (empty, at nameEnd, without "=").
    size_t valueBegin = 0;
    size_t valueEnd = 0;
    // The value's quote character, or 0 when it is unquoted or absent.
    char quote = 0;
    bool hasValue = false;
};

// The first attribute of raw named name (ASCII case ignored), if any.
std::optional<RawAttribute> FindRawAttribute(std::string_view raw, std::string_view name);

// value between quote characters, the quote character inside it written as a
// character reference (&quot; or &#39;), so that a browser reads value back.
std::string QuotedValue(std::string_view value, char quote);

// raw with the attribute's value set to value: in the value's own quotes when
// it has any; unquoted when it was and value can stand so; else in double
// quotes. An attribute without a value gets one; an absent attribute is
// added after the last one, as name="value" (name as given).
std::string WithRawAttribute(std::string_view raw, std::string_view name, std::string_view value);

// raw with the attribute from renamed to (in upper case when from was written
// so), its value as it was; raw itself when there is no such attribute.
std::string WithRawAttributeRenamed(std::string_view raw, std::string_view from,
                                    std::string_view to);

// Whether the tag name of raw is written in upper case ("<META ...>"), so that
// attributes added to it can follow.
bool HasUpperCaseName(std::string_view raw);

// raw without the attribute (and its value, and the white space before it);
// raw itself when there is no such attribute.
std::string WithoutRawAttribute(std::string_view raw, std::string_view name);

// CR, LF and TAB as spaces, as the normal form of a tag has them: a value
// written so reads back the same, and brings no line break into the page.
std::string FlattenedValue(std::string_view text);
